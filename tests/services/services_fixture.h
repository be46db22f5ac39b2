// A bare services layer over the headless platform, with a temporary
// options directory, for the tests of the services themselves.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/headless_platform.h"
#include "services/messages.h"
#include "support/popup_answers.h"
#include "services/services.h"

namespace kiv::test {

class ServicesTest : public ::testing::Test {
 protected:
  ServicesTest() : services(platform) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kivsvc-XXXXXX").string();
    dir = ::mkdtemp(tmpl.data()) ? tmpl : std::string();
    services.dirs.options = dir + "/options";
    services.dirs.allUsers = dir + "/allusers";
    services.dirs.install = dir + "/install";
    for (const auto& d : {services.dirs.options, services.dirs.allUsers, services.dirs.install})
      std::filesystem::create_directories(d);
    answerPopupsFrom(platform, popupAnswers);
    platform.onUnscripted = [](const platform::HeadlessPlatform::Box& box) {
      ADD_FAILURE() << "unscripted question: " << box.text;
      return platform::BoxAnswer::Closed;
    };
  }
  ~ServicesTest() override {
    EXPECT_EQ(platform.unusedAnswers(), 0u) << "scripted answers were never asked for";
    EXPECT_TRUE(popupAnswers.empty()) << "scripted popup answers were never asked for";
    std::filesystem::remove_all(dir);
  }

  std::string write(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  static std::string read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  void answer(platform::BoxAnswer a) { platform.scriptAnswer(a); }
  // Answers the next message popup that offers short messages.
  void answerPopup(platform::BoxAnswer a) { popupAnswers.push_back(a); }
  std::deque<platform::BoxAnswer> popupAnswers;
  const platform::MessageRecord& last() const { return platform.messages().back(); }

  platform::HeadlessPlatform platform;
  Services services;
  std::string dir;
};

}  // namespace kiv::test
