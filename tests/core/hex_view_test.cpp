#include "core/hex_view.h"

#include <gtest/gtest.h>

#include <string>

#include "core/excluded.h"
#include "core/line_ops.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

std::string kinds(const Task& task) {
  std::string out;
  for (const Line* l = task.lines.first; l; l = l->next)
    out += std::string(out.empty() ? "" : " ") + (l->shown ? "" : "~") +
           std::string(lineKindName(l->kind()));
  return out;
}

TEST(HexViewTest, OnPutsThreeLinesUnderEveryLineButBofAndOffTakesThemAway) {
  test::EditorTest t;
  Task task(t.session());
  initLineStore(task);
  Line* marker = createExcludedMarker(task, 1);
  task.lines.append(marker);
  Line* hidden = createLine(task, "x", LineKind::Text);
  hidden->shown = false;
  task.lines.append(hidden);
  finishLineStore(task);
  t.session().hideExcludedMarkers = true;

  EXPECT_EQ(hexViewOn(task), 3);
  EXPECT_EQ(kinds(task),
            "TOF HEXHIGH HEXLOW HEXSEP EXCLUDED ~HEXHIGH ~HEXLOW ~HEXSEP "
            "~TEXT ~HEXHIGH ~HEXLOW ~HEXSEP BOF");
  EXPECT_EQ(hexViewOn(task), 0) << "lines that have hex lines get no second set";
  EXPECT_EQ(task.lines.count, 13u);
  EXPECT_FALSE(task.modified);

  task.topLine = task.lines.first->next;
  EXPECT_EQ(hexViewOff(task), 9);
  EXPECT_EQ(kinds(task), "TOF EXCLUDED ~TEXT BOF");
  EXPECT_EQ(task.topLine, marker);

  t.session().hideExcludedMarkers = false;
  hexViewOn(task);
  EXPECT_TRUE(marker->next->shown) << "a visible marker's hex lines are shown";
  EXPECT_EQ(insertHexLinesAfter(task, task.lines.last), -1);
}

TEST(HexViewTest, DigitsAreTheHighOrLowNibbles) {
  EXPECT_EQ(hexDigits(std::string("A\x9f\0z", 4), true), "4907");
  EXPECT_EQ(hexDigits(std::string("A\x9f\0z", 4), false), "1F0A");
}

}  // namespace
}  // namespace kiv
