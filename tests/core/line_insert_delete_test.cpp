#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/excluded.h"
#include "core/hex_view.h"
#include "core/line_observer.h"
#include "core/line_ops.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

// Records what the line store tells an observer such as the undo journal.
class FakeUndo : public LineObserver {
 public:
  void afterInsert(Task& task, Line* line) override {
    inserted.push_back(line);
    steps.push_back(task.changeCount);
  }

  std::vector<Line*> inserted;
  std::vector<long> steps;
};

class LineInsertDeleteTest : public ::testing::Test {
 protected:
  LineInsertDeleteTest() {
    initLineStore(task);
    t.session().lineObservers.push_back(&undo);
  }
  ~LineInsertDeleteTest() override { std::erase(t.session().lineObservers, &undo); }

  Line* add(std::string_view text, LineKind kind = LineKind::Text, bool shown = true) {
    Line* line = createLine(task, text, kind);
    setLineFlag(task, line, LineFlag::Shown, shown);
    linkLineBefore(task, nullptr, line);
    return line;
  }

  // The store as text: TEXT lines by their text ("+" when inserted empty),
  // others by kind name; hidden lines in brackets. The back links, the last
  // line and the count are checked against the walk.
  std::string layout() const {
    std::string out;
    const Line* prev = nullptr;
    std::size_t count = 0;
    long text = 0;
    for (const Line* l = task.lines.first; l; prev = l, l = l->next, ++count) {
      EXPECT_EQ(l->prev, prev) << "the back link of line " << count;
      text += l->is(LineKind::Text) ? 1 : 0;
      std::string item = l->is(LineKind::Text) ? std::string(l->inserted() ? "+" : l->text())
                                               : std::string(lineKindName(l->kind()));
      out += (out.empty() ? "" : " ") + (l->shown() ? item : "[" + item + "]");
    }
    EXPECT_EQ(task.lines.last, prev);
    EXPECT_EQ(task.lines.count, count);
    EXPECT_EQ(task.textLines, text);
    return out;
  }

  test::EditorTest t;
  Task task{t.session()};
  FakeUndo undo;
};

TEST_F(LineInsertDeleteTest, InsertGoesBehindExcludedLinesAsOneChange) {
  Line* a = add("a");
  add("EX", LineKind::Excluded);
  add("x", LineKind::Text, false);
  add("y", LineKind::Text, false);
  add("b");
  finishLineStore(task);
  task.changeCount = 4;

  ASSERT_EQ(insertLinesBelow(task, a, 2), 0);
  EXPECT_EQ(layout(), "TOF a + + EXCLUDED [x] [y] b BOF") << "a visible marker is a shown line";
  t.session().hideExcludedMarkers = true;
  Line* marker = a->next->next->next;
  ASSERT_EQ(insertLinesBelow(task, marker, 1), 0);
  EXPECT_EQ(layout(), "TOF a + + EXCLUDED [x] [y] + b BOF");
  ASSERT_EQ(insertLinesBelow(task, a->next->next, 1), 0);
  EXPECT_EQ(layout(), "TOF a + + EXCLUDED [x] [y] + + b BOF") << "hidden marker skipped";

  EXPECT_EQ(task.changeCount, 7) << "one change per call, not per line";
  EXPECT_TRUE(task.modified);
  EXPECT_EQ(undo.steps, (std::vector<long>{4, 4, 5, 6}));
  EXPECT_TRUE(a->next->inserted() && a->next->shown() && a->next->length() == 0);
}

TEST_F(LineInsertDeleteTest, InsertAtTheEndOfALoadedChunkLoadsTheNextOne) {
  Line* a = add("a");
  int loads = 0;
  task.loadNextChunk = [&](Task& tk) {
    if (++loads == 1) {
      add("x", LineKind::Text, false);
    } else {
      add("b");
      finishLineStore(tk);
    }
    return true;
  };
  ASSERT_EQ(insertLinesBelow(task, a, 1), 0);
  EXPECT_EQ(loads, 2);
  EXPECT_EQ(layout(), "TOF a [x] + b BOF");
}

TEST_F(LineInsertDeleteTest, InsertWhenNothingMoreLoadsAppends) {
  Line* a = add("a");
  add("x", LineKind::Text, false);
  task.loadNextChunk = [](Task&) { return false; };
  ASSERT_EQ(insertLinesBelow(task, a, 1), 0);
  EXPECT_EQ(layout(), "TOF a [x] +");
}

TEST_F(LineInsertDeleteTest, NothingGoesBelowBottomAndTopAndBottomAreNeverDeleted) {
  add("a");
  finishLineStore(task);
  EXPECT_EQ(insertLinesBelow(task, task.lines.last, 1), -1);
  EXPECT_EQ(t.lastMessage().id, "TASKLINE10");
  EXPECT_EQ(task.changeCount, 0);
  EXPECT_EQ(deleteLine(task, task.lines.first, true), -1);
  EXPECT_EQ(deleteLine(task, task.lines.last, true), -1);
  EXPECT_EQ(deleteLines(task, task.lines.first, task.lines.last, true), 1);
  EXPECT_EQ(layout(), "TOF BOF");
  EXPECT_EQ(task.changeCount, 1);
}

