// The one door for line changes: random primitive calls checked against a
// simple model, the observers' view of a change, moves and their refusals,
// and undo steps.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/edit_step.h"
#include "core/hex_view.h"
#include "core/line_observer.h"
#include "core/line_ops.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

// Runs with the records in the task's pool spans and each in a guarded block.
class LineDoorTest : public ::testing::TestWithParam<bool> {
 protected:
  LineDoorTest() {
    task.linePool.setSpans(GetParam());
    initLineStore(task);
  }

  void fill(int n) {
    for (int i = 0; i < n; ++i) linkLineBefore(task, nullptr, createLine(task, name(), LineKind::Text));
    finishLineStore(task);
  }
  std::string name() { return "l" + std::to_string(made++); }

  // TEXT lines in store order; checks links, counts and hex rows on the way.
  std::vector<Line*> textLines(bool hex) {
    std::vector<Line*> out;
    std::size_t count = 0;
    for (Line* l = task.lines.first; l; l = l->next) {
      ++count;
      EXPECT_TRUE(!l->next || l->next->prev == l);
      if (l->is(LineKind::Text)) out.push_back(l);
      if (hex && !isHexViewLine(l) && !l->is(LineKind::Bof)) {
        EXPECT_TRUE(l->next && l->next->is(LineKind::HexHigh)) << "hex rows follow " << l->text();
      }
    }
    EXPECT_EQ(count, task.lines.count);
    EXPECT_EQ(static_cast<long>(out.size()), task.textLines);
    return out;
  }

  test::EditorTest t;
  Task task{t.session()};
  int made = 0;
};

// Thousands of inserts, deletes, moves, reorders, text changes and hex view switches
// on a store big enough to split and empty the line index's segments; after
// each, the TEXT lines, their numbers both ways and the hex rows agree with
// a plain vector of the texts.
TEST_P(LineDoorTest, RandomChangesAgreeWithAModel) {
  fill(2000);
  std::vector<std::string> model;
  for (Line* l : textLines(false)) model.emplace_back(l->text());
  std::mt19937 rng(11);
  auto upTo = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n)(rng); };
  bool hex = false;
  std::size_t fewest = task.index.segments(), most = fewest;
  for (int step = 0; step < 700; ++step) {
    std::vector<Line*> lines = textLines(hex);
    ASSERT_EQ(lines.size(), model.size()) << "step " << step;
    if (lines.size() < 50) break;
    std::size_t at = upTo(lines.size() - 1), n = 1 + upTo(std::min<std::size_t>(300, lines.size() - at - 1));
    switch (upTo(10)) {
      case 0: case 1: case 2: {  // insert n lines below a line, named in turn: empty, then
        // given their text, or made with it
        bool withText = upTo(1) == 1;
        if (!withText) {
          ASSERT_EQ(insertLinesBelow(task, lines[at], static_cast<int>(n)), 0);
        }
        Line* p = lines[at];
        for (std::size_t i = 0; i < n; ++i) {
          std::string text = name() + std::string(upTo(20), '.');
          if (withText) {
            Line* fresh = createLine(task, text, LineKind::Text);
            linkBelow(task, p, fresh);
            p = fresh;
          } else {
            do p = p->next; while (!p->is(LineKind::Text));
            setLineText(task, p, text);
          }
          model.insert(model.begin() + static_cast<long>(at + 1 + i), text);
        }
        break;
      }
      case 3: case 4:  // delete a range
        deleteLines(task, lines[at], lines[at + n - 1], true);
        model.erase(model.begin() + static_cast<long>(at), model.begin() + static_cast<long>(at + n));
        break;
      case 5: case 6: {  // move a range before a line outside it
        std::size_t to = upTo(lines.size());
        if (to >= at && to < at + n) break;
        Line* before = to == lines.size() ? task.lines.last : lines[to];
        ASSERT_EQ(moveLines(task, lines[at], lines[at + n - 1], before), 0);
        std::vector<std::string> range(model.begin() + static_cast<long>(at), model.begin() + static_cast<long>(at + n));
        model.erase(model.begin() + static_cast<long>(at), model.begin() + static_cast<long>(at + n));
        std::size_t dest = to > at ? to - n : to;
        model.insert(model.begin() + static_cast<long>(dest), range.begin(), range.end());
        break;
      }
      case 7: case 8:  // change a text, within the record's block or out of it
        setLineText(task, lines[at], name() + std::string(upTo(20), '.'));
        model[at] = std::string(lines[at]->text());
        break;
      case 9: {  // every other line of a range in reverse order among themselves
        std::vector<Line*> set;
        std::vector<std::size_t> places;
        for (std::size_t i = at; i < at + n; i += 2) {
          set.push_back(lines[i]);
          places.push_back(i);
        }
        std::vector<Line*> order(set.rbegin(), set.rend());
        ASSERT_EQ(reorderLines(task, set, order), 0);
        std::vector<std::string> texts;
        for (std::size_t i : places) texts.push_back(model[i]);
        for (std::size_t j = 0; j < places.size(); ++j) model[places[j]] = texts[texts.size() - 1 - j];
        break;
      }
      default:
        hex ? hexViewOff(task) : hexViewOn(task);
        hex = !hex;
    }
    lines = textLines(hex);
    for (std::size_t i = 0; i < model.size(); ++i) ASSERT_EQ(lines[i]->text(), model[i]) << "step " << step;
    for (int probe = 0; probe < 8; ++probe) {
      std::size_t k = upTo(lines.size() - 1);
      ASSERT_EQ(ordinalOf(task, lines[k]), static_cast<long>(k)) << "step " << step;
      ASSERT_EQ(textLineAt(task, static_cast<long>(k)), lines[k]) << "step " << step;
    }
    ASSERT_EQ(textLineAt(task, static_cast<long>(lines.size())), nullptr);
    fewest = std::min(fewest, task.index.segments());
    most = std::max(most, task.index.segments());
  }
  EXPECT_GT(most, fewest + 2) << "segments were split and emptied on the way";
}

