#include "commands/search_params.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

#include "commands/labels.h"
#include "commands/line_shift.h"
#include "commands/search_picture.h"
#include "core/file_profile.h"
#include "core/line_ops.h"
#include "core/selection.h"
#include "core/session.h"
#include "core/task.h"
#include "core/text_columns.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

constexpr std::size_t kMaxText = 255;
constexpr std::size_t kMaxString = 255;
constexpr std::size_t kMaxLabel = 7;

enum class Word {
  All, DupLines, EmptyLine, Eol, First, Last, Next, Nx, Prefix, Prev, Quiet, Selection, Suffix,
  WordRule, X, Star,
};

constexpr std::array<std::pair<std::string_view, Word>, 16> kWords = {{
    {"ALL", Word::All},       {"DUPLINES", Word::DupLines}, {"EMPTYLINE", Word::EmptyLine},
    {"EOL", Word::Eol},       {"FIRST", Word::First},       {"LAST", Word::Last},
    {"NEXT", Word::Next},     {"NX", Word::Nx},             {"PREFIX", Word::Prefix},
    {"PREV", Word::Prev},     {"QUIET", Word::Quiet},       {"SELECTION", Word::Selection},
    {"SUFFIX", Word::Suffix}, {"WORD", Word::WordRule},     {"X", Word::X},
    {"*", Word::Star},
}};

std::string upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::optional<Word> keyword(std::string_view token) {
  std::string u = upper(token);
  for (auto [name, w] : kWords)
    if (name == u) return w;
  return std::nullopt;
}

// The kind a letter before a quote names.
std::optional<StringKind> prefixKind(char c) {
  switch (std::toupper(static_cast<unsigned char>(c))) {
    case 'C': return StringKind::Exact;
    case 'X': return StringKind::Hex;
    case 'P': return StringKind::Picture;
    case 'R': return StringKind::Regex;
    default: return std::nullopt;
  }
}

