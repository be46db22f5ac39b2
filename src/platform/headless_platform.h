// A platform without a terminal: questions are answered from a scripted list,
// and every box, sound and message is recorded for the caller to inspect.
#pragma once

#include <deque>
#include <functional>
#include <optional>
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

  // Queues the answer to the next question (a Yes/No or Yes/No/Cancel box).
  void scriptAnswer(BoxAnswer answer) { script_.push_back(answer); }
  std::size_t unusedAnswers() const { return script_.size(); }

  // Consulted first for every question; an answer it gives is taken without
  // touching the script (tests use it for the offer of message popups).
  std::function<std::optional<BoxAnswer>(const Box&)> preAnswer;

  // Called for a question that nobody scripted; its result answers the box.
  // By default the box's first button is taken.
  std::function<BoxAnswer(const Box&)> onUnscripted;

  BoxAnswer messageBox(std::string_view title, std::string_view text,
                       BoxButtons buttons) override;
  void playSound(Sound sound) override { sounds_.push_back(sound); }
  void recordMessage(const MessageRecord& message) override { messages_.push_back(message); }

  const std::vector<Box>& boxes() const { return boxes_; }
  const std::vector<Sound>& sounds() const { return sounds_; }
  const std::vector<MessageRecord>& messages() const { return messages_; }
  int unscriptedQuestions() const { return unscripted_; }
  void clearRecords();

 private:
  std::deque<BoxAnswer> script_;
  std::vector<Box> boxes_;
  std::vector<Sound> sounds_;
  std::vector<MessageRecord> messages_;
  int unscripted_ = 0;
};

}  // namespace kiv::platform
