// The key decoder. Sequences and the events they give are the table in
// key_sequences.txt (its head gives the notation); what a table line cannot
// hold (a long run, generated input, the names of keys) is here.
#include "platform/key_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include "platform/utf8.h"

namespace kiv::platform {
namespace {

constexpr const char* kButtons[] = {"Left", "Middle", "Right", "WheelUp", "WheelDown"};

// The bytes a word of the table stands for: quotes taken off, escapes
// resolved; nothing for a broken escape.
std::optional<std::string> bytesOf(std::string_view word) {
  if (word.size() >= 2 && word.front() == '"') word = word.substr(1, word.size() - 2);
  constexpr std::string_view kNames = "ernt0\\\"'";
  constexpr std::string_view kBytes("\x1b\r\n\t\0\\\"'", 8);
  std::string out;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (word[i] != '\\') {
      out += word[i];
    } else if (++i == word.size()) {
      return std::nullopt;
    } else if (word[i] == 'x') {
      std::string hex(word.substr(i + 1, 2));
      if (hex.size() != 2 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return std::nullopt;
      out += static_cast<char>(std::stoi(hex, nullptr, 16));
      i += 2;
    } else if (std::size_t at = kNames.find(word[i]); at != std::string_view::npos) {
      out += kBytes[at];
    } else {
      return std::nullopt;
    }
  }
  return out;
}

// The words of `text` joined by one blank, up to a comment.
std::string normalized(const std::string& text) {
  std::istringstream in(text);
  std::string out;
  for (std::string word; in >> word && word[0] != '#';) out += (out.empty() ? "" : " ") + word;
  return out;
}

// A result in the table's notation; "takes" only where it is not all the
// bytes (none for NeedMore).
std::string describe(const Decoded& d, std::size_t size) {
  std::string text = "NeedMore";
  if (d.status == DecodeStatus::NeedMore) {
    size = 0;
  } else if (auto* m = std::get_if<MouseEvent>(&d.event)) {
    text = std::string("Mouse ") + kButtons[static_cast<int>(m->button)] + " row " +
           std::to_string(m->row) + " col " + std::to_string(m->col) +
           (m->doubleClick ? " double" : "") + (m->drag ? " drag" : "") + (m->ctrl ? " ctrl" : "");
  } else if (auto* k = std::get_if<KeyEvent>(&d.event)) {
    if (k->key == Key::Char) {
      text = k->ch == U'\\' || k->ch == U'\'' ? "Char '\\" : "Char '";
      appendUtf8(text, k->ch);
      text += "'";
    } else {
      text = k->key == Key::None ? "Nothing" : keyText(KeyEvent{k->key});
      if (k->ch != 0) text += " ch " + std::to_string(k->ch);  // a key carries no character
    }
    text +=
        std::string(k->shift ? " shift" : "") + (k->ctrl ? " ctrl" : "") + (k->alt ? " alt" : "");
  } else {
    text = "another event";
  }
  if (d.length != size) text += " takes " + std::to_string(d.length);
  return text;
}

// Every case of key_sequences.txt, decoded without and with `final`.
TEST(KeyDecoder, SequencesOfTheTable) {
  std::ifstream in(KIV_KEY_SEQUENCES);
  ASSERT_TRUE(in) << KIV_KEY_SEQUENCES;
  int number = 0;
  int cases = 0;
  for (std::string line; std::getline(in, line);) {
    std::string where = std::string(KIV_KEY_SEQUENCES) + ":" + std::to_string(++number) + ": ";
    std::size_t from = line.find_first_not_of(" \t");
    if (from == std::string::npos || line[from] == '#') continue;
    std::size_t to = from + 1;
    if (line[from] == '"') {
      while (to < line.size() && line[to] != '"') to += line[to] == '\\' ? 2 : 1;
      ++to;
    } else {
      to = std::min(line.find_first_of(" \t", from), line.size());
    }
    std::string word = line.substr(from, to - from);
    std::string want = normalized(line.substr(std::min(to, line.size())));
    std::string wantFinal = want;
    if (std::size_t bar = want.find(" | "); bar != std::string::npos) {
      wantFinal = want.substr(bar + 3);
      want.resize(bar);
    }
    std::optional<std::string> bytes = bytesOf(word);
    if (!bytes) {
      ADD_FAILURE() << where << "a broken escape in " << word;
      continue;
    }
    ++cases;
    EXPECT_EQ(describe(decodeInput(*bytes, false), bytes->size()), want) << where << word;
    EXPECT_EQ(describe(decodeInput(*bytes, true), bytes->size()), wantFinal)
        << where << word << " (final)";
  }
  EXPECT_GT(cases, 0);
}

// A run of parameter bytes with no end is given up rather than waited for.
TEST(KeyDecoder, AnEndlessSequenceIsDropped) {
  std::string endless = "\x1b[" + std::string(100, ';');
  Decoded d = decodeInput(endless, false);
  EXPECT_EQ(d.status, DecodeStatus::Done);
  EXPECT_EQ(d.length, endless.size());
  EXPECT_TRUE(isNothing(d.event));
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
  EXPECT_EQ(keyText(KeyEvent{Key::F5, 0, true}), "Shift+F5");
  EXPECT_EQ(keyText(KeyEvent{Key::Char, U's', false, true}), "Ctrl+S");
  EXPECT_EQ(keyText(KeyEvent{Key::Char, U'x', true, false, true}), "Alt+Shift+X");
  EXPECT_EQ(keyText(KeyEvent{Key::PageDown, 0, false, true, true}), "Ctrl+Alt+PageDown");
  EXPECT_EQ(keyText(KeyEvent{Key::Char, U' '}), "Space");
  EXPECT_EQ(keyText(KeyEvent{Key::Char, U'é'}), "é");
  EXPECT_EQ(keyText(KeyEvent{Key::Char, U'q'}), "q");
}

}  // namespace
}  // namespace kiv::platform
