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

std::string tabbed(std::string_view in, int n, char pad = ' ', char tab = '\t') {
  std::string out;
  insertTabs(in, n, pad, tab, out);
  return out;
}

TEST(SaveWriterTest, TabInsertionNeverReplacesASingleBlank) {
  EXPECT_EQ(tabbed("ab   x", 4), "ab\t x") << "three blanks at column 2 with n=4";
  EXPECT_EQ(tabbed("abc x", 4), "abc x") << "one blank before a stop stays";
  EXPECT_EQ(tabbed("abc  x", 4), "abc  x") << "the stop is only one column ahead";
  EXPECT_EQ(tabbed("a       x", 4), "a\t\tx") << "a run crossing two stops";
  EXPECT_EQ(tabbed("a      x", 4), "a\t   x") << "no stop at the x: its blanks stay";
  EXPECT_EQ(tabbed("        x", 8), "\tx");
  EXPECT_EQ(tabbed("abc      ", 4), "abc \t ") << "column 3 to 4 is a single blank";
  EXPECT_EQ(tabbed("a        ", 1), "a        ") << "n=1 never makes a tab";
  EXPECT_EQ(tabbed("", 4), "");
  EXPECT_EQ(tabbed("\x40\x40\x40\x40\xC1", 4, '\x40', '\x05'), "\x05\xC1"s) << "EBCDIC bytes";
  EXPECT_EQ(tabbed("    \tx", 4, ' '), "\t\tx") << "an existing tab is copied";
}

TEST(SaveWriterTest, FixedRecordsArePaddedButNeverCut) {
  RecordFormat f;
  f.recfm = 'F';
  f.maxRecLen = 6;
  f.terminator = "\r\n";
  EXPECT_EQ(written(f, {"ab", "", "abcdef", "abcdefgh"}), "ab    "s + "      " + "abcdef" + "abcdefgh");
  f.pad = '\x40';
  EXPECT_EQ(written(f, {"\xC1"}), "\xC1\x40\x40\x40\x40\x40"s);
  f.eofWrite = true;
  EXPECT_EQ(written(f, {"abcdef"}), "abcdef") << "the end-of-file byte is for VARIABLE files";
}

TEST(SaveWriterTest, Utf16EndOfFileCharacterAndEmptyFile) {
  RecordFormat f = variable("\r\n");
  f.utf16 = true;
  f.bom[0] = 0xFE;
  f.bom[1] = 0xFF;
  f.eofWrite = true;
  EXPECT_EQ(written(f, {"A"}), "\xFE\xFF\0A\0\r\0\n\0\x1A"s) << "0x1A is a character too";
  EXPECT_EQ(written(f, {}), "\xFE\xFF\0\x1A"s);
  f.eofWrite = false;
  EXPECT_EQ(written(f, {}), "") << "an empty file has no mark";
}

TEST(SaveWriterTest, VariableTrailingBlanksAndTabs) {
  RecordFormat f = variable("\n");
  f.trailing = 'S';
  EXPECT_EQ(written(f, {"    ", "a  ", " b"}), "\na\n b\n") << "a line of blanks is an empty record";
  f.trailing = 'P';
  f.maxRecLen = 5;
  EXPECT_EQ(written(f, {"ab", "abcdefg"}), "ab   \nabcdefg\n");
  f.trailing = 'L';
  EXPECT_EQ(written(f, {"ab  "}), "ab  \n");
  f.trailing = 'P';
  f.maxRecLen = 8;
  f.tabsOut = 4;
  EXPECT_EQ(written(f, {"a"}), "a\t\t\n") << "padding comes before the tabs";
}

TEST(SaveWriterTest, RdpLengthWrapsAsTheLoaderReadsIt) {
  // The loader takes (field - add) modulo 65536: a field of 2 with add 4 is
  // 65534 bytes of data; the writer gives the same field back.
  RecordFormat f;
  f.recfm = 'R';
  f.rdpAddToReclen = 4;
  f.rdpIntel = true;
  f.trailing = 'S';
  f.tabsOut = 4;
  EXPECT_EQ(written(f, {"a    "}), "\x09\x00" "a    "s) << "no blanks stripped, no tabs";
  std::string data(65534, 'd');
  std::string out = written(f, {data});
  ASSERT_EQ(out.size(), 2 + data.size());
  EXPECT_EQ(out.substr(0, 2), "\x02\x00"s);
  f.rdpAddToReclen = -3;
  EXPECT_EQ(written(f, {"ab"}).substr(0, 2), "\xFF\xFF"s);
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
  // Terminators, EBCDIC line feeds and UTF-16 marks are met by the round trips.
  p.charset = Charset::Ebcdic;
  p.trailingBlanksOption = "padBlanksOnWrite";
  std::optional<RecordFormat> f = recordFormatOf(task);
  EXPECT_EQ(f->pad, '\x40');
  EXPECT_EQ(f->tab, '\x05');
  EXPECT_EQ(f->trailing, 'P') << "the option in any letter case";
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
