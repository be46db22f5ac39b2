#include "screen/key_router.h"

#include <cctype>
#include <string>

#include "core/char_editing.h"
#include "core/session.h"
#include "core/task.h"
#include "platform/utf8.h"
#include "screen/cursor_moves.h"
#include "screen/edit_panel.h"
#include "screen/field_edit.h"
#include "screen/key_selection.h"
#include "screen/screen_state.h"
#include "screen/scroll.h"
#include "services/format.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

using platform::Key;
using platform::KeyEvent;

constexpr std::string_view kNoPfMapping =
    "F%d  has no mapping value.\n\nInvoke OPTIONS, item KEYS, to assign a mapping value.";
constexpr std::string_view kNoKeyMapping =
    "%s  has no mapping value.\n\nInvoke OPTIONS, item KEYS, to assign a mapping value.";

// Runs a command the user asked for by key or click; the panel shows the
// outcome.
void runUserCommand(Session& s, std::string_view command) {
  s.executeCommand(command);
  if (EditPanel* p = currentEditPanel(s)) p->refreshData();
}

void functionKey(Session& s, const KeyEvent& k) {
  int n = static_cast<int>(k.key) - static_cast<int>(Key::F1) + 1;
  if (k.alt)
    n += 36;
  else if (k.ctrl)
    n += 24;
  else if (k.shift)
    n += 12;
  std::string command = varGet(s, format("ZPF%02d.MAP", n));
  if (command.empty()) return messagef(s, "DLM95", kNoPfMapping, n);
  runUserCommand(s, command);
}

// Punctuation keys by the names the key-map files give them.
constexpr std::pair<char32_t, std::string_view> kKeyNames[] = {
    {U'\'', "APOSTROPHE"}, {U'[', "BRACKETLEFT"}, {U']', "BRACKETRIGHT"}, {U',', "COMMA"},
    {U'=', "EQUAL"},       {U'-', "HYPHEN"},      {U'.', "PERIOD"},       {U'`', "QUOTESINGLE"},
    {U';', "SEMICOLON"},   {U'/', "SLASH"},       {U'\\', "SLASHBACK"},
};

// The key's part of its variable name: a letter or digit in upper case, a
// punctuation name, DEL or END; empty for a key that has none.
std::string keyName(const KeyEvent& k) {
  if (k.key == Key::Delete) return "DEL";
  if (k.key == Key::End) return "END";
  if (k.ch < 0x80 && std::isalnum(static_cast<int>(k.ch)))
    return std::string(1, static_cast<char>(std::toupper(static_cast<int>(k.ch))));
  for (auto [c, name] : kKeyNames)
    if (c == k.ch) return std::string(name);
  return {};
}

// Ctrl, Alt and their Shift forms with a key: ZCTRL.S, ZALT.F, ZALT.COMMA, ...
void comboKey(Session& s, const KeyEvent& k) {
  std::string group = k.ctrl ? (k.shift ? "CTRLSHIFT" : "CTRL") : (k.shift ? "ALTSHIFT" : "ALT");
  std::string key = keyName(k);
  std::string command = key.empty() ? std::string() : varGet(s, "Z" + group + "." + key);
  if (command.empty()) {
    if (key.empty()) platform::appendUtf8(key, k.ch);
    return messagef(s, "DLM96", kNoKeyMapping, group + "+" + key);
  }
  if (command.starts_with("RESERVED")) {
    return messagef(s, "", "%s+%s is kept for the menu bar, which this screen does not have.",
                    group, key);
  }
  runUserCommand(s, command);
}

// A typed character: into a field, or the data (which decides by the
// file's character set what it takes).
void typeCharacter(Session& s, Panel& p, char32_t ch) {
  ScreenObject* o = objectAt(p, p.cursorRow, p.cursorCol);
  if (o && o->typeable()) {
    if (ch > 0xFF && !fieldsTakeUtf8(p)) return messagef(s, "", kNotTypeable, static_cast<int>(ch));
    typeIntoField(p, *o, ch, screenState(s).insertMode);
  } else if (o && o->type == ObjectType::EditLine) {
    p.typeIntoRow(ch);
  } else {
    message(s, "DLM135", "PROTECTED");
  }
}

// Delete, Backspace and erase-to-end where the cursor is.
void editKey(Session& s, Panel& p, Key key) {
  ScreenObject* o = objectAt(p, p.cursorRow, p.cursorCol);
  if (o && o->typeable()) {
    if (key == Key::End)
      eraseFieldToEnd(p, *o);
    else
      deleteInField(p, *o, key == Key::Backspace);
  } else if (o && o->type == ObjectType::EditLine) {
    if (key == Key::End)
      p.eraseRowToEnd();
    else
      p.deleteInRow(key == Key::Backspace);
  } else if (key == Key::Backspace && p.cursorCol > 1) {
    setCursor(p, p.cursorRow, p.cursorCol - 1);
  } else {
    message(s, "DLM135", "PROTECTED");
  }
}

void actionKey(Session& s, Panel& p, std::string_view var, std::string_view fallback,
               const KeyEvent& k) {
  std::string action = setting(s, var, fallback);
  if (action == "3270Enter") return runUserCommand(s, "3270ENTER");
  if (action == "CarriageReturn") return carriageReturn(s);
  if (k.key == Key::KeypadPlus) typeCharacter(s, p, U'+');
}

bool windowsArrows(Session& s) {
  return setting(s, "ZEDIT.ARROWKEYMODE", "KIV").starts_with("W");
}

