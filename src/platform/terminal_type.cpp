#include "platform/terminal_type.h"

#include <unistd.h>

#include <cstring>

#define NCURSES_WIDECHAR 1
#define NCURSES_NOMACROS 1
#include <curses.h>
#include <term.h>

namespace kiv::platform {

namespace {

// Loads the description without touching the terminal; true when it exists
// and has direct colour (the RGB flag, or 2^24 colours).
enum class Probe { Missing, Indexed, Direct };

Probe probe(const std::string& name) {
  int status = 0;
  if (setupterm(name.c_str(), STDOUT_FILENO, &status) != OK) return Probe::Missing;
  bool direct = tigetflag("RGB") > 0 || tigetnum("colors") >= 0x1000000;
  del_curterm(cur_term);
  return direct ? Probe::Direct : Probe::Indexed;
}

}  // namespace

bool wantsTrueColour(const char* colorterm) {
  return colorterm != nullptr &&
         (std::strcmp(colorterm, "truecolor") == 0 || std::strcmp(colorterm, "24bit") == 0);
}

std::vector<std::string> directColourCandidates(std::string_view term) {
  std::string base(term);
  for (std::string_view suffix : {"-256color", "-88color", "-16color", "-color", "-direct"}) {
    if (base.size() > suffix.size() && base.ends_with(suffix)) {
      base.resize(base.size() - suffix.size());
      break;
    }
  }
  std::vector<std::string> names;
  if (!base.empty()) names.push_back(base + "-direct");
  if (base != "xterm") names.emplace_back("xterm-direct");
  return names;
}

std::string chooseTerminalType(const char* term, const char* colorterm) {
  std::string name = term != nullptr ? term : "";
  if (name.empty() || !wantsTrueColour(colorterm) || probe(name) != Probe::Indexed) return name;
  for (const std::string& candidate : directColourCandidates(name)) {
    if (probe(candidate) == Probe::Direct) return candidate;
  }
  return name;
}

}  // namespace kiv::platform
