// A platform without a terminal: questions are answered from a scripted list,
// keys come from a script, and every box, sound, message, drawn grid and
// caret is kept for the caller to inspect.
#pragma once

#include <deque>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace kiv::platform {

class HeadlessPlatform : public Platform {
 public:
  struct Box {
    std::string title;
    std::string text;
    BoxButtons buttons = BoxButtons::Ok;
    BoxAnswer answer = BoxAnswer::Ok;
  };

  struct Caret {
    int row = 0;
    int col = 0;
    CaretShape shape = CaretShape::Block;
    bool visible = true;
  };

  HeadlessPlatform() = default;
  // A screen of the given size (clamped to 1..200 rows and 1..399 columns).
  HeadlessPlatform(int rows, int cols) : rows_(clampRows(rows)), cols_(clampCols(cols)) {}

  // Queues the answer to the next question (a Yes/No or Yes/No/Cancel box).
  void scriptAnswer(BoxAnswer answer) { script_.push_back(answer); }
  std::size_t unusedAnswers() const { return script_.size(); }

  // Consulted first for every question; an answer it gives is taken without
  // touching the script (tests use it for the offer of message popups).
  std::function<std::optional<BoxAnswer>(const Box&)> preAnswer;

  // Called for a question that nobody scripted; its result answers the box.
  // By default the box's first button is taken.
  std::function<BoxAnswer(const Box&)> onUnscripted;

  BoxAnswer messageBox(std::string_view title, std::string_view text, BoxButtons buttons) override;
  void playSound(Sound sound) override { sounds_.push_back(sound); }
  void recordMessage(const MessageRecord& message) override { messages_.push_back(message); }

  const std::vector<Box>& boxes() const { return boxes_; }
  const std::vector<Sound>& sounds() const { return sounds_; }
  const std::vector<MessageRecord>& messages() const { return messages_; }
  int unscriptedQuestions() const { return unscripted_; }
  void clearRecords();

  // ---- the screen ----
  int rows() const override { return rows_; }
  int cols() const override { return cols_; }
  // The terminal changes size: the new size (clamped) holds at once and a
  // ResizeEvent is queued behind the scripted events.
  void resize(int rows, int cols);
  void draw(const Grid& grid, const Palette& palette) override;
  void setCaret(int row, int col, CaretShape shape, bool visible) override;
  void setTitle(std::string_view title) override { title_ = std::string(title); }
  void bell() override { ++bells_; }

  // The last grid drawn, its palette, and how many draws there were.
  const Grid& screen() const { return screen_; }
  const Palette& palette() const { return palette_; }
  int draws() const { return draws_; }
  const Caret& caret() const { return caret_; }
  const std::string& title() const { return title_; }
  int bells() const { return bells_; }

  // ---- scripted input ----
  void scriptKeys(std::initializer_list<KeyEvent> keys);
  void scriptEvent(const Event& event) { events_.push_back(event); }
  // Bytes as a terminal sends them ("abc", "\x1b[15;2~", "\x13"), decoded
  // as the terminal platform decodes them; meaningless input is dropped.
  void scriptInput(std::string_view bytes);
  std::size_t pendingEvents() const { return events_.size(); }

  // The next scripted event; QuitEvent once the script is used up.
  Event nextEvent() override;
  // True, and the Escape taken out of the script, when an Escape key is
  // among the scripted events; the others stay queued.
  bool escapePending() override;

 private:
  std::deque<BoxAnswer> script_;
  std::vector<Box> boxes_;
  std::vector<Sound> sounds_;
  std::vector<MessageRecord> messages_;
  int unscripted_ = 0;

  int rows_ = 24;
  int cols_ = 80;
  Grid screen_;
  Palette palette_{};
  int draws_ = 0;
  Caret caret_;
  std::string title_;
  int bells_ = 0;
  std::deque<Event> events_;
};

}  // namespace kiv::platform