// Ctrl+arrows: in ArrowKeyMode KIV they have no meaning; in WINDOWS mode
// Ctrl+Up/Down move the data by a line and Ctrl+Shift+Up/Down have none.
bool ctrlArrow(Session& s, Panel& p, const KeyEvent& k) {
  static constexpr std::string_view kIds[] = {"DLM45", "DLM65", "DLM80", "DLM92"};
  static constexpr std::string_view kNames[] = {"Up", "Down", "Left", "Right"};
  auto i = static_cast<std::size_t>(static_cast<int>(k.key) - static_cast<int>(Key::Up));
  if (!windowsArrows(s)) {
    messagef(s, kIds[i], "CTRL+%sArrow has no meaning in ArrowKeyMode=KIV.", kNames[i]);
    return true;
  }
  bool vertical = k.key == Key::Up || k.key == Key::Down;
  if (vertical && k.shift) {
    messagef(s, k.key == Key::Up ? "DLM40" : "DLM60",
             "CTRL+Shift+%sArrow has no meaning in ArrowKeyMode=WINDOWS.", kNames[i]);
    return true;
  }
  return vertical && p.scrollBy(k.key == Key::Up ? -1 : 1);
}

// Shift+Alt with an arrow stretches a rectangle; in ArrowKeyMode KIV, where
// Ctrl+arrows have no meaning of their own, Ctrl+Shift does too.
bool rectangleArrow(Session& s, const KeyEvent& k) {
  return k.shift && (k.alt || (k.ctrl && !windowsArrows(s)));
}

void arrowKey(Session& s, Panel& p, const KeyEvent& k) {
  int dr = k.key == Key::Up ? -1 : k.key == Key::Down ? 1 : 0;
  int dc = k.key == Key::Left ? -1 : k.key == Key::Right ? 1 : 0;
  if (rectangleArrow(s, k) && selectWithArrow(s, dr, dc, true)) return;
  if (k.ctrl && ctrlArrow(s, p, k)) return;
  if (k.shift && !k.ctrl && selectWithArrow(s, dr, dc, false)) return;
  moveCursor(s, dr, dc);
}

// A message stays on its row until the user's next key or click, which
// clears it so that the information line comes back.
void clearPendingMessage(Session& s) {
  if (s.messagePending) message(s, "", "");
}

void pressKey(Session& s, Panel& p, const KeyEvent& k) {
  clearPendingMessage(s);
  bool combo =
      (k.ctrl || k.alt) && (k.key == Key::Char || k.key == Key::Delete || k.key == Key::End);
  if (combo) return comboKey(s, k);
  switch (k.key) {
    case Key::Char:
      return typeCharacter(s, p, k.ch);
    case Key::Enter:
      return actionKey(s, p, "ZACTIONKEY.ENTER", "CarriageReturn", k);
    case Key::KeypadEnter:
      return actionKey(s, p, "ZACTIONKEY.NUMKEYPADENTER", "CarriageReturn", k);
    case Key::KeypadPlus:
      return actionKey(s, p, "ZACTIONKEY.NUMKEYPADPLUS", "Passthru", k);
    case Key::CtrlJ:
      return carriageReturn(s);
    case Key::Tab:
      return tabToField(s, false);
    case Key::BackTab:
      return tabToField(s, true);
    case Key::Home:
      return homeCursor(s);
    case Key::End:
      return editKey(s, p, Key::End);
    case Key::Backspace:
    case Key::Delete:
      return editKey(s, p, k.key);
    case Key::Insert:
      screenState(s).insertMode = !screenState(s).insertMode;
      return;
    case Key::PageUp:
      return runUserCommand(s, "UP");
    case Key::PageDown:
      return runUserCommand(s, "DOWN");
    case Key::Up:
    case Key::Down:
    case Key::Left:
    case Key::Right:
      return arrowKey(s, p, k);
    default:
      break;
  }
  if (k.key >= Key::F1 && k.key <= Key::F12) functionKey(s, k);
}

void click(Session& s, Panel& p, const platform::MouseEvent& m) {
  clearPendingMessage(s);
  if (m.button == platform::MouseButton::WheelUp || m.button == platform::MouseButton::WheelDown) {
    long speed = std::max(std::atol(setting(s, "ZVSCROLLSPEED", "3").c_str()), 1L);
    p.scrollBy(m.button == platform::MouseButton::WheelUp ? -speed : speed);
    return;
  }
  if (m.button != platform::MouseButton::Left) return;
  int row = m.row + 1, col = m.col + 1;
  ScreenObject* o = objectAt(p, row, col);
  if (o && o->type == ObjectType::Button && !m.drag) return runUserCommand(s, o->command);
  setCursor(p, row, col);
  mouseSelect(s, m.drag, m.ctrl);
}

}  // namespace

void eraseToEndAtCursor(Session& s) {
  editKey(s, topPanel(s), Key::End);
}

void routeToPanel(Session& s, Panel& p, const platform::Event& event) {
  if (auto* k = std::get_if<KeyEvent>(&event))
    pressKey(s, p, *k);
  else if (auto* m = std::get_if<platform::MouseEvent>(&event))
    click(s, p, *m);
}

void handleEvent(Session& s, const platform::Event& event) {
  if (std::holds_alternative<KeyEvent>(event) || std::holds_alternative<platform::MouseEvent>(event))
    topPanel(s).handleEvent(event);  // the frame on top takes keys and clicks
  else if (std::holds_alternative<platform::ResizeEvent>(event))
    rebuildPanels(s);
  else if (std::holds_alternative<platform::QuitEvent>(event))
    s.exitRequested = true;
}

}  // namespace kiv
