// Cutting command text into single commands, and a command into its verb
// and parameters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// Splits at ";" outside quotes ('...' or "..."); blanks and runs of ";"
// before a piece are skipped, trailing blanks kept, empty pieces dropped.
std::vector<std::string> splitCommandText(std::string_view text);

struct VerbAndParams {
  std::string verb;         // up to the first blank, upper case
  std::string_view params;  // the rest without leading blanks, as typed
};
VerbAndParams splitVerb(std::string_view command);

std::string toUpper(std::string_view text);
std::string_view skipBlanks(std::string_view text);
// The first word (up to a blank) and what follows it after blanks.
std::string_view firstWord(std::string_view text);
std::string_view afterFirstWord(std::string_view text);
// The blank-separated words of a text.
std::vector<std::string> words(std::string_view text);
// Digits only, at most 9 of them: their value; false for anything else.
bool readCount(std::string_view text, long& value);

}  // namespace kiv
