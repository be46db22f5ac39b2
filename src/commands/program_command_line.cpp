#include "commands/program_command_line.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "commands/command_split.h"
#include "commands/locate_command.h"
#include "core/file_profile.h"
#include "core/session.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kInvalidOption = "Invalid command option '%c'.";
constexpr std::string_view kTooManyNames = "Max number of file names is limited to %d'";
constexpr std::string_view kNameTooLong = "Drive+Path+Filename too long '%s'";
constexpr std::string_view kUnmatchedQuote = "Unmatched quote in the command line:\n\n%s";
constexpr std::string_view kNeedsValue = "Command option /%c requires a value.";
constexpr std::string_view kTakesNoValue = "Command option /%c takes no value:  %s";
constexpr std::string_view kBadLineColumn =
    "Command option /L requires a line number, optionally followed by a comma and a column "
    "number, for example  /L120  or  /L(120,8).\n\nNot a line and column:  %s";
constexpr std::string_view kNoFileList =
    "The file list is not available yet, so '%s' cannot be listed: name the files to open "
    "instead.\n\nThe rest of the command line was not processed.";
constexpr std::string_view kUnquotable =
    "This file name holds both kinds of quote and a ';', which no command can carry:\n\n%s";
// The line-command field of a file numbered by hex offsets.
constexpr int kHexOffsetPrefix = 9;

// Everything the words asked for, before anything opens.
struct ParsedCommandLine {
  char mode = 'E';
  std::vector<std::string> names;
  long line = 0;
  long column = 0;
  std::string messageFile;
  std::vector<std::string> commands;  // each /S, in order
};

using OptionApply = int (*)(Session&, ParsedCommandLine&, std::string_view value);

struct OptionDef {
  char letter;  // upper case
  bool takesValue;
  OptionApply apply;
};

int setBrowse(Session& s, ParsedCommandLine& p, std::string_view) {
  p.mode = 'B';
  varSet(s, "ZFLIST.MODE", "Browse");
  return 0;
}

int setView(Session& s, ParsedCommandLine& p, std::string_view) {
  p.mode = 'V';
  varSet(s, "ZFLIST.MODE", "View");
  return 0;
}

// /E and /Z (EDIT is the default) and /H (nothing here depends on it).
int acceptOnly(Session&, ParsedCommandLine&, std::string_view) { return 0; }

// /I, /X and /P: a name kept upper case in a variable.
template <const char* kVariable>
int setUpperName(Session& s, ParsedCommandLine&, std::string_view v) {
  varSet(s, kVariable, toUpper(v));
  return 0;
}
constexpr char kInitialMacroVar[] = "ZCMDLINE.IMACRO";
constexpr char kExitMacroVar[] = "ZFLIST.OPTION.XMACRO";
constexpr char kProfileVar[] = "ZFLIST.PROF";

std::string_view trimBlanks(std::string_view v) {
  v = skipBlanks(v);
  return v.substr(0, v.find_last_not_of(' ') + 1);
}

// "120", "120,8", "(120,8)" or "(120)".
bool readLineColumn(std::string_view v, long& line, long& column) {
  v = trimBlanks(v);
  if (v.starts_with('(')) {
    if (v.size() < 2 || !v.ends_with(')')) return false;
    v = v.substr(1, v.size() - 2);
  }
  std::size_t comma = v.find(',');
  column = 0;
  if (!readLocateNumber(trimBlanks(v.substr(0, comma)), line)) return false;
  return comma == std::string_view::npos ||
         readLocateNumber(trimBlanks(v.substr(comma + 1)), column);
}

int setLineColumn(Session& s, ParsedCommandLine& p, std::string_view v) {
  if (readLineColumn(v, p.line, p.column)) return 0;
  messagef(s, "", kBadLineColumn, v);
  return -1;
}

int setMessageFile(Session&, ParsedCommandLine& p, std::string_view v) {
  p.messageFile = std::string(v);
  return 0;
}

int addCommands(Session&, ParsedCommandLine& p, std::string_view v) {
  p.commands.emplace_back(v);
  return 0;
}

constexpr OptionDef kOptions[] = {
    {'B', false, setBrowse},
    {'E', false, acceptOnly},
    {'H', false, acceptOnly},
    {'I', true, setUpperName<kInitialMacroVar>},
    {'L', true, setLineColumn},
    {'P', true, setUpperName<kProfileVar>},
    {'R', true, setMessageFile},
    {'S', true, addCommands},
    {'V', false, setView},
    {'X', true, setUpperName<kExitMacroVar>},
    {'Z', false, acceptOnly},
};

const OptionDef* findOption(char letter) {
  char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  auto it = std::ranges::find(kOptions, upper, &OptionDef::letter);
  return it == std::end(kOptions) ? nullptr : &*it;
}

bool isQuote(char c) { return c == '\'' || c == '"'; }

