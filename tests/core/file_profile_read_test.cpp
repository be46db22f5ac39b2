// Reading file profiles: the key rules, the stop at a bad value, the fixes
// after a complete read, the fallbacks and the tab-stop list.
#include <gtest/gtest.h>

#include "core/profile_read.h"
#include "services/var_pool.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

class ProfileReadTest : public ::testing::Test {
 protected:
  ProfileReadTest() { varSet(t.session(), "ZPATH.FILEPROFILES", t.dir() + "/profiles"); }
  void profile(std::string_view name, std::string_view text) {
    t.file("profiles/kivfileprof." + std::string(name) + ".txt", text);
  }
  std::unique_ptr<FileProfile> read(std::string_view text) {
    profile("test", text);
    t.clearMessages();
    return readProfile(t.session(), "test");
  }
  std::vector<int> stops(const FileProfile& p) { return {p.stops().begin(), p.stops().end()}; }

  test::EditorTest t;
};

TEST_F(ProfileReadTest, ABadValueStopsTheReadingWithoutTheFixes) {
  auto p = read("Recfm=FIXED\nMaxRecLen=7\nCapsMode=ON\nTabKeyStopsAt=4\n");
  EXPECT_EQ(t.lastMessage().text, "Invalid file profile keyword or value:  MaxRecLen=7");
  EXPECT_EQ(p->recfm, 'F');               // read before the bad line
  EXPECT_EQ(p->capsMode, CapsMode::Off);  // not read
  EXPECT_EQ(p->tabStopCount, 0);          // no fixes after an incomplete read
  EXPECT_EQ(p->newFileRecordTerminator, "");
  EXPECT_EQ(p->longRecordOption, "Notify");  // the always-applied defaults
  EXPECT_EQ(p->trailingBlanksOption, "StripBlanksOnWrite");

  const char* bad[] = {"MaxRecLen=128001",
                       "Bounds=10,5",
                       "Bounds=5",
                       "Bounds=0,5",
                       "CapsMode=on",
                       "NewFileRecordTerminator=",
                       "NumberAuto=FULL",
                       "NumberColEnd=0",
                       "NumberIncrement=10001",
                       "NumberStepdownIncrement=1001",
                       "NumberStart=0",
                       "NumberType=COBOL2",
                       "Offset=128000",
                       "Offset=-1",
                       "PromptKeystrokeLimit=-1",
                       "Recfm=FIX",
                       "TabsIn=10",
                       "BOOLlock=true",
                       "RDPAddToReclen=99999999999"};
  for (const char* line : bad) {
    SCOPED_TRACE(line);
    p = read(std::string(line) + "\nBOOLruler=TRUE\n");
    EXPECT_EQ(t.lastMessage().text, "Invalid file profile keyword or value:  " + std::string(line));
    EXPECT_FALSE(p->ruler);
  }
}

TEST_F(ProfileReadTest, ValuesAtTheirLimitsAndLenientKeys) {
  auto p = read(
      "// comment\r\n\n   Imacro = =  go  \r\nmaxreclen=80\nUnknown=1\nMaxRecLen=8\n"
      "Charset=UTF8\nCharsetDisplay=EBCDIC\nMaskLine='a b 'tail\nNumberType=other\n"
      "NumberIncrement=10000\nNumberStepdownIncrement=1000\nRDPAddToReclen=-5\nRecfm=rdp\n"
      "Bounds=5 6\nTabsIn=9\nNewFileRecordTerminator=LF\nBOOLeofread=TRUE\n");
  EXPECT_EQ(t.messages().size(), 0u);
  EXPECT_EQ(p->imacro, "go  ");  // trailing blanks kept
  EXPECT_EQ(p->maxRecLen, 8);    // the lower-case key was ignored
  EXPECT_EQ(p->charset, Charset::AsciiIso8859);
  EXPECT_EQ(p->charsetDisplay, Charset::AsciiIso8859);
  EXPECT_EQ(p->maskLine, "a b ");
  EXPECT_EQ(p->numberType, NumberType::Other);
  EXPECT_EQ(p->numberIncrement + p->numberStepdownIncrement, 11000);
  EXPECT_EQ(p->rdpAddToReclen, -5);
  EXPECT_EQ(p->recfm, 'R');
  EXPECT_EQ(std::make_pair(p->boundLeft, p->boundRight), std::make_pair(5, 6));
  EXPECT_EQ(p->tabsIn, 7);  // cut to MaxRecLen - 1
  EXPECT_EQ(p->newFileRecordTerminator, "LF");
  EXPECT_TRUE(p->eofRead);

  p = read("MaxRecLen=8\nMaxRecLen=x\n");  // 0: not a number is a bad number
  EXPECT_EQ(t.lastMessage().text, "Invalid file profile keyword or value:  MaxRecLen=x");
  EXPECT_EQ(std::make_pair(p->maxRecLen, p->boundRight), std::make_pair(8, 8));
  p = read("MaskLine=xyz\nImacro=" + std::string(600, 'm') + "\nBOOLruler=TRUE\n");
  EXPECT_EQ(p->maskLine, "yz");
  EXPECT_EQ(p->imacro.size(), 505u);  // a line is 512 characters; the rest reads as a line
  EXPECT_TRUE(p->ruler);
  EXPECT_EQ(p->maxRecLen, 64000);  // never given: the built-in value
}

