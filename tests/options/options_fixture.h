// A session over the headless platform (EditorTest) for the option-group
// tests, with helpers for group files in the options directory.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "services/option_group.h"
#include "services/var_pool.h"
#include "support/editor_test.h"
#include "support/unwritable_dir.h"

namespace kiv::test {

class OptionsTest : public ::testing::Test {
 protected:
  // Writes the group's file in the options directory.
  void group(std::string_view name, std::string_view text) { t.file(groupPath(name), text); }
  std::string groupPath(std::string_view name) const {
    return t.optionsDir() + "/" + optionGroupFileName(name);
  }
  std::string readGroup(std::string_view name) const { return t.read(groupPath(name)); }
  std::string var(std::string_view name) { return varGet(s, name); }

  EditorTest t;
  Session& s = t.session();
};

}  // namespace kiv::test
