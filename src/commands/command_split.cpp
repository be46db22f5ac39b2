#include "commands/command_split.h"

#include <cctype>

namespace kiv {

namespace {

// The end of the piece that starts at `pos`: the next ";" outside quotes.
std::size_t pieceEnd(std::string_view text, std::size_t pos) {
  char quote = 0;
  for (; pos < text.size(); ++pos) {
    char c = text[pos];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      break;
    }
  }
  return pos;
}

std::size_t skipChar(std::string_view text, std::size_t pos, char c) {
  while (pos < text.size() && text[pos] == c) ++pos;
  return pos;
}

}  // namespace

std::vector<std::string> splitCommandText(std::string_view text) {
  std::vector<std::string> pieces;
  std::size_t pos = 0;
  while (pos < text.size()) {
    pos = skipChar(text, skipChar(text, skipChar(text, pos, ' '), ';'), ' ');
    std::size_t end = pieceEnd(text, pos);
    if (end > pos) pieces.emplace_back(text.substr(pos, end - pos));
    pos = end;
  }
  return pieces;
}

std::string toUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string_view skipBlanks(std::string_view text) {
  std::size_t pos = text.find_first_not_of(' ');
  return pos == std::string_view::npos ? std::string_view() : text.substr(pos);
}

std::string_view firstWord(std::string_view text) {
  return text.substr(0, text.find(' '));
}

std::string_view afterFirstWord(std::string_view text) {
  std::size_t blank = text.find(' ');
  return blank == std::string_view::npos ? std::string_view() : skipBlanks(text.substr(blank));
}

VerbAndParams splitVerb(std::string_view command) {
  return {toUpper(firstWord(command)), afterFirstWord(command)};
}

std::vector<std::string> words(std::string_view text) {
  std::vector<std::string> out;
  for (std::string_view rest = text; !firstWord(rest).empty(); rest = afterFirstWord(rest))
    out.emplace_back(firstWord(rest));
  return out;
}

bool readCount(std::string_view text, long& value) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string_view::npos)
    return false;
  value = std::stol(std::string(text));
  return true;
}

}  // namespace kiv
