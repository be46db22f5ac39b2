// The test fixture: a fresh session over the headless platform, a temporary
// directory for files and for the options directory (KIVORW), and the
// messages the user would have seen.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/session.h"
#include "platform/headless_platform.h"

namespace kiv::test {

class EditorTest {
 public:
  explicit EditorTest(int rows = 24, int cols = 80);
  ~EditorTest();
  EditorTest(const EditorTest&) = delete;
  EditorTest& operator=(const EditorTest&) = delete;

  Session& session() { return *session_; }
  platform::HeadlessPlatform& platform() { return platform_; }

  // The temporary directory and the options directory inside it.
  const std::string& dir() const { return dir_; }
  const std::string& optionsDir() const { return session_->dirs.options; }

  // Writes a file under the temporary directory (folders made as needed);
  // returns its full path.
  std::string file(std::string_view relPath, std::string_view contents);
  // Reads a file; a relative path is taken under the temporary directory.
  std::string read(std::string_view path) const;
  bool exists(std::string_view path) const;
  std::string path(std::string_view relPath) const;

  // Queues answers to the next questions.
  void answer(platform::BoxAnswer a) { platform_.scriptAnswer(a); }
  // Answers the next message popup with an identifier (its offer to show
  // short messages from now on); unqueued popups are answered Yes.
  void answerPopup(platform::BoxAnswer a) { popupAnswers_.push_back(a); }

  const std::vector<platform::MessageRecord>& messages() const { return platform_.messages(); }
  // The last message; a record with id "<none>" when there was none.
  platform::MessageRecord lastMessage() const;
  // Texts of all messages, for EXPECT_THAT(..., Contains(...)).
  std::vector<std::string> messageTexts() const;
  void clearMessages() { platform_.clearRecords(); }

 private:
  std::string dir_;
  platform::HeadlessPlatform platform_;
  std::deque<platform::BoxAnswer> popupAnswers_;
  std::unique_ptr<Session> session_;
};

}  // namespace kiv::test
