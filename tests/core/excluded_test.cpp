#include "core/excluded.h"

#include <gtest/gtest.h>

#include "core/line_ops.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

TEST(ExcludedTest, MarkerTextIsCentredInDashes) {
  // " 5 lines excluded " is 18 characters.
  EXPECT_EQ(excludedMarkerText(5, 24), "--- 5 lines excluded ---");
  EXPECT_EQ(excludedMarkerText(5, 25), "--- 5 lines excluded ----");
  EXPECT_EQ(excludedMarkerText(5, 19), " 5 lines excluded -");
  EXPECT_EQ(excludedMarkerText(12345, 10), " 12345 lines excluded ");

  test::EditorTest t(24, 300);
  Task task(t.session());
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

TEST(ExcludedTest, RangeEndingOnAMarkerTakesInTheHiddenLines) {
  test::EditorTest t;
  Task task(t.session());
  auto add = [&](LineKind kind, bool shown) {
    Line* line = createLine(task, "", kind);
    line->shown = shown;
    task.lines.append(line);
    return line;
  };
  Line* marker = add(LineKind::Excluded, true);
  add(LineKind::Text, false);
  Line* hidden = add(LineKind::Text, false);
  Line* second = add(LineKind::Excluded, true);
  Line* hiddenToo = add(LineKind::Text, false);
  Line* shown = add(LineKind::Text, true);

  EXPECT_EQ(extendOverExcluded(task, marker), hidden) << "stops before a visible marker";
  EXPECT_EQ(extendOverExcluded(task, shown), shown) << "not a marker";
  t.session().hideExcludedMarkers = true;
  EXPECT_EQ(extendOverExcluded(task, marker), hiddenToo);
  EXPECT_TRUE(hiddenLine(task, second));
  EXPECT_EQ(extendOverExcluded(task, nullptr), nullptr);
}

}  // namespace
}  // namespace kiv
