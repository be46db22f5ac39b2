#include "core/tab_stops.h"

#include <string_view>

#include "core/file_profile.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::string_view kTabStopError =
    "File Profile:  %s\nField:  TabKeyStopsAt\nError:  %s\n\nTo remedy, see OPTIONS, item FILE "
    "PROFILES";
constexpr std::string_view kNotAscending = "TAB stop not in ascending order";
constexpr std::string_view kAboveMaxRecLen = "TAB stop greater MaxRecLen";
constexpr std::string_view kIntervalTooSmall = "'An' repeat interval must be greater than 1";
constexpr std::string_view kRepeatNotLast = "'An' must be last element";
constexpr std::string_view kUnknownType = "Uknown TAB stop type  %c";
constexpr std::string_view kTooMany = "More than %d TAB stops";

bool isSeparator(char c) {
  return c == ',' || c == ' ' || c == '\t';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// One pass over the text; stops go straight into the profile so that those
// parsed before an error stay.
class TabStopParser {
 public:
  TabStopParser(Services& s, FileProfile& p) : s_(s), p_(p), text_(p.tabKeyStopsAt) {}

  bool run() {
    p_.tabStopCount = 0;
    p_.tabStopsAutoRepeat = false;
    if (text_.empty() || text_ == "0") return true;
    for (;;) {
      skipSeparators();
      if (pos_ == text_.size()) return true;
      char c = text_[pos_];
      if (isDigit(c)) {
        if (!addStop(readDecimal(text_, pos_))) return false;
      } else if (c == 'A' || c == 'a') {
        ++pos_;
        return repeat();
      } else {
        return fail(format(kUnknownType, c));
      }
    }
  }

 private:
  void skipSeparators() {
    while (pos_ < text_.size() && isSeparator(text_[pos_])) ++pos_;
  }

  long long lastStop() const { return p_.tabStopCount ? p_.tabStops[p_.tabStopCount - 1] : 0; }

  bool addStop(long long column) {
    if (p_.tabStopCount == kMaxTabStops) return fail(format(kTooMany, kMaxTabStops));
    if (column <= lastStop()) return fail(kNotAscending);
    if (column > p_.maxRecLen) return fail(kAboveMaxRecLen);
    p_.tabStops[p_.tabStopCount++] = static_cast<int>(column);
    return true;
  }

  // "An": stops every n columns after the last one, below MaxRecLen.
  bool repeat() {
    long long interval = readDecimal(text_, pos_);
    if (interval < 2) return fail(kIntervalTooSmall);
    skipSeparators();
    if (pos_ != text_.size()) return fail(kRepeatNotLast);
    for (long long col = lastStop() + interval;
         col < p_.maxRecLen && p_.tabStopCount < kMaxTabStops; col += interval)
      p_.tabStops[p_.tabStopCount++] = static_cast<int>(col);
    p_.tabStopsAutoRepeat = true;
    return true;
  }

  bool fail(std::string_view why) {
    messagef(s_, "", kTabStopError, p_.name, why);
    return false;
  }

  Services& s_;
  FileProfile& p_;
  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

bool parseTabStops(Services& s, FileProfile& p) {
  return TabStopParser(s, p).run();
}

std::string tabStopsText(std::span<const int> stops) {
  std::string out;
  for (int stop : stops) {
    if (!out.empty()) out += ',';
    out += std::to_string(stop);
  }
  return out;
}

}  // namespace kiv
