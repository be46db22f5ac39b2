#include "commands/search_match.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "core/file_profile.h"
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
std::unique_ptr<Matcher::Regex> buildRegex(Session& s, const std::string& pattern) {
  auto re = std::make_unique<Matcher::Regex>();
  int error = 0;
  PCRE2_SIZE offset = 0;
  re->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), 0, &error,
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

bool isPictureClass(char c) {
  return std::string_view("#@<>$-.=^").find(c) != std::string_view::npos;
}

bool pictureHolds(char cls, unsigned char b) {
  switch (cls) {
    case '#': return std::isdigit(b);
    case '@': return b < 128 && std::isalpha(b);
    case '<': return b < 128 && std::islower(b);
    case '>': return b < 128 && std::isupper(b);
    case '$': return b != ' ' && !(b < 128 && std::isalnum(b));
    case '-': return !std::isdigit(b);
    case '.': return b < 32 || b >= 127;
    case '=': return true;
    case '^': return b != ' ';
    default: return false;
  }
}

}  // namespace

bool Matcher::compile(Task& task, const SearchParams& params) {
  Session& s = task.session;
  kind_ = params.str1.kind;
  position_ = params.position;
  emptyLine_ = params.emptyLine;
  cols_ = searchColumns(task, params);
  pad_ = padCharFor(task, LineKind::Text);
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
  delimiter_.fill(false);
  delimiter_[static_cast<unsigned char>(pad_)] = true;
  for (char c : varGet(s, "ZEDIT.FIND.PUNCTUATION")) delimiter_[fileByte(static_cast<unsigned char>(c))] = true;
  needle_ = params.str1.bytes;
  re_.reset();
  switch (kind_) {
    case StringKind::Text:
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
      re_ = buildRegex(s, needle_);
      return re_ != nullptr;
    case StringKind::Hex:
      first_ = other_ = needle_.empty() ? 0 : static_cast<unsigned char>(needle_[0]);
      break;
    case StringKind::Picture:
      break;
  }
  return true;
}

std::string Matcher::fileBytes(std::string_view typed) const {
  std::string out(typed);
  for (char& c : out) c = static_cast<char>(file_[static_cast<unsigned char>(c)]);
  return out;
}

int Matcher::textEnd(std::string_view text) const {
  return std::min(static_cast<int>(text.size()), cols_.end);
}

// The needle at `at` (its bytes known to fit).
bool Matcher::samePlace(std::string_view text, int at) const {
  const auto* t = reinterpret_cast<const unsigned char*>(text.data()) + at;
  std::size_t n = needle_.size();
  switch (kind_) {
    case StringKind::Text:
      for (std::size_t i = 0; i < n; ++i)
        if (fold_[t[i]] != static_cast<unsigned char>(needle_[i])) return false;
      return true;
    case StringKind::Picture:
      for (std::size_t i = 0; i < n; ++i) {
        char cls = needle_[i];
        unsigned char b = shown_[t[i]];
        if (isPictureClass(cls) ? !pictureHolds(cls, b) : b != static_cast<unsigned char>(cls)) return false;
      }
      return true;
    default:
      return std::memcmp(t, needle_.data(), n) == 0;
  }
}

// The first place from `from` where the string stands within text[0, end).
std::optional<SearchMatch> Matcher::candidate(std::string_view text, int from, int end) const {
  if (kind_ == StringKind::Regex) {
    if (from > end || !re_->match(text, from, end)) return std::nullopt;
    PCRE2_SIZE* g = re_->groups();
    return SearchMatch{static_cast<int>(g[0]), static_cast<int>(g[1] - g[0])};
  }
  int n = static_cast<int>(needle_.size());
  if (n == 0) return std::nullopt;
  int lastStart = end - n;
  if (from > lastStart) return std::nullopt;
  const char* base = text.data();
  if (kind_ == StringKind::Text || kind_ == StringKind::Exact || kind_ == StringKind::Hex) {
    // Candidates are the bytes that stand for the needle's first byte (its
    // two cases for a text string), each found with memchr; a case's next
    // place is looked for again only once the scan has passed it. On lines
    // of a record's length this beats memmem, whose setup costs more than
    // the line.
    const char* end0 = base + lastStart + 1;
    auto next = [&](const char* from0, unsigned char c) {
      return static_cast<const char*>(std::memchr(from0, c, static_cast<std::size_t>(end0 - from0)));
    };
    const char* a = next(base + from, first_);
    const char* b = other_ != first_ ? next(base + from, other_) : nullptr;
    while (a || b) {
      const char* hit = !a ? b : !b ? a : std::min(a, b);
      auto at = static_cast<int>(hit - base);
      if (samePlace(text, at)) return SearchMatch{at, n};
      if (hit == a) a = hit + 1 < end0 ? next(hit + 1, first_) : nullptr;
      else b = hit + 1 < end0 ? next(hit + 1, other_) : nullptr;
    }
    return std::nullopt;
  }
  for (int at = from; at <= lastStart; ++at)
    if (samePlace(text, at)) return SearchMatch{at, n};
  return std::nullopt;
}

bool Matcher::positionHolds(std::string_view text, const SearchMatch& m) const {
  auto byte = [&](int i) { return static_cast<unsigned char>(text[static_cast<std::size_t>(i)]); };
  int size = static_cast<int>(text.size());
  int after = m.at + m.length;
  bool delimBefore = m.at == 0 || delimiter(byte(m.at - 1));
  bool delimAfter = after >= size || delimiter(byte(after));
  switch (position_) {
    case Position::Prefix: return delimBefore && after < size && !delimiter(byte(after));
    case Position::Suffix: return m.at > 0 && !delimiter(byte(m.at - 1)) && delimAfter;
    case Position::Word: return delimBefore && delimAfter;
    case Position::Eol: {
      std::size_t lastText = text.find_last_not_of(pad_);
      return lastText != std::string_view::npos && after == static_cast<int>(lastText) + 1;
    }
    default: return true;
  }
}

std::optional<SearchMatch> Matcher::first(std::string_view text, int from) const {
  int start = cols_.start - 1;
  if (emptyLine_) {
    bool empty = text.find_first_not_of(pad_) == std::string_view::npos;
    return empty && from == 0 ? std::optional<SearchMatch>(SearchMatch{0, 0}) : std::nullopt;
  }
  int end = textEnd(text);
  for (int at = std::max(from, start); at <= end;) {
    std::optional<SearchMatch> m = candidate(text, at, end);
    if (!m || (cols_.startOnly && m->at != start)) return std::nullopt;
    if (m->length > 0 && positionHolds(text, *m)) return m;
    at = m->at + 1;
  }
  return std::nullopt;
}

std::optional<SearchMatch> Matcher::last(std::string_view text, int before) const {
  std::optional<SearchMatch> found;
  for (std::optional<SearchMatch> m = first(text, 0); m && m->at < before; m = first(text, m->at + 1)) {
    found = m;
    if (emptyLine_) break;
  }
  return found;
}

std::string Matcher::expand(std::string_view text, const SearchMatch& m, std::string_view replacement) const {
  if (!re_ || replacement.find('\\') == std::string_view::npos) return std::string(replacement);
  re_->match(text, m.at, textEnd(text), PCRE2_ANCHORED);
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
