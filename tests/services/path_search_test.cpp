#include "services/path_search.h"

#include <array>

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

class ControlFileTest : public ServicesTest {
 protected:
  ControlFileTest() {
    varSet(services, "ZPATH.PRINTSTYLES", services.dirs.options);
    for (std::size_t i = 0; i < kSlots; ++i) {
      keyPtrs[i] = &keys[i];
      valuePtrs[i] = &values[i];
    }
  }
  int readSlots(std::size_t n) {
    return PObjRead(services, "ZPATH.PRINTSTYLES", "KivPrntStyle", "Std",
                    std::span(keyPtrs.data(), n), std::span(valuePtrs.data(), n));
  }
  std::string file() const { return services.dirs.options + "/KivPrntStyle.Std.txt"; }

  static constexpr std::size_t kSlots = 20;
  std::array<std::string, kSlots> keys, values;
  std::array<std::string*, kSlots> keyPtrs{}, valuePtrs{};
};

TEST_F(ControlFileTest, ReadIsPositionalAndLeavesMissingSlotsEmpty) {
  write(file(), "Describe=Standard style\nFont\r\nLines=60\n=lonely value\nA=b=c\n");
  keys[7] = "stale";
  EXPECT_EQ(readSlots(20), 0);
  EXPECT_EQ(keys, (decltype(keys){"Describe", "Font", "Lines", "", "A"}));
  EXPECT_EQ(values, (decltype(values){"Standard style", "", "60", "lonely value", "b=c"}));

  EXPECT_EQ(readSlots(2), 0);
  EXPECT_EQ(keys[1], "Font");
  EXPECT_TRUE(platform.messages().empty());
}

TEST_F(ControlFileTest, OverlongKeywordOrValueStopsTheRead) {
  write(file(), "First=1\n" + std::string(31, 'k') + "=" + std::string(199, 'v') + "\n" +
                    std::string(32, 'K') + "=x\nLast=z\n");
  EXPECT_EQ(readSlots(20), -1);
  EXPECT_EQ(last().id, "POBJMGR20");
  EXPECT_EQ(last().text, "PObjRead: control file 'KivPrntStyle.Std.txt', keyword '" +
                             std::string(32, 'K') + "' exceeds max length allowed.");
  EXPECT_EQ(values[1].size(), 199u);  // read before the failure, kept
  EXPECT_EQ(keys[3], "");

  write(file(), "Ok=1\nBig=" + std::string(200, 'v') + "\n");
  EXPECT_EQ(readSlots(20), -1);
  EXPECT_EQ(last().id, "POBJMGR15");
}

TEST_F(ControlFileTest, MissingFileAndNullSlotsAreReported) {
  EXPECT_EQ(readSlots(3), -1);
  EXPECT_EQ(last().id, "POBJMGR25");
  EXPECT_EQ(last().text, "PObjRead: unable to open control file 'KivPrntStyle.Std.txt' for read.");

  keyPtrs[1] = nullptr;
  EXPECT_EQ(readSlots(3), -1);
  EXPECT_EQ(last().id, "POBJMGR5");
  keyPtrs[1] = &keys[1];
  valuePtrs[2] = nullptr;
  EXPECT_EQ(readSlots(3), -1);
  EXPECT_EQ(last().id, "POBJMGR10");
}

TEST_F(ControlFileTest, WriteAndGetValue) {
  const char* k[] = {"Describe", "Lines", "Font"};
  const char* v[] = {"My style", "66", "Mono 10"};
  EXPECT_EQ(PObjWrite(services, "ZPATH.PRINTSTYLES", "KivPrntStyle", "Std", k, v), 0);
  EXPECT_EQ(read(file()), "Describe=My style\nLines=66\nFont=Mono 10\n");
  EXPECT_EQ(PObjGetValue(services, "ZPATH.PRINTSTYLES", "KivPrntStyle", "Std", "Lines"), "66");
  EXPECT_EQ(PObjGetValue(services, "ZPATH.PRINTSTYLES", "KivPrntStyle", "Std", "lines"), "");
  EXPECT_EQ(PObjGetValue(services, "ZPATH.PRINTSTYLES", "KivPrntStyle", "Std", "Line"), "");
  EXPECT_EQ(PObjGetValue(services, "ZPATH.PRINTSTYLES", "KivPrntStyle", "Nope", "Lines"), "");

  const char* badValues[] = {"a", nullptr, "c"};
  EXPECT_EQ(PObjWrite(services, "ZPATH.PRINTSTYLES", "KivPrntStyle", "Std", k, badValues), -1);
  EXPECT_EQ(last().id, "POBJMGR30");
  EXPECT_EQ(read(file()), "Describe=a\n");

  varSet(services, "ZPATH.PRINTSTYLES", dir + "/missing/dir");
  EXPECT_EQ(PObjWrite(services, "ZPATH.PRINTSTYLES", "KivPrntStyle", "Std", k, v), -1);
  EXPECT_EQ(last().id, "POBJMGR40");
}

}  // namespace
}  // namespace kiv::test
