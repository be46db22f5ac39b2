#include "platform/terminal_platform.h"

#include <fcntl.h>
#include <langinfo.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "platform/color_match.h"
#include "platform/key_decoder.h"
#include "platform/system_clipboard.h"
#include "platform/terminal_restore.h"
#include "platform/terminal_type.h"
#include "platform/utf8.h"

#define NCURSES_WIDECHAR 1
#define NCURSES_NOMACROS 1
#include <curses.h>

namespace kiv::platform {

namespace {

// How long the rest of an escape sequence may take to arrive before a lone
// ESC counts as the Escape key.
constexpr int kEscapeDelayMs = 40;
constexpr auto kDoubleClickTime = std::chrono::milliseconds(400);

// What the platform turns on beside ncurses, and what turns it off again:
// mouse clicks, drags with a button held and the wheel in SGR form, the
// title saved on the terminal's stack.
constexpr std::string_view kStartSequence = "\x1b[22;0t\x1b[?1002h\x1b[?1006h";
constexpr std::string_view kStopSequence = "\x1b[?1006l\x1b[?1002l\x1b[0 q\x1b[23;0t";

bool gTaken = false;
int gWakeWrite = -1;
struct sigaction gPreviousWinch {};

void onWindowChange(int /*sig*/) {
  int savedErrno = errno;
  char byte = 'w';
  [[maybe_unused]] ssize_t n = ::write(gWakeWrite, &byte, 1);
  errno = savedErrno;
}

// A terminfo string without its padding marks ($<...>), for writing raw.
std::string terminfoString(const char* name) {
  char* value = tigetstr(name);
  if (value == nullptr || value == reinterpret_cast<char*>(-1)) return {};
  std::string out;
  for (const char* p = value; *p != '\0'; ++p) {
    if (p[0] == '$' && p[1] == '<') {
      const char* end = std::strchr(p, '>');
      if (end != nullptr) {
        p = end;
        continue;
      }
    }
    out.push_back(*p);
  }
  return out;
}

// Everything a restore must send: ours, then what ncurses' endwin would.
std::string undoSequence() {
  return std::string(kStopSequence) + terminfoString("sgr0") + terminfoString("cnorm") +
         terminfoString("rmkx") + terminfoString("rmcup");
}

// The screen library draws UTF-8 only under a UTF-8 character type locale;
// take the user's, else C.UTF-8. True when the user's was one.
bool useUtf8Locale() {
  std::setlocale(LC_CTYPE, "");
  if (std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0) return true;
  std::setlocale(LC_CTYPE, "C.UTF-8");
  return false;
}

bool terminalSize(int fd, int& rows, int& cols) {
  winsize ws{};
  if (ioctl(fd, TIOCGWINSZ, &ws) != 0 || ws.ws_row == 0 || ws.ws_col == 0) return false;
  rows = ws.ws_row;
  cols = ws.ws_col;
  return true;
}

ColourMode detectColourMode() {
  if (!has_colors()) return ColourMode::Mono;
  if (COLORS >= 0x1000000 || tigetflag("RGB") > 0) return ColourMode::Direct;
  if (COLORS >= 256) return ColourMode::Xterm256;
  return COLORS >= 16 ? ColourMode::Ansi16 : ColourMode::Ansi8;
}

// A code point that takes exactly `cells` columns and moves nothing, else
// '?'.
wchar_t cellChar(char32_t ch, int cells = 1) {
  bool control = ch < 0x20 || (ch >= 0x7F && ch < 0xA0);
  if (control || ch > 0x10FFFF) return L'?';
  auto wc = static_cast<wchar_t>(ch);
  return wcwidth(wc) == cells ? wc : L'?';
}

// The text of a cell for setcchar: its character, then the marks the C
// library knows as combining (no width); returns the columns it takes. A
// wide character the library does not draw in two columns is '?', and so
// is the half it leaves.
int cellText(const Cell& cell, wchar_t (&text)[4]) {
  int cells = cell.width == 2 ? 2 : 1;
  text[0] = cell.width == 0 ? L'?' : cellChar(cell.ch, cells);
  if (text[0] == L'?') cells = 1;
  int n = 1;
  for (char32_t mark : cell.marks()) {
    if (mark != 0 && text[0] != L'?' && wcwidth(static_cast<wchar_t>(mark)) == 0)
      text[n++] = static_cast<wchar_t>(mark);
  }
  text[n] = L'\0';
  return cells;
}

Grid fitted(const Grid& grid, int rows, int cols) {
  Grid out(rows, cols);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      if (r < grid.rows() && c < grid.cols()) out.set(r, c, grid.at(r, c));
    }
  }
  return out;
}

}  // namespace