enum class Quoting { None, Closed, Open };

Quoting quotingOf(std::string_view word) {
  if (word.empty() || !isQuote(word[0])) return Quoting::None;
  return word.size() >= 2 && word.back() == word[0] ? Quoting::Closed : Quoting::Open;
}

std::string_view inner(std::string_view quoted) { return quoted.substr(1, quoted.size() - 2); }

// "/" and a letter alone is always an option, so that a script means the
// same whatever exists on disk. A longer word beginning so is an option
// unless it is an absolute file name: its part before any blank holds a
// further "/", or it names something that exists.
bool isOptionWord(std::string_view w) {
  if (w.size() < 2 || w[0] != '/' || !std::isalpha(static_cast<unsigned char>(w[1]))) return false;
  if (w.size() == 2) return true;
  if (w.substr(0, w.find(' ')).find('/', 1) != std::string_view::npos) return false;
  std::error_code ec;
  return !fs::exists(fs::symlink_status(fs::path(std::string(w)), ec));
}

// "/Pcobol" quoted as a whole: the quote moves behind the letter, so that
// the option comes first and its value is quoted.
std::string swapQuotedOption(std::string_view w) {
  return std::string("/") + w[2] + w[0] + std::string(w.substr(3));
}

class CommandLineParser {
 public:
  CommandLineParser(Session& s, const std::vector<std::string>& words, ParsedCommandLine& out)
      : s_(s), words_(words), out_(out) {}

  int parse() {
    while (next_ < words_.size())
      if (word(words_[next_++]) != 0) return -1;
    return 0;
  }

 private:
  template <class... Args>
  int fail(std::string_view tmpl, const Args&... args) {
    messagef(s_, "", tmpl, args...);
    return -1;
  }

  int word(std::string_view w) {
    if (w.empty()) return 0;
    if (!optionsEnded_ && w == "--") {
      optionsEnded_ = true;
      return 0;
    }
    Quoting q = quotingOf(w);
    if (q == Quoting::Open) return fail(kUnmatchedQuote, w);
    std::string_view text = q == Quoting::Closed ? inner(w) : w;
    if (optionsEnded_ || !isOptionWord(text)) return name(text);
    return q == Quoting::Closed ? option(swapQuotedOption(w)) : option(w);
  }

  int option(std::string_view w) {
    const OptionDef* def = findOption(w[1]);
    if (!def) return fail(kInvalidOption, w[1]);
    std::string_view value;
    if (unquote(w.substr(2), value) != 0) return -1;
    if (!def->takesValue)
      return value.empty() ? def->apply(s_, out_, "") : fail(kTakesNoValue, def->letter, w);
    if (value.empty() && next_ < words_.size() && unquote(words_[next_++], value) != 0) return -1;
    if (value.empty()) return fail(kNeedsValue, def->letter);
    return def->apply(s_, out_, value);
  }

  // A value without one pair of enclosing quotes.
  int unquote(std::string_view text, std::string_view& value) {
    Quoting q = quotingOf(text);
    if (q == Quoting::Open) return fail(kUnmatchedQuote, text);
    value = q == Quoting::Closed ? inner(text) : text;
    return 0;
  }

  int name(std::string_view n) {
    if (n.empty()) return 0;
    if (out_.names.size() >= static_cast<std::size_t>(kMaxCommandLineNames))
      return fail(kTooManyNames, kMaxCommandLineNames);
    if (n.size() >= kCommandLineNameLimit) return fail(kNameTooLong, n);
    out_.names.emplace_back(n);
    return 0;
  }

  Session& s_;
  const std::vector<std::string>& words_;
  ParsedCommandLine& out_;
  std::size_t next_ = 0;
  bool optionsEnded_ = false;
};

// The words of KIVCMDPREFIX in front of the arguments; false after the
// message when its quotes do not close.
bool commandLineWords(Session& s, const std::vector<std::string>& args,
                      std::vector<std::string>& words) {
  const char* prefix = std::getenv("KIVCMDPREFIX");
  if (prefix && *prefix && !splitCommandLineWords(prefix, words)) {
    messagef(s, "", kUnmatchedQuote, prefix);
    return false;
  }
  words.insert(words.end(), args.begin(), args.end());
  return true;
}

// "~" and "~/..." stand for the home directory, as in the shell.
std::string expandHome(std::string_view name) {
  const char* home = std::getenv("HOME");
  if (!home || !*home || !(name == "~" || name.starts_with("~/"))) return std::string(name);
  return std::string(home) + std::string(name.substr(1));
}

std::string absoluteName(const std::string& name) {
  std::error_code ec;
  fs::path p = fs::absolute(fs::path(name), ec);
  return ec ? name : p.lexically_normal().string();
}

bool asksForFileList(const std::string& given, const std::string& path) {
  std::error_code ec;
  return given.find_first_of("*?") != std::string::npos || fs::is_directory(path, ec);
}

