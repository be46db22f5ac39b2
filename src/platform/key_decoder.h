// The decoding of what a terminal sends into events: plain characters (UTF-8,
// with a Latin-1 fallback for bytes that are not), control bytes as
// Ctrl+letter, ESC x as Alt+x, the xterm sequences for cursor, editing and
// function keys with their modifiers, and mouse reports (SGR and X10).
// Pure: works on byte strings, knows nothing of the terminal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/events.h"

namespace kiv::platform {

enum class DecodeStatus : std::uint8_t {
  Done,      // `event` is the first event of the input, `length` bytes long
  NeedMore,  // the input ends inside a sequence; wait for more bytes
};

struct Decoded {
  DecodeStatus status = DecodeStatus::Done;
  std::size_t length = 0;  // bytes taken; 0 with NeedMore
  // KeyEvent{Key::None} for input that means nothing to the editor: an
  // unknown sequence, a mouse release or motion. It is still consumed.
  Event event = KeyEvent{};
};

// Decodes the event at the front of `input` (empty input gives NeedMore).
// With `final` set no more bytes are coming soon: a prefix is then resolved
// (a lone ESC is the Escape key, ESC [ is Alt+[) instead of NeedMore.
Decoded decodeInput(std::string_view input, bool final);

// True when the event is a key that means nothing (Key::None).
bool isNothing(const Event& event);

// The key as a person names it: "Shift+F5", "Ctrl+S", "Alt+Shift+X", "a",
// "Space", "PageDown". For logs and test programs.
std::string keyText(const KeyEvent& key);

}  // namespace kiv::platform
