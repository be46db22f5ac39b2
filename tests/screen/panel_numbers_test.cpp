// Random inserts, deletes, moves and text changes made through the line
// store, with the panel scrolled to a random line after each: every number
// the prefix area shows names the line that a plain model has at that place.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/edit_step.h"
#include "core/line_ops.h"
#include "screen_fixture.h"

namespace kiv::test {
namespace {

TEST(PanelNumbers, EveryShownNumberAgreesWithAModelThroughRandomChanges) {
  ScreenTest t(12, 40);
  Task& task = *t.open("p.txt", numberedLines(1500, "l"));
  while (task.loadNextChunk && task.loadNextChunk(task)) {
  }
  ASSERT_EQ(task.textLines, 1500);
  std::vector<std::string> model;
  for (int i = 1; i <= 1500; ++i) model.push_back("l " + std::to_string(i));
  std::mt19937 rng(5);
  auto upTo = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n)(rng); };
  int made = 0;
  for (int step = 0; step < 300; ++step) {
    std::size_t at = upTo(model.size() - 1), n = 1 + upTo(std::min<std::size_t>(40, model.size() - at - 1));
    Line* first = textLineAt(task, static_cast<long>(at));
    Line* last = textLineAt(task, static_cast<long>(at + n - 1));
    {
      EditStep step_(t.session());
      switch (upTo(3)) {
        case 0: {
          insertLinesBelow(task, first, static_cast<int>(n));
          for (std::size_t i = 1; i <= n; ++i) {
            std::string text = "new " + std::to_string(made++);
            setLineText(task, textLineAt(task, static_cast<long>(at + i)), text);
            model.insert(model.begin() + static_cast<long>(at + i), text);
          }
          break;
        }
        case 1:
          if (model.size() > n + 20) {
            deleteLines(task, first, last, true);
            model.erase(model.begin() + static_cast<long>(at), model.begin() + static_cast<long>(at + n));
          }
          break;
        case 2: {
          std::size_t to = upTo(model.size());
          if (to >= at && to <= at + n) break;
          moveLines(task, first, last, to == model.size() ? task.lines.last : textLineAt(task, static_cast<long>(to)));
          std::vector<std::string> range(model.begin() + static_cast<long>(at), model.begin() + static_cast<long>(at + n));
          model.erase(model.begin() + static_cast<long>(at), model.begin() + static_cast<long>(at + n));
          model.insert(model.begin() + static_cast<long>(to > at ? to - n : to), range.begin(), range.end());
          break;
        }
        default:
          setLineText(task, first, "changed " + std::to_string(made++));
          model[at] = std::string(first->text());
      }
    }
    task.topLine = textLineAt(task, static_cast<long>(upTo(model.size() - 1)));
    t.draw();
    std::istringstream rows(t.screen());
    std::string row;
    int checked = 0;
    while (std::getline(rows, row)) {
      if (row.size() < 8 || row.find_first_not_of("0123456789") != 6) continue;
      std::size_t number = std::stoul(row.substr(0, 6));
      std::string text = row.substr(7, row.find("  ", 7) - 7);
      ASSERT_LE(number, model.size()) << "step " << step;
      ASSERT_EQ(text, model[number - 1]) << "step " << step << ", row " << row;
      ++checked;
    }
    ASSERT_GT(checked, 0) << "step " << step;
  }
}

}  // namespace
}  // namespace kiv::test
