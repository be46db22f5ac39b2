// What the platform delivers to the program: keys with their modifiers,
// mouse clicks, size changes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <variant>

namespace kiv::platform {

enum class Key : std::uint8_t {
  None,
  Char,  // a printable character in `ch`
  F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
  Enter,        // the Enter key (Ctrl+M)
  KeypadEnter,
  CtrlJ,        // the line feed: Ctrl+J
  Tab,
  BackTab,
  Backspace,
  Delete,
  Insert,
  Home,
  End,
  PageUp,
  PageDown,
  Up,
  Down,
  Left,
  Right,
  Escape,
  KeypadPlus,
};

struct KeyEvent {
  Key key = Key::None;
  char32_t ch = 0;  // for Key::Char; with ctrl/alt the letter itself ('a'..'z' lower case)
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool operator==(const KeyEvent&) const = default;
};

enum class MouseButton : std::uint8_t { Left, Middle, Right, WheelUp, WheelDown };

struct MouseEvent {
  int row = 0;  // 0-based cell
  int col = 0;
  MouseButton button = MouseButton::Left;
  bool doubleClick = false;
  bool drag = false;  // moved with the button held
  bool ctrl = false;
  bool operator==(const MouseEvent&) const = default;
};

struct ResizeEvent {
  int rows = 0;
  int cols = 0;
  bool operator==(const ResizeEvent&) const = default;
};

// The input ended (terminal closed, script exhausted).
struct QuitEvent {
  bool operator==(const QuitEvent&) const = default;
};

using Event = std::variant<KeyEvent, MouseEvent, ResizeEvent, QuitEvent>;

// Removes the keys and mouse events from a queue (resizes and the end of
// input stay): input that arrived before a message box opened was meant for
// the screen under it, and must not answer the box.
inline void dropTypeAhead(std::deque<Event>& events) {
  std::erase_if(events, [](const Event& e) {
    return std::holds_alternative<KeyEvent>(e) || std::holds_alternative<MouseEvent>(e);
  });
}

// Removes the first Escape key from a queue of events; true when there was
// one. Other events stay queued in order.
inline bool takeEscape(std::deque<Event>& events) {
  auto it = std::find_if(events.begin(), events.end(), [](const Event& e) {
    auto* key = std::get_if<KeyEvent>(&e);
    return key != nullptr && *key == KeyEvent{Key::Escape};
  });
  if (it == events.end()) return false;
  events.erase(it);
  return true;
}

enum class CaretShape : std::uint8_t { Block, HorizontalBar, VerticalBar };

}  // namespace kiv::platform
