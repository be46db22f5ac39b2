#include "core/load_caps.h"

#include "core/file_load.h"
#include "core/file_profile.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::string_view kCapsOn = "All alpha characters are upcase, CAPS set ON.";

enum class Letter { None, Upper, Lower };

Letter asciiLetter(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return Letter::Upper;
  if (c >= 'a' && c <= 'z') return Letter::Lower;
  return Letter::None;
}

// EBCDIC letters: a-i 81-89, j-r 91-99, s-z A2-A9; upper case 40 higher.
Letter ebcdicLetter(unsigned char c) {
  auto in = [c](unsigned lo, unsigned hi) { return c >= lo && c <= hi; };
  if (in(0x81, 0x89) || in(0x91, 0x99) || in(0xA2, 0xA9)) return Letter::Lower;
  if (in(0xC1, 0xC9) || in(0xD1, 0xD9) || in(0xE2, 0xE9)) return Letter::Upper;
  return Letter::None;
}

}  // namespace

bool allLettersUpperCase(const Task& task) {
  Letter (*kind)(unsigned char) = ebcdicFile(task) ? ebcdicLetter : asciiLetter;
  bool upper = false;
  for (const Line* line = task.lines.first; line; line = line->next) {
    if (!line->is(LineKind::Text)) continue;
    for (char c : line->text()) {
      Letter l = kind(static_cast<unsigned char>(c));
      if (l == Letter::Lower) return false;
      upper = upper || l == Letter::Upper;
    }
  }
  return upper;
}

void applyCapsMode(Task& task) {
  FileProfile& p = *task.profile;
  task.capsOn = p.capsMode == CapsMode::On;
  if (p.capsMode == CapsMode::Auto) {
    loadAll(task);
    if (allLettersUpperCase(task)) {
      task.capsOn = true;
      message(task.session, "", kCapsOn);
    }
  }
  p.capsInForce = task.capsOn;
}

}  // namespace kiv
