#include "services/path_search.h"

#include "services/control_file.h"
#include "services/option_group.h"
#include "services/var_pool.h"
#include "services_fixture.h"

namespace kiv::test {
namespace {

using PathTest = ServicesTest;

TEST_F(PathTest, SearchesTheListInOrderThenTheInstallationFolder) {
  std::string a = dir + "/a", b = dir + "/b/";
  varSet(services, "ZPATH.TEST", a + ";;" + b);
  write(b + "x.txt", "b");
  EXPECT_EQ(FileFindByPath(services, "ZPATH.TEST", "x.txt"), b + "x.txt");
  write(a + "/x.txt", "a");
  EXPECT_EQ(FileFindByPath(services, "ZPATH.TEST", "x.txt"), a + "/x.txt");
  EXPECT_EQ(FileFindByPath(services, "ZPATH.TEST", "none.txt"), "");

  write(services.dirs.install + "/only.txt", "i");
  EXPECT_EQ(FileFindByPath(services, "ZPATH.TEST", "only.txt"),
            services.dirs.install + "/only.txt");
  write(services.dirs.install + "/Dialogs/d.txt", "d");
  EXPECT_EQ(FileFindByPath(services, "ZPATH.TEST", "d.txt"), "");
  EXPECT_EQ(FileFindByPath(services, "zpath.dialogs", "d.txt"),
            services.dirs.install + "/Dialogs/d.txt");
  // A directory of that name is not a file.
  std::filesystem::create_directories(a + "/sub.txt");
  EXPECT_EQ(FileFindByPath(services, "ZPATH.TEST", "sub.txt"), "");
}

TEST_F(PathTest, OpenReadsFoundFileAndWritesIntoTheFirstDirectory) {
  std::string first = dir + "/first", second = dir + "/second";
  std::filesystem::create_directories(first);
  varSet(services, "ZPATH.TEST", first + ";" + second);
  write(second + "/f.txt", "old");
  {
    FilePtr f = FileOpenByPath(services, "ZPATH.TEST", "f.txt", "W");
    ASSERT_TRUE(f);
    std::fputs("new", f.get());
  }
  EXPECT_EQ(read(first + "/f.txt"), "new");
  EXPECT_EQ(read(second + "/f.txt"), "old");
  EXPECT_TRUE(FileOpenByPath(services, "ZPATH.TEST", "f.txt", "r"));
  EXPECT_FALSE(FileOpenByPath(services, "ZPATH.TEST", "missing.txt", "R"));
  EXPECT_TRUE(platform.messages().empty());

  EXPECT_FALSE(FileOpenByPath(services, "ZPATH.TEST", "f.txt", "a"));
  EXPECT_EQ(last().id, "FILESERV155");
  EXPECT_EQ(last().text, "FileOpenByPath: invalid open mode specified, must be 'r' or 'w'.");
  // An empty list has nowhere to write.
  EXPECT_FALSE(FileOpenByPath(services, "ZPATH.EMPTY", "f.txt", "w"));
}

TEST_F(PathTest, OptionGroupsAreLowerCaseAndReadFromTheFirstThatHoldsThem) {
  EXPECT_EQ(optionGroupFileName("Display"), "kivoptions.display.txt");
  write(services.dirs.install + "/Profiles/kivoptions.editor.txt", "install");
  write(services.dirs.allUsers + "/kivoptions.editor.txt", "shared");
  auto readGroup = [&] {
    FilePtr f = openOptionGroup(services, "Editor", "r");
    std::string line;
    return f && readLimitedLine(f.get(), 256, line) ? line : std::string("<none>");
  };
  EXPECT_EQ(readGroup(), "shared");
  std::filesystem::remove(services.dirs.allUsers + "/kivoptions.editor.txt");
  EXPECT_EQ(readGroup(), "install");
  EXPECT_EQ(varGet(services, "ZPATH.OPTIONS"),
            services.dirs.options + ";" + services.dirs.allUsers + ";" + services.dirs.install +
                "/Profiles/");
  EXPECT_FALSE(varFind(services, "ZPATH.OPTIONS").persistent());
  {
    FilePtr f = openOptionGroup(services, "Editor", "w");
    ASSERT_TRUE(f);
    std::fputs("user", f.get());
  }
  EXPECT_EQ(readGroup(), "user");
  EXPECT_EQ(read(services.dirs.options + "/kivoptions.editor.txt"), "user");
}

TEST_F(PathTest, SearchPathsPointAtTheThreeDirectories) {
  varSet(services, "ZPATH.FILEPROFILES", "stale");
  varMakePersistent(services, "ZPATH.FILEPROFILES");
  setSearchPaths(services);
  EXPECT_EQ(varGet(services, "ZPATH.FILEPROFILES"), services.dirs.options + ";" +
                                                        services.dirs.allUsers + ";" +
                                                        services.dirs.install + "/Profiles");
  EXPECT_FALSE(varFind(services, "ZPATH.FILEPROFILES").persistent());
  EXPECT_EQ(varGet(services, "ZPATH.HELP"), services.dirs.install + "/HELP");
  EXPECT_EQ(varGet(services, "ZPATH.TEMP"), services.dirs.options);
}

TEST(LineReading, LimitSplitsLongLinesLikeFgets) {
  std::FILE* f = std::tmpfile();
  std::fputs("abcdef\nxy", f);
  std::rewind(f);
  std::string line;
  std::vector<std::string> got;
  while (readLimitedLine(f, 4, line)) got.push_back(line);
  std::fclose(f);
  EXPECT_EQ(got, (std::vector<std::string>{"abc", "def", "\n", "xy"}));
  EXPECT_EQ(stripLineEnd("a\rb\n"), "a");
}

}  // namespace
}  // namespace kiv::test
