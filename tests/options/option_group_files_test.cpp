// Runs the cases of option_group_files.txt (its head describes the lines):
// a group's file is read in a fresh session, the variables and messages are
// checked, and the text written back is compared.
#include <fstream>
#include <functional>
#include <map>
#include <vector>

#include "options/key_map_group.h"
#include "options/keyword_group.h"
#include "options/list_groups.h"
#include "options_fixture.h"

namespace kiv::test {
namespace {

struct GroupCase {
  std::string group, title, name;
  std::vector<std::pair<std::string, std::string>> lines;  // keyword, text
};

std::vector<GroupCase> loadCases() {
  std::vector<GroupCase> cases;
  std::ifstream in(KIV_OPTION_GROUP_FILES);
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (line.empty() || line.starts_with('#')) continue;
    if (line.ends_with('|')) line.pop_back();
    std::size_t blank = line.find(' ');
    std::string key = line.substr(0, blank);
    std::string text = blank == std::string::npos ? "" : line.substr(blank + 1);
    if (key == "==") {
      blank = text.find(' ');
      cases.push_back({text.substr(0, blank),
                       text.substr(blank + 1),
                       text.substr(0, blank) + "_line" + std::to_string(number),
                       {}});
    } else if (!cases.empty()) {
      cases.back().lines.emplace_back(key, text);
    }
  }
  return cases;
}

struct GroupIo {
  std::function<void(Services&)> read;
  std::function<int(Services&)> write;
};
GroupIo keyword(const KeywordGroup& g) {
  return {[&g](Services& s) { readKeywordGroup(s, g); },
          [&g](Services& s) { return writeKeywordGroup(s, g); }};
}
GroupIo keyMap(const KeyMapGroup& g) {
  return {[&g](Services& s) { readKeyMapGroup(s, g); },
          [&g](Services& s) { return writeKeyMapGroup(s, g); }};
}
const std::map<std::string, GroupIo, std::less<>> kGroups = {
    {"Display", keyword(displayGroup())},
    {"Misc", keyword(miscGroup())},
    {"Flist", keyword(flistGroup())},
    {"PFKeys", keyMap(pfKeysGroup())},
    {"AltKeys", keyMap(altKeysGroup())},
    {"CtrlKeys", keyMap(ctrlKeysGroup())},
    {"Filters", {readFiltersGroup, writeFiltersGroup}},
    {"PathAssociate", {readPathAssociateGroup, writePathAssociateGroup}},
    {"SaveDeletedTypes", {readSaveDeletedTypesGroup, writeSaveDeletedTypesGroup}},
};

class OptionGroupFileTest : public OptionsTest, public ::testing::WithParamInterface<GroupCase> {
 protected:
  void setVar(std::string_view text) {
    std::size_t eq = text.find('=');
    varSet(s, text.substr(0, eq), text.substr(eq + 1));
  }
};

TEST_P(OptionGroupFileTest, ReadsAndWritesBack) {
  const GroupCase& c = GetParam();
  SCOPED_TRACE(c.title);
  auto io = kGroups.find(c.group);
  ASSERT_NE(io, kGroups.end()) << "no such group: " << c.group;
  std::string file;
  bool hasFile = false;
  for (const auto& [key, text] : c.lines) {
    if (key == "set") setVar(text);
    if (key != "in") continue;
    file += text + "\n";
    hasFile = true;
  }
  if (hasFile) group(c.group, file);
  io->second.read(s);

  std::vector<std::string> expectedMessages;
  std::string runKey, run;  // a run of out/head/tail/has lines, checked as one text
  auto checkRun = [&] {
    std::string text = readGroup(c.group);
    bool holds = runKey == "out"    ? text == run
                 : runKey == "head" ? text.starts_with(run)
                 : runKey == "tail" ? text.ends_with(run)
                                    : ("\n" + text).find("\n" + run) != std::string::npos;
    EXPECT_TRUE(holds) << runKey << ":\n" << run << "written:\n" << text;
    runKey.clear();
    run.clear();
  };
  for (const auto& [key, text] : c.lines) {
    if (key != runKey && !runKey.empty()) checkRun();
    if (key == "var") {
      std::size_t eq = text.find('=');
      EXPECT_EQ(var(text.substr(0, eq)), text.substr(eq + 1)) << text;
    } else if (key == "no") {
      EXPECT_FALSE(varExists(s, text)) << text;
    } else if (key == "msg") {
      expectedMessages.push_back(text);
    } else if (key == "then") {
      setVar(text);
    } else if (key == "write") {
      EXPECT_EQ(io->second.write(s), 0);
    } else if (key == "not") {
      EXPECT_EQ(readGroup(c.group).find(text), std::string::npos) << text;
    } else if (key == "out" || key == "head" || key == "tail" || key == "has") {
      runKey = key;
      run += text + "\n";
    } else if (key != "in" && key != "set") {
      ADD_FAILURE() << "unknown line: " << key << " " << text;
    }
  }
  if (!runKey.empty()) checkRun();
  std::vector<std::string> shown;
  for (const auto& m : t.messages()) shown.push_back(m.id.empty() ? m.text : m.id + ": " + m.text);
  EXPECT_EQ(shown, expectedMessages);
}

INSTANTIATE_TEST_SUITE_P(Cases, OptionGroupFileTest, ::testing::ValuesIn(loadCases()),
                         [](const auto& p) { return p.param.name; });

}  // namespace
}  // namespace kiv::test
