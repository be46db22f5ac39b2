#include "support/screen_expect.h"

#include <array>
#include <optional>
#include <sstream>
#include <vector>

#include "core/text_columns.h"
#include "platform/utf8.h"

namespace kiv::test {

namespace {

// A character as written: one cell, or two for a wide character.
struct ExpectedCell {
  char32_t ch = U' ';
  std::optional<std::uint8_t> attr;  // checked only inside a colour run
  bool cursor = false;
  int width = 1;
  std::array<char32_t, 2> marks{};
};

using ExpectedRow = std::vector<ExpectedCell>;

std::optional<Element> elementOf(char32_t letter) {
  static constexpr std::pair<char32_t, Element> kLetters[] = {
      {U'E', Element::EditText},     {U'B', Element::BrowseText},   {U'N', Element::LineNumbers},
      {U'C', Element::LineCommands}, {U'L', Element::LineLabels},   {U'T', Element::TofBofLine},
      {U'R', Element::RulerLine},    {U'X', Element::ExcludeLine},  {U'H', Element::HexLine},
      {U'M', Element::MessageLine},  {U'S', Element::StatusLine},   {U'A', Element::DialogLabel},
      {U'I', Element::DialogInput},  {U'U', Element::DialogButton}, {U'F', Element::FoundText},
      {U'V', Element::VoidArea},     {U'O', Element::NoteLine},     {U'Z', Element::SelectedText}};
  for (auto [c, e] : kLetters)
    if (c == letter) return e;
  return std::nullopt;
}

// One written row (without its final "|") as cells.
ExpectedRow parseRow(const std::u32string& text, const ColourScheme& scheme) {
  ExpectedRow row;
  std::optional<std::uint8_t> attr;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (!attr && c == U'{' && i + 2 < text.size() && text[i + 2] == U':' &&
        elementOf(text[i + 1])) {
      attr = scheme.attr(*elementOf(text[i + 1]));
      i += 2;
    } else if (attr && c == U'}') {
      attr.reset();
    } else if (c == U'^') {
      row.push_back({U' ', attr, true});
    } else if (codeCells(c) == 0 && !row.empty()) {
      std::array<char32_t, 2>& marks = row.back().marks;
      if (marks[1] == 0) marks[marks[0] == 0 ? 0 : 1] = c;
    } else {
      row.push_back({c, attr, false, codeCells(c) == 2 ? 2 : 1});
    }
  }
  return row;
}

std::vector<ExpectedRow> parseScreen(std::string_view text, const ColourScheme& scheme) {
  std::vector<ExpectedRow> rows;
  std::u32string all = platform::decodeText(text);
  std::size_t start = 0;
  while (start < all.size()) {
    std::size_t end = all.find(U'\n', start);
    if (end == std::u32string::npos) end = all.size();
    std::u32string line = all.substr(start, end - start);
    start = end + 1;
    std::size_t bar = line.rfind(U'|');
    if (bar == std::u32string::npos) continue;  // blank lines around the screen
    int repeat = 1;
    if (bar + 1 < line.size() && line[bar + 1] == U'*')
      repeat = std::stoi(std::string(line.begin() + static_cast<long>(bar) + 2, line.end()));
    // "|*N" has its bar before the star; a row may itself hold "|".
    ExpectedRow row = parseRow(line.substr(0, bar), scheme);
    for (int i = 0; i < repeat; ++i) rows.push_back(row);
  }
  return rows;
}

// The cells a drawn character takes from column c: 2 for a wide one.
int spanAt(const platform::Grid& g, int r, int c) {
  return g.shown(r, c).width == 2 ? 2 : 1;
}

bool caretOn(const platform::HeadlessPlatform& p, int r, int c, int span) {
  return p.caret().visible && p.caret().row == r && p.caret().col >= c && p.caret().col < c + span;
}

std::string rowText(const platform::HeadlessPlatform& p, int r, bool withCursor) {
  std::string out;
  const auto& g = p.screen();
  for (int c = 0; c < g.cols(); c += spanAt(g, r, c)) {
    platform::Cell cell = g.shown(r, c);
    if (withCursor && caretOn(p, r, c, spanAt(g, r, c))) {
      out += "^";
      continue;
    }
    platform::appendUtf8(out, cell.ch);
    for (char32_t m : cell.marks())
      if (m != 0) platform::appendUtf8(out, m);
  }
  return out + "|";
}

std::string writtenRow(const ExpectedRow& row) {
  std::string w;
  for (const ExpectedCell& cell : row) {
    platform::appendUtf8(w, cell.cursor ? U'^' : cell.ch);
    for (char32_t m : cell.marks)
      if (m != 0) platform::appendUtf8(w, m);
  }
  return w + "|";
}

// The row's characters against the written ones, each over the cells it
// takes; the first colour that differs goes to the report.
bool rowMatches(const platform::HeadlessPlatform& p, int r, const ExpectedRow& row,
                std::ostringstream& report) {
  const auto& g = p.screen();
  std::size_t k = 0;
  for (int c = 0; c < g.cols(); ++k) {
    if (k >= row.size()) return false;
    const ExpectedCell& want = row[k];
    platform::Cell got = g.shown(r, c);
    int span = spanAt(g, r, c);
    if (want.cursor != caretOn(p, r, c, span)) return false;
    if (!want.cursor && (got.ch != want.ch || got.marks() != want.marks || span != want.width))
      return false;
    for (int i = c; i < c + span; ++i) {
      if (want.attr && *want.attr != g.at(r, i).attr) {
        report << "row " << r + 1 << " col " << i + 1 << ": colour 0x" << std::hex
               << int(g.at(r, i).attr) << " instead of 0x" << int(*want.attr) << std::dec << "\n";
        return false;
      }
    }
    c += span;
  }
  return k == row.size();
}

}  // namespace

std::string screenText(const platform::HeadlessPlatform& p) {
  std::string out;
  for (int r = 0; r < p.screen().rows(); ++r) out += rowText(p, r, true) + "\n";
  return out;
}

::testing::AssertionResult screenMatches(const platform::HeadlessPlatform& p,
                                         std::string_view expected, const ColourScheme& scheme) {
  std::vector<ExpectedRow> want = parseScreen(expected, scheme);
  const auto& g = p.screen();
  std::ostringstream report;
  bool ok = static_cast<int>(want.size()) == g.rows();
  if (!ok) report << "expected " << want.size() << " rows, the screen has " << g.rows() << "\n";
  for (int r = 0; r < g.rows() && r < static_cast<int>(want.size()); ++r) {
    const ExpectedRow& row = want[static_cast<std::size_t>(r)];
    if (!rowMatches(p, r, row, report)) {
      report << "row " << r + 1 << " differs (" << row.size() << " characters expected):\n  want "
             << writtenRow(row) << "\n  got  " << rowText(p, r, true) << "\n";
      ok = false;
    }
  }
  if (ok) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << report.str() << "actual screen:\n" << screenText(p);
}

}  // namespace kiv::test
