#include "screen/screen_object.h"

#include <algorithm>
#include <array>

#include "core/text_columns.h"
#include "platform/utf8.h"
#include "screen/field_cells.h"

namespace kiv {

namespace {

constexpr std::array<std::string_view, 9> kTypeNames = {
    "?", "BUTTON", "CHOICE", "EDITLINE", "INPUT", "INPUT_CHECKBOX", "?", "SCROLLV", "STATIC"};

}  // namespace

bool validObjectType(int code) {
  return code >= 1 && code <= 8 && code != 6;
}

std::string_view objectTypeName(ObjectType type) {
  int code = static_cast<int>(type);
  return validObjectType(code) ? kTypeNames[static_cast<std::size_t>(code)] : "?";
}

std::string_view ScreenObject::trimmed() const {
  std::string_view v = content;
  std::size_t end = v.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : v.substr(0, end + 1);
}

void setContent(ScreenObject& object, std::string_view text) {
  auto width = static_cast<std::size_t>(std::max(object.contentWidth, 0));
  if (asciiPrefix(text) == text.size()) {  // most texts: a byte a cell
    object.content.assign(text.substr(0, width));
    object.content.resize(width, ' ');
    return;
  }
  object.content = textOfCells(cellsOf(text, object.contentWidth));
}

}  // namespace kiv
