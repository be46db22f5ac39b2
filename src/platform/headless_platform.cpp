#include "platform/headless_platform.h"

namespace kiv::platform {

namespace {
BoxAnswer firstButton(BoxButtons buttons) {
  return buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::Yes;
}
}  // namespace

BoxAnswer HeadlessPlatform::messageBox(std::string_view title, std::string_view text,
                                       BoxButtons buttons) {
  Box box{std::string(title), std::string(text), buttons, BoxAnswer::Ok};
  if (buttons == BoxButtons::Ok) {
    box.answer = BoxAnswer::Ok;
  } else if (auto pre = preAnswer ? preAnswer(box) : std::nullopt) {
    box.answer = *pre;
  } else if (!script_.empty()) {
    box.answer = script_.front();
    script_.pop_front();
  } else {
    ++unscripted_;
    box.answer = onUnscripted ? onUnscripted(box) : firstButton(buttons);
  }
  boxes_.push_back(box);
  return box.answer;
}

void HeadlessPlatform::clearRecords() {
  boxes_.clear();
  sounds_.clear();
  messages_.clear();
}

}  // namespace kiv::platform
