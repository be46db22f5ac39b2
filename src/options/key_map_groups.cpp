// The five key-map groups: their variables, defaults and the Alt keys that
// belong to the menu bar.
#include <vector>

#include "options/key_map_group.h"
#include "services/format.h"

namespace kiv {

namespace {

constexpr int kPfKeyCount = 48;

constexpr KeySetting kPfDefaults[] = {
    {"ZPF01.MAP", "Help"},     {"ZPF02.MAP", "Split V"}, {"ZPF03.MAP", "End"},
    {"ZPF04.MAP", "Return"},   {"ZPF05.MAP", "Rfind"},   {"ZPF06.MAP", "Rchange"},
    {"ZPF07.MAP", "Up"},       {"ZPF08.MAP", "Down"},    {"ZPF09.MAP", "Swap"},
    {"ZPF10.MAP", "Left"},     {"ZPF11.MAP", "Right"},   {"ZPF12.MAP", "Retrieve"},
    {"ZPF13.MAP", "Cut"},      {"ZPF14.MAP", "Copy"},    {"ZPF15.MAP", "Paste"},
    {"ZPF16.MAP", "Import"},   {"ZPF17.MAP", "Export"},  {"ZPF18.MAP", "Stoupper"},
    {"ZPF19.MAP", "Stolower"}, {"ZPF20.MAP", "Sxclude"}, {"ZPF21.MAP", "Delete"},
    {"ZPF22.MAP", "Left"},     {"ZPF23.MAP", "Right"},   {"ZPF24.MAP", "Retrieve Back"},
    {"ZPF40.MAP", "Exit"},
};

constexpr KeySetting kMenuBarAltKeys[] = {
    {"ZALT.F", "RESERVED*"}, {"ZALT.E", "RESERVED*"}, {"ZALT.S", "RESERVED*"},
    {"ZALT.U", "RESERVED*"}, {"ZALT.W", "RESERVED*"}, {"ZALT.O", "RESERVED*"},
    {"ZALT.H", "RESERVED*"},
};

constexpr KeySetting kCtrlDefaults[] = {
    {"ZCTRL.C", "COPY"}, {"ZCTRL.P", "PRINT"}, {"ZCTRL.S", "SAVE"},     {"ZCTRL.V", "PASTE"},
    {"ZCTRL.X", "CUT"},  {"ZCTRL.Z", "UNDO"},  {"ZCTRL.DEL", "DELEOL"},
};

constexpr std::string_view kAltPunctuation[] = {
    "APOSTROPHE", "BRACKETLEFT", "BRACKETRIGHT", "COMMA", "EQUAL",    "HYPHEN",
    "PERIOD",     "QUOTESINGLE", "SEMICOLON",    "SLASH", "SLASHBACK"};

constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kDigits = "0123456789";

std::vector<std::string> pfVars() {
  std::vector<std::string> vars;
  for (int n = 1; n <= kPfKeyCount; ++n) {
    vars.push_back(format("ZPF%02d.MAP", n));
    vars.push_back(format("ZPF%02d.LABEL", n));
  }
  return vars;
}

// prefix + each letter, each digit when asked, and each name of `more`.
std::vector<std::string> keyVars(std::string_view prefix, bool digits,
                                 std::span<const std::string_view> more) {
  std::vector<std::string> vars;
  auto add = [&](std::string_view suffix) {
    vars.push_back(std::string(prefix) + std::string(suffix));
  };
  for (char c : kLetters) add(std::string_view(&c, 1));
  if (digits)
    for (char c : kDigits) add(std::string_view(&c, 1));
  for (std::string_view name : more) add(name);
  return vars;
}

}  // namespace

const KeyMapGroup& pfKeysGroup() {
  static const std::vector<std::string> kVars = pfVars();
  static const KeyMapGroup kGroup{"PFKeys", "OPTIONS45", kVars, kPfDefaults, {}};
  return kGroup;
}

const KeyMapGroup& altKeysGroup() {
  static const std::vector<std::string> kVars = keyVars("ZALT.", true, kAltPunctuation);
  static const KeyMapGroup kGroup{"AltKeys", "OPTIONS55", kVars, {}, kMenuBarAltKeys};
  return kGroup;
}

const KeyMapGroup& altShiftKeysGroup() {
  static const std::vector<std::string> kVars = keyVars("ZALTSHIFT.", true, kAltPunctuation);
  static const KeyMapGroup kGroup{"AltShiftKeys", "OPTIONS60", kVars, {}, {}};
  return kGroup;
}

const KeyMapGroup& ctrlKeysGroup() {
  static constexpr std::string_view kMore[] = {"DEL", "END"};
  static const std::vector<std::string> kVars = keyVars("ZCTRL.", false, kMore);
  static const KeyMapGroup kGroup{"CtrlKeys", "OPTIONS50", kVars, kCtrlDefaults, {}};
  return kGroup;
}

const KeyMapGroup& ctrlShiftKeysGroup() {
  static const std::vector<std::string> kVars = keyVars("ZCTRLSHIFT.", false, {});
  static const KeyMapGroup kGroup{"CtrlShiftKeys", "OPTIONS65", kVars, {}, {}};
  return kGroup;
}

}  // namespace kiv
