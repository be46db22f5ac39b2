#include "screen/panel.h"

#include <algorithm>

#include "core/session.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

constexpr std::string_view kBadType = "DLMAddObj: object at row %d, col %d, invalid object type.";
constexpr std::string_view kNoName = "DLMAddObj: %s object at row %d, col %d, requires name.";
constexpr std::string_view kLongName = "DLMAddObj: %s object at row %d, col %d, name too long.";
constexpr std::string_view kBadRow =
    "DLMAddObj: %s object at row %d, col %d, row must be between 1 and %d.";
constexpr std::string_view kBadCol =
    "DLMAddObj: %s object at row %d, col %d, col must be between 1 and %d.";
constexpr std::string_view kBadWidth =
    "DLMAddObj: Object name %s, type %s, at row %d, col %d, display width %d, will display as '?'";
constexpr std::string_view kWideContent =
    "DLMAddObj: %s object, row %d, col %d, content width %d exceeds max possible width %d.";

// The placement checks in their order; false after the message.
bool checkPlacement(Panel& p, std::string_view name, ObjectType type, int row, int col) {
  std::string_view tn = objectTypeName(type);
  if (name.empty()) return messagef(p.session, "DLM10", kNoName, tn, row, col), false;
  if (name.size() > kMaxObjectName)
    return messagef(p.session, "DLM15", kLongName, tn, row, col), false;
  if (row < 1 || row > kMaxPanelRows)
    return messagef(p.session, "DLM20", kBadRow, tn, row, col, kMaxPanelRows), false;
  if (col < 1 || col > kMaxPanelCols)
    return messagef(p.session, "DLM25", kBadCol, tn, row, col, kMaxPanelCols), false;
  return true;
}

}  // namespace

Panel::Panel(Session& s, PanelType t, int r, int c)
    : session(s),
      type(t),
      rows(std::clamp(r, 1, kMaxPanelRows)),
      cols(std::clamp(c, 1, kMaxPanelCols)),
      objects(kMaxPanelRows),
      dirty_(static_cast<std::size_t>(rows), 1) {}

void Panel::markDirty(int first, int count) {
  for (int r = std::max(first, 1); r < first + count && r <= rows; ++r)
    dirty_[static_cast<std::size_t>(r - 1)] = 1;
}

void Panel::resize(int newRows, int newCols) {
  rows = std::clamp(newRows, 1, kMaxPanelRows);
  cols = std::clamp(newCols, 1, kMaxPanelCols);
  dirty_.assign(static_cast<std::size_t>(rows), 1);
}

int DLMAddObj(Panel& p, std::string_view name, std::string_view text, std::string_view commandOrVar,
              int type, int row, int col, int displayWidth, int contentWidth, int fg, int bg) {
  if (!validObjectType(type)) return messagef(p.session, "DLM5", kBadType, row, col), -1;
  auto t = static_cast<ObjectType>(type);
  if (!checkPlacement(p, name, t, row, col)) return -1;
  auto obj = std::make_unique<ScreenObject>();
  bool checked = t != ObjectType::EditLine && t != ObjectType::ScrollV;
  std::string_view initial = text;
  if (checked && (displayWidth < 1 || displayWidth > kMaxPanelCols)) {
    messagef(p.session, "DLM30", kBadWidth, name, objectTypeName(t), row, col, 1);
    displayWidth = contentWidth = 1;
    initial = "?";
  } else if (checked && contentWidth > kMaxPanelCols) {
    return messagef(p.session, "DLM35", kWideContent, objectTypeName(t), row, col, contentWidth,
                    kMaxPanelCols),
           -1;
  }
  obj->name = std::string(name);
  obj->type = t;
  obj->row = row;
  obj->col = col;
  obj->displayWidth = displayWidth;
  obj->contentWidth = std::max(contentWidth, 0);
  obj->command = std::string(commandOrVar);
  obj->fg = static_cast<std::uint8_t>(fg & 0x0F);
  obj->bg = static_cast<std::uint8_t>(bg & 0x0F);
  if (t == ObjectType::InputCheckbox) obj->checkboxVar = varGet(p.session, "ZCHECKBOXVARNAME");
  if (t != ObjectType::EditLine) setContent(*obj, initial);
  if (t == ObjectType::ScrollV)
    p.scroll = std::move(obj);
  else
    p.objects[static_cast<std::size_t>(row - 1)].push_back(std::move(obj));
  p.markDirty(row, 1);
  return 0;
}

ScreenObject* findObject(Panel& p, std::string_view name) {
  for (int r = 1; r <= p.rows; ++r)
    for (auto& o : p.objects[static_cast<std::size_t>(r - 1)])
      if (o->name == name) return o.get();
  return nullptr;
}

ScreenObject* objectAt(Panel& p, int row, int col) {
  if (row < 1 || row > p.rows) return nullptr;
  for (auto& o : p.objects[static_cast<std::size_t>(row - 1)])
    if (o->type != ObjectType::Static && col >= o->col && col < o->col + o->displayWidth)
      return o.get();
  return nullptr;
}

void removeRowObjects(Panel& p, int row) {
  if (row < 1 || row > kMaxPanelRows) return;
  p.objects[static_cast<std::size_t>(row - 1)].clear();
  p.markDirty(row, 1);
}

void setCursor(Panel& p, int row, int col) {
  p.cursorRow = std::clamp(row, 1, p.rows);
  p.cursorCol = std::clamp(col, 1, p.cols);
}

}  // namespace kiv
