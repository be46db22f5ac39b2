// Building the objects of an edit task's panel from the display settings.
#include "screen/edit_panel.h"

#include <algorithm>
#include <array>

#include "core/file_profile.h"
#include "core/line.h"
#include "core/session.h"
#include "core/task.h"
#include "screen/data_typing.h"
#include "screen/screen_state.h"
#include "screen/scroll.h"
#include "services/format.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

struct ButtonDef {
  std::string_view name;
  std::string_view setting;  // shown when "TRUE"
  bool byDefault;
  std::string_view text;
  std::string_view command;
};

// Left to right as they stand on the command row.
constexpr std::array<ButtonDef, 4> kButtons = {{
    {"PCMDHISTBTN", "ZHISTORYBTN", true, " <- ", "RPCMD"},
    {"3270ENTERBTN", "Z3270ENTERBTN", false, " 3270Enter ", "3270ENTER"},
    {"SCROLLBTN", "ZSCROLLBTN", true, " Scroll=", "TOGGLESCROLL"},
    {"CLOSEBTN", "ZCLOSEBTN", true, " X ", "END"},
}};

constexpr std::array<std::string_view, 4> kPfGroups = {"ZPFSHOW.BASE", "ZPFSHOW.SHIFT",
                                                       "ZPFSHOW.CTRL", "ZPFSHOW.ALT"};

// The command field keeps at least this many cells before buttons are dropped.
constexpr int kMinCommandField = 8;

int addStatic(Panel& p, std::string_view name, std::string_view text, int row, int col, int width,
              ColourPair c) {
  if (width < 1 || col > p.cols) return -1;
  return DLMAddObj(p, name, text, "", static_cast<int>(ObjectType::Static), row, col, width,
                   std::max(width, static_cast<int>(text.size())), c.fg, c.bg);
}

std::string pfRowText(Session& s, int group, int width) {
  std::string text;
  for (int k = 1; k <= 12; ++k) {
    int n = group * 12 + k;
    std::string map = varGet(s, format("ZPF%02d.MAP", n));
    if (map.empty()) continue;
    if (!text.empty()) text += "  ";
    text += format("F%d=%s", n, map);
  }
  if (static_cast<int>(text.size()) > width)
    text.resize(static_cast<std::size_t>(std::max(width, 0)));
  return text;
}

}  // namespace

EditPanel::EditPanel(Task& t, int r, int c) : Panel(t.session, PanelType::Task, r, c), task(t) {
  build();
}

EditPanel::~EditPanel() = default;

void EditPanel::typeIntoRow(char32_t c) {
  typeIntoDataRow(*this, c);
}

void EditPanel::deleteInRow(bool before) {
  deleteInDataRow(*this, before);
}

void EditPanel::eraseRowToEnd() {
  eraseDataRowToEnd(*this);
}

bool EditPanel::scrollBy(long lines) {
  scrollLines(*this, lines);
  return true;
}

int EditPanel::prefixSetting() const {
  int w = 9;  // a file numbered by hexadecimal offsets shows them in nine cells
  if (!task.profile || task.profile->numberType != NumberType::HexOffset) {
    bool browse = task.mode == TaskMode::Browse;
    std::string v = setting(task.session, browse ? "ZEDIT.LCMDCOLS.BROWSE" : "ZEDIT.LCMDCOLS.EDIT",
                            browse ? "0" : "7");
    w = std::atoi(v.c_str());
  }
  // The line-command field holds nine characters: a wider area would show
  // cells that take nothing.
  return std::clamp(w, 0, std::min(kLineFieldWidth, std::max(editWidth_ - 1, 0)));
}

int EditPanel::dataWidth() const {
  return std::max(editWidth_ - prefixWidth(), 0);
}

void EditPanel::build() {
  // What the user typed outlives the objects; a message still pending is
  // shown again (or, on a new panel, for the first time).
  std::string typed;
  int typedShown = 0;
  if (ScreenObject* f = findObject(*this, "PCMDINFIELD"))
    typed = f->content, typedShown = f->firstShown;
  for (int r = 1; r <= kMaxPanelRows; ++r) objects[static_cast<std::size_t>(r - 1)].clear();
  scroll.reset();
  Session& s = task.session;
  std::string pf = setting(s, "ZPFSHOW.GLOBAL", "FALSE");
  pfRows = 0;
  if (pf == "TRUE")
    for (std::size_t g = 0; g < kPfGroups.size(); ++g)
      if (settingTrue(s, kPfGroups[g], g == 0)) ++pfRows;
  if (pfRows + 2 > rows) pfRows = 0;  // no room beside the command and message rows
  msgBelow_ = setting(s, "ZMSGROW", "2").starts_with("1");
  msgRow_ = msgBelow_ ? commandRow() + 1 : rows - pfRows;
  firstDataRow = commandRow() + (msgBelow_ ? 2 : 1);
  int lastData = msgBelow_ ? rows - pfRows : rows - pfRows - 1;
  dataRows = std::max(lastData - firstDataRow + 1, 0);
  buildCommandRow();
  buildMessageRow();
  buildDataRows();
  buildPfRows();
  if (ScreenObject* f = findObject(*this, "PCMDINFIELD")) {
    setContent(*f, typed);
    f->firstShown = std::min(typedShown, std::max(f->contentWidth - f->displayWidth, 0));
  }
  if (task.session.messagePending) showMessage(screenState(task.session).pendingShort, false);
  prefixWidth_ = prefixSetting();
  layoutValid_ = false;
  shownInfo_.clear();
  markAllDirty();
  setCursor(*this, cursorRow, cursorCol);
}

