#include "core/bounds.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/file_profile.h"
#include "core/line_ops.h"
#include "core/profile_write.h"
#include "core/session.h"
#include "services/messages.h"

namespace kiv {

namespace {

std::vector<std::string_view> splitWords(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    std::size_t start = pos;
    while (pos < text.size() && text[pos] != ' ' && text[pos] != '\t') ++pos;
    if (pos > start) words.push_back(text.substr(start, pos - start));
  }
  return words;
}

// A word of an optional sign and digits only.
std::optional<long long> numberWord(std::string_view word) {
  std::size_t pos = 0;
  long long value = readDecimal(word, pos);
  bool hasDigit = word.find_first_of("0123456789") != std::string_view::npos;
  if (!hasDigit || pos != word.size()) return std::nullopt;
  return value;
}

bool refuse(Task& task, std::string_view id, std::string_view text) {
  message(task.session, id, text);
  return false;
}

bool parseLeft(Task& task, std::string_view word, Bounds& b) {
  if (word == "*") return true;
  auto n = numberWord(word);
  if (!n) return refuse(task, "TASK122", "BOUNDS: parm one must be number or asterisk.");
  if (*n < 1) return refuse(task, "TASK120", "BOUNDS: left bound may not be 0");
  b.left = static_cast<int>(std::min<long long>(*n, kMaxRecLenMax + 1));
  return true;
}

bool parseRight(Task& task, std::string_view word, Bounds& b) {
  if (word == "*") return true;
  auto n = numberWord(word);
  if (!n) return refuse(task, "TASK130", "BOUNDS: parm two must be number or asterisk.");
  if (*n > maxRecLenOf(task))
    return refuse(task, "TASK125", "BOUNDS: right bound may not exceed max record length.");
  b.right = static_cast<int>(std::max<long long>(*n, 0));
  return true;
}

bool parseBounds(Task& task, const std::vector<std::string_view>& words, Bounds& b) {
  if (words.size() > 2)
    return refuse(task, "", "BOUNDS: only two parameters, left and right, are allowed.");
  b = currentBounds(task);
  if (!parseLeft(task, words[0], b)) return false;
  if (words.size() == 2 && !parseRight(task, words[1], b)) return false;
  if (b.left > b.right)
    return refuse(task, "TASK135", "BOUNDS: right bound must greater or equal to left bound");
  return true;
}

void storeBounds(Task& task, Bounds b) {
  if (!task.profile) return;
  task.profile->boundLeft = b.left;
  task.profile->boundRight = b.right;
  if (writeProfile(task.session, *task.profile, true) != 0)
    messagef(task.session, "", "Unable to write file profile '%s'", task.profile->name);
}

void rebuildBoundsLines(Task& task, Bounds b) {
  std::string text = boundsLineText(b);
  for (Line* line = task.lines.first; line; line = line->next)
    if (line->is(LineKind::Bnds)) setLineText(task, line, text);
}

}  // namespace

Bounds currentBounds(const Task& task) {
  if (!task.profile) return {1, maxRecLenOf(task)};
  return {task.profile->boundLeft, task.profile->boundRight};
}

Bounds defaultBounds(const Task& task) {
  int maxRecLen = maxRecLenOf(task);
  const FileProfile* p = task.profile.get();
  Bounds b{1, maxRecLen};
  if (!p || p->numberType == NumberType::None) return b;
  if (p->numberType == NumberType::CobStd)
    b = {7, 72};
  else if (p->numberColStart > 1)
    b = {1, p->numberColStart - 1};
  else if (p->numberColStart == 1)
    b = {p->numberColEnd + 1, maxRecLen};
  // Number columns that do not fit the record leave the whole record.
  if (b.right > maxRecLen) b.right = maxRecLen;
  if (b.left > b.right) b = {1, maxRecLen};
  return b;
}

std::string boundsLineText(Bounds b) {
  if (b.right < 1 || b.left < 1 || b.left > b.right) return {};
  std::string text(static_cast<std::size_t>(b.right), ' ');
  text[static_cast<std::size_t>(b.left - 1)] = '<';
  text[static_cast<std::size_t>(b.right - 1)] = '>';
  return text;
}

int setBounds(Task& task, std::string_view params) {
  std::vector<std::string_view> words = splitWords(params);
  Bounds b;
  if (words.empty())
    b = defaultBounds(task);
  else if (!parseBounds(task, words, b))
    return -1;
  storeBounds(task, b);
  rebuildBoundsLines(task, b);
  return 0;
}

}  // namespace kiv
