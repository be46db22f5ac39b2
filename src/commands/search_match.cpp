#include "commands/search_match.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <cstring>

#include "commands/search_picture.h"
#include "core/file_profile.h"
#include "core/line_numbering.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task.h"
#include "core/translate_table.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {

struct Matcher::Regex {
  pcre2_code* code = nullptr;
  pcre2_match_data* data = nullptr;
  ~Regex() {
    if (data) pcre2_match_data_free(data);
    if (code) pcre2_code_free(code);
  }
  // The first match from `from` in text[0, end); false when none.
  bool match(std::string_view text, int from, int end, std::uint32_t options = 0) const {
    int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(text.data()), static_cast<PCRE2_SIZE>(end),
                         static_cast<PCRE2_SIZE>(from), options, data, nullptr);
    return rc >= 0;
  }
  PCRE2_SIZE* groups() const { return pcre2_get_ovector_pointer(data); }
  int groupCount() const { return static_cast<int>(pcre2_get_ovector_count(data)); }
};

Matcher::Matcher() = default;
Matcher::~Matcher() = default;
Matcher::Matcher(Matcher&&) noexcept = default;
Matcher& Matcher::operator=(Matcher&&) noexcept = default;

namespace {

// A regular expression that compiles and cannot match the empty string.
// `options`: PCRE2's, UTF mode and the like.
std::unique_ptr<Matcher::Regex> buildRegex(Session& s, const std::string& pattern, std::uint32_t options) {
  auto re = std::make_unique<Matcher::Regex>();
  int error = 0;
  PCRE2_SIZE offset = 0;
  re->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options, &error,
                           &offset, nullptr);
  if (!re->code) {
    PCRE2_UCHAR text[256];
    pcre2_get_error_message(error, text, sizeof text);
    messagef(s, "", "Regular expression not valid at offset %d:\n\n%s\n\n%s", static_cast<int>(offset),
             pattern, reinterpret_cast<const char*>(text));
    return nullptr;
  }
  pcre2_jit_compile(re->code, PCRE2_JIT_COMPLETE);  // interpreted when JIT is not there
  re->data = pcre2_match_data_create_from_pattern(re->code, nullptr);
  if (re->match("", 0, 0)) {
    messagef(s, "", "Regular expression matches the empty string, nothing to find:\n\n%s", pattern);
    return nullptr;
  }
  return re;
}

// UTF mode over lines that may hold bytes that are not UTF-8 (they match
// nothing and break nothing), \w and the like for every script.
constexpr std::uint32_t kUtf8Regex = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_UCP;

bool continuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

bool Matcher::compile(Task& task, const SearchParams& params) {
  Session& s = task.session;
  kind_ = params.str1.kind;
  position_ = params.position;
  emptyLine_ = params.emptyLine;
  cols_ = searchColumns(task, params);
  pad_ = padCharFor(task, LineKind::Text);
  utf8_ = task.profile && task.profile->charset == Charset::Utf8;
  columns_ = TextColumns(task);
  fence_ = params.startCol > 0 ? std::string_view::npos : numberFence(task, cols_.end);
  const unsigned char* toShown = nullptr;
  const unsigned char* toFile = nullptr;
  if (ebcdicFile(task)) {
    toShown = translateTable(s, displayTable(task.profile->charsetDisplay));
    toFile = translateTable(s, typedTable(task.profile->charsetDisplay));
  }
  for (int b = 0; b < 256; ++b) shown_[static_cast<std::size_t>(b)] = toShown ? toShown[b] : static_cast<unsigned char>(b);
  for (int b = 0; b < 256; ++b) file_[static_cast<std::size_t>(b)] = toFile ? toFile[b] : static_cast<unsigned char>(b);
  auto fileByte = [&](unsigned char c) { return file_[c]; };
  for (int b = 0; b < 256; ++b) {
    unsigned char shown = shown_[static_cast<std::size_t>(b)];
    fold_[static_cast<std::size_t>(b)] =
        shown >= 'A' && shown <= 'Z' ? fileByte(static_cast<unsigned char>(shown + 32)) : static_cast<unsigned char>(b);
  }
  setDelimiters(s);
  needle_ = params.str1.bytes;
  re_.reset();
  switch (kind_) {
    case StringKind::Text:
      // Letters beyond ASCII have cases of other lengths: PCRE2 folds them. A
      // string that is not UTF-8 is found as its bytes, ASCII in either case.
      if (utf8_ && asciiPrefix(needle_) < needle_.size() && validUtf8(needle_)) {
        re_ = buildRegex(s, needle_, PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_LITERAL | PCRE2_CASELESS);
        return re_ != nullptr;
      }
      for (char& c : needle_) c = static_cast<char>(fold_[fileByte(static_cast<unsigned char>(c))]);
      first_ = other_ = needle_.empty() ? 0 : static_cast<unsigned char>(needle_[0]);
      for (int b = 0; b < 256; ++b)
        if (b != first_ && fold_[static_cast<std::size_t>(b)] == first_) other_ = static_cast<unsigned char>(b);
      break;
    case StringKind::Exact:
      for (char& c : needle_) c = static_cast<char>(fileByte(static_cast<unsigned char>(c)));
      first_ = other_ = needle_.empty() ? 0 : static_cast<unsigned char>(needle_[0]);
      break;
    case StringKind::Regex:
      if (toFile) {
        message(s, "", "Regular expressions are not available for EBCDIC files.");
        return false;
      }
      re_ = buildRegex(s, needle_, utf8_ ? kUtf8Regex : 0);
      return re_ != nullptr;
    case StringKind::Hex:
      first_ = other_ = needle_.empty() ? 0 : static_cast<unsigned char>(needle_[0]);
      break;
    case StringKind::Picture:
      break;
  }
  return true;
}