std::vector<int> changedRows(const Grid& shown, const Grid& next) {
  std::vector<int> rows;
  bool sameSize = shown.rows() == next.rows() && shown.cols() == next.cols();
  for (int r = 0; r < next.rows(); ++r) {
    if (!sameSize || !next.rowEquals(shown, r)) rows.push_back(r);
  }
  return rows;
}

std::string_view caretShapeSequence(CaretShape shape) {
  switch (shape) {
    case CaretShape::Block:
      return "\x1b[1 q";
    case CaretShape::HorizontalBar:
      return "\x1b[3 q";
    case CaretShape::VerticalBar:
      return "\x1b[5 q";
  }
  return "\x1b[1 q";
}

// ---- opening and closing ----

std::unique_ptr<TerminalPlatform> TerminalPlatform::open(std::string& error) {
  if (gTaken) {
    error = "the terminal is already in use by this program";
    return nullptr;
  }
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
    error = "standard input and output must be a terminal";
    return nullptr;
  }
  std::unique_ptr<TerminalPlatform> platform(new TerminalPlatform());
  if (!platform->start(error)) return nullptr;
  return platform;
}

bool TerminalPlatform::start(std::string& error) {
  utf8Locale_ = useUtf8Locale();
  if (!saveTerminalState(inFd_)) {
    error = "cannot read the terminal's settings";
    return false;
  }
  if (!openScreen(error)) return false;
  gTaken = true;
  armTerminalRestore(outFd_, undoSequence());
  raw();
  noecho();
  nonl();
  intrflush(stdscr, FALSE);
  keypad(stdscr, TRUE);  // application keypad: keypad Enter is its own key
  if (has_colors()) start_color();
  colourMode_ = detectColourMode();
  pairs_.fill(-1);
  watchWindowChanges();
  werase(stdscr);
  wnoutrefresh(stdscr);
  doupdate();
  sendRaw(kStartSequence);
  return true;
}

bool TerminalPlatform::openScreen(std::string& error) {
  const char* term = std::getenv("TERM");
  std::string type = chooseTerminalType(term, std::getenv("COLORTERM"));
  screen_ = newterm(type.empty() ? nullptr : type.c_str(), stdout, stdin);
  if (screen_ == nullptr) {
    error = "unknown terminal type '" + std::string(term != nullptr ? term : "") + "'";
    return false;
  }
  if (terminfoString("cup").empty()) {  // a full screen needs cursor addressing
    endwin();
    delscreen(screen_);
    screen_ = nullptr;
    error = "terminal type '" + type + "' cannot place the cursor";
    return false;
  }
  return true;
}

// SIGWINCH wakes the input wait through a pipe; the size is read now.
void TerminalPlatform::watchWindowChanges() {
  int pipeFds[2];
  if (pipe2(pipeFds, O_NONBLOCK | O_CLOEXEC) == 0) {
    wakeRead_ = pipeFds[0];
    gWakeWrite = pipeFds[1];
    struct sigaction action {};
    action.sa_handler = onWindowChange;
    sigemptyset(&action.sa_mask);
    sigaction(SIGWINCH, &action, &gPreviousWinch);
    catchQuitSignals(gWakeWrite);
  }
  if (!terminalSize(outFd_, termRows_, termCols_)) {
    termRows_ = LINES;
    termCols_ = COLS;
  }
}

TerminalPlatform::~TerminalPlatform() {
  if (screen_ == nullptr) return;
  sendRaw(kStopSequence);
  endwin();
  delscreen(screen_);
  disarmTerminalRestore();
  if (wakeRead_ >= 0) {
    sigaction(SIGWINCH, &gPreviousWinch, nullptr);
    ::close(wakeRead_);
    ::close(gWakeWrite);
    gWakeWrite = -1;
  }
  gTaken = false;
}

// ---- output ----

