// Random CHANGE commands, as typed, on a numbered UTF-8 file whose
// characters take more bytes than columns: every line stays UTF-8, keeps
// its number in bytes 73-80, and is never longer than MaxRecLen.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/file_profile.h"
#include "core/line.h"
#include "core/task.h"
#include "core/text_columns.h"
#include "screen_fixture.h"

namespace kiv {
namespace {

TEST(NumberedUtf8Change, RandomChangesKeepEveryNumberInItsBytes) {
  test::ScreenTest t(24, 100);
  const std::vector<std::string> words = {"a", "bb", "é", "漢字", "ü", "x y", "Ωmega", "😀"};
  std::mt19937 rng(9);
  std::string contents;
  for (int i = 1; i <= 30; ++i) {
    std::string data;
    while (data.size() < 50) data += words[rng() % words.size()] + " ";
    data.resize(72, ' ');
    std::string number = std::to_string(100000000 + i * 100).substr(1);
    contents += (validUtf8(data) ? data : std::string(72, 'q')) + number + "\n";
  }
  Task* task = t.open("n.cbl", contents);
  ASSERT_NE(task, nullptr);
  FileProfile& p = *task->profile;
  p.charset = p.charsetDisplay = Charset::Utf8;
  p.maxRecLen = 80;
  p.numberType = NumberType::Standard;
  p.numberColStart = 73;
  p.numberColEnd = 80;
  p.boundLeft = 1;
  p.boundRight = 72;
  auto all = [&] {
    std::string out;
    for (const Line* l = task->lines.first; l; l = l->next) out += std::string(l->text()) + "\n";
    return out;
  };
  auto check = [&](const std::string& after) {
    int i = 0;
    for (const Line* l = task->lines.first; l; l = l->next) {
      if (!l->is(LineKind::Text)) continue;
      ++i;
      std::string_view text = l->text();
      std::string number = std::to_string(100000000 + i * 100).substr(1);
      ASSERT_TRUE(validUtf8(text)) << after;
      ASSERT_LE(text.size(), 80u) << after;
      ASSERT_EQ(text.substr(72), number) << after << ": " << std::string(text);
    }
  };
  check("the file as loaded");
  int changed = 0;
  for (int round = 0; round < 200; ++round) {
    std::string from = words[rng() % words.size()], to = words[rng() % words.size()];
    std::string cmd = "change '" + from + "' '" + to + "' all";
    std::string before = all();
    t.command(cmd);
    check(cmd);
    changed += all() != before;
    t.command("reset");
  }
  EXPECT_GT(changed, 50);  // the commands did change lines
}

}  // namespace
}  // namespace kiv
