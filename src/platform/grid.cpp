#include "platform/grid.h"

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace kiv::platform {

void Grid::resize(int rows, int cols) {
  rows_ = std::max(rows, 0);
  cols_ = std::max(cols, 0);
  cells_.assign(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(cols_), Cell{});
}

Cell Grid::at(int row, int col) const {
  if (row < 0 || row >= rows_ || col < 0 || col >= cols_) return Cell{};
  return cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) +
                static_cast<std::size_t>(col)];
}

void Grid::set(int row, int col, Cell cell) {
  if (row < 0 || row >= rows_ || col < 0 || col >= cols_) return;
  cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) +
         static_cast<std::size_t>(col)] = cell;
}

namespace {

using MarkPair = std::array<char32_t, 2>;

// Every pair of marks met, numbered from 1 (0 is no marks), never removed.
std::vector<MarkPair>& markPairs() {
  static std::vector<MarkPair> pairs{MarkPair{}};
  return pairs;
}

std::optional<std::uint16_t> markSetOf(const MarkPair& marks) {
  static std::map<MarkPair, std::uint16_t> index;
  if (auto it = index.find(marks); it != index.end()) return it->second;
  std::vector<MarkPair>& pairs = markPairs();
  if (pairs.size() > 0xFFFF) return std::nullopt;  // the table is full: marks not shown
  pairs.push_back(marks);
  auto n = static_cast<std::uint16_t>(pairs.size() - 1);
  index.emplace(marks, n);
  return n;
}

}  // namespace

std::array<char32_t, 2> Cell::marks() const {
  return markPairs()[markSet];
}

void Cell::addMark(char32_t mark) {
  MarkPair m = marks();
  if (m[1] != 0) return;
  m[m[0] == 0 ? 0 : 1] = mark;
  if (auto n = markSetOf(m)) markSet = *n;
}

void Grid::setWide(int row, int col, char32_t ch, std::uint8_t attr) {
  if (col + 1 >= cols_) return set(row, col, Cell{kCutWide, attr});
  set(row, col, Cell{ch, attr, 2});
  set(row, col + 1, Cell{U' ', attr, 0});
}

Cell Grid::shown(int row, int col) const {
  Cell cell = at(row, col);
  bool whole = cell.width == 1 || (cell.width == 2 && at(row, col + 1).width == 0) ||
               (cell.width == 0 && at(row, col - 1).width == 2);
  return whole ? cell : Cell{kCutWide, cell.attr};
}

void Grid::put(int row, int col, std::string_view text, std::uint8_t attr) {
  for (unsigned char c : text) set(row, col++, Cell{static_cast<char32_t>(c), attr});
}

void Grid::fillRow(int row, Cell cell) {
  for (int c = 0; c < cols_; ++c) set(row, c, cell);
}

bool Grid::rowEquals(const Grid& other, int row) const {
  if (cols_ != other.cols_ || row < 0 || row >= rows_ || row >= other.rows_) return false;
  auto begin = cells_.begin() + static_cast<std::ptrdiff_t>(row) * cols_;
  auto obegin = other.cells_.begin() + static_cast<std::ptrdiff_t>(row) * cols_;
  return std::equal(begin, begin + cols_, obegin);
}

}  // namespace kiv::platform
