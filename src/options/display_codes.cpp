#include "options/display_codes.h"

#include <charconv>
#include <cstdio>

#include "options/option_file.h"
#include "services/messages.h"
#include "services/option_group.h"

namespace kiv {

namespace {

constexpr std::string_view kWriteId = "OPTIONS90";

// A face name that would lead the file out of the options directory.
bool usableFace(std::string_view face) {
  return face.find('/') == std::string_view::npos;
}

// A decimal 0..255 at the front of `text`, which then starts after it.
bool takeCode(std::string_view& text, unsigned& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || value > 255) return false;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return true;
}

void readEntry(DisplayCodes& codes, std::string_view line) {
  auto [first, rest] = splitFirstWord(line);
  unsigned from = 0;
  unsigned to = 0;
  if (!takeCode(first, from) || !first.empty() || !takeCode(rest, to)) return;
  if (rest.find_first_not_of(' ') != std::string_view::npos) return;
  codes.code[from] = static_cast<unsigned char>(to);
}

}  // namespace

DisplayCodes::DisplayCodes() {
  for (std::size_t i = 0; i < code.size(); ++i) code[i] = static_cast<unsigned char>(i);
}

std::string displayCodesGroupName(std::string_view face) {
  std::string name = "DisplayCodes.";
  for (char c : face)
    if (c != ' ') name += c;
  return name;
}

DisplayCodes readDisplayCodes(Services& s, std::string_view face) {
  DisplayCodes codes;
  if (!usableFace(face)) return codes;
  if (FilePtr f = openOptionGroup(s, displayCodesGroupName(face), "r"))
    forEachLine(f.get(), kOptionLineLimit, [&](std::string_view line) { readEntry(codes, line); });
  return codes;
}

int writeDisplayCodes(Services& s, std::string_view face, const DisplayCodes& codes) {
  std::string group = displayCodesGroupName(face);
  if (!usableFace(face)) {
    messagef(s, kWriteId, "Unable to write option file '%s'", group);
    return -1;
  }
  std::string text;
  char line[16];
  for (std::size_t i = 0; i < codes.code.size(); ++i) {
    std::snprintf(line, sizeof line, "%03d %03d\n", static_cast<int>(i), codes.code[i]);
    text += line;
  }
  return writeOptionGroup(s, group, kWriteId, text);
}

}  // namespace kiv
