// The variable pool and the global profile that keeps its persistent
// variables from one session to the next.
#include "services/global_profile.h"

#include <filesystem>

#include "services/var_pool.h"
#include "services_fixture.h"

namespace kiv::test {
namespace {

using GlobalProfileTest = ServicesTest;

TEST_F(GlobalProfileTest, LoadAppliesTheLineRules) {
  varSet(services, "ZSET.BEFORE", "kept");
  write(services.dirs.options + "/KivGlobalProfile.txt",
        "\n"
        "* a comment line\n"
        "ZEDIT.UNDO=ON\n"
        "ZEDIT.UNDO=OFF\n"
        "ZSET.BEFORE=lost\n"
        "ZSEP , = ,value with blanks \r\n"
        "ZUNDER_SCORE=z\n"
        "lower.name=ok\n"
        "not_z=skipped\n"
        "namealone\n"
        "  ZINDENT = indented\n"
        "ZEMPTY=\n"
        "ZLONG=" + std::string(3000, 'v') + "\n"  // read as further lines of 2047 at most
        "ZAFTER=1\n");
  EXPECT_EQ(loadGlobalProfile(services), 0);
  EXPECT_EQ(varGet(services, "ZEDIT.UNDO"), "ON");
  EXPECT_EQ(varGet(services, "ZSET.BEFORE"), "kept");
  EXPECT_FALSE(varFind(services, "ZSET.BEFORE").persistent());
  EXPECT_EQ(varGet(services, "ZSEP"), "value with blanks ");
  EXPECT_EQ(varGet(services, "ZUNDER_SCORE"), "z");
  EXPECT_EQ(varGet(services, "LOWER.NAME"), "ok");
  EXPECT_TRUE(varFind(services, "LOWER.NAME").persistent());
  EXPECT_FALSE(varExists(services, "NOT_Z"));
  EXPECT_FALSE(varExists(services, "NAMEALONE"));
  EXPECT_EQ(varGet(services, "ZINDENT"), "indented");
  EXPECT_EQ(varGet(services, "ZLONG").size(), 2047u - 6u);
  EXPECT_EQ(varGet(services, "ZAFTER"), "1");
  EXPECT_TRUE(platform.messages().empty());
}

TEST_F(GlobalProfileTest, OldNameIsRenamedAndAllUsersIsTheFallback) {
  std::string old = write(services.dirs.options + "/KIVO.prf", "ZOLD=1\n");
  write(services.dirs.allUsers + "/KivGlobalProfile.txt", "ZSHARED=2\n");
  EXPECT_EQ(loadGlobalProfile(services), 0);
  EXPECT_FALSE(std::filesystem::exists(old));
  EXPECT_EQ(varGet(services, "ZOLD"), "1");
  EXPECT_FALSE(varExists(services, "ZSHARED"));

  // An existing current file is not replaced by the old one.
  write(old, "ZOLDER=1\n");
  EXPECT_EQ(loadGlobalProfile(services), 0);
  EXPECT_TRUE(std::filesystem::exists(old));
  EXPECT_FALSE(varExists(services, "ZOLDER"));

  std::filesystem::remove(services.dirs.options + "/KivGlobalProfile.txt");
  std::filesystem::remove(old);
  EXPECT_EQ(loadGlobalProfile(services), 0);
  EXPECT_EQ(varGet(services, "ZSHARED"), "2");
  std::filesystem::remove(services.dirs.allUsers + "/KivGlobalProfile.txt");
  EXPECT_EQ(loadGlobalProfile(services), -1);
}

TEST_F(GlobalProfileTest, SaveWritesPersistentNonEmptyValuesSorted) {
  for (auto [name, value] : {std::pair{"ZB", "2"}, {"ZA.1", "1"}, {"AAA", "first"}, {"Z_Q", "q"},
                             {"ZEMPTY", ""}, {"ZC_X", "x y"}, {"ZA9", "9"}}) {
    varSet(services, name, value);
    varMakePersistent(services, name);
  }
  varSet(services, "ZTRANSIENT", "not written");
  EXPECT_EQ(saveGlobalProfile(services), 0);
  // ZB is invalid (two characters) and went to ZNULLVAR; the order is that
  // of the bytes, whatever the pool's buckets.
  EXPECT_EQ(read(services.dirs.options + "/KivGlobalProfile.txt"),
            "AAA=first\nZA.1=1\nZA9=9\nZC_X=x y\nZNULLVAR=2\nZ_Q=q\n");
}

TEST_F(GlobalProfileTest, UnwritableDirectoryIsReportedAndKeepsTheOldFile) {
  std::string file = write(services.dirs.options + "/KivGlobalProfile.txt", "ZOLD=1\n");
  services.dirs.options = dir + "/no/such/dir";
  varSet(services, "ZNEW", "1");
  varMakePersistent(services, "ZNEW");
  EXPECT_EQ(saveGlobalProfile(services), -1);
  EXPECT_EQ(last().text, "Unable to open PersistentVars file for WRITE:\n" + dir +
                             "/no/such/dir/KivGlobalProfile.txt");
  EXPECT_EQ(read(file), "ZOLD=1\n");
}

using PoolTest = ServicesTest;

TEST_F(PoolTest, InvalidNamesReportAndUseZnullvar) {
  const std::string lengthText = "Varname must be between  3  and  63  characters long:\n\n";
  const std::string charsTail =
      "First char of name must be from set  'a..z',  'A..Z'\n\nSubsequent chars must be from "
      "set,\n\n      Dot '.'\n      Underscore '_'\n      'a..z',  'A..Z',  '0..9'";
  struct Case {
    std::string name;
    std::string text;
  } cases[] = {
      {"AB", lengthText + "AB"},
      {std::string(64, 'A'), lengthText + std::string(64, 'A')},
      {"", lengthText},
      {"1ABC", "Varname:  1ABC\n\n" + charsTail},
      {"A-B", "Varname:  A-B\n\n" + charsTail},
  };
  for (const Case& c : cases) {
    platform.clearRecords();
    varSet(services, c.name, "x" + c.name);
    ASSERT_EQ(platform.messages().size(), 1u) << c.name;
    EXPECT_EQ(last().id, "");
    EXPECT_EQ(last().text, c.text);
    // The write landed in ZNULLVAR, so a read of any invalid name yields it.
    EXPECT_EQ(varGet(services, "ZNULLVAR"), "x" + c.name);
    EXPECT_FALSE(varExists(services, c.name));
  }
  // Boundaries that are valid.
  platform.clearRecords();
  varSet(services, "ABC", "3");
  varSet(services, std::string(63, 'Z'), "63");
  varSet(services, "A_9.z", "mixed");
  EXPECT_TRUE(platform.messages().empty());
  EXPECT_EQ(varGet(services, std::string(63, 'z')), "63");
  EXPECT_EQ(services.pool().longestName(), 63u);
}

TEST_F(PoolTest, NamesIgnoreCaseExistsNeverCreatesClearDropsPersistenceDefaultFillsEmpty) {
  EXPECT_FALSE(varExists(services, "ZMISSING"));
  EXPECT_EQ(services.pool().size(), 0u);
  varSet(services, "zEdit.Undo", "ON");
  EXPECT_EQ(varGet(services, "ZEDIT.UNDO"), "ON");
  EXPECT_EQ(varFind(services, "zedit.undo").name(), "ZEDIT.UNDO");
  EXPECT_EQ(services.pool().size(), 1u);
  EXPECT_EQ(varGet(services, "ZMISSING"), "");
  EXPECT_TRUE(varExists(services, "zmissing"));

  varSet(services, "ZKEEP", "value");
  varMakePersistent(services, "ZKEEP");
  EXPECT_TRUE(varFind(services, "ZKEEP").persistent());
  varClear(services, "ZKEEP");
  EXPECT_FALSE(varFind(services, "ZKEEP").persistent());
  EXPECT_EQ(varGet(services, "ZKEEP"), "");
  EXPECT_TRUE(varExists(services, "ZKEEP"));

  // A default fills only what is absent or empty.
  varSet(services, "ZFLIST.MODE", "View");
  varDefault(services, "ZFLIST.MODE", "Edit");
  varDefault(services, "ZFLIST.SHOW", "Dir+File");
  EXPECT_EQ(varGet(services, "ZFLIST.MODE"), "View");
  EXPECT_EQ(varGet(services, "ZFLIST.SHOW"), "Dir+File");
  EXPECT_TRUE(varFind(services, "ZFLIST.SHOW").persistent());
  EXPECT_TRUE(platform.messages().empty());
}

}  // namespace
}  // namespace kiv::test
