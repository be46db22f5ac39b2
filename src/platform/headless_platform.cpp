#include "platform/headless_platform.h"

#include <algorithm>

#include "platform/key_decoder.h"

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

void HeadlessPlatform::resize(int rows, int cols) {
  rows_ = clampRows(rows);
  cols_ = clampCols(cols);
  events_.push_back(ResizeEvent{rows_, cols_});
}

void HeadlessPlatform::draw(const Grid& grid, const Palette& palette) {
  screen_ = grid;
  palette_ = palette;
  ++draws_;
}

void HeadlessPlatform::setCaret(int row, int col, CaretShape shape, bool visible) {
  caret_ = {row, col, shape, visible};
}

void HeadlessPlatform::scriptKeys(std::initializer_list<KeyEvent> keys) {
  events_.insert(events_.end(), keys.begin(), keys.end());
}

void HeadlessPlatform::scriptInput(std::string_view bytes) {
  while (!bytes.empty()) {
    Decoded d = decodeInput(bytes, true);
    if (!isNothing(d.event)) events_.push_back(d.event);
    bytes.remove_prefix(std::clamp<std::size_t>(d.length, 1, bytes.size()));
  }
}

Event HeadlessPlatform::nextEvent() {
  if (events_.empty()) return QuitEvent{};
  Event event = events_.front();
  events_.pop_front();
  return event;
}

bool HeadlessPlatform::escapePending() {
  return takeEscape(events_);
}

}  // namespace kiv::platform
