// The platform on a terminal, over ncursesw: raw mode (Ctrl+S, Ctrl+Q, Ctrl+C
// and Ctrl+Z reach the program), keys and mouse read from the terminal's
// bytes by the key decoder, grids drawn row by row (only rows that changed),
// colours as true colour or the nearest of 256, caret shapes, title, bell,
// modal message boxes drawn over the grid, and the clipboard (OSC 52 and the
// desktop's clipboard tools, system_clipboard.h). The terminal is restored on
// every way out, fatal signals included.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/message_box.h"
#include "platform/platform.h"

struct screen;  // ncurses' SCREEN

namespace kiv::platform {

// How the terminal shows the palette's colours.
enum class ColourMode : std::uint8_t { Mono, Ansi8, Ansi16, Xterm256, Direct };

// The rows of `next` that differ from `shown` (all of them when the sizes
// differ): what draw() sends.
std::vector<int> changedRows(const Grid& shown, const Grid& next);

// The escape sequence that sets the caret shape (DECSCUSR, blinking).
std::string_view caretShapeSequence(CaretShape shape);

class TerminalPlatform : public Platform {
 public:
  // Takes the terminal on standard input and output. Gives nullptr and the
  // reason in `error` when there is none (not a terminal, unknown TERM, one
  // is already open).
  static std::unique_ptr<TerminalPlatform> open(std::string& error);
  ~TerminalPlatform() override;
  TerminalPlatform(const TerminalPlatform&) = delete;
  TerminalPlatform& operator=(const TerminalPlatform&) = delete;

  BoxAnswer messageBox(std::string_view title, std::string_view text, BoxButtons buttons) override;
  void playSound(Sound sound) override;

  int rows() const override { return clampRows(termRows_); }
  int cols() const override { return clampCols(termCols_); }
  void draw(const Grid& grid, const Palette& palette) override;
  void setCaret(int row, int col, CaretShape shape, bool visible) override;
  void setTitle(std::string_view title) override;
  void bell() override;
  Event nextEvent() override;
  bool escapePending() override;
  // Keeps the text, sends it to the terminal by OSC 52 and hands it to the
  // desktop's clipboard tool when there is one.
  void setClipboard(std::string_view text) override;
  // The desktop clipboard's text when a tool gives it, else the kept text.
  std::string clipboard() override;

  ColourMode colourMode() const { return colourMode_; }
  bool utf8Locale() const override { return utf8Locale_; }

 private:
  TerminalPlatform() = default;
  bool start(std::string& error);
  bool openScreen(std::string& error);
  void watchWindowChanges();

  enum class Wait : std::uint8_t { Input, Resize, Timeout, Closed };
  Wait waitForInput(int timeoutMs);
  bool readAvailable();
  // Reads and decodes whatever input is waiting, without blocking.
  void readWaiting();
  // readWaiting, then a sequence cut short (or a lone ESC) waited for a
  // moment and decoded as it stands.
  void settleInput();
  void decodePending(bool final);
  void queueEvent(Event event);
  ResizeEvent takeResize();
  std::optional<Event> popEvent();

  void paint(const Grid& grid);
  void paintRow(const Grid& grid, int row, int cols);
  int pairFor(std::uint8_t attr);
  int colourNumber(Rgb colour) const;
  void placeCaret();
  void sendRaw(std::string_view bytes);
  Grid screenBase() const;

  screen* screen_ = nullptr;
  int inFd_ = 0;
  int outFd_ = 1;
  int wakeRead_ = -1;  // the SIGWINCH self-pipe
  int termRows_ = 24;
  int termCols_ = 80;
  bool closed_ = false;
  ColourMode colourMode_ = ColourMode::Mono;
  bool utf8Locale_ = true;

  std::string input_;  // bytes read and not yet decoded
  std::deque<Event> events_;

  Grid shown_;    // what is on the screen now (a box included)
  Grid program_;  // the program's last grid
  Palette palette_{};
  bool havePalette_ = false;
  std::array<int, 256> pairs_{};

  struct Caret {
    int row = 0;
    int col = 0;
    CaretShape shape = CaretShape::Block;
    bool visible = true;
  };
  Caret caret_;
  std::optional<CaretShape> sentShape_;
  std::string title_;

  struct Click {
    std::chrono::steady_clock::time_point at{};
    int row = -1;
    int col = -1;
  };
  Click lastClick_;
};

}  // namespace kiv::platform