// Expected: increment, start, number columns, offset, NumberAuto.
TEST_F(ProfileReadTest, NumberTypesGetTheirDefaults) {
  struct Case {
    const char* text;
    std::vector<int> expected;
  } cases[] = {
      {"NumberType=STANDARD\nOffset=4", {100, 100, 73, 80, 4, 1}},
      {"NumberType=cob\nNumberIncrement=10\nNumberColStart=50", {10, 10, 1, 6, 0, 1}},
      {"NumberType=COB+STD\nNumberStart=5", {100, 5, 1, 6, 0, 1}},
      {"NumberType=NONE\nNumberStart=5\nNumberColEnd=9\nOffset=4", {0, 0, 0, 0, 0, 0}},
      {"NumberType=HEXOFFSET\nNumberIncrement=5\nNumberColStart=9\nOffset=4", {0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    auto p = read(std::string(c.text) + "\nNumberAuto=Full\n");
    EXPECT_EQ(std::vector<int>({p->numberIncrement, p->numberStart, p->numberColStart,
                                p->numberColEnd, p->offset, static_cast<int>(p->numberAuto)}),
              c.expected);
  }
}

TEST_F(ProfileReadTest, ColumnsAreFittedToMaxRecLen) {
  auto p = read("MaxRecLen=80\nBounds=100,200\n");
  EXPECT_EQ(std::make_pair(p->boundLeft, p->boundRight), std::make_pair(1, 80));
  p = read("Bounds=2,5\nMaxRecLen=70\n");  // MaxRecLen sets the right bound too
  EXPECT_EQ(std::make_pair(p->boundLeft, p->boundRight), std::make_pair(2, 70));
  p = read("MaxRecLen=80\nNumberType=OTHER\nOffset=10\nBounds=5,60\n");
  EXPECT_EQ(std::make_pair(p->boundLeft, p->boundRight), std::make_pair(11, 60));
  p = read("MaxRecLen=8\nNumberType=OTHER\nOffset=200\nTabsOut=9\n");
  EXPECT_EQ(std::make_pair(p->offset, p->tabsOut), std::make_pair(7, 7));
  EXPECT_EQ(std::make_pair(p->boundLeft, p->boundRight), std::make_pair(8, 8));
  EXPECT_EQ(p->newFileRecordTerminator, "CR+LF");
}

TEST_F(ProfileReadTest, MissingFilesFallBackToDefaultThenToTheBuiltInProfile) {
  auto p = readProfile(t.session(), "cob");
  EXPECT_EQ(t.messages().size(), 0u);
  EXPECT_EQ(p->name, "COB");
  EXPECT_STREQ(p->tag, "FILEPROF");
  EXPECT_EQ(std::make_pair(p->recfm, p->maxRecLen), std::make_pair('V', 64000));
  EXPECT_EQ(std::make_pair(p->boundLeft, p->boundRight), std::make_pair(1, 255));
  EXPECT_TRUE(p->backup);
  EXPECT_EQ(p->tabsIn, 2);

  profile("default", "MaxRecLen=100\nCharset=ASCII-IBMPC\n");
  EXPECT_EQ(readProfile(t.session(), "cob")->maxRecLen, 100);
  EXPECT_TRUE(t.session().lastProfileIbmPc);
  profile("cob", "MaxRecLen=80\n");
  EXPECT_EQ(readProfile(t.session(), "Cob")->maxRecLen, 80);
  EXPECT_FALSE(t.session().lastProfileIbmPc);
  EXPECT_EQ(readProfile(t.session(), "../cob")->maxRecLen, 100);  // never outside the path
}

TEST_F(ProfileReadTest, TabStopsWithAutoRepeat) {
  auto p = read("MaxRecLen=40\nTabKeyStopsAt=10,20,A5\n");
  EXPECT_EQ(stops(*p), (std::vector<int>{10, 20, 25, 30, 35}));
  EXPECT_TRUE(p->tabStopsAutoRepeat);
  struct Case {
    const char* text;
    std::vector<int> stops;
  } cases[] = {{"0", {}}, {" 4, 8 ,12,", {4, 8, 12}}, {"a8", {8, 16, 24, 32}}, {"39,A2", {39}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(stops(*read(std::string("MaxRecLen=40\nTabs=") + c.text + "\n")), c.stops);
    EXPECT_EQ(t.messages().size(), 0u);
  }
  p = read("MaxRecLen=128000\nTabKeyStopsAt=A2\n");
  EXPECT_EQ(std::make_pair(p->tabStopCount, p->tabStops[62]), std::make_pair(63, 126));
}

TEST_F(ProfileReadTest, TabStopErrorsKeepTheStopsParsedSoFar) {
  struct Case {
    const char* text;
    std::vector<int> stops;
    const char* error;
  } cases[] = {
      {"10,20,15", {10, 20}, "TAB stop not in ascending order"},
      {"10,41", {10}, "TAB stop greater MaxRecLen"},
      {"99999999999999999999999", {}, "TAB stop greater MaxRecLen"},
      {"5,A1", {5}, "'An' repeat interval must be greater than 1"},
      {"5,A5,30", {5}, "'An' must be last element"},
      {"5 X7", {5}, "Uknown TAB stop type  X"},
      {"-5", {}, "Uknown TAB stop type  -"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    auto p = read(std::string("MaxRecLen=40\nTabKeyStopsAt=") + c.text + "\n");
    EXPECT_EQ(stops(*p), c.stops);
    EXPECT_FALSE(p->tabStopsAutoRepeat);
    EXPECT_EQ(t.lastMessage().text,
              "File Profile:  TEST\nField:  TabKeyStopsAt\nError:  " + std::string(c.error) +
                  "\n\nTo remedy, see OPTIONS, item FILE PROFILES");
  }
  std::string many;
  for (int i = 1; i <= 64; ++i) many += std::to_string(i) + ",";
  EXPECT_EQ(read("MaxRecLen=100\nTabKeyStopsAt=" + many + "\n")->tabStopCount, 63);
  EXPECT_NE(t.lastMessage().text.find("More than 63 TAB stops"), std::string::npos);
}

}  // namespace
}  // namespace kiv
