#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "core/file_load.h"
#include "core/file_load_fixture.h"
#include "core/file_save.h"
#include "core/line_ops.h"
#include "services/option_group.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

using namespace std::string_literals;

// A clean file in one format: loaded and saved unchanged, it must come back
// byte for byte.
struct RoundTrip {
  const char* name;
  std::string profile;   // settings over plain LF text
  std::string contents;
};

const std::string kBase = "MaxRecLen=32000\nTabsOut=0\nBOOLbackup=FALSE\n";  // over kPlainProfile

std::string rdpRecords() {
  // Static AA before, 00 00 after, Intel length = data + 4; one empty record.
  return "\xAA\x07\x00\x00\x00" "abc" "\xAA\x04\x00\x00\x00" "\xAA\x05\x00\x00\x00" "z"s;
}

const RoundTrip kCases[] = {
    {"fixed", "Recfm=FIXED\nMaxRecLen=8\n", "abcdefgh    1234\r\n  \t  \n"},
    {"fixedebcdic", "Recfm=FIXED\nMaxRecLen=8\nCharsetFile=EBCDIC\n",
     "\xC1\xC2\x40\xC3\x40\x40\x40\x40" "\x40\x40\x40\x40\x40\x40\x40\x40"s},
    {"rdpintel",
     "Recfm=RDP\nMaxRecLen=100\nRDPReclenByteOrder=Intel\nRDPAddToReclen=4\n"
     "RDPStaticBefore=AA\nRDPStaticAfter=0000\n",
     rdpRecords()},
    // The byte order is read in any letter case, by the loader and the writer alike.
    {"rdplowercaseintel",
     "Recfm=RDP\nMaxRecLen=100\nRDPReclenByteOrder=intel\nRDPAddToReclen=0\n",
     "\x03\x00xyz\x01\x00q"s},
    {"rdpibm", "Recfm=RDP\nMaxRecLen=100\nRDPReclenByteOrder=IBM\nRDPAddToReclen=0\n",
     "\x00\x03xyz\x00\x00\x01\x00"s + std::string(256, 'q')},
    {"crlf", "", "one\r\ntwo\r\n\r\nlast\r\n"},
    {"lf", "NewFileRecordTerminator=CR+LF\n", "one\ntwo\n\nlast\n"},
    {"cr", "", "one\rtwo\r\rlast\r"},
    {"utf16le", "", "\xFF\xFE" "A\0B\0\r\0\n\0\xE9\0\r\0\n\0"s},
    {"utf16be", "", "\xFE\xFF\0A\0B\0\r\0\n\0\xE9\0\r\0\n"s},
    {"ebcdic", "CharsetFile=EBCDIC\nMaxRecLen=80\n", "\xC1\xC2\x25\x0D\xC3\x25\x25"s},
    {"ibmpc", "CharsetFile=ASCII-IBMPC\n", "\x80\xB0\xDB\xFF\n\x01\x1A\n"s},
    {"eof", "BOOLeofread=TRUE\nBOOLeofwrite=TRUE\n", "a\r\nb\r\n\x1A"},
    {"blanks", "", "a  \n   \n"},
    {"tabskept", "", "\tx\ny\t\tz\n"},
    {"tabsinout", "TabsIn=4\nTabsOut=4\n", "a\tb\n\tc\nab\td  e\n"},
};

class SaveRoundTripTest : public test::LoadTest, public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(SaveRoundTripTest, ACleanFileLoadedAndSavedIsByteIdentical) {
  const RoundTrip& c = GetParam();
  profile(c.name, kBase + c.profile);
  std::string path = t.file("f." + std::string(c.name), c.contents);
  std::unique_ptr<Task> task = openTask(s(), path, TaskMode::Edit);
  ASSERT_TRUE(task);
  ASSERT_EQ(task->mode, TaskMode::Edit) << t.lastMessage().text;
  EXPECT_FALSE(task->modified);
  ASSERT_EQ(saveTask(*task, true), 0) << t.lastMessage().text;
  std::string saved = t.read(path);
  ASSERT_EQ(saved.size(), c.contents.size());
  auto diff = std::mismatch(saved.begin(), saved.end(), c.contents.begin());
  EXPECT_EQ(diff.first, saved.end()) << "first difference at byte " << (diff.first - saved.begin());
}

// The same files after editing: a line shortened, a line made in the
// session inserted beside loaded ones, a line lengthened. Saved and loaded
// again, every record must come back where it was, FIXED records padded to
// MaxRecLen with the file's pad byte.
TEST_P(SaveRoundTripTest, AnEditedFileSavedAndLoadedAgainKeepsEveryRecord) {
  const RoundTrip& c = GetParam();
  profile(c.name, kBase + c.profile);
  std::string path = t.file("f." + std::string(c.name), c.contents);
  std::unique_ptr<Task> task = openTask(s(), path, TaskMode::Edit);
  ASSERT_TRUE(task);
  Line* first = task->lines.first->next;
  ASSERT_TRUE(first->is(LineKind::Text));
  setLineText(*task, first, first->text().substr(0, 1));
  ASSERT_EQ(insertLinesBelow(*task, first, 1), 0);
  setLineText(*task, first->next, "n");
  Line* last = task->lines.last->prev;
  if (last->length() < maxRecLenOf(*task)) setLineText(*task, last, std::string(last->text()) + "+");
  std::vector<std::string> expected = texts(*task);
  if (task->profile->recfm == 'F')
    for (std::string& e : expected)
      e.resize(static_cast<std::size_t>(maxRecLenOf(*task)), padCharFor(*task, LineKind::Text));
  ASSERT_EQ(saveTask(*task, true), 0) << t.lastMessage().text;
  task.reset();
  std::unique_ptr<Task> again = openTask(s(), path, TaskMode::Edit);
  ASSERT_TRUE(again);
  EXPECT_EQ(texts(*again), expected);
}

INSTANTIATE_TEST_SUITE_P(EveryFormat, SaveRoundTripTest, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace kiv
