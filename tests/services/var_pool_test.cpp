#include "services/var_pool.h"

#include "services/messages.h"
#include "services_fixture.h"

namespace kiv::test {
namespace {

using PoolTest = ServicesTest;

TEST_F(PoolTest, NamesIgnoreCaseAndAreStoredUpperCase) {
  varSet(services, "zEdit.Undo", "ON");
  EXPECT_EQ(varGet(services, "ZEDIT.UNDO"), "ON");
  EXPECT_EQ(varFind(services, "zedit.undo").name(), "ZEDIT.UNDO");
  EXPECT_EQ(services.pool().size(), 1u);
  EXPECT_TRUE(platform.messages().empty());
}

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

TEST_F(PoolTest, ExistsNeverCreatesClearDropsPersistenceDefaultFillsEmpty) {
  EXPECT_FALSE(varExists(services, "ZMISSING"));
  EXPECT_EQ(services.pool().size(), 0u);
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
}

}  // namespace
}  // namespace kiv::test
