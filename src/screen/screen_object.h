// A screen object: one field, button or row of a panel, placed at a row and
// column, with its content and colours.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kiv {

// The codes are fixed: definitions name objects by them (6 is unused).
enum class ObjectType : std::uint8_t {
  Button = 1,
  Choice = 2,
  EditLine = 3,
  Input = 4,
  InputCheckbox = 5,
  ScrollV = 7,
  Static = 8,
};

// "BUTTON", "CHOICE", ...; "?" for a code that is no type.
std::string_view objectTypeName(ObjectType type);
bool validObjectType(int code);

inline constexpr int kMaxObjectName = 31;

struct ScreenObject {
  std::string name;
  ObjectType type = ObjectType::Static;
  int row = 1;  // 1-based position of the first cell
  int col = 1;
  int displayWidth = 1;
  int contentWidth = 1;
  std::string content;  // contentWidth characters in UTF-8, blank-padded
  int firstShown = 0;   // index of the first content character shown
  std::string command;  // BUTTON: its command; input objects: their pool variable
  std::string checkboxVar;
  std::uint8_t fg = 0;
  std::uint8_t bg = 0;

  std::uint8_t attr() const { return static_cast<std::uint8_t>((fg << 4) | (bg & 0x0F)); }
  bool typeable() const { return type == ObjectType::Input || type == ObjectType::Choice; }
  // Display cells that show content: a CHOICE keeps its last two for the mark.
  int textCells() const { return type == ObjectType::Choice ? displayWidth - 2 : displayWidth; }
  // Content position of a screen column inside the object.
  int contentIndex(int column) const { return firstShown + column - col; }
  // The content without trailing blanks.
  std::string_view trimmed() const;
};

// Blank-fills the content and copies at most contentWidth characters (UTF-8
// where the text is, a byte that is not taken as Latin-1).
void setContent(ScreenObject& object, std::string_view text);

}  // namespace kiv
