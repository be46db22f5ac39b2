#include "commands/line_command_table.h"

#include <array>

namespace kiv {

namespace {

constexpr std::array<LcEntry, 64> kTable = {{
    {".", Lc::Label, true, false},
    {"(", Lc::ColLeft, false, false},
    {"((", Lc::ColLeftBlock, false, false},
    {")", Lc::ColRight, false, false},
    {"))", Lc::ColRightBlock, false, false},
    {"<", Lc::DataLeft, false, false},
    {"<<", Lc::DataLeftBlock, false, false},
    {">", Lc::DataRight, false, false},
    {">>", Lc::DataRightBlock, false, false},
    {"A", Lc::After, false, false},
    {"AK", Lc::AfterKeep, false, true},
    {"B", Lc::Before, false, false},
    {"BK", Lc::BeforeKeep, false, true},
    {"BN", Lc::Bounds, false, false},
    {"BND", Lc::Bounds, false, false},
    {"BNDS", Lc::Bounds, false, false},
    {"C", Lc::Copy, false, false},
    {"CC", Lc::CopyBlock, false, false},
    {"CO", Lc::Cols, true, false},
    {"COL", Lc::Cols, true, false},
    {"COLS", Lc::Cols, true, false},
    {"D", Lc::Delete, false, false},
    {"DD", Lc::DeleteBlock, false, false},
    {"F", Lc::First, true, false},
    {"HX", Lc::Hex, true, false},
    {"HXX", Lc::HexBlock, true, false},
    {"I", Lc::Insert, false, false},
    {"IN", Lc::InsertNote, false, false},
    {"L", Lc::Last, true, false},
    {"LC", Lc::Lower, false, false},
    {"LCC", Lc::LowerBlock, false, false},
    {"LLC", Lc::LowerBlock, false, false},
    {"LCLC", Lc::LowerBlock, false, false},
    {"M", Lc::Move, false, false},
    {"MM", Lc::MoveBlock, false, false},
    {"MA", Lc::Mask, false, false},
    {"MAS", Lc::Mask, false, false},
    {"MASK", Lc::Mask, false, false},
    {"MD", Lc::MakeData, false, false},
    {"MDD", Lc::MakeDataBlock, false, false},
    {"MU", Lc::MoveUp, false, false},
    {"MUU", Lc::MoveUpBlock, false, false},
    {"O", Lc::Overlay, false, false},
    {"OK", Lc::OverlayKeep, false, true},
    {"OO", Lc::OverlayBlock, false, false},
    {"OOK", Lc::OverlayBlockKeep, false, true},
    {"R", Lc::Repeat, false, false},
    {"RR", Lc::RepeatBlock, false, false},
    {"S", Lc::Show, true, false},
    {"TA", Lc::Tabs, false, false},
    {"TAB", Lc::Tabs, false, false},
    {"TABS", Lc::Tabs, false, false},
    {"TE", Lc::TextEntry, false, false},
    {"TF", Lc::TextFlow, false, false},
    {"TJ", Lc::TextJoin, false, false},
    {"TS", Lc::TextSplit, false, false},
    {"UC", Lc::Upper, false, false},
    {"UCC", Lc::UpperBlock, false, false},
    {"UUC", Lc::UpperBlock, false, false},
    {"UCUC", Lc::UpperBlock, false, false},
    {"X", Lc::Exclude, true, false},
    {"XX", Lc::ExcludeBlock, true, false},
    {"Z", Lc::Select, true, false},
    {"ZZ", Lc::SelectBlock, true, false},
}};

}  // namespace

std::span<const LcEntry> lineCommandTable() {
  return kTable;
}

const LcEntry* findLineCommand(std::string_view text) {
  for (const LcEntry& e : lineCommandTable())
    if (e.name == text) return &e;
  return nullptr;
}

std::string_view lineCommandName(Lc code) {
  for (const LcEntry& e : lineCommandTable())
    if (e.code == code) return e.name;
  return "?";
}

bool isBlockEnd(Lc code) {
  switch (code) {
    case Lc::ColLeftBlock: case Lc::ColRightBlock: case Lc::DataLeftBlock: case Lc::DataRightBlock:
    case Lc::CopyBlock: case Lc::DeleteBlock: case Lc::HexBlock: case Lc::LowerBlock:
    case Lc::MakeDataBlock: case Lc::MoveBlock: case Lc::MoveUpBlock: case Lc::OverlayBlock:
    case Lc::OverlayBlockKeep: case Lc::RepeatBlock: case Lc::UpperBlock: case Lc::ExcludeBlock:
    case Lc::SelectBlock:
      return true;
    default:
      return false;
  }
}

bool countsLines(Lc code) {
  switch (code) {
    case Lc::Copy: case Lc::Delete: case Lc::Hex: case Lc::Lower: case Lc::Move: case Lc::MakeData:
    case Lc::MoveUp: case Lc::Overlay: case Lc::OverlayKeep: case Lc::Upper: case Lc::Select:
      return true;
    default:
      return false;
  }
}

Lc plainCode(Lc code) {
  switch (code) {
    case Lc::AfterKeep:
      return Lc::After;
    case Lc::BeforeKeep:
      return Lc::Before;
    case Lc::OverlayKeep:
      return Lc::Overlay;
    case Lc::OverlayBlockKeep:
      return Lc::OverlayBlock;
    default:
      return code;
  }
}

}  // namespace kiv
