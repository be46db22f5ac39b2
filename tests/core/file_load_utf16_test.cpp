// UTF-16 files: both marks, characters above 0xFF and the question in EDIT,
// files too short to carry a mark, and odd lengths.
#include <gtest/gtest.h>

#include "core/file_load.h"
#include "core/file_load_fixture.h"

namespace kiv {
namespace {

using platform::BoxAnswer;
using test::LoadTest;
using V = std::vector<std::string>;

class LoadUtf16Test : public LoadTest {
 protected:
  LoadUtf16Test() { profile("u", ""); }

  std::string replacedText(int count) {
    return "File is in Unicode format (UTF-16).\n" + std::to_string(count) +
           "  characters with value greater than  x'FF'  were replaced with  '?'.\n\n" +
           t.path("a.u") + "\n\n";
  }
};

// The marks FF FE and FE FF are written \377\376 and \376\377 here.
// "A", U+263A, CR LF, "b", CR LF in little-endian order.
const std::string kLittle("\377\376A\0\x3A\x26\r\0\n\0b\0\r\0\n\0", 16);

TEST_F(LoadUtf16Test, LittleEndianWithAReplacementAsksInEdit) {
  t.file("a.u", kLittle);
  t.answer(BoxAnswer::No);
  auto task = open("a.u");
  ASSERT_TRUE(task);
  EXPECT_EQ(texts(*task), (V{"A?", "b"}));
  EXPECT_TRUE(task->load.utf16);
  EXPECT_EQ(task->load.terminator, "CR+LF");
  EXPECT_EQ(task->mode, TaskMode::Edit);
  EXPECT_TRUE(task->modified) << "a save would keep the '?'";
  EXPECT_EQ(t.platform().boxes().back().text,
            replacedText(1) +
                "If you SAVE this file on exit from Edit, characters replaced with  '?'  will "
                "remain  '?'.\n\nTo switch to View mode, click on 'Yes'.\n\nTo continue in Edit "
                "mode, click on 'No'.");

  t.answer(BoxAnswer::Yes);
  task = open("a.u");
  EXPECT_EQ(task->mode, TaskMode::View);
  EXPECT_FALSE(task->modified);

  task = open("a.u", TaskMode::Browse);
  EXPECT_EQ(t.lastMessage().text, replacedText(1));
  EXPECT_FALSE(task->modified);
}

TEST_F(LoadUtf16Test, BigEndianAndSurrogatesEachCountAsOneCharacter) {
  // FE FF: "x", U+1F600 as two surrogates, LF, 0x00E9.
  t.file("a.u", std::string("\xFE\xFF\0x\xD8\x3D\xDE\x00\0\n\0\xE9", 12));
  auto task = open("a.u", TaskMode::View);
  EXPECT_EQ(texts(*task), (V{"x??", "\xE9"}));
  EXPECT_EQ(task->load.terminator, "LF");
  EXPECT_EQ(t.lastMessage().text, replacedText(2));
}

TEST_F(LoadUtf16Test, TwoByteFileIsNoUtf16AndOtherPairsAreData) {
  t.file("a.u", "\xFF\xFE");
  auto task = open("a.u", TaskMode::View);
  EXPECT_FALSE(task->load.utf16);
  EXPECT_EQ(texts(*task), V{"\xFF\xFE"});
  t.file("a.u", "\376\376ab\n");
  EXPECT_EQ(texts(*open("a.u")), V{"\376\376ab"});
  EXPECT_TRUE(t.messages().empty());
}

TEST_F(LoadUtf16Test, OddLengthEndsTheLoadKeepingWhatWasRead) {
  t.file("a.u", std::string("\377\376A\0\n\0B\0C", 9));
  auto task = open("a.u");
  ASSERT_TRUE(task);
  EXPECT_EQ(texts(*task), (V{"A", "B"}));
  EXPECT_EQ(shape(*task), "TxxB");
  EXPECT_EQ(task->mode, TaskMode::View);
  EXPECT_EQ(t.lastMessage().text,
            "File:  " + t.path("a.u") +
                "\n\nThe file is in Unicode format (UTF-16) but has an odd number of bytes: its "
                "last byte is not a whole character.\n\nFile load aborted.");
  t.file("a.u", "\377\376A");
  task = open("a.u", TaskMode::Browse);
  EXPECT_EQ(task->mode, TaskMode::Browse);
  EXPECT_EQ(shape(*task), "TB");
}

}  // namespace
}  // namespace kiv
