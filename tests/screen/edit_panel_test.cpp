#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/line.h"
#include "core/line_ops.h"
#include "screen_fixture.h"
#include "services/messages.h"

namespace kiv::test {
namespace {

TEST(EditPanel, DefaultPanelShowsCommandRowDataAndInformationLine) {
  ScreenTest t;
  t.open("a.txt", numberedLines(20));
  EXPECT_SCREEN(t.platform(), R"(
 {A:COMMAND ===>} {I:^                   } {U: <- } |
{T:******* Top of Data}                  █  |
{N:000001 }{E:line 1}                        │  |
000002 line 2                        │  |
000003 line 3                        │  |
000004 line 4                        │  |
000005 line 5                        │  |
000006 line 6                        │  |
000007 line 7                        │  |
000008 line 8                        │  |
000009 line 9                        │  |
 {S:Cols 01 29  Line -  Col -  Bounds 1...} |
)");
}

TEST(EditPanel, VariantsWithoutButtonsMessageRowOnTopAndPfKeyRows) {
  ScreenTest t(10, 36);
  for (const char* v : {"ZHISTORYBTN", "ZSCROLLBTN", "ZCLOSEBTN", "ZSCROLLBAR.V"})
    varSet(t.session(), v, "FALSE");
  varSet(t.session(), "ZMSGROW", "1 Below Primary Command");
  varSet(t.session(), "ZPFSHOW.GLOBAL", "TRUE");
  t.open("a.txt", numberedLines(30));
  EXPECT_EQ(findObject(t.panel(), "PCMDINFIELD")->displayWidth, 36 - 12 - 3);  // to column C - 1
  EXPECT_SCREEN(t.platform(), R"(
 COMMAND ===> ^                     |
 {S:Cols 01 28  Line -  Col -  Bound...}|
******* Top of Data                 |
000001 line 1                       |
000002 line 2                       |
000003 line 3                       |
000004 line 4                       |
000005 line 5                       |
000006 line 6                       |
 F1=Help  F2=Split V  F3=End  F4=Re |
)");
  t.session().messageActions.push_back({"ZZ1", "ShowShortMsg"});
  message(t.session(), "ZZ1", "a short message much longer than the row it stands on");
  t.draw();
  EXPECT_EQ(t.screen().substr(t.screen().find('\n') + 1, 37),
            " ZZ1: a short message much longer...|");
}

TEST(EditPanel, BrowseTaskLongLinesAndTheInformationLineParts) {
  ScreenTest t(8, 100);
  t.open("b.txt", "short\n" + std::string(100, 'x') + "\n");
  t.open("a.txt", numberedLines(3), TaskMode::Browse);
  t.open("c.txt", numberedLines(3));
  t.command("swap");  // from c.txt, the last, round to the first
  EXPECT_EQ(t.session().currentTask(), t.session().tasks[0].get());
  t.command("swapdirect " + t.path("a.txt"));
  EditPanel& p = t.panel();
  EXPECT_EQ(&p.task, t.session().tasks[1].get());
  EXPECT_EQ(p.prefixWidth(), 0);
  std::string info = p.informationLine();
  EXPECT_NE(info.find("Task 2 of 3"), std::string::npos) << info;
  EXPECT_NE(info.find("Mode(Browse)"), std::string::npos) << info;
  EXPECT_THAT(t.screen(), ::testing::HasSubstr("\nline 1"));
  t.command("swapdirect " + t.path("b.txt"));
  std::string wide = t.panel().informationLine();
  EXPECT_TRUE(wide.ends_with(">>>")) << wide;
  EXPECT_EQ(wide.size(), static_cast<std::size_t>(t.panel().msgWidth));
}

TEST(EditPanel, BrowseTaskWithALongLineScrolledRight) {
  ScreenTest t(6, 44);
  t.open("b.txt", "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKL\nshort\n", TaskMode::Browse);
  t.command("right 5");
  EXPECT_SCREEN(t.platform(), R"(
 {A:COMMAND ===>} ^          {U: <- } {U: Scroll=PAGE } |
{T: Top of Data}                             █  |
{B:56789abcdefghijklmnopqrstuvwxyzABCDEFGHI} │  |
                                         │  |
{T: Bottom of Data}                          │  |
 {S:<<< Cols 06 45  Line -  Col -  Bounds 1...} |
)");
}

TEST(EditPanel, HexViewRowsShowTheDigitsOfTheLineAbove) {
  ScreenTest t(8, 30);
  varSet(t.session(), "ZSCROLLBAR.V", "FALSE");
  t.open("h.txt", "AZ\x01\n");
  t.command("hex on");
  EXPECT_SCREEN(t.platform(), R"(
 COMMAND ===> ^           <-  |
******* Top of Data           |
000001 AZ␁                    |
       {H:450}                    |
       {H:1A1}                    |
{H:-------}                       |
******* Bottom of Data        |
 Cols 01 22  Line -  Xoffs... |
)");
  setCursor(t.panel(), 3, 8);
  t.type("B");  // the digits follow the typed character
  EXPECT_NE(t.screen().find("\n       2A1 "), std::string::npos) << t.screen();
}

// In hex view four rows stand for each data line; the scroll bar's thumb
// still runs the whole bar.
TEST(EditPanel, ScrollThumbReachesTheEndInHexView) {
  ScreenTest t(8, 30);
  t.open("h.txt", numberedLines(40));
  t.command("hex on");
  auto thumbRow = [&t] {
    std::string screen = t.screen();
    auto thumb = static_cast<long>(screen.find("\u2588"));
    return std::count(screen.begin(), screen.begin() + thumb, '\n');
  };
  EXPECT_EQ(thumbRow(), 1) << t.screen();
  t.command("down 80");
  EXPECT_EQ(thumbRow(), 3) << t.screen();
  t.command("down max");
  EXPECT_EQ(thumbRow(), 6) << "the thumb stands on the last data row\n" << t.screen();
}

TEST(EditPanel, RowsFollowLinesRemovedWithoutTheCommandsTellingThePanel) {
  ScreenTest t(8, 30);
  Task* task = t.open("a.txt", numberedLines(10));
  Line* first = task->lines.first->next;
  ASSERT_EQ(deleteLines(*task, first, first->next->next, true), 3);  // lines 1..3, freed
  t.draw();  // under the sanitizers a stale row would read freed memory here
  EXPECT_EQ(std::string(t.panel().lineAtRow(t.panel().firstDataRow + 1)->text()), "line 4");
  EXPECT_NE(t.screen().find("000001 line 4"), std::string::npos) << t.screen();
}

}  // namespace
}  // namespace kiv::test

