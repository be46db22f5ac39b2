// EXPORT where a case cannot look: a write the system stops part way leaves
// the file it was to replace or lengthen as it was and nothing beside it; a
// relative name is taken from the current directory; the task and its
// selection stay as they were.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "commands/editor_start.h"
#include "core/selection.h"
#include "core/task.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

// While it lives, a file may grow to `limit` bytes only: a write past that
// fails with EFBIG (the signal it would raise is ignored).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lower = old_;
    lower.rlim_cur = limit;
    ::setrlimit(RLIMIT_FSIZE, &lower);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  void (*handler_)(int) = SIG_DFL;
};

class ExportTest : public ::testing::Test {
 protected:
  ExportTest() {
    startEditor(s());
    std::string text;
    for (int i = 0; i < 100; ++i) text += std::string(99, static_cast<char>('a' + i % 26)) + "\n";
    run("edit " + t.file("a.txt", text));
    run("select wholeline 1 1 100 1");
  }
  Session& s() { return t.session(); }
  void run(const std::string& text) { s().executeCommand(text); }
  std::size_t filesInDir() const {
    auto entries = std::filesystem::directory_iterator(t.dir());
    return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
  }

  test::EditorTest t;
};

TEST_F(ExportTest, AWriteStoppedPartWayLeavesTheFileAsItWas) {
  std::string old = t.file("old.txt", "keep\n");
  std::size_t files = filesInDir();
  {
    FileSizeLimit limit(4096);
    run("export append " + old);
    EXPECT_EQ(t.read(old), "keep\n") << "the appended part is cut off again";
    run("export replace " + old);
  }
  EXPECT_EQ(t.read(old), "keep\n") << "the new contents never took its place";
  EXPECT_EQ(filesInDir(), files) << "no temporary file stays";
  EXPECT_EQ(t.lastMessage().text, "EXPORT: file not written:\n\n" + old + "\n\nFile too large");
  Task* task = s().currentTask();
  EXPECT_TRUE(task->selection.active());
  EXPECT_FALSE(task->modified);

  run("export append " + old);
  EXPECT_EQ(t.read(old).size(), 5U + 100 * 100) << "without the limit it is written";
}

TEST_F(ExportTest, ARelativeNameIsTakenFromTheCurrentDirectory) {
  std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(t.dir());
  run("export rel.txt");
  std::filesystem::current_path(before);
  ASSERT_TRUE(t.exists("rel.txt"));
  EXPECT_EQ(t.read("rel.txt"), t.read("a.txt"));
  EXPECT_EQ(t.lastMessage().text, "Exported 100 lines to rel.txt");
}

}  // namespace
}  // namespace kiv
