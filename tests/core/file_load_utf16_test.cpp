// UTF-16 files: what a load cut short by an odd length keeps. The marks,
// replaced characters, the question in EDIT and the messages are checked by
// the case directories of tests/cases/load-utf16.
#include <gtest/gtest.h>

#include "core/file_load.h"
#include "core/file_load_fixture.h"

namespace kiv {
namespace {

using test::LoadTest;
using V = std::vector<std::string>;

class LoadUtf16Test : public LoadTest {
 protected:
  LoadUtf16Test() { profile("u", ""); }
};

TEST_F(LoadUtf16Test, OddLengthKeepsTheRecordsBeforeTheLastByte) {
  t.file("a.u", std::string("\377\376A\0\n\0B\0C", 9));
  auto task = open("a.u");
  ASSERT_TRUE(task);
  EXPECT_EQ(texts(*task), (V{"A", "B"}));
  EXPECT_EQ(shape(*task), "TxxB");
  t.file("a.u", "\377\376A");
  EXPECT_EQ(shape(*open("a.u", TaskMode::Browse)), "TB");
}

}  // namespace
}  // namespace kiv
