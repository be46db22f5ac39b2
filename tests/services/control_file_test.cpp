#include "services/control_file.h"

#include <array>

#include "services/var_pool.h"
#include "services_fixture.h"

namespace kiv::test {
namespace {

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
  EXPECT_EQ(last().text,
            "PObjRead: control file 'KivPrntStyle.Std.txt', keyword 'Big' has value which exceeds "
            "max length allowed.");
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
  EXPECT_EQ(last().text, "PObjRead: internal error, null value pointer");
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
  EXPECT_EQ(last().text, "PObjWrite: unable to open control file 'KivPrntStyle.Std.txt' for write.");
}

}  // namespace
}  // namespace kiv::test
