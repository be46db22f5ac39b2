#include "commands/labels.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "core/line.h"
#include "core/line_ops.h"
#include "core/task.h"
#include "core/file_load.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"

namespace kiv {

namespace {

enum class Own { First, Last, Cursor };

constexpr std::array<std::pair<std::string_view, Own>, 6> kOwn = {{
    {".ZFIRST", Own::First}, {".ZF", Own::First}, {".ZLAST", Own::Last},
    {".ZL", Own::Last},      {".ZCSR", Own::Cursor}, {".ZC", Own::Cursor},
}};

Line* ownLabel(Task& task, Own which) {
  switch (which) {
    case Own::First:
      return textLineAt(task, 0);
    case Own::Last:
      loadAll(task);
      return task.textLines > 0 ? textLineAt(task, task.textLines - 1) : nullptr;
    case Own::Cursor: {
      EditPanel* panel = currentEditPanel(task.session);
      return panel && &panel->task == &task ? panel->currentLine() : nullptr;
    }
  }
  return nullptr;
}

}  // namespace

Line* lineByLabel(Task& task, std::string_view label) {
  std::string upper(label);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  for (auto [name, which] : kOwn)
    if (upper == name) return ownLabel(task, which);
  for (Line* p = task.lines.first; p; p = nextLoadedLine(task, p))
    if (p->hasLabel() && p->label().substr(0, p->label().find(' ')) == upper) return p;
  return nullptr;
}

bool isUserLabel(std::string_view label) {
  if (!label.starts_with('.')) return false;
  std::string_view name = label.substr(1);
  auto alnum = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
  return !name.empty() && name.size() <= 8 && std::isalpha(static_cast<unsigned char>(name[0])) &&
         name[0] != 'Z' && std::all_of(name.begin(), name.end(), alnum);
}

}  // namespace kiv
