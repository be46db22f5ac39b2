#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/file_profile.h"
#include "core/line_ops.h"
#include "core/record_writer.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

using namespace std::string_literals;

// Writes the lines through a writer whose sink collects the output.
std::string written(const RecordFormat& f, const std::vector<std::string>& lines) {
  std::string out;
  RecordWriter w(f, [&out](const char* d, std::size_t n) {
    out.append(d, n);
    return true;
  });
  for (const std::string& line : lines) EXPECT_TRUE(w.writeLine(line));
  EXPECT_TRUE(w.finish());
  EXPECT_EQ(w.bytesWritten(), out.size());
  return out;
}

RecordFormat variable(std::string terminator = "\r\n") {
  RecordFormat f;
  f.recfm = 'V';
  f.maxRecLen = 20;
  f.trailing = 'L';
  f.terminator = std::move(terminator);
  return f;
}

// Lines longer than MaxRecLen (made in the session) are written whole;
// padding, tabs, terminators and the end-of-file byte of every format are
// checked by the case directories of tests/cases/save-records.
TEST(SaveWriterTest, FixedRecordsAreNeverCut) {
  RecordFormat f;
  f.recfm = 'F';
  f.maxRecLen = 6;
  f.terminator = "\r\n";  // not written in FIXED files
  EXPECT_EQ(written(f, {"abcdefgh", "ab"}), "abcdefghab    ");
}

TEST(SaveWriterTest, Utf16FileWithoutLinesHasAMarkOnlyBeforeAnEndOfFileCharacter) {
  RecordFormat f = variable("\r\n");
  f.utf16 = true;
  f.bom[0] = 0xFE;
  f.bom[1] = 0xFF;
  f.eofWrite = true;
  EXPECT_EQ(written(f, {}), "\xFE\xFF\0\x1A"s);
  f.eofWrite = false;
  EXPECT_EQ(written(f, {}), "");
}

TEST(SaveWriterTest, RdpLengthWrapsAsTheLoaderReadsIt) {
  // The loader takes (field - add) modulo 65536: a field of 2 with add 4 is
  // 65534 bytes of data; the writer gives the same field back.
  RecordFormat f;
  f.recfm = 'R';
  f.rdpAddToReclen = 4;
  f.rdpIntel = true;
  std::string out = written(f, {std::string(65534, 'd')});
  ASSERT_EQ(out.size(), 2u + 65534u);
  EXPECT_EQ(out.substr(0, 2), "\x02\x00"s);
}

TEST(SaveWriterTest, OutputLargerThanTheBufferArrivesWholeAndInOrder) {
  std::vector<std::string> lines;
  std::string expected;
  for (int i = 0; i < 30000; ++i) {
    lines.push_back(std::to_string(i) + std::string(40 + i % 50, 'a' + i % 26));
    expected += lines.back() + "\n";
  }
  std::string out;
  int blocks = 0;
  RecordWriter w(variable("\n"), [&](const char* d, std::size_t n) {
    out.append(d, n);
    ++blocks;
    return true;
  });
  for (const std::string& line : lines) ASSERT_TRUE(w.writeLine(line));
  ASSERT_TRUE(w.finish());
  EXPECT_EQ(out, expected);
  EXPECT_GT(blocks, 1);
  EXPECT_LT(blocks, 5) << "written in big blocks, not a record at a time";
}

TEST(SaveWriterTest, FormatOfATaskFollowsProfileAndLoadState) {
  test::EditorTest t;
  Task task(t.session());
  task.profile = std::make_unique<FileProfile>();
  applyBuiltinProfile(*task.profile);
  FileProfile& p = *task.profile;
  // Settings a load cannot produce; what a load can is met by tests/cases.
  task.load.utf16 = true;
  p.recfm = kRecfmFixed;
  EXPECT_FALSE(recordFormatOf(task)->utf16) << "UTF-16 is for VARIABLE files only";
  p.recfm = kRecfmRdp;
  p.rdpStaticAfter = "XYZ";
  EXPECT_FALSE(recordFormatOf(task));
  EXPECT_EQ(t.lastMessage().id, "SAVE40");
  EXPECT_NE(t.lastMessage().text.find("RDPStaticAfter=XYZ"), std::string::npos);
}

}  // namespace
}  // namespace kiv
