// HELP with line commands waiting: the box that lists what each one waits for.
#include <map>
#include <string>
#include <vector>

#include "commands/line_command_fields.h"
#include "commands/line_command_table.h"
#include "commands/line_commands.h"
#include "core/session.h"
#include "core/task.h"
#include "services/format.h"
#include "services/messages.h"

namespace kiv {

namespace {

// What HELP says of a waiting command: its code, whether it is the first end
// of a complete block (CC, MM and OO blocks wait for a partner), the text.
struct Waiting {
  Lc code;
  bool completeBlock;
  std::string_view text;
};

constexpr Waiting kWaiting[] = {
    {Lc::After, false, "'A' on line %d needs 'C/CC' or 'M/MM' source to complete operation\n"},
    {Lc::Before, false, "'B' on line %d needs 'C/CC' or 'M/MM' source to complete operation\n"},
    {Lc::ColLeftBlock, false, "'((' on line %d needs sister '((' to complete block\n"},
    {Lc::ColRightBlock, false, "'))' on line %d needs sister '))' to complete block\n"},
    {Lc::DataLeftBlock, false, "'<<' on line %d needs sister '<<' to complete block\n"},
    {Lc::DataRightBlock, false, "'>>' on line %d needs sister '>>' to complete block\n"},
    {Lc::Copy, false, "'C' on line %d needs 'A' or 'B' destination to complete copy\n"},
    {Lc::CopyBlock, true, "'CC' block on line %d needs 'A' or 'B' destination to complete copy\n"},
    {Lc::CopyBlock, false, "'CC' on line %d needs sister 'CC' to complete block\n"},
    {Lc::DeleteBlock, false, "'DD' on line %d needs sister 'DD' to complete block\n"},
    {Lc::HexBlock, false, "'HXX' on line %d needs sister 'HXX' to complete block\n"},
    {Lc::LowerBlock, false, "'LCC' on line %d needs sister 'LCC' to complete block\n"},
    {Lc::MakeDataBlock, false, "'MDD' on line %d needs sister 'MDD' to complete block\n"},
    {Lc::Move, false, "'M' on line %d needs 'A' or 'B' destination to complete move\n"},
    {Lc::MoveBlock, true, "'MM' block on line %d needs 'A' or 'B' destination to complete move\n"},
    {Lc::MoveBlock, false, "'MM' on line %d needs sister 'MM' to complete block\n"},
    {Lc::Overlay, false, "'O' on line %d needs 'C' or 'M' source to complete overlay\n"},
    {Lc::OverlayBlock, true, "'OO' block on line %d needs 'C/CC' or 'M/MM' source to complete overlay\n"},
    {Lc::OverlayBlock, false, "'OO' on line %d needs sister 'OO' to complete block\n"},
    {Lc::RepeatBlock, false, "'RR' on line %d needs sister 'RR' to complete block\n"},
    {Lc::UpperBlock, false, "'UCC' on line %d needs sister 'UCC' to complete block\n"},
    {Lc::ExcludeBlock, false, "'XX' on line %d needs sister 'XX' to complete block\n"},
    {Lc::SelectBlock, false, "'ZZ' on line %d needs sister 'ZZ' to complete block\n"},
};

}  // namespace

std::string incompleteLineCommands(Session& s, Task& task) {
  std::vector<Pending> list = pendingFields(task);
  std::vector<std::pair<Lc, long>> singles;       // a waiting single command and its line
  std::vector<std::pair<Lc, long>> blocks, ends;  // complete blocks (first end), lone ends
  std::map<Lc, long> open;
  for (Pending& p : list) {
    if (!parseField(s, task, p)) continue;
    const LcEntry* e = findLineCommand(p.text);
    if (!e) continue;
    Lc code = plainCode(e->code);
    if (!isBlockEnd(code)) {
      singles.emplace_back(code, p.number);
    } else if (auto it = open.find(code); it != open.end()) {
      blocks.emplace_back(code, it->second);
      open.erase(it);
    } else {
      open[code] = p.number;
    }
  }
  for (auto [code, number] : open) ends.emplace_back(code, number);
  std::string out;
  for (const Waiting& w : kWaiting) {
    const auto& from = w.completeBlock ? blocks : isBlockEnd(w.code) ? ends : singles;
    for (auto [code, number] : from)
      if (code == w.code) out += format(w.text, number);
  }
  return out;
}

void helpCommand(CommandContext& ctx) {
  Task* task = ctx.session.currentTask();
  std::string waiting = task ? incompleteLineCommands(ctx.session, *task) : std::string();
  if (waiting.empty()) return messagef(ctx.session, "", "%s is not available yet.", ctx.verb);
  ctx.session.platform().messageBox("Line Command Pending", waiting, platform::BoxButtons::Ok);
}

}  // namespace kiv
