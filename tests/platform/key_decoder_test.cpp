#include "platform/key_decoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace kiv::platform {
namespace {

using namespace std::string_literals;

KeyEvent key(Key k, bool shift = false, bool ctrl = false, bool alt = false) {
  return KeyEvent{k, 0, shift, ctrl, alt};
}
KeyEvent chr(char32_t c, bool shift = false, bool ctrl = false, bool alt = false) {
  return KeyEvent{Key::Char, c, shift, ctrl, alt};
}

struct KeyCase {
  std::string bytes;
  KeyEvent want;
};

// Each input is one whole key: it must decode to the event and take every byte.
void expectKeys(const std::vector<KeyCase>& cases) {
  for (const auto& c : cases) {
    Decoded d = decodeInput(c.bytes, false);
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    ASSERT_EQ(d.status, DecodeStatus::Done);
    EXPECT_EQ(d.length, c.bytes.size());
    auto* got = std::get_if<KeyEvent>(&d.event);
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(keyText(*got), keyText(c.want));
    EXPECT_EQ(*got, c.want);
  }
}

TEST(KeyDecoder, FunctionKeysWithModifiersAsXtermSendsThem) {
  expectKeys({
      {"\x1bOP", key(Key::F1)},
      {"\x1bOS", key(Key::F4)},
      {"\x1b[1;2P", key(Key::F1, true)},
      {"\x1b[1;5S", key(Key::F4, false, true)},
      {"\x1b[1;3R", key(Key::F3, false, false, true)},
      {"\x1bO2Q", key(Key::F2, true)},
      {"\x1b[15~", key(Key::F5)},
      {"\x1b[15;2~", key(Key::F5, true)},
      {"\x1b[17;5~", key(Key::F6, false, true)},
      {"\x1b[21;3~", key(Key::F10, false, false, true)},
      {"\x1b[23~", key(Key::F11)},
      {"\x1b[24;6~", key(Key::F12, true, true)},
      {"\x1b[24;9~", key(Key::F12, false, false, true)},  // Meta counts as Alt
      {"\x1b[11~", key(Key::F1)},                         // vt220 / rxvt forms
      {"\x1b[11^", key(Key::F1, false, true)},
      {"\x1b[[E", key(Key::F5)},  // the Linux console
  });
}

TEST(KeyDecoder, ControlBytesAreCtrlLettersExceptTabEnterAndLineFeed) {
  expectKeys({
      {"\x13", chr(U's', false, true)},
      {"\x1a", chr(U'z', false, true)},
      {"\x01", chr(U'a', false, true)},
      {"\x08", chr(U'h', false, true)},
      {"\x00"s, chr(U' ', false, true)},
      {"\x1c", chr(U'\\', false, true)},
      {"\x1f", chr(U'_', false, true)},
      {"\x09", key(Key::Tab)},
      {"\x0d", key(Key::Enter)},
      {"\x0a", key(Key::CtrlJ)},
      {"\x7f", key(Key::Backspace)},
  });
}

TEST(KeyDecoder, EscapePrefixIsAlt) {
  expectKeys({
      {"\x1bx", chr(U'x', false, false, true)},
      {"\x1bX", chr(U'x', true, false, true)},
      {"\x1b"
       "1",
       chr(U'1', false, false, true)},
      {"\x1b\x13", chr(U's', false, true, true)},
      {"\x1b\x0d", key(Key::Enter, false, false, true)},
      {"\x1b\x7f", key(Key::Backspace, false, false, true)},
      {"\x1b\xc3\xa9", chr(U'é', false, false, true)},
  });
}

TEST(KeyDecoder, EditingKeysKeypadAndNewerKeyProtocols) {
  expectKeys({
      {"\x1b[A", key(Key::Up)},
      {"\x1bOB", key(Key::Down)},
      {"\x1b[1;5C", key(Key::Right, false, true)},
      {"\x1b[1;2D", key(Key::Left, true)},
      {"\x1b[H", key(Key::Home)},
      {"\x1b[4~", key(Key::End)},
      {"\x1b[1;5F", key(Key::End, false, true)},
      {"\x1b[2~", key(Key::Insert)},
      {"\x1b[3;5~", key(Key::Delete, false, true)},
      {"\x1b[5~", key(Key::PageUp)},
      {"\x1b[6;2~", key(Key::PageDown, true)},
      {"\x1b[Z", key(Key::BackTab)},
      {"\x1bOM", key(Key::KeypadEnter)},
      {"\x1bOk", key(Key::KeypadPlus)},
      {"\x1bOp", chr(U'0')},
      {"\x1b[97;6u", chr(U'a', true, true)},
      {"\x1b[13;5u", key(Key::Enter, false, true)},
      {"\x1b[9;2u", key(Key::BackTab)},
      {"\x1b[27;5;115~", chr(U's', false, true)},
      {"a", chr(U'a')},
      {"A", chr(U'A')},
      {"\xc3\xa9", chr(U'é')},
      {"\xe2\x82\xac", chr(U'€')},
  });
}

TEST(KeyDecoder, MouseReports) {
  struct MouseCase {
    std::string bytes;
    std::optional<MouseEvent> want;
  };
  const MouseCase cases[] = {
      {"\x1b[<0;10;5M", MouseEvent{4, 9, MouseButton::Left}},
      {"\x1b[<2;1;1M", MouseEvent{0, 0, MouseButton::Right}},
      {"\x1b[<1;3;2M", MouseEvent{1, 2, MouseButton::Middle}},
      {"\x1b[<64;7;8M", MouseEvent{7, 6, MouseButton::WheelUp}},
      {"\x1b[<69;7;8M", MouseEvent{7, 6, MouseButton::WheelDown}},  // with Shift
      {"\x1b[<16;10;5M", MouseEvent{4, 9, MouseButton::Left}},      // with Ctrl
      {"\x1b[M !!", MouseEvent{0, 0, MouseButton::Left}},           // X10
      {"\x1b[M\"+*", MouseEvent{9, 10, MouseButton::Right}},
      {"\x1b[<0;10;5m", std::nullopt},   // release
      {"\x1b[<32;10;5M", std::nullopt},  // motion
      {"\x1b[<0;0;5M", std::nullopt},    // no such cell
      {"\x1b[<;;M", std::nullopt},
      {"\x1b[M#!!", std::nullopt},  // X10 release
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    Decoded d = decodeInput(c.bytes, false);
    ASSERT_EQ(d.status, DecodeStatus::Done);
    EXPECT_EQ(d.length, c.bytes.size());
    if (c.want) {
      auto* got = std::get_if<MouseEvent>(&d.event);
      ASSERT_NE(got, nullptr);
      EXPECT_EQ(*got, *c.want);
    } else {
      EXPECT_TRUE(isNothing(d.event));
    }
  }
}

TEST(KeyDecoder, InputCutShortWaitsUnlessNothingMoreIsComing) {
  struct Case {
    std::string bytes;
    std::optional<KeyEvent> whenFinal;  // nullopt: consumed as nothing
  };
  const Case cases[] = {
      {"\x1b", key(Key::Escape)},
      {"\x1b[", chr(U'[', false, false, true)},
      {"\x1bO", chr(U'o', true, false, true)},
      {"\x1b[15;2", std::nullopt},
      {"\x1bO2", std::nullopt},
      {"\x1b[<0;10", std::nullopt},
      {"\x1b[M !", std::nullopt},
      {"\x1b[[", std::nullopt},
      {"\xc3", chr(U'Ã')},  // not UTF-8 after all: Latin-1
      {"\xe2\x82", chr(U'â')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    EXPECT_EQ(decodeInput(c.bytes, false).status, DecodeStatus::NeedMore);
    Decoded d = decodeInput(c.bytes, true);
    ASSERT_EQ(d.status, DecodeStatus::Done);
    if (c.whenFinal) {
      ASSERT_TRUE(std::holds_alternative<KeyEvent>(d.event));
      EXPECT_EQ(std::get<KeyEvent>(d.event), *c.whenFinal);
      EXPECT_GE(d.length, 1u);
    } else {
      EXPECT_TRUE(isNothing(d.event));
      EXPECT_EQ(d.length, c.bytes.size());
    }
  }
  EXPECT_EQ(decodeInput("", true).status, DecodeStatus::NeedMore);
}

TEST(KeyDecoder, UnknownAndBrokenSequencesAreSwallowedWithoutHarm) {
  struct Case {
    std::string bytes;
    std::size_t length;  // what the unknown part takes
  };
  const Case cases[] = {
      {"\x1b[99~", 5},   {"\x1b[?1;2c", 7},  // a device attributes answer
      {"\x1b[200~", 6},                      // bracketed paste start
      {"\x1b[1;5X", 6},  {"\x1bOZ", 3},     {"\x1b[[Z", 4}, {"\x1b[99999999999999999999999~", 26},
      {"\x1b[1\x01", 3},  // a control byte breaks the sequence off
      {"\x80", 1},        // a lone C1 byte
      {"\xff", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    Decoded d = decodeInput(c.bytes, false);
    ASSERT_EQ(d.status, DecodeStatus::Done);
    EXPECT_EQ(d.length, c.length);
    if (c.bytes != "\xff") {
      EXPECT_TRUE(isNothing(d.event));
    }
  }
  // A run of parameter bytes with no end is given up rather than waited for.
  std::string endless = "\x1b[" + std::string(100, ';');
  Decoded d = decodeInput(endless, false);
  EXPECT_EQ(d.status, DecodeStatus::Done);
  EXPECT_EQ(d.length, endless.size());
}

TEST(KeyDecoder, OnlyTheFirstEventIsTakenFromARun) {
  std::string run = "\x1b[A\x1b\x1b[15;5~x\x1b";
  std::vector<std::string> seen;
  while (!run.empty()) {
    Decoded d = decodeInput(run, true);
    ASSERT_EQ(d.status, DecodeStatus::Done);
    seen.push_back(keyText(std::get<KeyEvent>(d.event)));
    run.erase(0, d.length);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"Up", "Escape", "Ctrl+F5", "x", "Escape"}));
}

// Random bytes, mostly escape-sequence material: every step takes at least
// one byte and no more than there is, and NeedMore only comes without `final`.
TEST(KeyDecoder, RandomInputAlwaysMakesProgress) {
  std::mt19937 rng(12345);
  const std::string alphabet = "\x1b[O;<~0123456789MmPAZu^\x7f\xc3\xa9\xe2\x82 a\x01";
  for (int round = 0; round < 20000; ++round) {
    std::string input;
    int size = 1 + static_cast<int>(rng() % 24);
    for (int i = 0; i < size; ++i) {
      input.push_back(rng() % 4 == 0 ? static_cast<char>(rng() % 256)
                                     : alphabet[rng() % alphabet.size()]);
    }
    bool final = round % 2 == 0;
    while (!input.empty()) {
      Decoded d = decodeInput(input, final);
      if (d.status == DecodeStatus::NeedMore) {
        ASSERT_FALSE(final) << testing::PrintToString(input);
        break;
      }
      ASSERT_GE(d.length, 1u);
      ASSERT_LE(d.length, input.size());
      input.erase(0, d.length);
    }
  }
}

TEST(KeyDecoder, KeyTextNamesKeysAsPeopleDo) {
  EXPECT_EQ(keyText(key(Key::F5, true)), "Shift+F5");
  EXPECT_EQ(keyText(chr(U's', false, true)), "Ctrl+S");
  EXPECT_EQ(keyText(chr(U'x', true, false, true)), "Alt+Shift+X");
  EXPECT_EQ(keyText(key(Key::PageDown, false, true, true)), "Ctrl+Alt+PageDown");
  EXPECT_EQ(keyText(chr(U' ')), "Space");
  EXPECT_EQ(keyText(chr(U'é')), "é");
  EXPECT_EQ(keyText(chr(U'q')), "q");
}

}  // namespace
}  // namespace kiv::platform
