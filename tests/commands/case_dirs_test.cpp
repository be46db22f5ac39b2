// Behaviour cases kept as data: every directory tests/cases/<area>/<slug>/
// is one case (tests/cases/README.md gives the files). The file is opened,
// the commands are typed on the command row and entered, and the file on
// disk and the messages are compared with what the case expects. In the
// areas profile-* a case is a profile file, read and written back.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "commands/editor_start.h"
#include "commands/scroll_commands.h"
#include "core/file_load_fixture.h"
#include "core/profile_read.h"
#include "core/profile_write.h"
#include "core/tab_stops.h"
#include "screen/panel.h"
#include "screen/screen_state.h"
#include "services/var_pool.h"
#include "support/editor_test.h"
#include "support/screen_expect.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;
using platform::BoxAnswer;

struct CaseDir {
  std::string name;  // <area>/<slug>
  fs::path dir;
};

void PrintTo(const CaseDir& c, std::ostream* os) { *os << c.name; }

// The cases of the profile-* areas, or those of the other areas.
std::vector<CaseDir> findCases(bool profiles) {
  std::vector<CaseDir> out;
  for (const auto& area : fs::directory_iterator(KIV_TEST_CASES)) {
    if (!area.is_directory() || area.path().filename().string().starts_with("profile-") != profiles)
      continue;
    for (const auto& c : fs::directory_iterator(area.path()))
      if (c.is_directory())
        out.push_back({area.path().filename().string() + "/" + c.path().filename().string(),
                       c.path()});
  }
  std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  return out;
}

std::optional<std::string> readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// The files under a folder of a case, by their names under it, with their bytes.
std::vector<std::pair<std::string, std::string>> filesUnder(const fs::path& dir) {
  std::vector<std::pair<std::string, std::string>> out;
  if (!fs::is_directory(dir)) return out;
  for (const auto& f : fs::recursive_directory_iterator(dir))
    if (f.is_regular_file())
      out.emplace_back(fs::relative(f.path(), dir).string(), readFile(f.path()).value_or(""));
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// One message a line, as batch mode writes it to standard error.
std::string transcriptLine(const platform::MessageRecord& m) {
  std::string text = m.text;
  std::replace_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  if (m.id.empty() || m.kind == platform::MessageKind::Short) return text;
  return m.id + ": " + text;
}

// The messages the user saw, against the case's `messages` when it has one.
void expectMessages(const test::EditorTest& t, const std::optional<std::string>& messages) {
  if (!messages) return;
  std::vector<std::string> seen;
  for (const auto& m : t.messages()) seen.push_back(replaceAll(transcriptLine(m), t.dir(), "$DIR"));
  EXPECT_EQ(seen, linesOf(*messages)) << "messages";
}

class CaseDirTest : public ::testing::TestWithParam<CaseDir> {
 protected:
  std::optional<std::string> part(const char* name) const {
    return readFile(GetParam().dir / name);
  }
  // The first line of a part, or `fallback`.
  std::string word(const char* name, std::string fallback) const {
    std::vector<std::string> lines = linesOf(part(name).value_or(""));
    return lines.empty() ? fallback : lines.front();
  }
  // The extension of the case's file, which names its profile, and that
  // profile's file in the options directory.
  std::string extension() const {
    return fs::path(word("name", "f.txt")).extension().string().substr(1);
  }
  std::string profileFile() const { return "options/kivfileprof." + extension() + ".txt"; }
};

TEST_P(CaseDirTest, RunsAsWritten) {
  std::istringstream size(word("size", "24 80"));
  int rows = 24, cols = 80;
  size >> rows >> cols;
  test::EditorTest t(rows, cols);
  std::string name = word("name", "f.txt");
  std::string path = t.path(name);
  std::optional<std::string> in = part("in");
  if (in) t.file(name, *in);
  for (const auto& [other, bytes] : filesUnder(GetParam().dir / "others-in")) t.file(other, bytes);
  if (auto lines = part("profile"))
    t.file(profileFile(), std::string(test::kPlainProfile) + *lines);

  // Questions take the answers given, then Yes; each is part of the transcript.
  std::deque<std::string> answers;
  for (const std::string& a : linesOf(part("answers").value_or(""))) answers.push_back(a);
  t.platform().onUnscripted = [&](const platform::HeadlessPlatform::Box& box) {
    std::string said = answers.empty() ? "Yes" : answers.front();
    if (!answers.empty()) answers.pop_front();
    t.platform().recordMessage({"", "question: " + box.text + " -> " + said,
                                platform::MessageKind::Short});
    return said == "No" ? BoxAnswer::No : said == "Cancel" ? BoxAnswer::Cancel : BoxAnswer::Yes;
  };

  Session& s = t.session();
  startEditor(s);
  enterTypedCommand(s, word("mode", "edit") + " " + path);
  for (const std::string& command : linesOf(part("cmds").value_or("")))
    enterTypedCommand(s, replaceAll(command, "$DIR", t.dir()));
  EXPECT_TRUE(answers.empty()) << "answers left over: " << answers.front();

  std::optional<std::string> expected = part("out");
  EXPECT_EQ(readFile(path), expected ? expected : in) << (expected ? "out" : "in (unchanged)");
  for (const auto& [other, bytes] : filesUnder(GetParam().dir / "others-out"))
    EXPECT_EQ(readFile(t.path(other)), bytes) << "others-out/" << other;
  if (auto profile = part("profile-out")) {
    EXPECT_EQ(t.read(profileFile()), *profile) << "profile-out";
  }
  expectMessages(t, part("messages"));
  for (const std::string& line : linesOf(part("vars").value_or("")))
    EXPECT_EQ(varGet(s, line.substr(0, line.find('='))), line.substr(line.find('=') + 1)) << line;
  if (auto screen = part("screen")) {
    refreshScreen(s);
    EXPECT_SCREEN(t.platform(), *screen);
  }
}

// A profile case: `in` is read as the profile of the extension and written
// back; without `messages` none may be shown. A read without a message must
// give a text that reads back without one and writes the same again.
class ProfileCaseTest : public CaseDirTest {};

TEST_P(ProfileCaseTest, ReadsAndWritesBack) {
  test::EditorTest t;
  std::optional<std::string> in = part("in");
  ASSERT_TRUE(in) << "a profile case needs its in";
  std::string file = profileFile();
  t.file(file, *in);
  Session& s = t.session();
  startEditor(s);
  std::unique_ptr<FileProfile> p = readProfile(s, extension());
  if (part("stops")) {
    EXPECT_EQ(tabStopsText(p->stops()) + (p->tabStopsAutoRepeat ? " (An)" : ""), word("stops", ""));
  }
  ASSERT_EQ(writeProfile(s, *p, false), 0);
  std::string written = t.read(file);
  if (auto out = part("out")) {
    EXPECT_EQ(written, *out) << "out";
  }
  expectMessages(t, part("messages").value_or(""));

  if (!t.messages().empty()) return;
  ASSERT_EQ(writeProfile(s, *readProfile(s, extension()), false), 0);
  EXPECT_EQ(t.read(file), written) << "written again";
  expectMessages(t, "");
}

std::string caseId(const ::testing::TestParamInfo<CaseDir>& param) {
  std::string id = param.param.name;
  for (char& c : id)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return id;
}

INSTANTIATE_TEST_SUITE_P(Cases, CaseDirTest, ::testing::ValuesIn(findCases(false)), caseId);
INSTANTIATE_TEST_SUITE_P(Profiles, ProfileCaseTest, ::testing::ValuesIn(findCases(true)), caseId);

}  // namespace
}  // namespace kiv
