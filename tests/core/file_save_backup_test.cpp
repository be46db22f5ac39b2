#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "core/backup.h"
#include "core/file_profile.h"
#include "core/task.h"
#include "services/var_pool.h"
#include "support/editor_test.h"

namespace fs = std::filesystem;

namespace kiv {
namespace {

mode_t modeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

// A session and a task of its own (no file, no profile).
class BackupFileTest : public ::testing::Test {
 protected:
  test::EditorTest t;
  Task task{t.session()};
};

TEST(BackupRuleTest, TwoQuotedPathsSeparatedByBlanks) {
  auto rule = parseBackupRule(R"(  "/a b/src"   ".KivBackupFiles"  )");
  ASSERT_TRUE(rule);
  EXPECT_EQ(rule->from, "/a b/src");
  EXPECT_EQ(rule->to, ".KivBackupFiles");
  for (std::string_view bad : {R"("/a")", R"("/a""/b")", R"("/a" "/b)", "/a /b", R"("" "/b")", ""})
    EXPECT_FALSE(parseBackupRule(bad)) << bad;
  std::string longPath(kBackupPathMax + 1, 'x');
  EXPECT_FALSE(parseBackupRule("\"/a\" \"" + longPath + "\""));
  EXPECT_TRUE(parseBackupRule("\"/a\" \"" + longPath.substr(1) + "\""));
}

TEST(BackupRuleTest, FirstMatchingDirectoryComparedExactly) {
  std::vector<BackupRule> rules = {
      {"/data/src", "/b1"}, {"/data/Other/", "/b2"}, {"*", "/b3"}, {"/data/src/", "/b4"}};
  EXPECT_EQ(matchBackupRule(rules, "/data/src/")->to, "/b1") << "a source without the final /";
  EXPECT_EQ(matchBackupRule(rules, "/data/Other/")->to, "/b2");
  EXPECT_EQ(matchBackupRule(rules, "/data/other/")->to, "/b3") << "case-sensitive";
  EXPECT_EQ(matchBackupRule(rules, "/data/src/sub/")->to, "/b3") << "no subdirectories";
  EXPECT_EQ(matchBackupRule(rules, "/data/sr/")->to, "/b3") << "no prefixes";
  rules.erase(rules.begin() + 2);
  EXPECT_EQ(matchBackupRule(rules, "/elsewhere/"), nullptr);
  EXPECT_EQ(matchBackupRule({{"/", "/b"}}, "/")->to, "/b") << "the root directory";
}

TEST_F(BackupFileTest, RulesAreReadFromTheOptionGroupSkippingBadLines) {
  EXPECT_TRUE(readBackupRules(t.session()).empty()) << "no file, no rules";
  t.file("options/kivoptions.backuppaths.txt",
         "\"/one\" \"/bak1\"\r\n"
         "garbage line\n" +
             std::string(700, 'z') + "\n" + "\"*\" \".KivBackupFiles\"\n");
  std::vector<BackupRule> rules = readBackupRules(t.session());
  ASSERT_EQ(rules.size(), 2u);
  EXPECT_EQ(rules[0].from, "/one");
  EXPECT_EQ(rules[0].to, "/bak1") << "the line end is not part of the path";
  EXPECT_EQ(rules[1].to, ".KivBackupFiles");
}

TEST_F(BackupFileTest, DueByZBackupAndTheProfile) {
  varSet(t.session(), "ZBACKUP", "ALWAYS");
  EXPECT_TRUE(backupDue(task));
  varSet(t.session(), "ZBACKUP", "FILEPROF");
  EXPECT_FALSE(backupDue(task)) << "no profile";
  task.profile = std::make_unique<FileProfile>();
  task.profile->backup = true;
  EXPECT_TRUE(backupDue(task));
  varSet(t.session(), "ZBACKUP", "NEVER");
  EXPECT_FALSE(backupDue(task));
}

TEST_F(BackupFileTest, BesideTheFileReplacingTheOldBackup) {
  std::string file = t.file("d/a.txt", "version 2\n");
  t.file("d/a.txt.bak", "version 1\n");
  EXPECT_EQ(backupFile(task, file), 0);
  EXPECT_EQ(t.read(file), "version 2\n") << "linked, not moved: the name is never missing";
  EXPECT_EQ(t.read("d/a.txt.bak"), "version 2\n");
  EXPECT_TRUE(t.messages().empty());

  std::string empty = t.file("d/empty.txt", "");
  EXPECT_EQ(backupFile(task, empty), 0);
  EXPECT_FALSE(t.exists("d/empty.txt.bak")) << "an empty file is not backed up";
  EXPECT_EQ(backupFile(task, t.path("d/missing.txt")), 0);
  EXPECT_TRUE(task.mayEnd);
}

TEST_F(BackupFileTest, AnUndeletableOldBackupStopsIt) {
  std::string file = t.file("a.txt", "data\n");
  t.file("a.txt.bak/keep", "x");  // a non-empty directory in the way
  EXPECT_EQ(backupFile(task, file), -1);
  EXPECT_FALSE(task.mayEnd);
  EXPECT_EQ(t.lastMessage().id, "BACKUP5");
  EXPECT_EQ(t.lastMessage().text, "Unable to delete old backup file:\n\n" + file +
                                      ".bak\n\nUse SAVEAS to save under a different name.");
  EXPECT_EQ(t.read(file), "data\n");
}

TEST_F(BackupFileTest, IntoTheRuleDirectoryKeepingPermissionBits) {
  std::string file = t.file("src/a.txt", "new\n");
  ::chmod(file.c_str(), 0640);
  t.file("options/kivoptions.backuppaths.txt",
         "\"" + t.path("src") + "\" \"" + t.path("bk/deep") + "\"\n");
  t.file("bk/deep/a.txt", "older copy\n");
  EXPECT_EQ(backupFile(task, file), 0);
  EXPECT_EQ(t.read("bk/deep/a.txt"), "new\n");
  EXPECT_EQ(modeOf(t.path("bk/deep/a.txt")), 0640u);
  EXPECT_EQ(t.read(file), "new\n") << "the file keeps its name until the new one replaces it";
  EXPECT_EQ(std::distance(fs::directory_iterator(t.path("bk/deep")), fs::directory_iterator()), 1)
      << "no temporary file left behind";

  // A relative backup directory is made beside the file.
  file = t.file("w/b.txt", "b\n");
  t.file("options/kivoptions.backuppaths.txt", "\"*\" \".KivBackupFiles\"\n");
  EXPECT_EQ(backupFile(task, file), 0);
  EXPECT_EQ(t.read("w/.KivBackupFiles/b.txt"), "b\n");
}

TEST_F(BackupFileTest, RuleFailuresKeepTheFileAndTheTask) {
  std::string file = t.file("s/c.txt", "c\n");
  std::string rules = "options/kivoptions.backuppaths.txt";

  t.file(rules, "\"" + t.path("s") + "/\" \"" + t.path("s/./") + "\"\n");
  EXPECT_EQ(backupFile(task, file), -1);
  EXPECT_EQ(t.lastMessage().id, "BACKUP20");
  EXPECT_EQ(t.lastMessage().text,
            "Can not backup modified file.\n\nBackup path is same as current path.\n\nUse SAVEAS "
            "to save under a different name.");
  EXPECT_FALSE(task.mayEnd);

  task.mayEnd = true;
  t.file("plain", "a regular file");
  std::string impossible = t.path("plain/sub");
  t.file(rules, "\"*\" \"" + impossible + "\"\n");
  EXPECT_EQ(backupFile(task, file), -1);
  EXPECT_EQ(t.lastMessage().id, "BACKUP15");
  EXPECT_FALSE(task.mayEnd);

  task.mayEnd = true;
  t.file("bk/c.txt/occupied", "x");  // the copy's name is a non-empty directory
  t.file(rules, "\"*\" \"" + t.path("bk") + "\"\n");
  EXPECT_EQ(backupFile(task, file), -1);
  EXPECT_EQ(t.lastMessage().id, "BACKUP25");
  EXPECT_EQ(t.lastMessage().text, "Unable to copy modified file for backup,\n\nFrom:  " + file +
                                      "\nTo:  " + t.path("bk/c.txt") +
                                      "\n\nUse SAVEAS to save under a different name.");
  EXPECT_FALSE(task.mayEnd);
  EXPECT_EQ(t.read(file), "c\n") << "every failure leaves the file";
  EXPECT_EQ(std::distance(fs::directory_iterator(t.path("bk")), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace kiv