// The pad blank and ZEDIT.FIND.PUNCTUATION; in a UTF-8 file a punctuation
// character beyond ASCII is one code point, not its bytes.
void Matcher::setDelimiters(Session& s) {
  delimiter_.fill(false);
  wideDelimiters_.clear();
  delimiter_[static_cast<unsigned char>(pad_)] = true;
  std::string punctuation = varGet(s, "ZEDIT.FIND.PUNCTUATION");
  for (std::size_t i = 0; i < punctuation.size();) {
    Glyph g = utf8_ ? glyphAt(punctuation, i) : Glyph{static_cast<unsigned char>(punctuation[i])};
    if (g.code < 0x80 || !utf8_) delimiter_[file_[static_cast<unsigned char>(punctuation[i])]] = true;
    else wideDelimiters_.push_back(g.code);
    i += static_cast<std::size_t>(g.bytes);
  }
}

std::string Matcher::fileBytes(std::string_view typed) const {
  std::string out(typed);
  for (char& c : out) c = static_cast<char>(file_[static_cast<unsigned char>(c)]);
  return out;
}

ByteRange Matcher::span(std::string_view text) const {
  auto size = static_cast<std::size_t>(text.size());
  // A character takes at least a byte a column: from column 1 to the end
  // of the text or beyond, the range is the whole text.
  if (!columns_.utf8() || (cols_.start == 1 && static_cast<std::size_t>(cols_.end) >= size))
    return {static_cast<std::size_t>(cols_.start - 1), std::min(size, static_cast<std::size_t>(cols_.end))};
  return columns_.bytesOf(text, cols_.start, rightBeforeFence(text, fence_, cols_.end));
}

int Matcher::next(std::string_view text, int at) const {
  if (!utf8_ || at >= static_cast<int>(text.size())) return at + 1;
  return at + glyphAt(text, static_cast<std::size_t>(at)).bytes;
}

// `at`, or the start of the next character when it falls inside one (a
// regular expression in UTF mode must start on a character).
int Matcher::charStart(std::string_view text, int at, int end) const {
  if (!utf8_) return at;
  for (int back = 0; back < 3 && at < end && continuationByte(text[static_cast<std::size_t>(at)]); ++back) ++at;
  return at;
}

// A match bound to one column starts on a character that begins there.
bool Matcher::startsAtColumn(std::string_view text, std::size_t at) const {
  return !columns_.utf8() || at >= text.size() || columns_.columnOf(text, at) == cols_.start;
}

// The needle at `at` (its bytes known to fit).
bool Matcher::samePlace(std::string_view text, int at) const {
  const auto* t = reinterpret_cast<const unsigned char*>(text.data()) + at;
  std::size_t n = needle_.size();
  if (kind_ == StringKind::Text) {
    for (std::size_t i = 0; i < n; ++i)
      if (fold_[t[i]] != static_cast<unsigned char>(needle_[i])) return false;
    return true;
  }
  return std::memcmp(t, needle_.data(), n) == 0;
}

// The bytes the picture matches at `at` within text[0, end), or -1.
int Matcher::pictureAt(std::string_view text, int at, int end) const {
  if (utf8_) return utf8PictureAt(needle_, text, at, end);
  auto n = static_cast<int>(needle_.size());
  if (at + n > end) return -1;
  for (std::size_t i = 0; i < needle_.size(); ++i) {
    char cls = needle_[i];
    unsigned char b = shown_[static_cast<unsigned char>(text[static_cast<std::size_t>(at) + i])];
    if (isPictureClass(cls) ? !pictureHolds(cls, b, false) : b != static_cast<unsigned char>(cls)) return -1;
  }
  return n;
}

