// Start-up: the order of the groups, the defaults of remembered settings,
// the shipped System/ files, and writers that cannot write.
#include "options/startup_options.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <functional>
#include <iterator>

#include "options/key_map_group.h"
#include "options/keyword_group.h"
#include "options/list_groups.h"
#include "options_fixture.h"

namespace kiv::test {
namespace {

using StartupOptionsTest = OptionsTest;

TEST_F(StartupOptionsTest, GroupsLoadInOrderAndDefaultsFillOnlyWhatIsEmpty) {
  group("AltKeys", "ZALT.F FILE\n");
  group("Display", "PcmdLblCommand Command ===>\n");
  varSet(s, "ZFLIST.MODE", "Browse");  // as the global profile left it
  varSet(s, "ZFLIST.RECURS", "TRUE");
  setStartupPaths(s);
  std::string atCallback;
  readStartupOptionGroups(s, [&](Services& ss) {
    // General is read, PathAssociate and the key maps are not yet.
    atCallback = varGet(ss, "ZMSGSOUND") + "|" + varGet(ss, "ZPF01.MAP");
  });
  applyStartupDefaults(s);

  EXPECT_EQ(atCallback, "Sound1|");
  EXPECT_EQ(var("ZALT.F"), "RESERVED*");
  EXPECT_EQ(saveDeletedTypes(s).size(), 18u);  // the last group

  EXPECT_EQ(var("ZFLIST.MODE"), "Browse");
  EXPECT_EQ(var("ZFLIST.SHOW"), "Dir+File");
  EXPECT_EQ(var("ZFLIST.PXBPATH"), "/");
  EXPECT_EQ(var("ZEDIT.FIND.PUNCTUATION"), "~`!%^&*+-=|;:,.?\"'(){}[]<>/\\");
  EXPECT_EQ(var("ZFLIST.RECURS"), "FALSE");
  for (const char* name :
       {"ZFLIST.MODE", "ZCOMP.IGNORE.CASE", "ZFLIST.RECURS", "ZCOMPDIR.FILETYPE"})
    EXPECT_TRUE(varFind(s, name).persistent()) << name;
  EXPECT_EQ(var("ZCOMPDIR.FILETYPE"), "");
  EXPECT_EQ(var("ZPCMDLBLCURRENT"), "Command ===>");
  EXPECT_TRUE(t.messages().empty());
}

// The shipped files, read as the all-users groups and written back, come
// out unchanged: their keys are the tables', in the writers' order.
TEST_F(StartupOptionsTest, ShippedSystemFilesAreWhatTheWritersWrite) {
  s.dirs.allUsers = s.dirs.install + "/System";
  setStartupPaths(s);
  readStartupOptionGroups(s);
  EXPECT_EQ(writeMiscGroup(s), 0);
  EXPECT_EQ(writeKeyMapGroup(s, pfKeysGroup()), 0);
  EXPECT_EQ(writeKeyMapGroup(s, ctrlKeysGroup()), 0);
  for (std::string_view name : {"Misc", "PFKeys", "CtrlKeys"})
    EXPECT_EQ(readGroup(name), t.read(s.dirs.allUsers + "/" + optionGroupFileName(name))) << name;
  EXPECT_EQ(var("ZACTIONKEY.ENTER"), "3270Enter");
}

TEST_F(StartupOptionsTest, UnwritableOptionsDirectoryKeepsEveryOldFile) {
  struct Writer {
    std::string_view group;
    std::function<int()> write;
    std::string_view id;
  };
  const Writer writers[] = {
      {"Misc", [&] { return writeMiscGroup(s); }, "OPTIONS70"},
      {"Editor", [&] { return writeKeywordGroup(s, editorGroup()); }, "OPTIONS20"},
      {"Display", [&] { return writeKeywordGroup(s, displayGroup()); }, "OPTIONS25"},
      {"Flist", [&] { return writeKeywordGroup(s, flistGroup()); }, "OPTIONS25"},
      {"Filters", [&] { return writeFiltersGroup(s); }, "OPTIONS30"},
      {"PFKeys", [&] { return writeKeyMapGroup(s, pfKeysGroup()); }, "OPTIONS45"},
      {"AltKeys", [&] { return writeKeyMapGroup(s, altKeysGroup()); }, "OPTIONS55"},
      {"PathAssociate", [&] { return writePathAssociateGroup(s); }, "OPTIONS75"},
      {"RegExt", [&] { return writeRegExtGroup(s); }, "OPTIONS80"},
      {"SaveDeletedTypes", [&] { return writeSaveDeletedTypesGroup(s); }, "OPTIONS85"},
  };
  setStartupPaths(s);
  readStartupOptionGroups(s);
  for (const Writer& w : writers) {
    group(w.group, "old contents\n");
    ::chmod(groupPath(w.group).c_str(), 0666);
  }
  {
    UnwritableDir locked(t.optionsDir());
    if (!locked.binds()) GTEST_SKIP() << "permission bits cannot be made to bind here";
    for (const Writer& w : writers) {
      EXPECT_EQ(w.write(), -1) << w.group;
      EXPECT_EQ(t.lastMessage().id, w.id);
      EXPECT_EQ(t.lastMessage().text,
                w.id == "OPTIONS85"  // names the file
                    ? "Unable to write option file:\n" + groupPath(w.group)
                    : "Unable to write option file '" + std::string(w.group) + "'");
      EXPECT_EQ(readGroup(w.group), "old contents\n") << w.group;
    }
  }
  // Nothing was left beside the old files.
  auto entries = std::distance(std::filesystem::directory_iterator(t.optionsDir()),
                               std::filesystem::directory_iterator());
  EXPECT_EQ(entries, static_cast<long>(std::size(writers)));
}

}  // namespace
}  // namespace kiv::test