void TerminalPlatform::sendRaw(std::string_view bytes) {
  std::fflush(stdout);
  while (!bytes.empty()) {
    ssize_t n = ::write(outFd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

int TerminalPlatform::colourNumber(Rgb colour) const {
  switch (colourMode_) {
    case ColourMode::Direct:
      return static_cast<int>(directColor(colour));
    case ColourMode::Xterm256:
      return nearestXterm256(colour);
    case ColourMode::Ansi16:
      return nearestAnsi(colour, 16);
    case ColourMode::Ansi8:
      return nearestAnsi(colour, 8);
    case ColourMode::Mono:
      return 0;
  }
  return 0;
}

int TerminalPlatform::pairFor(std::uint8_t attr) {
  if (colourMode_ == ColourMode::Mono) return 0;
  int& pair = pairs_[attr];
  if (pair < 0) {
    int fg = colourNumber(palette_[attr >> 4]);
    int bg = colourNumber(palette_[attr & 0x0F]);
    pair = std::max(0, alloc_pair(fg, bg));
  }
  return pair;
}

void TerminalPlatform::paintRow(const Grid& grid, int row, int cols) {
  for (int c = 0; c < cols;) {
    Cell cell = grid.shown(row, c);
    if (cell.width == 2 && c + 1 >= cols) cell = Cell{kCutWide, cell.attr};  // the terminal cuts it
    wchar_t text[4];
    int cells = cellText(cell, text);
    int pair = pairFor(cell.attr);
    cchar_t cc{};
    if (setcchar(&cc, text, A_NORMAL, 0, &pair) == ERR) {
      text[1] = L'\0';  // the marks refused: the character alone
      setcchar(&cc, text, A_NORMAL, 0, &pair);
    }
    // The bottom-right cell reports an error (the cursor cannot move on)
    // but is drawn. A wide character fills its right half too.
    mvwadd_wch(stdscr, row, c, &cc);
    c += cells;
  }
}

void TerminalPlatform::paint(const Grid& grid) {
  bool sameSize = shown_.rows() == grid.rows() && shown_.cols() == grid.cols();
  if (!sameSize) werase(stdscr);  // cells outside a smaller grid stay blank
  int rows = std::min(grid.rows(), termRows_);
  int cols = std::min(grid.cols(), termCols_);
  for (int r : changedRows(shown_, grid)) {
    if (r < rows) paintRow(grid, r, cols);
  }
  shown_ = grid;
  placeCaret();
}

void TerminalPlatform::draw(const Grid& grid, const Palette& palette) {
  if (!havePalette_ || palette != palette_) {
    palette_ = palette;
    havePalette_ = true;
    pairs_.fill(-1);
    if (colourMode_ != ColourMode::Mono) reset_color_pairs();
    shown_ = Grid();  // every row again, in the new colours
  }
  program_ = grid;
  paint(grid);
}

void TerminalPlatform::placeCaret() {
  int row = std::clamp(caret_.row, 0, std::max(0, std::min(termRows_, kMaxScreenRows) - 1));
  int col = std::clamp(caret_.col, 0, std::max(0, std::min(termCols_, kMaxScreenCols) - 1));
  curs_set(caret_.visible ? 1 : 0);
  wmove(stdscr, row, col);
  wnoutrefresh(stdscr);
  doupdate();
  if (caret_.visible && sentShape_ != caret_.shape) {
    sendRaw(caretShapeSequence(caret_.shape));
    sentShape_ = caret_.shape;
  }
}

void TerminalPlatform::setCaret(int row, int col, CaretShape shape, bool visible) {
  caret_ = {row, col, shape, visible};
  placeCaret();
}

void TerminalPlatform::setTitle(std::string_view title) {
  std::string clean;
  for (char32_t c : decodeText(title)) {
    if (c >= 0x20 && !(c >= 0x7F && c < 0xA0)) appendUtf8(clean, c);
  }
  if (clean == title_) return;
  title_ = clean;
  sendRaw("\x1b]0;" + clean + "\x07");
}

void TerminalPlatform::bell() {
  beep();
  std::fflush(stdout);
}

void TerminalPlatform::playSound(Sound /*sound*/) {
  bell();
}

// ---- clipboard ----

void TerminalPlatform::setClipboard(std::string_view text) {
  Platform::setClipboard(text);
  // OSC 52 changes nothing on the screen, so ncurses' picture stays right.
  if (std::string osc = osc52Sequence(text); !osc.empty()) sendRaw(osc);
  copyToSystemClipboard(text);
}

std::string TerminalPlatform::clipboard() {
  return pasteFromSystemClipboard(clipboard_);
}

// ---- input ----

TerminalPlatform::Wait TerminalPlatform::waitForInput(int timeoutMs) {
  pollfd fds[2] = {{inFd_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
  nfds_t count = wakeRead_ >= 0 ? 2 : 1;
  for (;;) {
    int n = poll(fds, count, timeoutMs);
    if (n < 0 && errno == EINTR) continue;  // the resize shows in the pipe
    if (n == 0) return Wait::Timeout;
    if (n < 0) break;
    if (count == 2 && (fds[1].revents & POLLIN) != 0) return Wait::Resize;
    if ((fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
      return readAvailable() ? Wait::Input : Wait::Closed;
    }
    break;
  }
  closed_ = true;
  return Wait::Closed;
}

// Reads what the terminal has sent; false when it is gone.
bool TerminalPlatform::readAvailable() {
  char buffer[4096];
  for (;;) {
    ssize_t n = ::read(inFd_, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      closed_ = true;
      return false;
    }
    input_.append(buffer, static_cast<std::size_t>(n));
    return true;
  }
}

void TerminalPlatform::queueEvent(Event event) {
  if (auto* mouse = std::get_if<MouseEvent>(&event); mouse && mouse->button == MouseButton::Left && !mouse->drag) {
    auto now = std::chrono::steady_clock::now();
    mouse->doubleClick = mouse->row == lastClick_.row && mouse->col == lastClick_.col &&
                         now - lastClick_.at < kDoubleClickTime;
    // A third click starts over rather than making another double click.
    lastClick_ = mouse->doubleClick ? Click{} : Click{now, mouse->row, mouse->col};
  }
  events_.push_back(event);
}

void TerminalPlatform::decodePending(bool final) {
  while (!input_.empty()) {
    Decoded d = decodeInput(input_, final);
    if (d.status == DecodeStatus::NeedMore) return;
    input_.erase(0, std::max<std::size_t>(d.length, 1));
    if (!isNothing(d.event)) queueEvent(d.event);
  }
}

ResizeEvent TerminalPlatform::takeResize() {
  char drain[64];
  while (::read(wakeRead_, drain, sizeof drain) > 0) {
  }
  int rows = termRows_;
  int cols = termCols_;
  if (terminalSize(outFd_, rows, cols)) {
    termRows_ = rows;
    termCols_ = cols;
    resizeterm(rows, cols);
  }
  shown_ = Grid();  // the terminal's content is unknown now: all rows again
  clearok(curscr, TRUE);
  return ResizeEvent{clampRows(termRows_), clampCols(termCols_)};
}

std::optional<Event> TerminalPlatform::popEvent() {
  if (events_.empty()) return std::nullopt;
  Event event = events_.front();
  events_.pop_front();
  return event;
}

Event TerminalPlatform::nextEvent() {
  for (;;) {
    if (quitRequested()) return QuitEvent{};
    decodePending(false);
    if (auto event = popEvent()) return *event;
    if (closed_) return QuitEvent{};
    switch (waitForInput(input_.empty() ? -1 : kEscapeDelayMs)) {
      case Wait::Input:
        break;
      case Wait::Resize:
        if (quitRequested()) return QuitEvent{};
        return takeResize();
      case Wait::Timeout:
        decodePending(true);
        break;
      case Wait::Closed:
        decodePending(true);
        break;
    }
  }
}

void TerminalPlatform::readWaiting() {
  pollfd fd{inFd_, POLLIN, 0};
  while (!closed_ && poll(&fd, 1, 0) > 0 && readAvailable()) {
  }
  decodePending(false);
}

void TerminalPlatform::settleInput() {
  readWaiting();
  if (!input_.empty() && !closed_) {
    // A sequence cut short, or an ESC that may be the start of one.
    pollfd fd{inFd_, POLLIN, 0};
    if (poll(&fd, 1, kEscapeDelayMs) > 0) readAvailable();
    decodePending(false);
    decodePending(true);
  }
}

bool TerminalPlatform::escapePending() {
  settleInput();
  return takeEscape(events_);
}

// ---- message boxes ----

Grid TerminalPlatform::screenBase() const {
  return fitted(program_, rows(), cols());
}

BoxAnswer TerminalPlatform::messageBox(std::string_view title, std::string_view text,
                                       BoxButtons buttons) {
  Caret saved = caret_;
  caret_.visible = false;
  // Keys typed ahead (read or still in the terminal's buffer) are dropped:
  // "renumber" typed after a command that brings up this box must not
  // answer No with its "n" and run "umber".
  settleInput();  // an Escape typed ahead, half read, must not close the box a moment later
  dropTypeAhead(events_);
  std::optional<ResizeEvent> resized;
  std::optional<BoxAnswer> answer;
  while (!answer) {
    MessageBoxLayout box = layoutMessageBox(rows(), cols(), title, text, buttons);
    Grid screen = screenBase();
    paintMessageBox(screen, box);
    paint(screen);
    for (;;) {
      Event event = nextEvent();
      if (auto* key = std::get_if<KeyEvent>(&event)) {
        answer = boxAnswerForKey(*key, buttons);
      } else if (auto* mouse = std::get_if<MouseEvent>(&event)) {
        if (mouse->button == MouseButton::Left) answer = boxAnswerAt(box, mouse->row, mouse->col);
      } else if (auto* size = std::get_if<ResizeEvent>(&event)) {
        resized = *size;
        break;  // lay the box out again for the new size
      } else {
        answer = buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::Closed;
      }
      if (answer) break;
    }
  }
  // The program learns of a resize after the box, and draws its grid anew.
  if (resized) events_.push_front(*resized);
  caret_ = saved;
  paint(program_.rows() > 0 ? program_ : screenBase());
  return *answer;
}

}  // namespace kiv::platform
