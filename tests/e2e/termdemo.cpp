// kiv_termdemo: the terminal platform on its own, for the end-to-end test.
// Draws a grid with a few colours and shows the last event as text; F5 asks
// a Yes/No question and shows the answer; F3 ends. F4 aborts, F6 calls
// std::exit and F7 raises SIGSEGV, so that the test can check that the
// terminal is restored on each of those ways out. F8 copies a text to the
// clipboard and F9 shows what the clipboard gives.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/key_decoder.h"
#include "platform/terminal_platform.h"
#include "platform/utf8.h"

namespace {

using namespace kiv::platform;

constexpr Palette kPalette = {{{0, 0, 0}, {0, 0, 170}, {0, 170, 0}, {0, 170, 170},
                               {170, 0, 0}, {170, 0, 170}, {170, 85, 0}, {170, 170, 170},
                               {85, 85, 85}, {85, 85, 255}, {85, 255, 85}, {85, 255, 255},
                               {255, 85, 85}, {255, 85, 255}, {255, 255, 85}, {255, 255, 255}}};

const char* answerName(BoxAnswer answer) {
  switch (answer) {
    case BoxAnswer::Ok:
      return "OK";
    case BoxAnswer::Yes:
      return "Yes";
    case BoxAnswer::No:
      return "No";
    case BoxAnswer::Cancel:
      return "Cancel";
    case BoxAnswer::Closed:
      return "Closed";
  }
  return "?";
}

std::string eventText(const Event& event) {
  if (auto* key = std::get_if<KeyEvent>(&event)) return keyText(*key);
  if (auto* m = std::get_if<MouseEvent>(&event)) {
    static const char* const kButtons[] = {"Left", "Middle", "Right", "WheelUp", "WheelDown"};
    return std::string(m->doubleClick ? "DoubleClick " : "Click ") +
           kButtons[static_cast<int>(m->button)] + " " + std::to_string(m->row) + "," +
           std::to_string(m->col);
  }
  if (auto* r = std::get_if<ResizeEvent>(&event)) {
    return "Resize " + std::to_string(r->rows) + "x" + std::to_string(r->cols);
  }
  return "Quit";
}

// Key names are UTF-8 (Grid::put takes Latin-1).
void putUtf8(Grid& grid, int row, int col, const std::string& text, std::uint8_t attr) {
  for (char32_t c : decodeText(text)) grid.set(row, col++, Cell{c, attr});
}

struct Demo {
  TerminalPlatform& term;
  std::string last = "none";
  std::string answer = "none";
  std::string clip = "none";

  void draw() {
    Grid grid(term.rows(), term.cols());
    grid.fillRow(0, Cell{U' ', 0x1F});
    grid.put(0, 1, "KIV TERMDEMO", 0x1F);
    grid.put(1, 1,
             "Size " + std::to_string(term.rows()) + "x" + std::to_string(term.cols()) + "  pid " +
                 std::to_string(getpid()),
             0x70);
    putUtf8(grid, 2, 1, "Key: " + last, 0x70);
    grid.put(3, 1, "Answer: " + answer, 0x70);
    for (int c = 0; c < 16; ++c) {
      grid.set(4, 1 + 2 * c, Cell{U'#', static_cast<std::uint8_t>(c << 4)});
      grid.set(4, 2 + 2 * c, Cell{U' ', static_cast<std::uint8_t>(c)});
    }
    grid.put(5, 1, "Latin-1: \xe9\xe8\xfc", 0x70);
    putUtf8(grid, 6, 1, "Clip: " + clip, 0x70);
    grid.put(grid.rows() - 1, 0, "F3=Exit F5=Question", 0x0E);
    term.draw(grid, kPalette);
    term.setCaret(2, 6 + static_cast<int>(last.size()), CaretShape::VerticalBar, true);
  }

  // False when the demo ends.
  bool handle(const Event& event) {
    last = eventText(event);
    auto* key = std::get_if<KeyEvent>(&event);
    bool plain = key != nullptr && !key->shift && !key->ctrl && !key->alt;
    if (std::holds_alternative<QuitEvent>(event) || (plain && key->key == Key::F3)) return false;
    if (plain && key->key == Key::F4) std::abort();
    if (plain && key->key == Key::F6) std::exit(3);
    if (plain && key->key == Key::F7) std::raise(SIGSEGV);
    if (plain && key->key == Key::F8) term.setClipboard("kiv clip \xc3\xa9 \xe2\x9c\x93");
    if (plain && key->key == Key::F9) clip = term.clipboard();
    if (plain && key->key == Key::F5) {
      answer =
          answerName(term.messageBox("KIV Message", "Do you want to continue?", BoxButtons::YesNo));
    }
    return true;
  }
};

}  // namespace

int main() {
  std::string error;
  auto term = TerminalPlatform::open(error);
  if (!term) {
    std::fprintf(stderr, "kiv_termdemo: %s\n", error.c_str());
    return 1;
  }
  term->setTitle("kiv termdemo");
  Demo demo{*term};
  demo.draw();
  while (demo.handle(term->nextEvent())) demo.draw();
  return 0;
}
