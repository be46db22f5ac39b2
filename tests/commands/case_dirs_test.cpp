// Behaviour cases kept as data: every directory tests/cases/<area>/<slug>/
// is one case (tests/cases/README.md gives the files). The file is opened,
// the commands are typed on the command row and entered, and the file on
// disk and the messages are compared with what the case expects. In the
// areas profile-* a case is a profile file, read and written back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
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
#include "support/editor_test.h"

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

// The bytes around `at`, in hexadecimal, the one at `at` in brackets.
std::string hexAround(const std::string& bytes, std::size_t at) {
  std::string out;
  for (std::size_t i = at < 8 ? 0 : at - 8; i < std::min(bytes.size(), at + 16); ++i) {
    char hex[8];
    std::snprintf(hex, sizeof hex, i == at ? "[%02x]" : " %02x", static_cast<unsigned char>(bytes[i]));
    out += hex;
  }
  return out;
}

std::string byteDifference(const std::string& expected, const std::string& actual) {
  auto at = static_cast<std::size_t>(
      std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end()).first -
      expected.begin());
  return "first difference at byte " + std::to_string(at) + " (expected " +
         std::to_string(expected.size()) + " bytes, got " + std::to_string(actual.size()) +
         ")\n  expected:" + hexAround(expected, at) + "\n  actual:  " + hexAround(actual, at);
}

// Both lists line by line; where they differ, "-" marks the expected line
// and "+" the actual one.
std::string lineDifference(const std::vector<std::string>& expected,
                           const std::vector<std::string>& actual) {
  std::string out;
  for (std::size_t i = 0; i < std::max(expected.size(), actual.size()); ++i) {
    bool same = i < expected.size() && i < actual.size() && expected[i] == actual[i];
    if (i < expected.size()) out += (same ? "    " : "  - ") + expected[i] + "\n";
    if (i < actual.size() && !same) out += "  + " + actual[i] + "\n";
  }
  return out;
}

// A text the case expects, compared byte for byte and shown line by line.
void expectText(const char* part, const std::string& expected, const std::string& actual) {
  if (actual == expected) return;
  std::vector<std::string> wanted = linesOf(expected), seen = linesOf(actual);
  ADD_FAILURE() << part << " (- expected, + actual):\n"
                << (wanted != seen ? lineDifference(wanted, seen)
                                   : byteDifference(expected, actual));
}

// The messages the user saw, against the case's `messages` when it has one.
void expectMessages(const test::EditorTest& t, const std::optional<std::string>& messages) {
  if (!messages) return;
  std::vector<std::string> seen;
  for (const auto& m : t.messages()) seen.push_back(replaceAll(transcriptLine(m), t.dir(), "$DIR"));
  std::vector<std::string> wanted = linesOf(*messages);
  if (seen != wanted)
    ADD_FAILURE() << "messages (- expected, + actual):\n" << lineDifference(wanted, seen);
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
  test::EditorTest t;
  std::string name = word("name", "f.txt");
  std::string path = t.path(name);
  std::optional<std::string> in = part("in");
  if (in) t.file(name, *in);
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
  if (!expected) expected = in;
  std::optional<std::string> actual = readFile(path);
  if (!expected || !actual)
    EXPECT_EQ(actual.has_value(), expected.has_value()) << "the file should exist: " << !!expected;
  else if (*actual != *expected)
    ADD_FAILURE() << (part("out") ? "out" : "in (unchanged)") << ": "
                  << byteDifference(*expected, *actual);

  if (auto profile = part("profile-out"))
    expectText("profile-out", *profile, t.read(profileFile()));
  expectMessages(t, part("messages"));
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
  if (auto out = part("out")) expectText("out", *out, written);
  expectMessages(t, part("messages").value_or(""));

  if (!t.messages().empty()) return;
  ASSERT_EQ(writeProfile(s, *readProfile(s, extension()), false), 0);
  expectText("written again", written, t.read(file));
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
