// The General option group: sounds, the mouse wheel, the insert mode, the
// recent-file list, help, histories, the date format and the day names.
#include "options/keyword_group.h"

namespace kiv {

namespace {

constexpr OptionKey kGeneralKeys[] = {
    {"ZMSGSOUND", "MsgSound", "Sound1"},
    {"ZMOUSEWHEEL.VSCROLL", "MouseWheel.Vscroll", "1"},
    {"ZMOUSEWHEEL.HSCROLL", "MouseWheel.Hscroll", "1"},
    {"ZVSCROLLSPEED", "VerticalScrollSpeed", "3"},
    {"ZWINDOWS10", "Windows10", "FALSE"},
    {"ZINSERT.LAUNCH", "InsertLaunch", "FALSE"},
    {"ZINSERT.PERSIST", "InsertPersist", "TRUE"},
    {"ZRECENT.SORTBYNAME", "RecentSortByName", "TRUE"},
    {"ZHELPUSENOTEPAD", "HelpUseNotepad", "TRUE"},
    {"ZWANTTASKLIST", "WantTasklist", "TRUE"},
    {"ZRETRIEVEPCMDHISTORY", "RetrievePcmdHistory", "FALSE"},
    {"ZRECORDMACCMDS", "RecordMacCmds", "FALSE"},
    {"ZLISTLCMDSHOW", "ListLcmdShow", "TRUE"},
    {"ZDATEFORMAT", "DateFormat", "USA"},
    {"ZTEXT.MONDAY", "TextMonday", "Monday"},
    {"ZTEXT.TUESDAY", "TextTuesday", "Tuesday"},
    {"ZTEXT.WEDNESDAY", "TextWednesday", "Wednesday"},
    {"ZTEXT.THURSDAY", "TextThursday", "Thursday"},
    {"ZTEXT.FRIDAY", "TextFriday", "Friday"},
    {"ZTEXT.SATURDAY", "TextSaturday", "Saturday"},
    {"ZTEXT.SUNDAY", "TextSunday", "Sunday"},
};

}  // namespace

const KeywordGroup& generalGroup() {
  static const KeywordGroup kGroup{"General", "OPTIONS35", kGeneralKeys, {}};
  return kGroup;
}

}  // namespace kiv
