#include "support/screen_expect.h"

#include <optional>
#include <sstream>
#include <vector>

#include "platform/utf8.h"

namespace kiv::test {

namespace {

struct ExpectedCell {
  char32_t ch = U' ';
  std::optional<std::uint8_t> attr;  // checked only inside a colour run
  bool cursor = false;
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
    } else {
      row.push_back({c, attr, false});
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

std::string rowText(const platform::HeadlessPlatform& p, int r, bool withCursor) {
  std::string out;
  const auto& g = p.screen();
  for (int c = 0; c < g.cols(); ++c) {
    bool cursor = withCursor && p.caret().row == r && p.caret().col == c;
    platform::appendUtf8(out, cursor ? U'^' : g.at(r, c).ch);
  }
  return out + "|";
}

bool cellMatches(const platform::Cell& got, const ExpectedCell& want, bool cursorHere) {
  if (want.cursor != cursorHere) return false;
  if (!want.cursor && got.ch != want.ch) return false;
  return !want.attr || *want.attr == got.attr;
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
    bool same = static_cast<int>(row.size()) == g.cols();
    for (int c = 0; same && c < g.cols(); ++c)
      same = cellMatches(g.at(r, c), row[static_cast<std::size_t>(c)],
                         p.caret().visible && p.caret().row == r && p.caret().col == c);
    if (!same) {
      for (int c = 0; c < g.cols() && c < static_cast<int>(row.size()); ++c) {
        const ExpectedCell& e = row[static_cast<std::size_t>(c)];
        if (e.attr && *e.attr != g.at(r, c).attr) {
          report << "row " << r + 1 << " col " << c + 1 << ": colour 0x" << std::hex
                 << int(g.at(r, c).attr) << " instead of 0x" << int(*e.attr) << std::dec << "\n";
          break;
        }
      }
      std::string w;
      for (const ExpectedCell& cell : row) platform::appendUtf8(w, cell.cursor ? U'^' : cell.ch);
      report << "row " << r + 1 << " differs (" << row.size() << " cells expected):\n  want " << w
             << "|\n  got  " << rowText(p, r, true) << "\n";
      ok = false;
    }
  }
  if (ok) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << report.str() << "actual screen:\n" << screenText(p);
}

}  // namespace kiv::test
