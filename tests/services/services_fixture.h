// The services layer of a session (EditorTest) with an installation
// directory of its own, for the tests of the services themselves.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "services/messages.h"
#include "services/services.h"
#include "support/editor_test.h"

namespace kiv::test {

class ServicesTest : public ::testing::Test {
 protected:
  ServicesTest() {
    services.dirs.install = dir + "/install";
    std::filesystem::create_directories(services.dirs.install);
  }

  std::string write(const std::string& path, const std::string& text) { return t.file(path, text); }
  std::string read(const std::string& path) const { return t.read(path); }
  const platform::MessageRecord& last() const { return platform.messages().back(); }

  EditorTest t;
  Services& services = t.session();
  platform::HeadlessPlatform& platform = t.platform();
  std::string dir = t.dir();
};

}  // namespace kiv::test