TEST_F(LineInsertDeleteTest, DeleteHandsTextLinesToUndoWithTheirPosition) {
  Line* a = add("a");
  Line* note = add("n", LineKind::Note);
  Line* b = add("b");
  finishLineStore(task);
  task.topLine = a;

  ASSERT_EQ(deleteLine(task, a, true), 0);
  ASSERT_FALSE(task.journal.undo.empty());
  const UndoRecord& r = task.journal.undo.top();
  EXPECT_EQ(r.type, UndoType::Deleted);
  EXPECT_EQ(r.line, a);
  EXPECT_EQ(r.other, b) << "the next TEXT line, past the note";
  EXPECT_EQ(task.topLine, note);
  EXPECT_TRUE(task.modified);
  EXPECT_EQ(a->text(), "a") << "the journal keeps the line: it was not freed";

  task.modified = false;
  std::size_t records = task.journal.undo.size();
  ASSERT_EQ(deleteLine(task, note, true), 0);
  EXPECT_FALSE(task.modified) << "a note is no data";
  EXPECT_EQ(task.journal.undo.size(), records) << "notes are not journalled";

  ASSERT_EQ(deleteLine(task, b, false), 0);
  EXPECT_EQ(task.journal.undo.size(), records) << "a line its caller keeps is not the journal's";
  EXPECT_EQ(layout(), "TOF BOF");
  EXPECT_EQ(task.changeCount, 3);
  freeLine(task, b);  // free was not set: the caller keeps it
}

// Excluded markers and hex view lines are built on the same line store.
using ExcludedTest = LineInsertDeleteTest;
using HexViewTest = LineInsertDeleteTest;

TEST_F(ExcludedTest, MarkerTextIsCentredInDashes) {
  // " 5 lines excluded " is 18 characters.
  EXPECT_EQ(excludedMarkerText(5, 24), "--- 5 lines excluded ---");
  EXPECT_EQ(excludedMarkerText(5, 25), "--- 5 lines excluded ----");
  EXPECT_EQ(excludedMarkerText(5, 19), " 5 lines excluded -");
  EXPECT_EQ(excludedMarkerText(12345, 10), " 12345 lines excluded ");

  t.session().panelWidth = 300;
  EXPECT_EQ(excludedMarkerText(task, 7).size(), 256u);
  Line* marker = createExcludedMarker(task, 7);
  EXPECT_EQ(marker->kind(), LineKind::Excluded);
  EXPECT_EQ(marker->excludedCount(), 7);
  t.session().panelWidth = 20;
  ASSERT_EQ(setExcludedMarker(task, marker, 9), 0);
  EXPECT_EQ(marker->text(), "- 9 lines excluded -");
  EXPECT_EQ(marker->excludedCount(), 9);
  freeLine(task, marker);
}

TEST_F(ExcludedTest, RangeEndingOnAMarkerTakesInTheHiddenLines) {
  Line* marker = add("", LineKind::Excluded);
  add("", LineKind::Text, false);
  Line* hidden = add("", LineKind::Text, false);
  Line* second = add("", LineKind::Excluded);
  Line* hiddenToo = add("", LineKind::Text, false);
  Line* shown = add("");

  EXPECT_EQ(extendOverExcluded(task, marker), hidden) << "stops before a visible marker";
  EXPECT_EQ(extendOverExcluded(task, shown), shown) << "not a marker";
  t.session().hideExcludedMarkers = true;
  EXPECT_EQ(extendOverExcluded(task, marker), hiddenToo);
  EXPECT_TRUE(hiddenLine(task, second));
  EXPECT_EQ(extendOverExcluded(task, nullptr), nullptr);
}

TEST_F(HexViewTest, OnPutsThreeLinesUnderEveryLineButBofAndOffTakesThemAway) {
  Line* marker = createExcludedMarker(task, 1);
  linkLineBefore(task, nullptr, marker);
  add("x", LineKind::Text, false);
  finishLineStore(task);
  t.session().hideExcludedMarkers = true;

  EXPECT_EQ(hexViewOn(task), 3);
  EXPECT_EQ(layout(),
            "TOF HEXHIGH HEXLOW HEXSEP EXCLUDED [HEXHIGH] [HEXLOW] [HEXSEP] "
            "[x] [HEXHIGH] [HEXLOW] [HEXSEP] BOF");
  EXPECT_EQ(hexViewOn(task), 0) << "lines that have hex lines get no second set";
  EXPECT_FALSE(task.modified);

  task.topLine = task.lines.first->next;
  EXPECT_EQ(hexViewOff(task), 9);
  EXPECT_EQ(layout(), "TOF EXCLUDED [x] BOF");
  EXPECT_EQ(task.topLine, marker);

  t.session().hideExcludedMarkers = false;
  hexViewOn(task);
  EXPECT_TRUE(marker->next->shown()) << "a visible marker's hex lines are shown";
  EXPECT_EQ(insertHexLinesAfter(task, task.lines.last), -1);
}

// A line inserted in hex view follows the hex rows of the line above it and
// gets rows of its own.
TEST_F(HexViewTest, InsertedLinesGoBehindTheHexRowsAndGetTheirOwn) {
  Line* x = add("x");
  finishLineStore(task);
  hexViewOn(task);
  ASSERT_EQ(insertLinesBelow(task, x, 2), 0);
  EXPECT_EQ(layout(),
            "TOF HEXHIGH HEXLOW HEXSEP x HEXHIGH HEXLOW HEXSEP + HEXHIGH HEXLOW HEXSEP "
            "+ HEXHIGH HEXLOW HEXSEP BOF");
}

TEST_F(HexViewTest, DigitsAreTheHighOrLowNibbles) {
  EXPECT_EQ(hexDigits(std::string("A\x9f\0z", 4), true), "4907");
  EXPECT_EQ(hexDigits(std::string("A\x9f\0z", 4), false), "1F0A");
}

}  // namespace
}  // namespace kiv
