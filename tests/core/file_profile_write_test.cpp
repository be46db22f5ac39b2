// Writing file profiles: the order and choice of lines, the lock and name
// rules, the mask-line quote, round trips and the shipped profiles.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/profile_read.h"
#include "core/profile_write.h"
#include "services/var_pool.h"
#include "support/editor_test.h"
#include "support/unwritable_dir.h"

namespace kiv {
namespace {

class ProfileWriteTest : public ::testing::Test {
 protected:
  ProfileWriteTest() {
    std::filesystem::create_directories(t.dir() + "/profiles");
    varSet(t.session(), "ZPATH.FILEPROFILES", t.dir() + "/profiles;" + t.dir() + "/second");
    p.name = "COB";
    p.recfm = 'V';
    p.maxRecLen = 200;
    p.offset = 2;
    p.boundLeft = 7;
    p.boundRight = 72;
    p.tabKeyStopsAt = "10,A5";
    p.promptKeystrokeLimit = 500;
    p.charset = p.charsetDisplay = Charset::AsciiIbmPc;
    p.numberType = NumberType::Other;
    p.numberAuto = NumberAuto::Incr;
    p.numberStart = p.numberIncrement = 10;
    p.numberColStart = 73;
    p.capsMode = CapsMode::Auto;
    p.color = "COBOL";
    p.templateName = "tpl";
    p.maskLine = "  * mask";
    p.backup = p.hexView = p.eofWrite = p.newFileUtf16 = true;
    p.longRecordOption = "Fold";
    p.trailingBlanksOption = "LeaveBlanksAsIs";
    p.tabsOut = 8;
  }
  std::string written() { return t.read("profiles/kivfileprof.cob.txt"); }

  test::EditorTest t;
  FileProfile p;
};

TEST_F(ProfileWriteTest, LinesComeInTheirOrderAndReadBack) {
  ASSERT_EQ(writeProfile(t.session(), p, true), 0);
  EXPECT_EQ(written(),
            "Recfm=VARIABLE\nMaxRecLen=200\nOffset=2\nBounds=7,72\nTabKeyStopsAt=10,A5\n"
            "PromptKeystrokeLimit=500\nCharsetFile=ASCII-IBMPC\nCharsetDisplay=ASCII-IBMPC\n"
            "NumberType=OTHER\nNumberAuto=Incr\nNumberStart=10\nNumberIncrement=10\n"
            "NumberColStart=73\nCapsMode=AUTO\nColor=COBOL\nTemplate=tpl\nMaskLine='  * mask'\n"
            "BOOLbackup=TRUE\nBOOLruler=FALSE\nBOOLhexview=TRUE\nBOOLlock=FALSE\n"
            "NewFileRecordTerminator=CR+LF\nLongRecordOption=Fold\nMaxRecordOption=\n"
            "TrailingBlanksOption=LeaveBlanksAsIs\nTabsIn=0\nTabsOut=8\nBOOLeofread=FALSE\n"
            "BOOLeofwrite=TRUE\nBOOLreadeorstrict=FALSE\nBOOLnewfileUTF16=TRUE\n");
  EXPECT_FALSE(t.exists("second/kivfileprof.cob.txt"));

  auto back = readProfile(t.session(), "cob");
  EXPECT_EQ(t.messages().size(), 0u);
  EXPECT_EQ(back->tabStopCount, 38);  // 10, then every 5 up to 195
  EXPECT_EQ(back->maxRecordOption, "Notify");
  back->maxRecordOption.clear();
  EXPECT_EQ(profileFileText(t.session(), *back), written());
}

TEST_F(ProfileWriteTest, FixedAndRdpProfilesWriteOnlyTheirKeys) {
  p.recfm = 'F';
  p.numberType = NumberType::None;
  p.maskLine = "it's";
  ASSERT_EQ(writeProfile(t.session(), p, true), 0);
  EXPECT_EQ(t.lastMessage().id, "FILEPROF10");
  EXPECT_EQ(t.lastMessage().text, "Can not write mask line with embedded quote.");
  std::string text = written();
  for (const char* key : {"NewFileRecordTerminator", "TabsIn", "BOOLeofread", "RDPAddToReclen",
                          "NumberAuto", "NumberStart", "MaskLine"})
    EXPECT_EQ(text.find(key), std::string::npos) << key;
  EXPECT_NE(text.find("NumberType=None\nCapsMode=AUTO\n"), std::string::npos);
  EXPECT_NE(text.find("Template=tpl\nBOOLbackup=TRUE\n"), std::string::npos);
  auto back = readProfile(t.session(), "cob");
  EXPECT_EQ(back->newFileRecordTerminator + back->longRecordOption, "CR+LFNotify");
  EXPECT_EQ(back->tabsOut + back->offset + back->newFileUtf16, 0);

  p.recfm = 'R';
  p.rdpAddToReclen = -4;
  p.rdpReclenByteOrder = "Intel";
  ASSERT_EQ(writeProfile(t.session(), p, true), 0);
  EXPECT_NE(written().find("\nBOOLlock=FALSE\nRDPAddToReclen=-4\nRDPReclenByteOrder=Intel\n"
                           "RDPStaticBefore=\nRDPStaticAfter=\n"),
            std::string::npos);
  EXPECT_EQ(readProfile(t.session(), "cob")->rdpAddToReclen, -4);
}

TEST_F(ProfileWriteTest, LockedNamelessAndUnwritableProfiles) {
  p.locked = true;
  EXPECT_EQ(writeProfile(t.session(), p, true), 0);
  EXPECT_FALSE(t.exists("profiles/kivfileprof.cob.txt"));
  EXPECT_EQ(writeProfile(t.session(), p, false), 0);
  std::string before = written();
  EXPECT_NE(before.find("BOOLlock=TRUE\n"), std::string::npos);

  // A directory where nothing can be made: the write fails, the old file stays.
  p.maxRecLen = 300;
  {
    test::UnwritableDir locked(t.dir() + "/profiles");
    if (locked.binds()) {
      EXPECT_EQ(writeProfile(t.session(), p, false), -1);
    }
  }
  EXPECT_EQ(written(), before);
  p.name = "a/b";
  EXPECT_EQ(writeProfile(t.session(), p, false), -1);
  p.name.clear();
  EXPECT_EQ(writeProfile(t.session(), p, false), 0);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(t.dir() + "/profiles"), {}), 1);
  varSet(t.session(), "ZPATH.FILEPROFILES", "");
  p.name = "COB";
  EXPECT_EQ(writeProfile(t.session(), p, false), -1);
}

// The shipped profiles read without a message, are in the writer's own
// format, and hold the everyday settings for Linux text files.
TEST_F(ProfileWriteTest, ShippedProfilesAreInTheWritersFormat) {
  std::string dir = t.session().dirs.install + "/Profiles";
  varSet(t.session(), "ZPATH.FILEPROFILES", dir);
  for (const char* name : {"default", "txt", "notype"}) {
    SCOPED_TRACE(name);
    auto shipped = readProfile(t.session(), name);
    EXPECT_EQ(t.messages().size(), 0u);
    EXPECT_EQ(std::make_pair(shipped->recfm, shipped->maxRecLen), std::make_pair('V', 32000));
    EXPECT_EQ(shipped->newFileRecordTerminator, "LF");
    EXPECT_EQ(profileFileText(t.session(), *shipped),
              t.read(dir + "/kivfileprof." + std::string(name) + ".txt"));
  }
}

}  // namespace
}  // namespace kiv
