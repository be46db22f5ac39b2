#include "services/messages.h"

#include <algorithm>

#include "services/option_group.h"
#include "services/services.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

using platform::BoxAnswer;
using platform::BoxButtons;
using platform::MessageKind;

constexpr std::string_view kPopup = "ShowPopupMsg";
constexpr std::string_view kShort = "ShowShortMsg";
constexpr std::size_t kIdMax = 23;
constexpr std::size_t kActionMax = 15;

constexpr std::string_view kSwitchOffer =
    "______________________________________________________________________\n\n"
    "YES - continue 'popup' message\n\n"
    "NO - show 'short message' next time";

const MessageAction* findAction(const Services& s, std::string_view id) {
  auto it = std::find_if(s.messageActions.begin(), s.messageActions.end(),
                         [&](const MessageAction& a) { return a.id == id; });
  return it == s.messageActions.end() ? nullptr : &*it;
}

std::string_view displayMode(const Services& s, std::string_view id) {
  if (id.empty()) return kPopup;
  const MessageAction* a = findAction(s, id);
  return a ? std::string_view(a->action) : kPopup;
}

void showPopup(Services& s, std::string_view id, std::string_view text) {
  messageSound(s);
  s.platform().recordMessage({std::string(id), std::string(text), MessageKind::Popup});
  if (id.empty()) {
    s.platform().messageBox(kMessageTitle, text, BoxButtons::Ok);
  } else {
    std::string box = "ID: " + std::string(id) + "\n\n" + std::string(text) + "\n" +
                      std::string(kSwitchOffer);
    BoxAnswer a = s.platform().messageBox(kMessageTitle, box, BoxButtons::YesNo);
    if (a == BoxAnswer::No && !findAction(s, id)) {
      s.messageActions.push_back({std::string(id.substr(0, kIdMax)), std::string(kShort)});
      writeMessagesGroup(s);
    }
  }
  s.platform().focusMainWindow();
}

void showShort(Services& s, std::string_view id, std::string_view text) {
  std::string shown = shortMessageText(id, text);
  messageSound(s);
  s.messagePending = true;
  s.platform().recordMessage({std::string(id), shown, MessageKind::Short});
  s.showShortMessage(shown);
}

std::string ask(Services& s, std::string_view text, BoxButtons buttons, std::string_view var) {
  messageSound(s);
  BoxAnswer a = s.platform().messageBox(kMessageTitle, text, buttons);
  s.platform().focusMainWindow();
  switch (a) {
    case BoxAnswer::Yes: varSet(s, var, "YES"); break;
    case BoxAnswer::No: varSet(s, var, "NO"); break;
    case BoxAnswer::Cancel:
      if (buttons == BoxButtons::YesNoCancel) varSet(s, var, "CANCEL");
      break;
    default:
      // Closed without an answer (Escape, or the program told to quit): the
      // variable keeps its value, but this question has no answer, so no
      // caller acts on one given to an earlier question.
      return {};
  }
  return varGet(s, var);
}

}  // namespace

void message(Services& s, std::string_view id, std::string_view text) {
  if (s.messageLog.file) {
    logMessage(s, id, text);
    return;
  }
  // An empty message clears the message row (a blank as information).
  if (text.empty()) {
    s.messagePending = false;
    s.clearShortMessage();
    return;
  }
  std::string_view mode = displayMode(s, id);
  if (mode == kPopup) showPopup(s, id, text);
  else if (mode == kShort) showShort(s, id, text);
}

std::string askYesNo(Services& s, std::string_view text) {
  return ask(s, text, BoxButtons::YesNo, "ZYESNOANSWER");
}

std::string askYesNoCancel(Services& s, std::string_view text) {
  return ask(s, text, BoxButtons::YesNoCancel, "ZYESNOCANCELANSWER");
}

void messageSound(Services& s) {
  static constexpr platform::Sound kSounds[] = {
      platform::Sound::Information, platform::Sound::Warning, platform::Sound::Error,
      platform::Sound::Question};
  std::string v = varGet(s, "ZMSGSOUND");
  if (v.size() == 6 && v.starts_with("Sound") && v[5] >= '1' && v[5] <= '4')
    s.platform().playSound(kSounds[v[5] - '1']);
}

std::string shortMessageText(std::string_view id, std::string_view text) {
  std::string out;
  if (!id.empty()) {
    out += id;
    out += ": ";
  }
  bool lastBlank = false;
  for (char c : text) {
    if (c == '\n') c = ' ';
    if (c == ' ' && lastBlank) continue;
    lastBlank = c == ' ';
    out += c;
  }
  return out;
}

std::string fitToRow(std::string_view text, int width) {
  if (width <= 0) return "";
  auto w = static_cast<std::size_t>(width);
  if (text.size() <= w) return std::string(text);
  std::string out(text.substr(0, w));
  for (std::size_t i = w > 3 ? w - 3 : 0; i < w; ++i) out[i] = '.';
  return out;
}

void readMessagesGroup(Services& s) {
  FilePtr f = openOptionGroup(s, "Messages", "r");
  if (!f) return;
  std::string line;
  while (readLimitedLine(f.get(), 256, line)) {
    std::string_view text = stripLineEnd(line);
    if (!text.starts_with("MsgID=")) continue;
    text.remove_prefix(6);
    std::size_t blank = text.find(' ');
    std::string_view id = text.substr(0, blank);
    std::string_view rest = blank == std::string_view::npos ? "" : text.substr(blank);
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    if (!rest.starts_with("Action=")) continue;
    std::string_view action = rest.substr(7);
    if (id.empty() || action.empty()) continue;
    s.messageActions.push_back(
        {std::string(id.substr(0, kIdMax)), std::string(action.substr(0, kActionMax))});
  }
}

int writeMessagesGroup(Services& s) {
  FilePtr f = openOptionGroup(s, "Messages", "w");
  if (!f) {
    // Terminates even when the answer is No: the entry is in the list before
    // this write, so the second failure is shown as a short message.
    message(s, "OPTIONS40", "Unable to write option file 'Messages'");
    return -1;
  }
  for (const MessageAction& a : s.messageActions)
    std::fprintf(f.get(), "MsgID=%s  Action=%s\n", a.id.c_str(), a.action.c_str());
  return 0;
}

}  // namespace kiv
