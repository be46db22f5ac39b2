// The system clipboard with fake tools: shell scripts named wl-copy, wl-paste,
// xclip or xsel in a temporary directory that is the whole PATH.
#include "platform/system_clipboard.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kiv::platform {
namespace {

using namespace std::chrono_literals;

TEST(Base64, KnownVectors) {
  EXPECT_EQ(base64Encode(""), "");
  EXPECT_EQ(base64Encode("f"), "Zg==");
  EXPECT_EQ(base64Encode("fo"), "Zm8=");
  EXPECT_EQ(base64Encode("foobar"), "Zm9vYmFy");
  EXPECT_EQ(base64Encode(std::string("\xfb\xff\x00\r\n", 5)), "+/8ADQo=");
  EXPECT_EQ(base64Encode("\xc3\xa9t\xc3\xa9"), "w6l0w6k=");  // UTF-8 "été"
  EXPECT_EQ(osc52Sequence("hi"), "\x1b]52;c;aGk=\x1b\\");
  EXPECT_EQ(osc52Sequence(std::string(kMaxOsc52Base64 / 4 * 3, 'x')).size(), kMaxOsc52Base64 + 9);
  EXPECT_EQ(osc52Sequence(std::string(kMaxOsc52Base64 / 4 * 3 + 1, 'x')), "");
}

class SystemClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"PATH", "WAYLAND_DISPLAY", "DISPLAY"}) {
      const char* value = std::getenv(name);
      saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    char tmpl[] = "/tmp/kiv-clipboard-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    setenv("PATH", dir_.c_str(), 1);
    setenv("WAYLAND_DISPLAY", "wayland-test", 1);
    unsetenv("DISPLAY");
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }
    std::filesystem::remove_all(dir_);
  }
  void tool(const std::string& name, const std::string& body) {
    std::ofstream(dir_ + "/" + name) << "#!/bin/sh\nPATH=/usr/bin:/bin\n" << body << "\n";
    chmod((dir_ + "/" + name).c_str(), 0755);
  }
  std::string file(const std::string& name) {
    std::stringstream in;
    in << std::ifstream(dir_ + "/" + name, std::ios::binary).rdbuf();
    return in.str();
  }
  std::string dir_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(SystemClipboardTest, TextGoesThroughByteForByte) {
  // wl-copy stays in the background as the real one does, its stdout open.
  tool("wl-copy", "cat >\"$0.txt\"; sleep 30 & echo $! >\"$0.bg\"");
  tool("wl-paste", "echo \"$@\" >\"$0.args\"; cat \"${0%/*}/wl-copy.txt\"");
  std::string text;
  for (int i = 0; i < 256; ++i) text += static_cast<char>(i);
  text += "one\r\ntwo\r\n";
  text += std::string(3 << 20, 'z');  // more than a pipe holds
  auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(copyToSystemClipboard(text));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
  kill(std::stoi(file("wl-copy.bg")), SIGKILL);
  EXPECT_TRUE(file("wl-copy.txt") == text);
  EXPECT_TRUE(pasteFromSystemClipboard("internal") == text);
  EXPECT_EQ(file("wl-paste.args"), "--no-newline\n");
}

TEST_F(SystemClipboardTest, HangingToolIsKilledAndFailingToolGivesTheInternalCopy) {
  tool("wl-paste", "echo $$ >\"$0.pid\"; exec sleep 30");
  tool("wl-copy", "exec sleep 30");
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(pasteFromSystemClipboard("internal", 300ms), "internal");
  EXPECT_FALSE(copyToSystemClipboard("text", 300ms));
  auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, 600ms);
  EXPECT_LT(took, 3s);
  // Killed and reaped: not even a zombie is left.
  int alive = kill(std::stoi(file("wl-paste.pid")), 0);
  int error = errno;
  EXPECT_EQ(alive, -1);
  EXPECT_EQ(error, ESRCH);

  tool("wl-paste", "printf partial; exit 1");
  EXPECT_EQ(pasteFromSystemClipboard("internal"), "internal");
  tool("wl-paste", "printf 0123456789");
  EXPECT_EQ(runTool(clipboardPasteCommand(), {}, true, 2s, 9).status, ToolStatus::TooLong);
  EXPECT_EQ(runTool(clipboardPasteCommand(), {}, true, 2s, 10).output, "0123456789");
}

TEST_F(SystemClipboardTest, WithoutToolsTheInternalCopyIsUsed) {
  EXPECT_FALSE(copyToSystemClipboard("text"));
  EXPECT_EQ(pasteFromSystemClipboard("internal"), "internal");
  EXPECT_EQ(runTool({dir_ + "/missing"}, "x", false, 1s).status, ToolStatus::NotStarted);
  tool("wl-paste", "printf system");
  unsetenv("WAYLAND_DISPLAY");  // a tool is used only on its display
  EXPECT_EQ(pasteFromSystemClipboard("internal"), "internal");
}

TEST_F(SystemClipboardTest, XToolsWhenThereIsNoWaylandTool) {
  setenv("DISPLAY", ":9", 1);
  tool("xsel", "");
  using Argv = std::vector<std::string>;
  EXPECT_EQ(clipboardCopyCommand(), (Argv{dir_ + "/xsel", "--clipboard", "--input"}));
  EXPECT_EQ(clipboardPasteCommand(), (Argv{dir_ + "/xsel", "--clipboard", "--output"}));
  tool("xclip", "");
  EXPECT_EQ(clipboardCopyCommand(), (Argv{dir_ + "/xclip", "-selection", "clipboard"}));
  EXPECT_EQ(clipboardPasteCommand(), (Argv{dir_ + "/xclip", "-selection", "clipboard", "-o"}));
  tool("wl-copy", "");
  EXPECT_EQ(clipboardCopyCommand(), (Argv{dir_ + "/wl-copy"}));
}

}  // namespace
}  // namespace kiv::platform