void EditPanel::buildCommandRow() {
  Session& s = task.session;
  const ColourScheme& scheme = screenState(s).scheme;
  std::string label = commandLabel(s);
  int L = std::min(static_cast<int>(label.size()), std::max(cols - 2, 0));
  addStatic(*this, "PCMDLABEL", label, commandRow(), 2, L, scheme.pair(Element::DialogLabel));
  std::vector<std::pair<const ButtonDef*, std::string>> shown;
  int B = 0;
  for (const ButtonDef& b : kButtons) {
    if (!settingTrue(s, b.setting, b.byDefault)) continue;
    std::string text(b.text);
    if (b.name == "SCROLLBTN") text += setting(s, "ZEDIT.SCROLL.V.MODE", "PAGE") + " ";
    shown.emplace_back(&b, text);
    B += static_cast<int>(text.size()) + 1;
  }
  while (!shown.empty() && cols - L - 3 - B < kMinCommandField) {
    B -= static_cast<int>(shown.back().second.size()) + 1;
    shown.pop_back();
  }
  int fieldWidth = cols - L - 3 - B;
  ColourPair in = scheme.pair(Element::DialogInput);
  if (fieldWidth >= 1)
    DLMAddObj(*this, "PCMDINFIELD", "", "", static_cast<int>(ObjectType::Input), commandRow(),
              L + 3, fieldWidth, kMaxPanelCols, in.fg, in.bg);
  int col = cols - B + 1;
  ColourPair bc = scheme.pair(Element::DialogButton);
  for (const auto& [def, text] : shown) {
    int w = static_cast<int>(text.size());
    DLMAddObj(*this, def->name, text, def->command, static_cast<int>(ObjectType::Button),
              commandRow(), col, w, w, bc.fg, bc.bg);
    col += w + 1;
  }
}

void EditPanel::buildMessageRow() {
  if (msgRow_ < 1 || msgRow_ > rows || msgRow_ == commandRow()) return;
  const ColourScheme& scheme = screenState(task.session).scheme;
  msgWidth = msgBelow_ ? std::min(256, cols - 1) : cols - 2;
  addStatic(*this, "MSGROW", "", msgRow_, 2, msgWidth,
            scheme.pair(msgBelow_ ? Element::MessageLine : Element::StatusLine));
}

void EditPanel::buildDataRows() {
  bool bar = settingTrue(task.session, "ZSCROLLBAR.V", true) && cols >= 8 && dataRows > 0;
  editWidth_ = std::max(bar ? cols - 4 : cols - 1, 1);
  for (int i = 0; i < dataRows; ++i)
    DLMAddObj(*this, "EDITLINE", "", "", static_cast<int>(ObjectType::EditLine), firstDataRow + i,
              1, editWidth_, editWidth_, 0, 0);
  if (bar)
    DLMAddObj(*this, "EDITSCROLLV", "", "", static_cast<int>(ObjectType::ScrollV), firstDataRow,
              cols - 2, 1, dataRows, 0, 0);
}

void EditPanel::buildPfRows() {
  if (pfRows == 0) return;
  Session& s = task.session;
  ColourPair c = screenState(s).scheme.pair(Element::StatusLine);
  int row = rows - pfRows + 1;
  for (std::size_t g = 0; g < kPfGroups.size(); ++g) {
    if (!settingTrue(s, kPfGroups[g], g == 0)) continue;
    if (row >= 1)
      addStatic(*this, format("PFKEYS%d", static_cast<int>(g) + 1),
                pfRowText(s, static_cast<int>(g), cols - 2), row, 2, cols - 2, c);
    ++row;
  }
}

EditPanel& editPanelOf(Task& task) {
  if (auto* p = dynamic_cast<EditPanel*>(task.view.get())) return *p;
  platform::Platform& pf = task.session.platform();
  auto panel = std::make_unique<EditPanel>(task, pf.rows(), pf.cols());
  EditPanel& ref = *panel;
  task.view = std::move(panel);
  ref.cursorRow = ref.commandRow();
  if (ScreenObject* field = findObject(ref, "PCMDINFIELD")) ref.cursorCol = field->col;
  return ref;
}

}  // namespace kiv