std::string_view modeName(char mode) {
  return mode == 'B' ? "Browse" : mode == 'V' ? "View" : "Edit";
}

// "VERB name", the name quoted when the executor would otherwise cut it at
// a blank or ";" or drop its quotes; nothing when no quoting keeps it whole.
std::optional<std::string> commandWithName(std::string_view verb, std::string_view name) {
  std::string head = std::string(verb) + " ";
  if (name.find_first_of(" ;'\"") == std::string_view::npos) return head + std::string(name);
  for (char q : {'\'', '"'})
    if (name.find(q) == std::string_view::npos) return head + q + std::string(name) + q;
  if (name.find(';') == std::string_view::npos) return head + "'" + std::string(name) + "'";
  return std::nullopt;
}

bool runWithName(Session& s, std::string_view verb, std::string_view name) {
  std::optional<std::string> text = commandWithName(verb, name);
  if (!text) {
    messagef(s, "", kUnquotable, name);
    return false;
  }
  s.executeCommand(*text);
  return true;
}

bool openName(Session& s, const std::string& path) {
  std::size_t before = s.tasks.size();
  return runWithName(s, "open", path) && s.tasks.size() > before;
}

int lineCommandWidth(Task& task) {
  if (task.profile && task.profile->numberType == NumberType::HexOffset) return kHexOffsetPrefix;
  bool browse = task.mode == TaskMode::Browse;
  std::string w = setting(task.session, browse ? "ZEDIT.LCMDCOLS.BROWSE" : "ZEDIT.LCMDCOLS.EDIT",
                          browse ? "0" : "7");
  return std::max(std::atoi(w.c_str()), 0);
}

// /R and /L act once, on the first file that opened.
void applyOnce(Session& s, const ParsedCommandLine& p) {
  if (!p.messageFile.empty()) runWithName(s, "MERGEMSG", p.messageFile);
  if (p.line <= 0) return;
  s.executeCommand(format("LOCATE %d", p.line));
  EditPanel* panel = currentEditPanel(s);
  if (panel && p.column > 0)
    putCursorInColumn(*panel, static_cast<int>(p.column), lineCommandWidth(panel->task));
}

int openNames(Session& s, const ParsedCommandLine& p, CommandLineRun& run) {
  bool applied = false;
  for (const std::string& given : p.names) {
    std::string name = expandHome(given);
    std::string path = absoluteName(name);
    if (asksForFileList(name, path)) {
      messagef(s, "", kNoFileList, given);
      return -1;
    }
    varSet(s, "ZFLIST.MODE", modeName(p.mode));
    if (!openName(s, path)) {
      ++run.notOpened;
      continue;
    }
    varSet(s, "ZEDITVIACMDLINE", "TRUE");
    if (!applied) applyOnce(s, p);
    applied = true;
  }
  return 0;
}

}  // namespace

bool splitCommandLineWords(std::string_view text, std::vector<std::string>& words) {
  std::string word;
  bool inWord = false;
  char quote = 0;
  for (char c : text) {
    if (!quote && (c == ' ' || c == '\t')) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
      continue;
    }
    inWord = true;
    word += c;
    if (quote && c == quote) quote = 0;
    else if (!quote && isQuote(c)) quote = c;
  }
  if (inWord) words.push_back(std::move(word));
  return quote == 0;
}

int processCommandLine(Session& s, const std::vector<std::string>& args) {
  CommandLineRun run;
  return processCommandLine(s, args, run);
}

// The file list's remembered mode and profile, which the options set for
// the files of the command line: put back afterwards, so that "/P COBOL" in
// one run does not choose the profile of every file of the next.
class RememberedChoices {
 public:
  explicit RememberedChoices(Session& s)
      : s_(s), mode_(varGet(s, "ZFLIST.MODE")), profile_(varGet(s, kProfileVar)) {}
  ~RememberedChoices() {
    varSet(s_, "ZFLIST.MODE", mode_);
    varSet(s_, kProfileVar, profile_);
  }
  RememberedChoices(const RememberedChoices&) = delete;
  RememberedChoices& operator=(const RememberedChoices&) = delete;

 private:
  Session& s_;
  std::string mode_;
  std::string profile_;
};

int processCommandLine(Session& s, const std::vector<std::string>& args, CommandLineRun& run) {
  std::vector<std::string> words;
  if (!commandLineWords(s, args, words)) return -1;
  ParsedCommandLine parsed;
  {
    RememberedChoices keep(s);
    if (CommandLineParser(s, words, parsed).parse() != 0) return -1;
    if (openNames(s, parsed, run) != 0) return -1;
  }
  for (const std::string& command : parsed.commands) {
    if (run.runCommand) run.runCommand(s, command);
    else s.executeCommand(command);
  }
  return 0;
}

}  // namespace kiv
