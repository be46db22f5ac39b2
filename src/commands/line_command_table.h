// The line commands: every name with its code, whether BROWSE allows it and
// whether it keeps its source pending (AK, BK, OK, OOK), in the table's order.
#pragma once

#include <span>
#include <string_view>

namespace kiv {

enum class Lc : int {
  Label, ColLeft, ColLeftBlock, ColRight, ColRightBlock, DataLeft, DataLeftBlock, DataRight,
  DataRightBlock, After, AfterKeep, Before, BeforeKeep, Bounds, Copy, CopyBlock, Cols, Delete,
  DeleteBlock, First, Hex, HexBlock, Insert, InsertNote, Last, Lower, LowerBlock, Move, MoveBlock,
  Mask, MakeData, MakeDataBlock, MoveUp, MoveUpBlock, Overlay, OverlayKeep, OverlayBlock,
  OverlayBlockKeep, Repeat, RepeatBlock, Show, Tabs, TextEntry, TextFlow, TextJoin, TextSplit,
  Upper, UpperBlock, Exclude, ExcludeBlock, Select, SelectBlock,
};

struct LcEntry {
  std::string_view name;
  Lc code;
  bool browse;  // allowed in BROWSE
  bool keep;    // the source stays pending (AK, BK, OK, OOK)
};

// The whole table in its order; several names may share a code.
std::span<const LcEntry> lineCommandTable();
// The entry of a command text (exact, upper case); null when unknown.
const LcEntry* findLineCommand(std::string_view text);
// The code's first name ("CC", "A", ...), for messages.
std::string_view lineCommandName(Lc code);

// Codes whose two ends make a block (CC, DD, ((, ...).
bool isBlockEnd(Lc code);
// Codes whose count is a number of lines from their own (C, D, LC, ...).
bool countsLines(Lc code);
// A keeping code's plain form (AK: A, OOK: OO); other codes as they are.
Lc plainCode(Lc code);

}  // namespace kiv
