#include "platform/key_decoder.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <type_traits>

#include "platform/utf8.h"

namespace kiv::platform {

namespace {

constexpr char kEsc = '\x1b';
// A sequence that runs longer than this without its final byte is garbage.
constexpr std::size_t kMaxSequence = 64;
// Numbers in sequences are capped so that a flood of digits cannot overflow.
constexpr int kMaxNumber = 0x10FFFF + 1;

// CSI <n> ~ : the editing and function keys by number.
struct NumberKey {
  int code;
  Key key;
};
constexpr NumberKey kNumberKeys[] = {
    {1, Key::Home},     {2, Key::Insert}, {3, Key::Delete}, {4, Key::End},  {5, Key::PageUp},
    {6, Key::PageDown}, {7, Key::Home},   {8, Key::End},    {11, Key::F1},  {12, Key::F2},
    {13, Key::F3},      {14, Key::F4},    {15, Key::F5},    {17, Key::F6},  {18, Key::F7},
    {19, Key::F8},      {20, Key::F9},    {21, Key::F10},   {23, Key::F11}, {24, Key::F12},
};

// CSI 1;<mod> X and SS3 X : keys named by the final letter.
struct LetterKey {
  char final;
  Key key;
  char32_t ch;  // for Key::Char (the application keypad)
};
constexpr LetterKey kCsiLetterKeys[] = {
    {'A', Key::Up, 0},   {'B', Key::Down, 0}, {'C', Key::Right, 0},   {'D', Key::Left, 0},
    {'H', Key::Home, 0}, {'F', Key::End, 0},  {'P', Key::F1, 0},      {'Q', Key::F2, 0},
    {'R', Key::F3, 0},   {'S', Key::F4, 0},   {'Z', Key::BackTab, 0},
};
// SS3 adds the application keypad to the letters above.
constexpr LetterKey kSs3LetterKeys[] = {
    {'A', Key::Up, 0},     {'B', Key::Down, 0},        {'C', Key::Right, 0},
    {'D', Key::Left, 0},   {'H', Key::Home, 0},        {'F', Key::End, 0},
    {'P', Key::F1, 0},     {'Q', Key::F2, 0},          {'R', Key::F3, 0},
    {'S', Key::F4, 0},     {'M', Key::KeypadEnter, 0}, {'k', Key::KeypadPlus, 0},
    {'j', Key::Char, '*'}, {'m', Key::Char, '-'},      {'n', Key::Char, '.'},
    {'o', Key::Char, '/'}, {'l', Key::Char, ','},      {'X', Key::Char, '='},
    {'p', Key::Char, '0'}, {'q', Key::Char, '1'},      {'r', Key::Char, '2'},
    {'s', Key::Char, '3'}, {'t', Key::Char, '4'},      {'u', Key::Char, '5'},
    {'v', Key::Char, '6'}, {'w', Key::Char, '7'},      {'x', Key::Char, '8'},
    {'y', Key::Char, '9'},
};
// The Linux console's F1..F5: ESC [ [ A..E.
constexpr LetterKey kConsoleKeys[] = {
    {'A', Key::F1, 0}, {'B', Key::F2, 0}, {'C', Key::F3, 0}, {'D', Key::F4, 0}, {'E', Key::F5, 0},
};

// Control bytes that are keys of their own rather than Ctrl+letter.
struct ControlKey {
  unsigned char byte;
  Key key;
};
constexpr ControlKey kControlKeys[] = {
    {0x09, Key::Tab},
    {0x0A, Key::CtrlJ},
    {0x0D, Key::Enter},
    {0x7F, Key::Backspace},
};

// Codes of CSI <code>;<mod> u and CSI 27;<mod>;<code> ~ that are not characters.
constexpr ControlKey kCodeKeys[] = {
    {9, Key::Tab}, {13, Key::Enter}, {27, Key::Escape}, {127, Key::Backspace}, {8, Key::Backspace},
};

template <typename Table, typename Match>
auto findIn(const Table& table, Match match) -> const std::remove_reference_t<decltype(table[0])>* {
  auto it = std::find_if(std::begin(table), std::end(table), match);
  return it == std::end(table) ? nullptr : &*it;
}

struct Modifiers {
  bool shift = false;
  bool alt = false;
  bool ctrl = false;
};

// The xterm modifier parameter: 1 + (1 Shift, 2 Alt, 4 Ctrl, 8 Meta).
Modifiers modifiersOf(int param) {
  int bits = param > 1 ? param - 1 : 0;
  return {(bits & 1) != 0, (bits & (2 | 8)) != 0, (bits & 4) != 0};
}

KeyEvent withModifiers(KeyEvent key, Modifiers m) {
  key.shift = key.shift || m.shift;
  key.alt = key.alt || m.alt;
  key.ctrl = key.ctrl || m.ctrl;
  return key;
}

// A character key; with Ctrl or Alt a letter is given lower case and an
// upper-case one counts as Shift.
KeyEvent charKey(char32_t c, Modifiers m) {
  if ((m.ctrl || m.alt) && c >= U'A' && c <= U'Z') {
    c = c - U'A' + U'a';
    m.shift = true;
  }
  return withModifiers(KeyEvent{Key::Char, c}, m);
}

Decoded done(std::size_t length, Event event) {
  return {DecodeStatus::Done, length, event};
}
Decoded nothing(std::size_t length) {
  return done(length, KeyEvent{});
}
Decoded needMore() {
  return {DecodeStatus::NeedMore, 0, KeyEvent{}};
}

// An incomplete sequence: wait for the rest, unless none is coming or it is
// already too long to be one.
Decoded cutShort(std::string_view input, bool final) {
  if (!final && input.size() < kMaxSequence) return needMore();
  return nothing(input.size());
}

// ---- single bytes and UTF-8 ----

Decoded decodeControl(unsigned char b) {
  if (auto* k = findIn(kControlKeys, [b](const ControlKey& e) { return e.byte == b; })) {
    return done(1, KeyEvent{k->key});
  }
  if (b == 0x00) return done(1, charKey(U' ', {.ctrl = true}));
  if (b <= 0x1A) return done(1, charKey(U'a' + (b - 1), {.ctrl = true}));
  // 0x1C..0x1F: Ctrl+\ Ctrl+] Ctrl+^ Ctrl+_
  return done(1, charKey(U'\\' + (b - 0x1C), {.ctrl = true}));
}

Decoded decodePlain(std::string_view input, bool final) {
  auto b = static_cast<unsigned char>(input[0]);
  if (b < 0x20 || b == 0x7F) return decodeControl(b);
  Utf8Step step = decodeUtf8(input);
  if (step.status == Utf8Step::Status::Ok) return done(step.length, charKey(step.codePoint, {}));
  if (step.status == Utf8Step::Status::Incomplete && !final) return needMore();
  // Not UTF-8: the byte as Latin-1, where it is a printable character.
  if (b >= 0xA0) return done(1, charKey(b, {}));
  return nothing(1);
}

// ---- CSI and SS3 ----

struct Csi {
  char prefix = 0;  // '<', '=', '>' or '?' before the parameters
  std::array<int, 4> params{};
  int count = 0;  // parameters given
  char final = 0;
  std::size_t length = 0;
};

int param(const Csi& csi, int index, int fallback) {
  return index < csi.count && csi.params[static_cast<std::size_t>(index)] >= 0
             ? csi.params[static_cast<std::size_t>(index)]
             : fallback;
}

enum class Parse : std::uint8_t { Ok, Short, Malformed };

// Reads the parameters of ESC [ ... final (sub-parameters after ':' are
// skipped). `at` is where the parameters begin.
Parse parseCsi(std::string_view input, std::size_t at, Csi& csi) {
  std::size_t i = at;
  if (i < input.size() && std::string_view("<=>?").find(input[i]) != std::string_view::npos) {
    csi.prefix = input[i++];
  }
  bool sub = false;
  csi.params.fill(-1);
  for (; i < input.size(); ++i) {
    char c = input[i];
    if (c >= '0' && c <= '9') {
      if (csi.count == 0) csi.count = 1;
      auto slot = static_cast<std::size_t>(csi.count - 1);
      if (sub || slot >= csi.params.size()) continue;
      int& p = csi.params[slot];
      p = std::min(kMaxNumber, std::max(p, 0) * 10 + (c - '0'));
    } else if (c == ';') {
      csi.count = std::max(csi.count, 1) + 1;
      sub = false;
    } else if (c == ':') {
      sub = true;
    } else if (c >= 0x40 && c <= 0x7E) {
      csi.final = c;
      csi.length = i + 1;
      return Parse::Ok;
    } else {
      csi.length = i;
      return Parse::Malformed;
    }
  }
  return Parse::Short;
}

// SGR mouse report: ESC [ < b ; x ; y M (press) or m (release).
Decoded sgrMouse(const Csi& csi) {
  int b = param(csi, 0, -1);
  int col = param(csi, 1, 0) - 1;
  int row = param(csi, 2, 0) - 1;
  bool press = csi.final == 'M';
  if (!press || b < 0 || col < 0 || row < 0) return nothing(csi.length);
  static constexpr MouseButton kButtons[] = {MouseButton::Left, MouseButton::Middle,
                                             MouseButton::Right};
  bool drag = (b & 32) != 0;
  int base = b & ~(4 | 8 | 16 | 32);
  if (drag && base != 0) return nothing(csi.length);  // only the left button drags
  MouseEvent m{row, col, MouseButton::Left, false, drag, (b & 16) != 0};
  if (base <= 2) {
    m.button = kButtons[base];
  } else if (base == 64 || base == 65) {
    m.button = base == 64 ? MouseButton::WheelUp : MouseButton::WheelDown;
  } else {
    return nothing(csi.length);
  }
  return done(csi.length, m);
}

// X10 mouse report: ESC [ M and three bytes, each value + 32.
Decoded x10Mouse(std::string_view input, bool final) {
  if (input.size() < 6) return cutShort(input, final);
  int b = static_cast<unsigned char>(input[3]) - 32;
  Csi csi;
  csi.params = {b, static_cast<unsigned char>(input[4]) - 32,
                static_cast<unsigned char>(input[5]) - 32, -1};
  csi.count = 3;
  csi.final = (b & 3) == 3 ? 'm' : 'M';  // button 3: the release of any button
  csi.length = 6;
  if ((b & 3) == 3) return nothing(6);
  return sgrMouse(csi);
}

KeyEvent codeKey(int code, Modifiers m) {
  if (auto* k = findIn(kCodeKeys, [code](const ControlKey& e) { return e.byte == code; })) {
    KeyEvent key = withModifiers(KeyEvent{k->key}, m);
    if (key.key == Key::Tab && key.shift) key = KeyEvent{Key::BackTab};
    return key;
  }
  if (code < 0x20 || (code >= 0x7F && code < 0xA0) || code > 0x10FFFF ||
      (code >= 0xD800 && code <= 0xDFFF)) {
    return KeyEvent{};
  }
  return charKey(static_cast<char32_t>(code), m);
}

Decoded numberKey(const Csi& csi) {
  int code = param(csi, 0, -1);
  Modifiers m = modifiersOf(param(csi, 1, 1));
  if (csi.final == '^') m.ctrl = true;  // rxvt: Ctrl
  if (csi.final == '@') m.ctrl = m.shift = true;
  // xterm's modifyOtherKeys: CSI 27 ; mod ; code ~
  if (code == 27 && csi.final == '~') return done(csi.length, codeKey(param(csi, 2, -1), m));
  auto* k = findIn(kNumberKeys, [code](const NumberKey& e) { return e.code == code; });
  if (k == nullptr) return nothing(csi.length);
  return done(csi.length, withModifiers(KeyEvent{k->key}, m));
}

Decoded letterKey(std::size_t length, char final, int modParam, const LetterKey* table,
                  std::size_t size) {
  auto* end = table + size;
  auto* k = std::find_if(table, end, [final](const LetterKey& e) { return e.final == final; });
  if (k == end) return nothing(length);
  KeyEvent key{k->key, k->ch};
  return done(length, withModifiers(key, modifiersOf(modParam)));
}

Decoded decodeCsi(std::string_view input, bool final) {
  if (input.size() >= 3 && input[2] == 'M') return x10Mouse(input, final);
  if (input.size() >= 3 && input[2] == '[') {  // the Linux console's F1..F5
    if (input.size() < 4) return cutShort(input, final);
    return letterKey(4, input[3], 1, kConsoleKeys, std::size(kConsoleKeys));
  }
  Csi csi;
  Parse parsed = parseCsi(input, 2, csi);
  if (parsed == Parse::Short) return cutShort(input, final);
  if (parsed == Parse::Malformed) return nothing(csi.length);
  if (csi.prefix == '<' && (csi.final == 'M' || csi.final == 'm')) return sgrMouse(csi);
  if (csi.prefix != 0) return nothing(csi.length);
  if (csi.final == '~' || csi.final == '^' || csi.final == '@') return numberKey(csi);
  if (csi.final == 'u') {
    return done(csi.length, codeKey(param(csi, 0, -1), modifiersOf(param(csi, 1, 1))));
  }
  return letterKey(csi.length, csi.final, param(csi, 1, 1), kCsiLetterKeys,
                   std::size(kCsiLetterKeys));
}

// ESC O [modifier digits] letter.
Decoded decodeSs3(std::string_view input, bool final) {
  std::size_t i = 2;
  int mod = 0;
  while (i < input.size() && input[i] >= '0' && input[i] <= '9' && i < 4) {
    mod = mod * 10 + (input[i++] - '0');
  }
  if (i >= input.size()) return cutShort(input, final);
  return letterKey(i + 1, input[i], mod == 0 ? 1 : mod, kSs3LetterKeys, std::size(kSs3LetterKeys));
}

// Input that begins with ESC: a sequence, Alt+key, or the Escape key.
Decoded decodeEscape(std::string_view input, bool final) {
  if (input.size() == 1) return final ? done(1, KeyEvent{Key::Escape}) : needMore();
  char next = input[1];
  if (next == kEsc) return done(1, KeyEvent{Key::Escape});
  bool alone = input.size() == 2 && final;  // ESC [ or ESC O typed as Alt+[ / Alt+O
  if (next == '[' && !alone) return decodeCsi(input, final);
  if (next == 'O' && !alone) return decodeSs3(input, final);
  Decoded rest = decodePlain(input.substr(1), final);
  if (rest.status == DecodeStatus::NeedMore) return rest;
  auto* key = std::get_if<KeyEvent>(&rest.event);
  if (key == nullptr || key->key == Key::None) return nothing(rest.length + 1);
  Modifiers alt{.alt = true};
  KeyEvent altKey = key->key == Key::Char ? charKey(key->ch, {key->shift, true, key->ctrl})
                                          : withModifiers(*key, alt);
  return done(rest.length + 1, altKey);
}

struct KeyName {
  Key key;
  const char* name;
};
constexpr KeyName kKeyNames[] = {
    {Key::None, "None"},
    {Key::F1, "F1"},
    {Key::F2, "F2"},
    {Key::F3, "F3"},
    {Key::F4, "F4"},
    {Key::F5, "F5"},
    {Key::F6, "F6"},
    {Key::F7, "F7"},
    {Key::F8, "F8"},
    {Key::F9, "F9"},
    {Key::F10, "F10"},
    {Key::F11, "F11"},
    {Key::F12, "F12"},
    {Key::Enter, "Enter"},
    {Key::KeypadEnter, "KeypadEnter"},
    {Key::CtrlJ, "Ctrl+J"},
    {Key::Tab, "Tab"},
    {Key::BackTab, "BackTab"},
    {Key::Backspace, "Backspace"},
    {Key::Delete, "Delete"},
    {Key::Insert, "Insert"},
    {Key::Home, "Home"},
    {Key::End, "End"},
    {Key::PageUp, "PageUp"},
    {Key::PageDown, "PageDown"},
    {Key::Up, "Up"},
    {Key::Down, "Down"},
    {Key::Left, "Left"},
    {Key::Right, "Right"},
    {Key::Escape, "Escape"},
    {Key::KeypadPlus, "KeypadPlus"},
};

}  // namespace

Decoded decodeInput(std::string_view input, bool final) {
  if (input.empty()) return needMore();
  if (input[0] == kEsc) return decodeEscape(input, final);
  return decodePlain(input, final);
}

bool isNothing(const Event& event) {
  auto* key = std::get_if<KeyEvent>(&event);
  return key != nullptr && key->key == Key::None;
}

std::string keyText(const KeyEvent& key) {
  std::string text;
  if (key.ctrl) text += "Ctrl+";
  if (key.alt) text += "Alt+";
  if (key.shift) text += "Shift+";
  if (key.key != Key::Char) {
    auto* k = findIn(kKeyNames, [&key](const KeyName& e) { return e.key == key.key; });
    return text + (k != nullptr ? k->name : "?");
  }
  char32_t c = key.ch;
  if ((key.ctrl || key.alt) && c >= U'a' && c <= U'z') c = c - U'a' + U'A';
  if (c == U' ') return text + "Space";
  appendUtf8(text, c);
  return text;
}

}  // namespace kiv::platform
