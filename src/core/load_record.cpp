#include "core/load_record.h"

#include <algorithm>

#include "core/file_profile.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::string_view kTabsRetained =
    "File:  %s\n\nTAB expansion would exceed  MaxRecordLength(%d)  in File Profile(%s)\n\n"
    "TABs retained.";
constexpr std::string_view kNotUtf8 =
    "File:  %s\n\nThe file holds bytes that are not UTF-8.\n\nIt is shown as ASCII-ISO8859, "
    "one character a byte.";

// Expands tabs into ld.expand. False when the result would pass MaxRecLen.
bool expandTabs(Task& task, const LoadRules& rules, std::string_view bytes) {
  std::vector<char>& out = task.load.expand;
  out.clear();
  auto limit = static_cast<std::size_t>(rules.maxRecLen());
  auto step = static_cast<std::size_t>(rules.tabsIn());
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) != rules.tab) {
      out.push_back(c);
    } else {
      out.resize((out.size() / step + 1) * step, rules.pad);
    }
    if (out.size() > limit) return false;
  }
  return true;
}

std::string_view withTabsExpanded(Task& task, const LoadRules& rules, std::string_view bytes) {
  LoadState& ld = task.load;
  if (!ld.tabSeen || rules.tabsIn() < 1 ||
      bytes.size() > static_cast<std::size_t>(rules.maxRecLen()))
    return bytes;
  if (expandTabs(task, rules, bytes)) return {ld.expand.data(), ld.expand.size()};
  if (!ld.tabWarningShown) {
    ld.tabWarningShown = true;
    messagef(task.session, "", kTabsRetained, task.path, rules.maxRecLen(), rules.profile->name);
  }
  return bytes;
}

std::string_view withoutTrailingPad(std::string_view bytes, char pad) {
  std::size_t end = bytes.find_last_not_of(pad);
  return bytes.substr(0, end == std::string_view::npos ? 0 : end + 1);
}

// The bytes padded to MaxRecLen, in ld.expand (which may hold them already).
std::string_view padded(Task& task, const LoadRules& rules, std::string_view bytes) {
  auto limit = static_cast<std::size_t>(rules.maxRecLen());
  if (bytes.size() >= limit) return bytes;
  std::vector<char>& out = task.load.expand;
  if (bytes.data() != out.data()) out.assign(bytes.begin(), bytes.end());
  out.resize(limit, rules.pad);
  return {out.data(), out.size()};
}

// A UTF-8 task whose bytes turn out not to be UTF-8 is shown byte by byte
// as ASCII-ISO8859 from then on, which is said once.
void checkUtf8(Task& task, std::string_view bytes) {
  FileProfile& p = *task.profile;
  LoadState& ld = task.load;
  ld.utf8.feed(bytes, p.recfm == kRecfmFixed);
  if (ld.utf8.valid()) return;
  p.charset = p.charsetDisplay = Charset::AsciiIso8859;
  messagef(task.session, "", kNotUtf8, task.path);
}

}  // namespace

bool appendRecord(Task& task, std::string_view bytes, bool ascii) {
  // UTF-16 text comes as the UTF-8 the loader made of it.
  if (task.profile->charset == Charset::Utf8 && !task.load.utf16 && !ascii) checkUtf8(task, bytes);
  Line* line = createLine(task, bytes, LineKind::Text);
  if (!line) return false;
  setRecordNumber(line, static_cast<std::uint32_t>(++task.load.records));
  linkLineBefore(task, nullptr, line);
  return true;
}

bool appendVariableRecord(Task& task, const LoadRules& rules, std::string_view bytes, bool ascii) {
  std::string_view text = withTabsExpanded(task, rules, bytes);
  if (rules.trailing == 'S')
    text = withoutTrailingPad(text, rules.pad);
  else if (rules.trailing == 'P')
    text = padded(task, rules, text);
  // Tabs and padding add pad bytes.
  return appendRecord(task, text, ascii && static_cast<unsigned char>(rules.pad) < 0x80);
}

}  // namespace kiv
