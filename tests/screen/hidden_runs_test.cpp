// A remembered run of hidden lines must never outlive a change to it: a line
// shown again in its middle, a line removed, the session's marker setting.
#include "screen/hidden_runs.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/excluded.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

TEST(HiddenRunsTest, ARunIsRememberedOnlyWhileItStaysTheSame) {
  test::EditorTest t;
  Task task(t.session());
  initLineStore(task);
  std::vector<Line*> lines;
  for (int i = 0; i < 1000; ++i) {
    lines.push_back(createLine(task, "x", LineKind::Text));
    linkLineBefore(task, nullptr, lines.back());
  }
  Line* marker = createExcludedMarker(task, 800);
  linkLineBefore(task, lines[100], marker);
  for (int i = 100; i < 900; ++i) setLineFlag(task, lines[i], LineFlag::Shown, false);

  HiddenRuns runs;
  for (int pass = 0; pass < 2; ++pass) {  // walked, then remembered
    long texts = 0;
    EXPECT_EQ(runs.after(task, lines[100], texts), lines[900]);
    EXPECT_EQ(texts, 800);
    EXPECT_EQ(runs.before(task, lines[899]), marker);
  }
  setLineFlag(task, lines[500], LineFlag::Shown, true);  // shown in the middle
  long texts = 0;
  EXPECT_EQ(runs.after(task, lines[100], texts), lines[500]);
  EXPECT_EQ(texts, 400);
  EXPECT_EQ(runs.before(task, lines[899]), lines[500]);

  t.session().hideExcludedMarkers = true;  // the marker joins the run before it
  EXPECT_EQ(runs.before(task, lines[499]), lines[99]);
  deleteLine(task, lines[99], true);
  EXPECT_EQ(runs.before(task, lines[499]), lines[98]);
}

}  // namespace
}  // namespace kiv