bool isQuote(char c) {
  return c == '\'' || c == '"';
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

class Parser {
 public:
  Parser(Task& task, SearchVerb verb, SearchParams& out) : task_(task), s_(task.session), p_(out) {
    p_ = SearchParams{};
    p_.verb = verb;
  }
  bool run(std::string_view text);

 private:
  bool token(std::string_view& rest);
  bool quoted(std::string_view& rest, StringKind kind, std::size_t skip);
  bool addString(SearchString str);
  bool addWord(Word w);
  bool addColumn(std::string_view digits);
  bool fromSelection();
  bool addLabel(std::string_view label);
  bool check();
  bool checkPicture();
  bool fail(std::string_view id, std::string_view text) {
    message(s_, id, text);
    return false;
  }
  std::string lastString(int position) const;
  // A string's length: its characters in a UTF-8 file, else its bytes.
  std::size_t length(std::string_view s) const {
    return utf8_ ? static_cast<std::size_t>(utf8Count(s)) : s.size();
  }

  Task& task_;
  Session& s_;
  SearchParams& p_;
  int columns_ = 0;
  bool star_ = false;
  bool utf8_ = task_.profile && task_.profile->charset == Charset::Utf8;
};

bool Parser::run(std::string_view text) {
  p_.text = text;
  if (length(text) > kMaxText) return fail("", "Parameter string too long, must be <= 255 characters.");
  std::string_view rest = text;
  while (!(rest = rest.substr(std::min(rest.size(), rest.find_first_not_of(' ')))).empty())
    if (!token(rest)) return false;
  return check();
}

bool Parser::token(std::string_view& rest) {
  if (isQuote(rest[0])) return quoted(rest, StringKind::Text, 0);
  if (rest.size() > 1 && isQuote(rest[1]))
    if (auto kind = prefixKind(rest[0])) return quoted(rest, *kind, 1);
  std::size_t end = std::min(rest.find(' '), rest.size());
  std::string_view tok = rest.substr(0, end);
  rest.remove_prefix(end);
  if (tok.size() > 1 && tok[0] == '.') return addLabel(tok);
  if (tok.find_first_not_of("0123456789") == std::string_view::npos) return addColumn(tok);
  if (auto w = keyword(tok)) return addWord(*w);
  return addString({std::string(tok), StringKind::Text, std::string(tok)});
}

bool Parser::quoted(std::string_view& rest, StringKind kind, std::size_t skip) {
  char q = rest[skip];
  std::size_t close = rest.find(q, skip + 1);
  if (close == std::string_view::npos)
    return fail("", format("String has no closing quote:\n\n%s", rest));
  std::string_view body = rest.substr(skip + 1, close - skip - 1);
  SearchString str{std::string(body), kind, std::string(rest.substr(0, close + 1))};
  rest.remove_prefix(close + 1);
  if (kind == StringKind::Hex) {
    if (body.size() % 2 != 0) return fail("", "Bad or unpaired hex digit, valid range 0..F.");
    str.bytes.clear();
    for (std::size_t i = 0; i < body.size(); i += 2) {
      int hi = hexValue(body[i]), lo = hexValue(body[i + 1]);
      if (hi < 0 || lo < 0) return fail("", "Bad or unpaired hex digit, valid range 0..F.");
      str.bytes.push_back(static_cast<char>(hi * 16 + lo));
    }
  }
  return addString(std::move(str));
}

bool Parser::addString(SearchString str) {
  if (p_.strings == 2) return fail("", "Too many strings.");
  if (length(str.bytes) > kMaxString)
    return fail("", "Parameter string too long, must be <= 255 characters.");
  (p_.strings == 0 ? p_.str1 : p_.str2) = std::move(str);
  ++p_.strings;
  return true;
}

// The token of the last string of this task (or of the session when
// ZEDIT.FIND.GLOBAL is TRUE) at `position` (1 or 2).
std::string Parser::lastString(int position) const {
  if (task_.settings.findGlobal == "TRUE")
    return varGet(s_, position == 1 ? "ZFIND.LAST.STR1" : "ZFIND.LAST.STR2");
  return position == 1 ? task_.settings.lastStr1 : task_.settings.lastStr2;
}

bool Parser::addWord(Word w) {
  switch (w) {
    case Word::All: p_.dir = SearchDir::All; break;
    case Word::First: p_.dir = SearchDir::First; break;
    case Word::Last: p_.dir = SearchDir::Last; break;
    case Word::Next: p_.dir = SearchDir::Next; break;
    case Word::Prev: p_.dir = SearchDir::Prev; break;
    case Word::X: p_.filter = ExcludedFilter::Excluded; break;
    case Word::Nx: p_.filter = ExcludedFilter::Shown; break;
    case Word::Prefix: p_.position = Position::Prefix; break;
    case Word::Suffix: p_.position = Position::Suffix; break;
    case Word::WordRule: p_.position = Position::Word; break;
    case Word::Eol: p_.position = Position::Eol; break;
    case Word::DupLines: p_.position = Position::DupLines; break;
    case Word::EmptyLine: p_.emptyLine = true; break;
    case Word::Quiet: p_.quiet = true; break;
    case Word::Selection: return fromSelection();
    case Word::Star: {
      if (star_) return fail("", "Too many '*' specified.");
      star_ = true;
      std::string last = lastString(p_.strings + 1);
      if (last.empty()) return fail("", "No previous string for '*'.");
      std::string_view rest = last;
      return token(rest);
    }
  }
  return true;
}

// STRING1 from the task's selection, which must lie within one line and
// hold 1 to 255 characters.
bool Parser::fromSelection() {
  if (p_.strings > 0) return fail("", "STRING1 already set, can not set to current text selection.");
  const Selection& sel = task_.selection;
  std::optional<ColumnSpan> cols = sel.active() && sel.lines.first == sel.lines.last
                                        ? selectedColumns(task_, *sel.lines.first)
                                        : std::nullopt;
  std::string_view text = cols ? sel.lines.first->text() : std::string_view{};
  ByteRange span = cols ? TextColumns(task_).bytesOf(text, cols->start, cols->end) : ByteRange{};
  std::size_t from = span.first, to = std::min(text.size(), span.end);
  if (from >= to || length(text.substr(from, to - from)) > kMaxString)
    return fail("", "Text selection must be single line (or subset), command ignored.");
  std::string bytes(text.substr(from, to - from));
  return addString({bytes, StringKind::Exact, "C'" + bytes + "'"});
}

bool Parser::addColumn(std::string_view digits) {
  long n = 0;
  for (char c : digits) n = std::min(n * 10 + (c - '0'), 999999L);
  if (n == 0) return fail("", "Can't specify column 0.");
  if (columns_ == 2) {
    bool stringMissing = p_.strings < (p_.verb == SearchVerb::Change ? 2 : 1);
    return stringMissing ? fail("", format("If  %d  is a string, enclose in quotes.", n))
                         : fail("", "Too many COLs specified.");
  }
  (columns_++ == 0 ? p_.startCol : p_.endCol) = static_cast<int>(n);
  return true;
}

bool Parser::addLabel(std::string_view label) {
  if (!p_.label2.empty()) return fail("", "Too many labels.");
  if (label.size() > kMaxLabel) return fail("", "Label too long");
  (p_.label1.empty() ? p_.label1 : p_.label2) = upper(label);
  return true;
}

bool Parser::checkPicture() {
  if (p_.str2.kind == StringKind::Picture) {
    for (char c : p_.str2.bytes)
      if (std::string_view("$-.@^").find(c) != std::string_view::npos)
        return fail("", format("%c  not allowed in picture STRING2", c));
    if (length(p_.str2.bytes) != length(p_.str1.bytes))
      return fail("", "Picture STRING2 must be same length as picture STRING1.");
  }
  return true;
}

bool Parser::check() {
  if (p_.position == Position::Eol && p_.startCol > 0)
    return fail("", "Not allowed to specify  EOL  parameter and explicit column range.");
  if (p_.endCol > 0 && p_.startCol > p_.endCol)
    return fail("", format("COL start value  %d  is greater than COL end value  %d", p_.startCol, p_.endCol));
  int maxRecLen = maxRecLenOf(task_);
  if (p_.startCol > maxRecLen || p_.endCol > maxRecLen)
    return fail("", format("COL range for FIND/CHANGE, start %d, end %d, exceeds max rec length.\n\n"
                           "Invoke PROF command to see active File Profile, see field 'MaxRecordLength'",
                           p_.startCol, p_.endCol > 0 ? p_.endCol : p_.startCol));
  if (p_.strings > 0 && p_.str1.bytes.empty()) return fail("", "STRING1 can not be empty.");
  int expected = p_.verb == SearchVerb::Change ? 2 : 1;
  if (p_.verb == SearchVerb::Exclude) {
    if (p_.emptyLine) return fail("", "EXCLUDE not allowed to specify EMPTYLINE parameter");
    if (p_.strings == 0 && p_.position != Position::DupLines)
      return fail("", "EXCLUDE required parameter STRING1 missing");
  } else if (p_.position == Position::DupLines) {
    return fail("", "DUPLINES is only allowed with EXCLUDE.");
  }
  if (p_.verb == SearchVerb::Change && p_.emptyLine)
    return fail("", "CHANGE not allowed to specify EMPTYLINE parameter");
  if (p_.strings == 0 && !p_.emptyLine && p_.position != Position::DupLines)
    return fail("", "Required parameter STRING1 missing");
  if (p_.verb == SearchVerb::Change && p_.strings == 1)
    return fail("", "Required parameter STRING2 missing.\n\nUse QUOTE/QUOTE to indicate null string, CHANGE ignored.");
  if (p_.strings > expected)
    return fail("FIND100", format("Expected %d string parameters, got %d string parameters.", expected, p_.strings));
  return checkPicture();
}

}  // namespace

bool parseSearch(Task& task, std::string_view text, SearchVerb verb, SearchParams& out) {
  return Parser(task, verb, out).run(text);
}

ColumnRange searchColumns(const Task& task, const SearchParams& params) {
  if (params.startCol > 0 && params.endCol == 0) return {params.startCol, maxRecLenOf(task), true};
  if (params.startCol > 0) return {params.startCol, params.endCol, false};
  Bounds b = textBounds(task);
  return {b.left, b.right, false};
}

bool searchLines(Task& task, const SearchParams& params, Line*& first, Line*& last) {
  first = task.lines.first;
  last = task.lines.last;
  for (const std::string* label : {&params.label1, &params.label2}) {
    if (label->empty()) continue;
    Line* at = lineByLabel(task, *label);
    if (!at) {
      messagef(task.session, "", "Label '%s' not found.", *label);
      return false;
    }
    (label == &params.label1 ? first : last) = at;
  }
  if (!params.label2.empty() && ordinalOf(task, last) < ordinalOf(task, first)) std::swap(first, last);
  return true;
}

}  // namespace kiv
