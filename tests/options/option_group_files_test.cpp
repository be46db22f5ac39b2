// Runs the cases of option_group_files.txt (its head describes the lines):
// a group's file is read in a fresh session, the variables and messages are
// checked, and the text written back is compared. RegExt (its own path and
// line limit) and the display codes, which the lines cannot hold, follow.
#include <fstream>
#include <functional>
#include <map>
#include <vector>

#include "options/display_codes.h"
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
    {"Editor", keyword(editorGroup())},
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
    } else if (key == "transient") {
      EXPECT_FALSE(varFind(s, text).persistent()) << text;
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

using ListGroupsTest = OptionsTest;

TEST_F(ListGroupsTest, RegExtAlongTheProfilePathInEntriesOfThree) {
  setSearchPaths(s);
  std::string longCommand(390, 'x');
  t.file(t.optionsDir() + "/kivoptions.regext.txt",
         "  Extension=.cbl\nInterpret=\nnoise\nExecute=" + longCommand +
             "\n"
             "Extension=.jcl\nInterpret=submit\n");  // an unfinished entry
  readRegExtGroup(s);
  EXPECT_EQ(var("ZREGEXT.0"), "1");
  EXPECT_EQ(var("ZREGEXT.EXTENSION.1"), ".cbl");
  EXPECT_EQ(var("ZREGEXT.EXECUTE.1"), longCommand);

  varSet(s, "ZREGEXT.0", "5");  // more than there are: the list ends at an empty entry
  ASSERT_EQ(writeRegExtGroup(s), 0);
  EXPECT_EQ(t.read(t.optionsDir() + "/kivoptions.regext.txt"),
            "Extension=.cbl\nInterpret=\nExecute=" + longCommand +
                "\nExtension=.jcl\nInterpret=submit\nExecute=\n");
}

TEST_F(ListGroupsTest, DisplayCodesFillTheTableAndWriteEveryEntry) {
  EXPECT_EQ(displayCodesGroupName(" Courier New "), "DisplayCodes.CourierNew");
  group("DisplayCodes.CourierNew", "065 097\n7 250\n256 1\n1 -2\n2 3 4\nx 5\n10\n");
  DisplayCodes codes = readDisplayCodes(s, "Courier New");
  EXPECT_EQ(codes.code[65], 97);
  EXPECT_EQ(codes.code[7], 250);
  EXPECT_EQ(codes.code[1], 1);
  EXPECT_EQ(codes.code[2], 2);
  EXPECT_EQ(codes.code[255], 255);

  ASSERT_EQ(writeDisplayCodes(s, "Courier New", codes), 0);
  std::string text = readGroup("DisplayCodes.CourierNew");
  EXPECT_EQ(text.size(), 256u * 8);
  EXPECT_TRUE(text.starts_with("000 000\n001 001\n")) << text.substr(0, 16);
  EXPECT_NE(text.find("\n065 097\n"), std::string::npos);

  EXPECT_EQ(writeDisplayCodes(s, "../evil/face", codes), -1);
  EXPECT_EQ(t.lastMessage().text, "Unable to write option file 'DisplayCodes.../evil/face'");
}

}  // namespace
}  // namespace kiv::test
