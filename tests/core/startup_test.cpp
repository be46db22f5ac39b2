#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/session.h"
#include "core/startup.h"
#include "services/global_profile.h"
#include "services/var_pool.h"
#include "support/editor_test.h"

namespace fs = std::filesystem;

namespace kiv {
namespace {

class StartupTest : public ::testing::Test {
 protected:
  StartupTest() {
    // An installation of its own: <prefix>/bin/kiv beside <prefix>/share/kiv.
    t.file("prefix/bin/kiv", "");
    t.file("prefix/share/kiv/System/kivoptions.misc.txt", "ACTIONKEYENTER 3270Enter\n");
    t.file("prefix/share/kiv/System/Profiles/kivfileprof.txt.txt", "Recfm=VARIABLE\n");
    env.programPath = t.path("prefix/bin/kiv");
    env.home = t.path("home");
    env.userName = "tester";
  }

  Session& s() { return t.session(); }
  std::string install() const { return t.path("prefix/share/kiv"); }

  test::EditorTest t;
  StartupEnvironment env;
};

TEST_F(StartupTest, InstallDirectoryFollowsTheProgram) {
  EXPECT_EQ(installDirFor(t.path("prefix/bin/kiv")), install());
  EXPECT_EQ(installDirFor(t.path("other/bin/kiv")), KIV_SOURCE_SHARE) << "no share/kiv there";
  EXPECT_EQ(installDirFor(""), KIV_SOURCE_SHARE);
}

TEST_F(StartupTest, NewUserDirectoryIsCreatedAndFilledFromSystem) {
  t.clearMessages();
  ASSERT_EQ(startDirectories(s(), env), 0);
  std::string options = t.path("home/.config/kiv");
  EXPECT_EQ(s().dirs.options, options);
  EXPECT_EQ(s().dirs.install, install());
  EXPECT_EQ(s().dirs.allUsers, install() + "/System");
  EXPECT_EQ(varGet(s(), "ZKIVEXE"), env.programPath);
  EXPECT_EQ(t.read(options + "/kivoptions.misc.txt"), "ACTIONKEYENTER 3270Enter\n");
  EXPECT_EQ(t.read(options + "/Profiles/kivfileprof.txt.txt"), "Recfm=VARIABLE\n");
  ASSERT_EQ(t.messages().size(), 1u);
  EXPECT_EQ(t.lastMessage().text,
            "Created KIV options directory for user:  tester\n\n" + options + "\n\n");

  // The second start finds it and leaves the user's changes alone.
  t.file(options + "/kivoptions.misc.txt", "mine\n");
  t.clearMessages();
  ASSERT_EQ(startDirectories(s(), env), 0);
  EXPECT_TRUE(t.messages().empty());
  EXPECT_EQ(t.read(options + "/kivoptions.misc.txt"), "mine\n");
}

TEST_F(StartupTest, XdgConfigHomeWinsWhenAbsolute) {
  env.xdgConfigHome = t.path("xdg");
  ASSERT_EQ(startDirectories(s(), env), 0);
  EXPECT_EQ(s().dirs.options, t.path("xdg/kiv"));
  EXPECT_TRUE(fs::is_directory(t.path("xdg/kiv")));

  env.xdgConfigHome = "relative/xdg";
  ASSERT_EQ(startDirectories(s(), env), 0);
  EXPECT_EQ(s().dirs.options, t.path("home/.config/kiv")) << "a relative XDG_CONFIG_HOME is ignored";
}

TEST_F(StartupTest, FatalErrorsReturnMinusOne) {
  env.home.reset();
  EXPECT_EQ(startDirectories(s(), env), -1);
  EXPECT_EQ(t.lastMessage().text,
            "Unable to obtain KIV options path for specific user from system variable:\n\nHOME");

  t.file("home", "a file where the directory should be");
  env.home = t.path("home");
  EXPECT_EQ(startDirectories(s(), env), -1);
  EXPECT_EQ(t.lastMessage().text, "Unable to create KIV options path:\n\n" + t.path("home/.config/kiv"));
}

TEST_F(StartupTest, KivorwMustExistAndDifferFromTheInstallation) {
  env.kivorw = t.path("mine");
  EXPECT_EQ(startDirectories(s(), env), -1);
  EXPECT_EQ(t.lastMessage().text, "KIV options path from environment variable:\n\nKIVORW  =  " +
                                      t.path("mine") +
                                      "\n\nError, this path does not exist.  Can not continue.");
  EXPECT_FALSE(fs::exists(t.path("mine"))) << "KIVORW is never created";

  env.kivorw = t.path("prefix/share/kiv/../kiv/");
  EXPECT_EQ(startDirectories(s(), env), -1);
  EXPECT_EQ(t.lastMessage().text,
            "KIV options path from environment variable:\n\nKIVORW  =  " + *env.kivorw +
                "\n\nError, not allowed to have KIV options path same as KIV install directory.  "
                "Can not continue.");

  fs::create_directories(t.path("mine"));
  env.kivorw = t.path("mine");
  t.clearMessages();
  ASSERT_EQ(startDirectories(s(), env), 0);
  EXPECT_EQ(s().dirs.options, t.path("mine"));
  EXPECT_FALSE(fs::exists(t.path("mine/kivoptions.misc.txt"))) << "KIVORW is used as it is";
  EXPECT_FALSE(fs::exists(t.path("home"))) << "no XDG directory is made";
  EXPECT_TRUE(t.messages().empty());
}

TEST_F(StartupTest, PersistentVariablesSurviveARestart) {
  ASSERT_EQ(startSession(s(), env), 0);
  varSet(s(), "ZTEST.KEPT", "value");
  varMakePersistent(s(), "ZTEST.KEPT");
  ASSERT_EQ(shutdownSession(s()), 0);
  EXPECT_TRUE(fs::exists(t.path("home/.config/kiv/") + kGlobalProfileName));

  test::EditorTest again;
  ASSERT_EQ(startSession(again.session(), env), 0);
  EXPECT_EQ(varGet(again.session(), "ZTEST.KEPT"), "value");
}

}  // namespace
}  // namespace kiv
