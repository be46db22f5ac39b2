#include "screen/screen_state.h"

#include "core/task.h"
#include "platform/utf8.h"
#include "screen/edit_panel.h"
#include "screen/field_cells.h"
#include "screen/field_edit.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

using platform::CaretShape;

CaretShape caretShape(Session& s, bool insert) {
  std::string v = insert ? setting(s, "ZCURSOR.INSERT", "VerticalBar")
                         : setting(s, "ZCURSOR.OVERTYPE", "HorizBar");
  switch (v[0]) {
    case 'B':
    case 'b':
      return CaretShape::Block;
    case 'H':
    case 'h':
      return CaretShape::HorizontalBar;
    default:
      return CaretShape::VerticalBar;
  }
}

constexpr std::string_view kIdleHint =
    "No file is open: EDIT name opens a file, EXIT or Alt+F4 leaves kiv.";
constexpr std::string_view kCloseText = " X ";

// The screen without a task: the command row with the close button (which
// leaves the program here) and a hint on the message row.
std::unique_ptr<Panel> makeIdlePanel(Session& s) {
  platform::Platform& pf = s.platform();
  auto p = std::make_unique<Panel>(s, PanelType::Menu, pf.rows(), pf.cols());
  const ColourScheme& scheme = screenState(s).scheme;
  std::string label = commandLabel(s);
  int L = std::min(static_cast<int>(label.size()), std::max(p->cols - 2, 0));
  ColourPair lc = scheme.pair(Element::DialogLabel), in = scheme.pair(Element::DialogInput);
  if (L >= 1) DLMAddObj(*p, "PCMDLABEL", label, "", 8, 1, 2, L, L, lc.fg, lc.bg);
  const int X = static_cast<int>(kCloseText.size());
  bool close = settingTrue(s, "ZCLOSEBTN", true) && p->cols - L - 3 - (X + 1) >= 8;
  int field = p->cols - L - 3 - (close ? X + 1 : 0);
  if (field >= 1) DLMAddObj(*p, "PCMDINFIELD", "", "", 4, 1, L + 3, field, kMaxPanelCols, in.fg, in.bg);
  if (close) {
    ColourPair bc = scheme.pair(Element::DialogButton);
    DLMAddObj(*p, "CLOSEBTN", kCloseText, "EXIT", static_cast<int>(ObjectType::Button), 1,
              p->cols - X + 1, X, X, bc.fg, bc.bg);
  }
  if (p->rows >= 3 && p->cols >= 3) {
    ColourPair c = scheme.pair(Element::StatusLine);
    int width = static_cast<int>(kIdleHint.size());
    DLMAddObj(*p, "MSGROW", kIdleHint, "", 8, 3, 2, p->cols - 2, std::max(p->cols - 2, width),
              c.fg, c.bg);
  }
  if (ScreenObject* f = findObject(*p, "PCMDINFIELD")) setCursor(*p, 1, f->col);
  return p;
}

}  // namespace

void PanelLines::stale(Task& task) {
  if (task.view) task.view->lineChanged(nullptr, true);
}

void PanelLines::beforeChange(Task& task, Line* line, LineChange what) {
  if (task.view) task.view->lineChanged(line, what == LineChange::Flags || what == LineChange::Kind);
}

ScreenState::ScreenState(Session& s) : session(s) {
  s.lineObservers.push_back(&panelLines);
}

ScreenState::~ScreenState() {
  std::erase(session.lineObservers, &panelLines);
}

bool ScreenState::show(std::string_view text) {
  pendingShort = text;
  return topPanel(session).showShortMessage(text);
}

void ScreenState::clear() {
  topPanel(session).clearShortMessage();
}

ScreenState& screenState(Session& s) {
  if (ScreenState* st = findScreenState(s)) return *st;
  return s.provide<MessageRow>(std::make_unique<ScreenState>(s));
}

ScreenState* findScreenState(Session& s) {
  return static_cast<ScreenState*>(s.findFeature<MessageRow>());
}

std::string commandLabel(Session& s) {
  return setting(s, "ZPCMDLBLCURRENT", setting(s, "ZPCMDLBLCOMMAND", "COMMAND ===>"));
}

std::string setting(Session& s, std::string_view name, std::string_view fallback) {
  std::string v = varGet(s, name);
  return v.empty() ? std::string(fallback) : v;
}

bool settingTrue(Session& s, std::string_view name, bool fallback) {
  return setting(s, name, fallback ? "TRUE" : "FALSE") == "TRUE";
}

EditPanel* currentEditPanel(Session& s) {
  return s.currentTask() ? &editPanelOf(*s.currentTask()) : nullptr;
}

Panel& topPanel(Session& s) {
  if (Frame* f = s.frames.top()) {
    if (f->task) return editPanelOf(*f->task);
    if (auto* p = dynamic_cast<Panel*>(f->ownView.get())) return *p;
  }
  if (!s.frames.idleView()) s.frames.setIdleView(makeIdlePanel(s));
  return static_cast<Panel&>(*s.frames.idleView());
}

std::string commandFieldText(Session& s) {
  ScreenObject* f = findObject(topPanel(s), "PCMDINFIELD");
  return f ? commandFromField(topPanel(s), f->trimmed()) : std::string();
}

void setCommandFieldText(Session& s, std::string_view text, bool moveCursor) {
  Panel& p = topPanel(s);
  ScreenObject* f = findObject(p, "PCMDINFIELD");
  if (!f) return;
  setFieldText(p, *f, fieldFromCommand(p, text));
  if (!moveCursor) return;
  std::u32string cells = cellsOf(f->content, f->contentWidth);
  int end = static_cast<int>(cells.find_last_not_of(U' ') + 1);
  if (end >= f->displayWidth) f->firstShown = end - f->displayWidth + 1;
  setCursor(p, f->row, f->col + end - f->firstShown);
}

void rebuildPanels(Session& s) {
  platform::Platform& pf = s.platform();
  s.panelWidth = pf.cols();
  for (auto& t : s.tasks) {
    auto* p = dynamic_cast<EditPanel*>(t->view.get());
    if (!p) continue;
    p->resize(pf.rows(), pf.cols());
    p->build();
  }
  for (std::size_t i = 0; i < s.frames.size(); ++i)
    if (auto* p = dynamic_cast<Panel*>(s.frames.at(i).ownView.get())) p->resize(pf.rows(), pf.cols());
  if (s.frames.idleView()) s.frames.setIdleView(makeIdlePanel(s));
}

void refreshScreen(Session& s) {
  ScreenState& st = screenState(s);
  Panel& p = topPanel(s);
  if (auto* e = dynamic_cast<EditPanel*>(&p)) e->update();
  if (st.grid.rows() != p.rows || st.grid.cols() != p.cols || st.shown != &p) p.markAllDirty();
  st.shown = &p;
  paintPanel(p, st.grid, st.scheme);
  s.platform().draw(st.grid, st.scheme.palette);
  s.platform().setCaret(p.cursorRow - 1, p.cursorCol - 1, caretShape(s, st.insertMode), true);
}

}  // namespace kiv
