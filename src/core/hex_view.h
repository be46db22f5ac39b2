// Hex view: under every line three lines (HEXHIGH, HEXLOW, HEXSEP) that the
// panel fills with the hexadecimal digits of the line above them.
#pragma once

#include <string>
#include <string_view>

namespace kiv {

class Task;
struct Line;

// HEXHIGH, HEXLOW or HEXSEP.
bool isHexViewLine(const Line* line);
// The task shows hex view rows (the top line has them).
bool hexViewShown(const Task& task);

// Puts the three hex lines under every line but BOF that has none yet
// (lines loaded later get theirs by calling it again). Returns the number of
// lines that got them.
int hexViewOn(Task& task);
// Removes every hex view line; returns the number removed.
int hexViewOff(Task& task);
// Puts the three hex lines under `line`; -1 for BOF or a hex view line.
int insertHexLinesAfter(Task& task, Line* line);

// One hex digit per byte of `text`: the high or the low nibble, upper case.
std::string hexDigits(std::string_view text, bool high);

}  // namespace kiv
