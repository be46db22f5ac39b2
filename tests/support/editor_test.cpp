#include "support/editor_test.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/popup_answers.h"

namespace fs = std::filesystem;

namespace kiv::test {

namespace {

std::string makeTempDir() {
  std::string tmpl = (fs::temp_directory_path() / "kivtest-XXXXXX").string();
  char* made = ::mkdtemp(tmpl.data());
  if (!made) ADD_FAILURE() << "cannot create a temporary directory";
  return tmpl;
}

std::string installDir() {
  const char* share = std::getenv("KIV_SHARE");
  return share && *share ? share : KIV_SOURCE_SHARE;
}

}  // namespace

EditorTest::EditorTest(int rows, int cols)
    : dir_(makeTempDir()), platform_(rows, cols) {
  answerPopupsFrom(platform_, popupAnswers_);
  platform_.onUnscripted = [](const platform::HeadlessPlatform::Box& box) {
    ADD_FAILURE() << "unscripted question: " << box.text;
    return platform::BoxAnswer::Closed;
  };
  std::string options = dir_ + "/options";
  fs::create_directories(options);
  ::setenv("KIVORW", options.c_str(), 1);
  session_ = std::make_unique<Session>(platform_);
  session_->dirs.options = options;
  session_->dirs.allUsers = dir_ + "/allusers";
  fs::create_directories(session_->dirs.allUsers);
  session_->dirs.install = installDir();
  session_->panelWidth = cols;
}

EditorTest::~EditorTest() {
  session_.reset();
  EXPECT_EQ(platform_.unusedAnswers(), 0u) << "scripted answers were never asked for";
  EXPECT_TRUE(popupAnswers_.empty()) << "scripted popup answers were never asked for";
  std::error_code ec;
  fs::remove_all(dir_, ec);
}

std::string EditorTest::path(std::string_view relPath) const {
  if (!relPath.empty() && relPath.front() == '/') return std::string(relPath);
  return dir_ + "/" + std::string(relPath);
}

std::string EditorTest::file(std::string_view relPath, std::string_view contents) {
  std::string full = path(relPath);
  fs::create_directories(fs::path(full).parent_path());
  std::ofstream out(full, std::ios::binary | std::ios::trunc);
  out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  return full;
}

std::string EditorTest::read(std::string_view p) const {
  std::ifstream in(path(p), std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

bool EditorTest::exists(std::string_view p) const { return fs::exists(path(p)); }

platform::MessageRecord EditorTest::lastMessage() const {
  if (platform_.messages().empty()) return {"<none>", "", platform::MessageKind::Popup};
  return platform_.messages().back();
}

std::vector<std::string> EditorTest::messageTexts() const {
  std::vector<std::string> out;
  for (const auto& m : platform_.messages()) out.push_back(m.text);
  return out;
}

}  // namespace kiv::test
