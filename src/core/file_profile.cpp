#include "core/file_profile.h"

#include <climits>

namespace kiv {

namespace {

char asciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
char asciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::string profileFileName(std::string_view profileName) {
  std::string out = "kivfileprof.";
  for (char c : profileName) out += asciiLower(c);
  out += ".txt";
  return out;
}

bool profileNameUsable(std::string_view profileName) {
  return !profileName.empty() && profileName.find('/') == std::string_view::npos &&
         profileName.find('\0') == std::string_view::npos;
}

void applyBuiltinProfile(FileProfile& p) {
  std::string name = std::move(p.name);
  p = FileProfile{};
  p.name = std::move(name);
  p.recfm = kRecfmVariable;
  p.charset = Charset::AsciiIso8859;
  p.charsetDisplay = Charset::AsciiIso8859;
  p.maxRecLen = 64000;
  p.longRecordOption = kOptionNotify;
  p.maxRecordOption = kOptionNotify;
  p.trailingBlanksOption = kOptionStripBlanks;
  p.newFileRecordTerminator = kTerminatorCrLf;
  p.tabsIn = 2;
  p.tabsOut = 0;
  p.boundLeft = 1;
  p.boundRight = 255;
  p.backup = true;
}

long long readDecimal(std::string_view text, std::size_t& pos) {
  constexpr long long kLimit = LLONG_MAX / 10 - 10;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  long long value = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
    if (value < kLimit) value = value * 10 + (text[pos] - '0');
  return negative ? -value : value;
}

std::string profileUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = asciiUpper(c);
  return out;
}

}  // namespace kiv