namespace kiv::test {
namespace {

// Colours every "x" as found text, the way FIND ALL's overlay will.
struct MarkX : RowOverlay {
  std::uint8_t attr = 0;
  void colour(const Task&, const Line& line, int from, std::span<std::uint8_t> attrs) override {
    for (std::size_t i = 0; i < attrs.size(); ++i)
      if (line.text()[static_cast<std::size_t>(from) + i] == 'x') attrs[i] = attr;
  }
};

TEST(EditPanel, OverlaysColourTheVisiblePartOfTextRowsOnly) {
  ScreenTest t(6, 30);
  MarkX mark;
  mark.attr = screenState(t.session()).scheme.attr(Element::FoundText);
  screenState(t.session()).overlays.push_back(&mark);
  t.open("x.txt", "axxbx\nnote x\n");
  t.command("noteline an x marks the note");
  t.command("right 2");
  EXPECT_SCREEN(t.platform(), R"(
 COMMAND ===> ^           <-  |
******* Top of Data        █  |
<NOTE> {O: x marks the note}   │  |
{N:000001 }{F:x}{E:b}{F:x}                 │  |
000002 {E:te }{F:x}                │  |
 <<< Cols 03 21  Line -  C... |
)");
  std::erase(screenState(t.session()).overlays, &mark);
}

}  // namespace
}  // namespace kiv::test

namespace kiv::test {
namespace {

// A frame that is not a task's receives the keys while it is on top; the task
// below is untouched until it is popped.
TEST(FrameStackScreen, KeysReachTheFrameOnTop) {
  ScreenTest t(6, 30);
  Task* task = t.open("k.txt", "abc\n");
  auto dialog = std::make_unique<Panel>(t.session(), PanelType::Dialog, 6, 30);
  DLMAddObj(*dialog, "FIELD", "", "", 4, 2, 2, 10, 10, 0, 7);
  setCursor(*dialog, 2, 2);
  Panel* shown = dialog.get();
  t.session().frames.push(FrameKind::Dialog, "TEST", std::move(dialog));
  EXPECT_EQ(&topPanel(t.session()), shown);
  t.type("xy");
  EXPECT_EQ(findObject(*shown, "FIELD")->trimmed(), "xy");
  EXPECT_EQ(task->lines.first->next->text(), "abc");
  t.session().frames.pop();
  EXPECT_EQ(&topPanel(t.session()), &t.panel());
}

}  // namespace
}  // namespace kiv::test
