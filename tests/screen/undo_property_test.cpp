// Undo and redo restore every journalled change byte for byte: random typing,
// line commands, CHANGE ALLs and SORTs, as a user makes them; each step undone in
// turn must give the text as it was before it, REDO ALL the text at the end,
// UNDO ALL the file as loaded.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "core/line.h"
#include "core/task.h"
#include "screen_fixture.h"

namespace kiv::test {
namespace {

std::string allText(Task& task) {
  std::string out;
  for (Line* p = task.lines.first; p; p = p->next)
    if (p->is(LineKind::Text)) out += std::string(p->text()) + "\n";
  return out;
}

std::uint32_t topStep(Task& task) {
  return task.journal.undo.empty() ? 0 : task.journal.undo.topStep();
}

class RandomEdits {
 public:
  RandomEdits(ScreenTest& t, unsigned seed) : t_(t), rng_(seed) {}

  int last = 0;
  void step() {
    switch (last = pick(7)) {
      case 0: return typeSomewhere();
      case 1: return lineCommand({"d", "d2", "i2", "r", "r3", "))", "((4"});
      case 2: return block();
      case 3: return copyOrMove();
      case 4: return t_.command(pick(2) ? "change 'a' 'xyz' all" : "change 'xyz' 'b' all");
      case 5: return t_.command(pick(2) ? "change 'line' '' all" : "change 'e' 'EE' all");
      default: return t_.command(pick(2) ? "sort" : "sort d 3 9");
    }
  }

 private:
  int pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
  int row() { return t_.panel().firstDataRow + 1 + pick(t_.panel().dataRows - 2); }

  void typeSomewhere() {
    for (int lines = 1 + pick(3); lines > 0; --lines) {
      setCursor(t_.panel(), row(), t_.panel().prefixWidth() + 1 + pick(12));
      t_.type(std::string(1 + pick(4), static_cast<char>('k' + pick(5))));
    }
    t_.press({platform::Key::Enter});
  }
  void typePrefix(int r, std::string_view text) {
    setCursor(t_.panel(), r, 1);
    t_.type(std::string(text) + "  ");
  }
  void lineCommand(std::initializer_list<std::string_view> choices) {
    typePrefix(row(), *(choices.begin() + pick(static_cast<int>(choices.size()))));
    t_.press({platform::Key::Enter});
  }
  void block() {
    int a = row(), b = row();
    const char* kinds[] = {"dd", "rr", "cc", "mm"};
    std::string k = kinds[pick(2)];
    typePrefix(a, k);
    if (b != a) typePrefix(b, k);
    t_.press({platform::Key::Enter});
    t_.command("reset");
  }
  void copyOrMove() {
    int from = row(), to = row();
    if (from == to) return;
    typePrefix(from, pick(2) ? "c" : "m2");
    typePrefix(to, pick(2) ? "a" : "b");
    t_.press({platform::Key::Enter});
    t_.command("reset");
  }

  ScreenTest& t_;
  std::mt19937 rng_;
};

TEST(UndoProperty, EveryStepUndoneAndRedoneByteForByte) {
  for (unsigned seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    ScreenTest t(16, 60);
    Task* task = t.open("u.txt", numberedLines(40, "a line with some text"));
    std::vector<std::string> states{allText(*task)};
    RandomEdits edits(t, seed);
    for (int i = 0; i < 120; ++i) {
      std::uint32_t before = topStep(*task);
      edits.step();
      if (topStep(*task) != before) states.push_back(allText(*task));
      else if (allText(*task) != states.back()) {
        std::string now = allText(*task), was = states.back();
        std::size_t d = 0;
        while (d < now.size() && d < was.size() && now[d] == was[d]) ++d;
        std::size_t records = task->journal.undo.size();
        FAIL() << "op " << edits.last << " records " << records << " lines " << task->textLines << " at " << d << " now '" << now.substr(d > 60 ? d - 60 : 0, 120) << "' was '" << was.substr(d > 60 ? d - 60 : 0, 120) << "'";
      }
    }
    ASSERT_GT(states.size(), 60u);
    for (std::size_t i = states.size() - 1; i > 0; --i) {
      t.command("undo");
      std::string now = allText(*task);
      if (now != states[i - 1]) {
        std::size_t d = 0;
        while (d < now.size() && d < states[i - 1].size() && now[d] == states[i - 1][d]) ++d;
        FAIL() << "undo to state " << i - 1 << " of " << states.size() << " differs at " << d << ": '"
               << now.substr(d > 40 ? d - 40 : 0, 80) << "' vs '" << states[i - 1].substr(d > 40 ? d - 40 : 0, 80) << "'";
      }
    }
    t.command("undo");
    EXPECT_EQ(t.lastMessage().text, "journal empty or UNDO is disabled.");
    t.command("redo all");
    EXPECT_EQ(allText(*task), states.back());
    t.command("undo all");
    EXPECT_EQ(allText(*task), states.front());
    t.command("change 'a' 'A' all");  // a new change: nothing left to redo
    t.command("redo");
    EXPECT_EQ(t.lastMessage().text, "Nothing to redo.");
  }
}

}  // namespace
}  // namespace kiv::test
