#include "commands/search_picture.h"

#include <gtest/gtest.h>

namespace kiv {
namespace {

// One character and the classes it belongs to, in a UTF-8 file.
struct ClassCase {
  const char* text;  // one character
  const char* classes;
};

constexpr std::string_view kClasses = "#@<>$-.=^";

TEST(SearchPicture, Utf8ClassesTakeUnicodeMeanings) {
  const ClassCase cases[] = {
      {"é", "@<-=^"}, {"Ж", "@>-=^"}, {"ж", "@<-=^"}, {"Σ", "@>-=^"}, {"東", "@-=^"},
      {"7", "#=^"},   {"٣", "-=^"},   {" ", "-="},     {"«", "$-=^"},  {"\xC2\x85", ".$-=^"},
  };
  for (const ClassCase& c : cases) {
    std::string_view text = c.text;
    for (char cls : kClasses) {
      bool expected = std::string_view(c.classes).find(cls) != std::string_view::npos;
      EXPECT_EQ(utf8PictureAt(std::string(1, cls), text, 0, static_cast<int>(text.size())) > 0, expected)
          << "class " << cls << " of " << c.text;
    }
  }
  // A byte that begins no character: not a digit, letter or blank.
  for (char cls : kClasses)
    EXPECT_EQ(pictureHolds(cls, 0x85, true, true), std::string_view(".$-=^").find(cls) != std::string_view::npos)
        << "class " << cls << " of an invalid byte";
}

TEST(SearchPicture, SingleByteClassesStayAscii) {
  EXPECT_FALSE(pictureHolds('@', 0xE9, false));  // é in Latin-1 is no ASCII letter
  EXPECT_TRUE(pictureHolds('$', 0xE9, false));
  EXPECT_TRUE(pictureHolds('.', 0xE9, false));
  EXPECT_TRUE(pictureHolds('>', 'Q', false));
}

TEST(SearchPicture, MatchesCharactersAndReportsTheirBytes) {
  std::string_view text = "xжé9東z";
  // '@' twice over two 2-byte letters, '#' over a digit: 5 bytes from byte 1.
  EXPECT_EQ(utf8PictureAt("@@#", text, 1, static_cast<int>(text.size())), 5);
  EXPECT_EQ(utf8PictureAt("ж@", text, 1, static_cast<int>(text.size())), 4);
  EXPECT_EQ(utf8PictureAt("Ж@", text, 1, static_cast<int>(text.size())), -1);  // a literal keeps its case
  EXPECT_EQ(utf8PictureAt("=", text, 6, static_cast<int>(text.size())), 3);     // 東 is one character
  // The end of the range cuts a character: it does not match.
  EXPECT_EQ(utf8PictureAt("=", text, 6, 8), -1);
  EXPECT_EQ(utf8PictureAt("^", "\xFF", 0, 1), 1);  // an invalid byte is a character of its own
}

TEST(SearchPicture, ChangeInPlaceMayChangeByteLengths) {
  EXPECT_EQ(utf8PictureChange("жé9", "><#"), "Жé9");
  EXPECT_EQ(utf8PictureChange("ab", "=Ω"), "aΩ");  // a replacing character of another length
  EXPECT_EQ(utf8PictureChange("ſx", ">>"), "SX");  // long s upper-cased takes one byte
  EXPECT_EQ(utf8PictureChange("ÉCOLE", "<<"), "écOLE");
  EXPECT_EQ(utf8PictureChange("a\xFF", ">>"), "A\xFF");  // an invalid byte stays as it is
}

TEST(SearchPicture, CountsCharacters) {
  EXPECT_EQ(utf8Count(""), 0);
  EXPECT_EQ(utf8Count("é東x"), 3);
  EXPECT_EQ(utf8Count("\xE6\x97"), 2);  // a cut sequence: each byte one
}

}  // namespace
}  // namespace kiv
