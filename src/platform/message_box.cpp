#include "platform/message_box.h"

#include <algorithm>

#include "platform/utf8.h"

namespace kiv::platform {

namespace {

struct ButtonInfo {
  BoxAnswer answer;
  std::u32string_view label;
  char32_t hotkey;
};
constexpr ButtonInfo kButtonInfo[] = {
    {BoxAnswer::Ok, U"[ OK ]", U'o'},
    {BoxAnswer::Yes, U"[ Yes ]", U'y'},
    {BoxAnswer::No, U"[ No ]", U'n'},
    {BoxAnswer::Cancel, U"[ Cancel ]", U'c'},
};

const ButtonInfo& infoOf(BoxAnswer answer) {
  for (const auto& info : kButtonInfo) {
    if (info.answer == answer) return info;
  }
  return kButtonInfo[0];
}

std::vector<BoxAnswer> answersOf(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::Ok:
      return {BoxAnswer::Ok};
    case BoxButtons::YesNo:
      return {BoxAnswer::Yes, BoxAnswer::No};
    case BoxButtons::YesNoCancel:
      return {BoxAnswer::Yes, BoxAnswer::No, BoxAnswer::Cancel};
  }
  return {BoxAnswer::Ok};
}

constexpr int kButtonGap = 2;

int buttonRowWidth(const std::vector<BoxAnswer>& answers) {
  int width = 0;
  for (BoxAnswer a : answers) width += static_cast<int>(infoOf(a).label.size()) + kButtonGap;
  return width - kButtonGap;
}

// Wraps one line (no line feeds) onto `out`.
void wrapLine(std::u32string_view line, int width, std::vector<std::u32string>& out) {
  auto w = static_cast<std::size_t>(width);
  while (line.size() > w) {
    std::size_t cut = line.rfind(U' ', w);
    std::size_t next = cut;
    if (cut == std::u32string_view::npos || cut == 0) {
      cut = w;  // one long word: cut it
      next = w;
    } else {
      next = cut + 1;
    }
    out.emplace_back(line.substr(0, cut));
    line.remove_prefix(next);
  }
  out.emplace_back(line);
}

// Control characters would move the terminal's cursor: blanks stand in.
std::u32string printable(std::u32string text) {
  for (char32_t& c : text) {
    if (c != U'\n' && (c < 0x20 || (c >= 0x7F && c < 0xA0))) c = U' ';
  }
  return text;
}

void putText(Grid& grid, int row, int col, std::u32string_view text, std::uint8_t attr) {
  for (char32_t c : text) grid.set(row, col++, Cell{c, attr});
}

void paintFrame(Grid& grid, const MessageBoxLayout& box) {
  int bottom = box.top + box.height - 1;
  int right = box.left + box.width - 1;
  for (int r = box.top; r <= bottom; ++r) {
    for (int c = box.left; c <= right; ++c) {
      bool edgeRow = r == box.top || r == bottom;
      bool edgeCol = c == box.left || c == right;
      char32_t ch = U' ';
      if (edgeRow && edgeCol) {
        ch = r == box.top ? (c == box.left ? U'┌' : U'┐') : (c == box.left ? U'└' : U'┘');
      } else if (edgeRow) {
        ch = U'─';
      } else if (edgeCol) {
        ch = U'│';
      }
      grid.set(r, c, Cell{ch, kBoxAttr});
    }
  }
}

}  // namespace

std::vector<std::u32string> wrapText(std::u32string_view text, int width) {
  width = std::max(width, 1);
  std::vector<std::u32string> lines;
  for (;;) {
    std::size_t end = text.find(U'\n');
    wrapLine(text.substr(0, end), width, lines);
    if (end == std::u32string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

MessageBoxLayout layoutMessageBox(int rows, int cols, std::string_view title, std::string_view text,
                                  BoxButtons buttons) {
  rows = std::max(rows, 1);
  cols = std::max(cols, 1);
  MessageBoxLayout box;
  box.kind = buttons;
  box.title = printable(decodeText(title));
  std::replace(box.title.begin(), box.title.end(), U'\n', U' ');
  int textWidth = std::max(1, std::min(kBoxMaxTextWidth, cols - 4));
  box.lines = wrapText(printable(decodeText(text)), textWidth);
  // Frame, text, a blank row, the buttons, frame: the text gives way first.
  auto fit = static_cast<std::size_t>(std::max(0, rows - 4));
  if (box.lines.size() > fit) box.lines.resize(fit);

  std::vector<BoxAnswer> answers = answersOf(buttons);
  int content = buttonRowWidth(answers);
  content = std::max(content, static_cast<int>(box.title.size()) + 2);
  for (const auto& line : box.lines) content = std::max(content, static_cast<int>(line.size()));
  box.width = std::min(cols, content + 4);
  box.height = std::min(rows, static_cast<int>(box.lines.size()) + 4);
  box.top = (rows - box.height) / 2;
  box.left = (cols - box.width) / 2;

  int buttonRow = box.top + std::max(0, box.height - 2);
  int col = box.left + std::max(0, (box.width - buttonRowWidth(answers)) / 2);
  for (BoxAnswer a : answers) {
    int width = static_cast<int>(infoOf(a).label.size());
    box.buttons.push_back({a, buttonRow, col, width});
    col += width + kButtonGap;
  }
  return box;
}

void paintMessageBox(Grid& grid, const MessageBoxLayout& box) {
  paintFrame(grid, box);
  int inner = std::max(0, box.width - 4);
  if (!box.title.empty() && box.width > 4) {
    std::u32string shown = U" " + box.title + U" ";
    shown.resize(std::min(shown.size(), static_cast<std::size_t>(box.width - 2)));
    putText(grid, box.top, box.left + 1, shown, kBoxAttr);
  }
  for (std::size_t i = 0; i < box.lines.size(); ++i) {
    std::u32string_view line = box.lines[i];
    putText(grid, box.top + 1 + static_cast<int>(i), box.left + 2,
            line.substr(0, static_cast<std::size_t>(inner)), kBoxAttr);
  }
  for (const auto& b : box.buttons) {
    putText(grid, b.row, b.col, infoOf(b.answer).label, kBoxButtonAttr);
  }
}

std::optional<BoxAnswer> boxAnswerForKey(const KeyEvent& key, BoxButtons buttons) {
  std::vector<BoxAnswer> answers = answersOf(buttons);
  if (key.key == Key::Enter || key.key == Key::KeypadEnter) return answers.front();
  if (key.key == Key::Escape) {
    return buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::Closed;
  }
  if (key.key != Key::Char || key.ctrl || key.alt) return std::nullopt;
  char32_t c = key.ch >= U'A' && key.ch <= U'Z' ? key.ch - U'A' + U'a' : key.ch;
  for (BoxAnswer a : answers) {
    if (infoOf(a).hotkey == c) return a;
  }
  return std::nullopt;
}

std::optional<BoxAnswer> boxAnswerAt(const MessageBoxLayout& box, int row, int col) {
  for (const auto& b : box.buttons) {
    if (row == b.row && col >= b.col && col < b.col + b.width) return b.answer;
  }
  return std::nullopt;
}

}  // namespace kiv::platform