// The first place from `from` where the string stands within text[0, end).
std::optional<SearchMatch> Matcher::candidate(std::string_view text, int from, int end) const {
  if (re_) {
    if (from > end || !re_->match(text, from, end)) return std::nullopt;
    PCRE2_SIZE* g = re_->groups();
    return SearchMatch{static_cast<int>(g[0]), static_cast<int>(g[1] - g[0])};
  }
  if (kind_ == StringKind::Picture) {
    for (int at = from; at < end; at = next(text, at))
      if (int n = pictureAt(text, at, end); n > 0) return SearchMatch{at, n};
    return std::nullopt;
  }
  int n = static_cast<int>(needle_.size());
  if (n == 0) return std::nullopt;
  int lastStart = end - n;
  if (from > lastStart) return std::nullopt;
  const char* base = text.data();
  // Candidates are the bytes that stand for the needle's first byte (its
  // two cases for a text string), each found with memchr; a case's next
  // place is looked for again only once the scan has passed it. On lines
  // of a record's length this beats memmem, whose setup costs more than
  // the line.
  const char* end0 = base + lastStart + 1;
  auto find = [&](const char* from0, unsigned char c) {
    return static_cast<const char*>(std::memchr(from0, c, static_cast<std::size_t>(end0 - from0)));
  };
  const char* a = find(base + from, first_);
  const char* b = other_ != first_ ? find(base + from, other_) : nullptr;
  while (a || b) {
    const char* hit = !a ? b : !b ? a : std::min(a, b);
    auto at = static_cast<int>(hit - base);
    if (samePlace(text, at)) return SearchMatch{at, n};
    if (hit == a) a = hit + 1 < end0 ? find(hit + 1, first_) : nullptr;
    else b = hit + 1 < end0 ? find(hit + 1, other_) : nullptr;
  }
  return std::nullopt;
}

// Whether the character at `at` (a byte, or in a UTF-8 file a code point)
// is a delimiter.
bool Matcher::delimiterAt(std::string_view text, int at) const {
  auto b = static_cast<unsigned char>(text[static_cast<std::size_t>(at)]);
  if (!utf8_ || b < 0x80) return delimiter_[b];
  Glyph g = glyphAt(text, static_cast<std::size_t>(at));
  return !g.invalid && wideDelimiters_.find(g.code) != std::u32string::npos;
}

// Whether the character that ends just before `at` is a delimiter.
bool Matcher::delimiterBefore(std::string_view text, int at) const {
  int start = at - 1;
  if (utf8_)
    for (int back = 0; back < 3 && start > 0 && continuationByte(text[static_cast<std::size_t>(start)]); ++back) --start;
  if (start < at - 1 && next(text, start) != at) start = at - 1;  // a stray continuation byte
  return delimiterAt(text, start);
}

bool Matcher::positionHolds(std::string_view text, const SearchMatch& m) const {
  int size = static_cast<int>(text.size());
  int after = m.at + m.length;
  bool delimBefore = m.at == 0 || delimiterBefore(text, m.at);
  bool delimAfter = after >= size || delimiterAt(text, after);
  switch (position_) {
    case Position::Prefix: return delimBefore && after < size && !delimiterAt(text, after);
    case Position::Suffix: return m.at > 0 && !delimiterBefore(text, m.at) && delimAfter;
    case Position::Word: return delimBefore && delimAfter;
    case Position::Eol: {
      std::size_t lastText = text.find_last_not_of(pad_);
      return lastText != std::string_view::npos && after == static_cast<int>(lastText) + 1;
    }
    default: return true;
  }
}

std::optional<SearchMatch> Matcher::first(std::string_view text, int from) const {
  if (emptyLine_) {
    bool empty = text.find_first_not_of(pad_) == std::string_view::npos;
    return empty && from == 0 ? std::optional<SearchMatch>(SearchMatch{0, 0}) : std::nullopt;
  }
  ByteRange range = span(text);
  auto start = static_cast<int>(range.first), end = static_cast<int>(range.end);
  if (cols_.startOnly && !startsAtColumn(text, range.first)) return std::nullopt;
  for (int at = charStart(text, std::max(from, start), end); at <= end;) {
    std::optional<SearchMatch> m = candidate(text, at, end);
    if (!m || (cols_.startOnly && m->at != start)) return std::nullopt;
    if (m->length > 0 && positionHolds(text, *m)) return m;
    at = next(text, m->at);
  }
  return std::nullopt;
}

std::optional<SearchMatch> Matcher::last(std::string_view text, int before) const {
  std::optional<SearchMatch> found;
  for (std::optional<SearchMatch> m = first(text, 0); m && m->at < before; m = first(text, next(text, m->at))) {
    found = m;
    if (emptyLine_) break;
  }
  return found;
}

std::string Matcher::expand(std::string_view text, const SearchMatch& m, std::string_view replacement) const {
  if (kind_ != StringKind::Regex || replacement.find('\\') == std::string_view::npos) return std::string(replacement);
  re_->match(text, m.at, static_cast<int>(span(text).end), PCRE2_ANCHORED);
  PCRE2_SIZE* g = re_->groups();
  std::string out;
  for (std::size_t i = 0; i < replacement.size(); ++i) {
    char c = replacement[i];
    if (c != '\\' || i + 1 == replacement.size()) {
      out += c;
      continue;
    }
    char n = replacement[++i];
    int group = n - '0';
    if (n >= '0' && n <= '9' && group < re_->groupCount() && g[2 * group] != PCRE2_UNSET)
      out.append(text.substr(g[2 * group], g[2 * group + 1] - g[2 * group]));
    else if (n < '0' || n > '9')
      out += n;
  }
  return out;
}

}  // namespace kiv
