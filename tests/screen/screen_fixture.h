// A whole editor over the headless platform, driven by keys and commands as
// a user drives it, with the screen drawn after every step.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "commands/editor_start.h"
#include "core/task_life.h"
#include "screen/edit_panel.h"
#include "screen/key_router.h"
#include "screen/screen_state.h"
#include "services/var_pool.h"
#include "support/editor_test.h"
#include "support/screen_expect.h"

namespace kiv::test {

class ScreenTest : public EditorTest {
 public:
  explicit ScreenTest(int rows = 12, int cols = 40) : EditorTest(rows, cols) {
    startEditor(session());
    varSet(session(), "ZACTIONKEY.ENTER", "3270Enter");
    varSet(session(), "ZPF07.MAP", "Up");
    varSet(session(), "ZPF08.MAP", "Down");
    varSet(session(), "ZPF03.MAP", "End");
  }

  Task* open(std::string_view name, std::string_view contents, TaskMode mode = TaskMode::Edit) {
    Task* t = createTask(session(), file(name, contents), mode);
    draw();
    return t;
  }
  void draw() { refreshScreen(session()); }
  void press(platform::KeyEvent k) {
    handleEvent(session(), k);
    draw();
  }
  void type(std::string_view text) {
    for (char c : text) press({platform::Key::Char, static_cast<unsigned char>(c)});
  }
  // Types into the command field and presses Enter.
  void command(std::string_view text) {
    setCommandFieldText(session(), text);
    press({platform::Key::Enter});
  }
  EditPanel& panel() { return *currentEditPanel(session()); }
  std::string screen() { return screenText(platform()); }
};

inline std::string numberedLines(int n, std::string_view text = "line") {
  std::string out;
  for (int i = 1; i <= n; ++i) out += std::string(text) + " " + std::to_string(i) + "\n";
  return out;
}

}  // namespace kiv::test