// What an observer hears, and when: before a change it still sees the old text.
struct Witness : LineObserver {
  void beforeChange(Task&, Line* line, LineChange what) override {
    heard.push_back((what == LineChange::Text ? "text " : "marks ") + std::string(line->text()));
  }
  void afterInsert(Task&, Line* line) override { heard.push_back("insert " + std::string(line->text())); }
  void beforeRemove(Task&, Line* line) override { heard.push_back("remove " + std::string(line->text())); }
  void beforeMove(Task&, Line* first, Line* last, Line*) override {
    heard.push_back("move " + std::string(first->text()) + ".." + std::string(last->text()));
  }
  void stepClosed(Task& task) override { heard.push_back("step " + std::to_string(task.changeCount)); }
  std::vector<std::string> heard;
};

TEST_P(LineDoorTest, ObserversHearEachChangeBeforeItAndOneStepPerCommand) {
  fill(3);
  Witness w;
  t.session().lineObservers.push_back(&w);
  Line* a = task.lines.first->next;
  {
    EditStep command(t.session());
    setLineText(task, a, "A");
    setLineFlag(task, a, LineFlag::Changed, true);
    {
      EditStep nested(t.session());  // joins the outer step
      moveLines(task, a, a, task.lines.last);
    }
    deleteLine(task, a->prev, true);
  }
  EXPECT_EQ(w.heard, (std::vector<std::string>{"text l0", "marks A", "move A..A", "remove l2", "step 1"}));

  // Typing stays one step until the next step opens and closes.
  w.heard.clear();
  beginTyping(task);
  setLineText(task, a, "B");
  setLineText(task, a, "BC");
  EXPECT_EQ(task.changeCount, 1);
  {
    EditStep enter(t.session());
    task.modified = false;  // as SAVE inside the step
  }
  EXPECT_EQ(task.changeCount, 2);
  EXPECT_FALSE(task.modified) << "closing the step does not undo a save";
  setLineText(task, a, "D");  // outside any step: a step of its own
  EXPECT_EQ(task.changeCount, 3);
  std::erase(t.session().lineObservers, &w);
}

TEST_P(LineDoorTest, MovesTakeHexRowsAlongAndRefuseImpossiblePlaces) {
  fill(4);
  hexViewOn(task);
  std::vector<Line*> l = textLines(true);
  EXPECT_EQ(moveLines(task, l[0], l[1], l[1]), -1) << "into its own range";
  EXPECT_EQ(moveLines(task, l[0], l[0], task.lines.first), -1) << "before TOF";
  EXPECT_EQ(moveLines(task, l[0], task.lines.last, task.lines.first->next), -1) << "holds BOF";
  EXPECT_EQ(moveLines(task, l[2], l[0], task.lines.last), -1) << "range out of order";
  Task other(t.session());
  initLineStore(other);
  finishLineStore(other);
  EXPECT_EQ(moveLines(task, l[0], l[0], other.lines.last), -1) << "a place in another task";
  EXPECT_EQ(deleteLines(task, l[2], l[0], true), -1) << "a range out of order deletes nothing";
  EXPECT_EQ(deleteLines(task, other.lines.first, other.lines.last, true), -1) << "another task's";
  EXPECT_EQ(textLines(true), l) << "nothing changed";
  long changes = task.changeCount;
  ASSERT_EQ(moveLines(task, l[0], l[1], l[3]->next), 0) << "a hex row as the place";
  EXPECT_EQ(textLines(true), (std::vector<Line*>{l[2], l[3], l[0], l[1]}));
  EXPECT_EQ(task.changeCount, changes + 1);
}

INSTANTIATE_TEST_SUITE_P(Records, LineDoorTest, ::testing::Values(true, false));

}  // namespace
}  // namespace kiv
