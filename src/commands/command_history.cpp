#include "commands/command_history.h"

#include "screen/screen_state.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "commands/command_split.h"
#include "commands/command_state.h"
#include "services/messages.h"
#include "services/path_search.h"

namespace kiv {

namespace {

constexpr std::string_view kDefaultHistoryFile = "KivPcmdHistory.txt";
constexpr std::size_t kHistoryLineLimit = 257;  // 256 characters and the terminator

constexpr std::array<std::string_view, 3> kNeverRecorded = {"ENCRYPT", "DECRYPT", "CMDHISTORYSAVE"};
// Verbs that are not recorded when they stand alone.
constexpr std::array<std::string_view, 18> kNotRecordedAlone = {
    "COPY",     "CUT",    "DELETE", "DOWN",  "END",   "HELP",  "LEFT", "PASTE",    "RCHANGE",
    "RETRIEVE", "RETURN", "RFIND",  "RIGHT", "RPCMD", "SPLIT", "SWAP", "SWAPBACK", "UP"};

template <std::size_t N>
bool contains(const std::array<std::string_view, N>& list, std::string_view verb) {
  return std::find(list.begin(), list.end(), verb) != list.end();
}

bool isAlphanumeric(std::string_view name) {
  return std::all_of(name.begin(), name.end(),
                     [](unsigned char c) { return std::isalnum(c) != 0; });
}

// Checks the history name of CMDHISTORYSAVE or CMDHISTORYRESTORE.
bool checkHistoryName(Session& s, std::string_view verb, std::string_view name) {
  if (name.empty()) {
    messagef(s, "", "%s requires one parameter:\n\nP1 = history-name", verb);
    return false;
  }
  if (!isAlphanumeric(name)) {
    messagef(s, "",
             "%s:  'history-name'  characters must come from set a-z, A-Z, 0-9\n\n"
             "No blanks or punctuation allowed.",
             verb);
    return false;
  }
  return true;
}

int writeHistory(Session& s, const std::string& path) {
  CommandHistory& h = commandState(s).history;
  FilePtr f(std::fopen(path.c_str(), "w"));
  if (!f) return -1;
  for (const std::string& slot : h.slots)
    if (!slot.empty()) std::fprintf(f.get(), "%s\n", slot.c_str());
  if (std::fflush(f.get()) != 0 || std::ferror(f.get())) return -1;
  h.changed = false;
  return 0;
}

// Empties the slots and reads up to 32 lines into them. -1 on a read failure
// (the slots are then left empty).
int readHistory(Session& s, const std::string& path) {
  CommandHistory& h = commandState(s).history;
  h = CommandHistory{};
  FilePtr f(std::fopen(path.c_str(), "r"));
  if (!f) return -1;
  std::string line;
  for (std::string& slot : h.slots) {
    if (!readLimitedLine(f.get(), kHistoryLineLimit, line)) break;
    slot = stripLineEnd(line);
  }
  if (std::ferror(f.get())) {
    h = CommandHistory{};
    return -1;
  }
  h.count = static_cast<int>(std::count_if(h.slots.begin(), h.slots.end(),
                                           [](const std::string& t) { return !t.empty(); }));
  return 0;
}

void showSlot(Session& s, int slot) {
  CommandState& state = commandState(s);
  state.commandField = state.history.slots[static_cast<std::size_t>(slot - 1)];
  setCommandFieldText(s, state.commandField);
}

}  // namespace

bool isRecordable(std::string_view text) {
  if (text.size() < 2 || text.size() > kMaxCommandLength) return false;
  std::string verb = toUpper(text.substr(0, text.find_first_of(" ;")));
  if (contains(kNeverRecorded, verb)) return false;
  bool alone = skipBlanks(text.substr(verb.size())).empty();
  return !(alone && contains(kNotRecordedAlone, verb));
}

void recordCommand(Session& s, std::string_view text) {
  if (!isRecordable(text)) return;
  CommandHistory& h = commandState(s).history;
  auto end = h.slots.begin() + h.count;
  auto same = std::find(h.slots.begin(), end, text);
  if (same != end) {
    std::move(same + 1, h.slots.end(), same);
    h.slots.back().clear();
    --h.count;
  }
  std::move_backward(h.slots.begin(), h.slots.end() - 1, h.slots.end());
  h.slots.front() = std::string(text);
  h.count = std::min(h.count + 1, kHistorySlots);
  h.cursor = 1;
  h.changed = true;
}

void retrieveForward(Session& s) {
  CommandHistory& h = commandState(s).history;
  if (h.count == 0) return;
  if (h.cursor < 1 || h.cursor > h.count) h.cursor = 1;
  showSlot(s, h.cursor);
  h.cursor = h.cursor >= h.count ? 1 : h.cursor + 1;
}

void retrieveBack(Session& s) {
  CommandHistory& h = commandState(s).history;
  if (h.count == 0) return;
  h.cursor = h.cursor <= 1 || h.cursor > h.count ? h.count : h.cursor - 1;
  showSlot(s, h.cursor);
}

std::string historyFilePath(Session& s, std::string_view name) {
  return joinPath(s.dirs.options, "KivPcmdHistory." + std::string(name) + ".txt");
}

int saveCommandHistory(Session& s, std::string_view name) {
  if (!checkHistoryName(s, "CMDHISTORYSAVE", name)) return -1;
  std::string path = historyFilePath(s, name);
  if (writeHistory(s, path) != 0) {
    messagef(s, "", "CMDHISTORYSAVE:  unable to write file:\n\n%s", path);
    return -1;
  }
  messagef(s, "CMDHISTORY10",
           "CMDHISTORYSAVE:  primary command history buffers saved under name:  %s\n\n"
           "Use command CMDHISTORYRESTORE to bring this command set back into history buffers.",
           name);
  return 0;
}

int restoreCommandHistory(Session& s, std::string_view name) {
  if (!checkHistoryName(s, "CMDHISTORYRESTORE", name)) return -1;
  std::string path = historyFilePath(s, name);
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    messagef(s, "CMDHISTORY07", "CMDHISTORY not found:\n\n%s", path);
    return -1;
  }
  if (readHistory(s, path) != 0) {
    messagef(s, "CMDHISTORY06",
             "CMDHISTORY  '%s'  not restored.  Command history buffers are now empty.", name);
    return -1;
  }
  messagef(s, "CMDHISTORY05",
           "CMDHISTORYRESTORE:  primary command history buffers restored from:  %s", path);
  return 0;
}

int loadDefaultCommandHistory(Session& s) {
  std::string path = joinPath(s.dirs.options, kDefaultHistoryFile);
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return 0;
  return readHistory(s, path);
}

int saveDefaultCommandHistory(Session& s) {
  if (!commandState(s).history.changed) return 0;
  std::string path = joinPath(s.dirs.options, kDefaultHistoryFile);
  if (writeHistory(s, path) == 0) return 0;
  messagef(s, "", "Unable to write command history file:\n\n%s", path);
  return -1;
}

}  // namespace kiv
