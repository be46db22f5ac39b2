// The Display option group: look of the main window and its panels. MsgRow
// takes one of two values; an adjust value of the window's position above 99
// is reset at start-up, the group written again and the user told.
#include <cstdint>

#include "options/keyword_group.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

constexpr OptionKey kDisplayKeys[] = {
    {"ZMENUSTYLE", "MenuStyle", "Legacy"},
    {"ZOFFSCREEN", "OffScreen", "AutoRecoverNotify"},
    {"ZADJUSTXPOS", "AdjustXpos", "0"},
    {"ZADJUSTYPOS", "AdjustYpos", "0"},
    {"ZWTASKBARDIRECTION", "WTaskBarDirection", "None"},
    {"ZWTASKBARADJUST", "WTaskBarAdjust", "0"},
    {"ZFIELDEFFECT", "FieldEffect", "OpenOutline"},
    {"ZOUTLINECOLOR", "OutlineColor", "Gray"},
    {"ZCURSOR.INSERT", "CursorInsert", "VerticalBar"},
    {"ZCURSOR.OVERTYPE", "CursorOvertype", "HorizBar"},
    {"ZPCMDLBLCOMMAND", "PcmdLblCommand", "COMMAND ===>"},
    {"ZPCMDLBLOPTION", "PcmdLblOption", "OPTION ===>"},
    {"ZHISTORYBTN", "HistoryBtn", "TRUE"},
    {"Z3270ENTERBTN", "3270EnterBtn", "FALSE"},
    {"ZSCROLLBTN", "ScrollBtn", "TRUE"},
    {"ZCLOSEBTN", "CloseBtn", "TRUE"},
    {"ZMSGROW", "MsgRow", "2 Bottom of window"},
    {"ZSCROLLBAR.V", "ScrollBarV", "TRUE"},
};

constexpr std::string_view kMsgRowBelowCommand = "1 Below Primary Command";
constexpr std::string_view kMsgRowBottom = "2 Bottom of Window";

struct AdjustCheck {
  std::string_view var;
  std::string_view text;
};

constexpr AdjustCheck kAdjustChecks[] = {
    {"ZADJUSTXPOS", "Option DISPLAY, main window horizontal adjust value must be in range 1..99"},
    {"ZADJUSTYPOS", "Option DISPLAY, main window vertical adjust value must be in range 1..99"},
};

std::string_view displayValue(const OptionKey& key, std::string_view value) {
  if (key.var != "ZMSGROW" || value == kMsgRowBelowCommand) return value;
  return kMsgRowBottom;
}

// An optional "+" or "-" and a number of pixels; the digits that follow the
// sign are read as far as they go (more than two of them are above 99).
bool adjustAbove99(std::string_view value) {
  if (!value.empty() && (value.front() == '+' || value.front() == '-')) value.remove_prefix(1);
  std::uint32_t number = 0;
  for (char c : value) {
    if (c < '0' || c > '9') break;
    number = number * 10 + static_cast<std::uint32_t>(c - '0');
    if (number > 99) return true;
  }
  return false;
}

void checkAdjustValues(Services& s) {
  bool reset[std::size(kAdjustChecks)] = {};
  bool any = false;
  for (std::size_t i = 0; i < std::size(kAdjustChecks); ++i) {
    if (!adjustAbove99(varGet(s, kAdjustChecks[i].var))) continue;
    varSet(s, kAdjustChecks[i].var, "0");
    reset[i] = any = true;
  }
  if (!any) return;
  writeKeywordGroup(s, displayGroup());
  for (std::size_t i = 0; i < std::size(kAdjustChecks); ++i)
    if (reset[i]) message(s, "", kAdjustChecks[i].text);
}

}  // namespace

// Display and Flist share the write identifier: both are named OPTIONS25.
const KeywordGroup& displayGroup() {
  static const KeywordGroup kGroup{"Display",
                                   "OPTIONS25",
                                   kDisplayKeys,
                                   {.readValue = displayValue, .afterRead = checkAdjustValues}};
  return kGroup;
}

}  // namespace kiv
