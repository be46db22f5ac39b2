#include "commands/line_command_fields.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string_view>

#include "core/line_ops.h"
#include "core/session.h"
#include "core/task.h"
#include "services/messages.h"

namespace kiv {

namespace {

bool isBlank(std::string_view s) {
  return s.find_first_not_of(' ') == std::string_view::npos;
}

std::string upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// "*": as many lines as there are to the end of the file.
constexpr long kToTheEnd = 999999999;

bool takesStar(std::string_view verb) {
  static constexpr std::string_view kStar[] = {"C", "D", "LC", "M", "UC", "X", "Z"};
  return std::find(std::begin(kStar), std::end(kStar), verb) != std::end(kStar);
}

}  // namespace

long placeKey(Task& task, const Line* line) {
  return ordinalOf(task, line) * 2 + (line->is(LineKind::Text) ? 1 : 0);
}

std::vector<Pending> pendingFields(Task& task) {
  std::vector<Pending> list;
  for (Line* line : task.pendingLines) {
    if (isBlank(line->lineCommand())) continue;
    Pending& p = list.emplace_back();
    p.line = line;
    p.key = placeKey(task, line);
    p.number = ordinalOf(task, line) + (line->is(LineKind::Text) ? 1 : 0);
  }
  std::sort(list.begin(), list.end(), [](const Pending& a, const Pending& b) {
    if (a.key != b.key) return a.key < b.key;
    for (const Line* p = a.line; p; p = p->next)  // lines between two TEXT lines: a short walk
      if (p == b.line) return true;
    return false;
  });
  return list;
}

bool parseField(Session& s, Task& task, Pending& p) {
  std::string_view field = p.line->lineCommand();
  std::size_t start = field.find_first_not_of(' ');
  std::string word = upper(field.substr(start, field.find(' ', start) - start));
  if (word != field) setLineCommand(task, p.line, word);
  if (word.starts_with('.')) {
    p.text = word;
    return true;
  }
  std::size_t verbEnd = word.find_first_of("0123456789*");
  std::string verb = word.substr(0, verbEnd);
  std::string rest = verbEnd == std::string::npos ? std::string() : word.substr(verbEnd);
  if (verb.empty()) return message(s, "", "Correct format for line command:  VERBnn"), false;
  if (rest.starts_with('*') && takesStar(verb)) {
    p.text = verb;
    p.count = kToTheEnd;  // the range stops at BOF, loading the file on the way
  } else if (rest.empty() || !std::isdigit(static_cast<unsigned char>(rest[0]))) {
    p.text = word;
  } else {
    long n = 0;
    for (std::size_t i = 0; i < rest.size() && std::isdigit(static_cast<unsigned char>(rest[i])); ++i)
      n = std::min(n * 10 + (rest[i] - '0'), 999999999L);
    if (n < 1) return message(s, "", "Invalid line command repeat count"), false;
    p.text = verb;
    p.count = n;
  }
  return true;
}

}  // namespace kiv
