// The colour scheme: the 16-entry palette and the colour pair of each screen
// element. Panels colour their objects by element; the built-in scheme is
// "3270BLUE" (light text on a dark blue ground).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/grid.h"

namespace kiv {

// In the order a scheme file lists them.
enum class Element : std::uint8_t {
  EditText, BrowseText, SelectedText, FoundText, LineNumbers, LineCommands, LineLabels,
  BoundsLine, ColsLine, ExcludeLine, FieldbarLine, HexLine, InsertLine, MaskLine, NoteLine,
  RulerLine, TabsLine, TofBofLine, CursorLine, DialogLabel, DialogInput, DialogButton,
  FileListDir, FileListFile, FileListSelect, StatusLine, MessageLine, VoidArea,
};
inline constexpr int kElementCount = 28;

// The key of an element in a scheme file without its "=": "EditText", ...
std::string_view elementKey(Element e);

struct ColourPair {
  std::uint8_t fg = 3;
  std::uint8_t bg = 0;
};

struct ColourScheme {
  platform::Palette palette{};
  std::array<ColourPair, kElementCount> pairs{};

  ColourPair pair(Element e) const { return pairs[static_cast<std::size_t>(e)]; }
  // The attribute byte of an element: foreground high, background low.
  std::uint8_t attr(Element e) const {
    ColourPair p = pair(e);
    return static_cast<std::uint8_t>((p.fg << 4) | (p.bg & 0x0F));
  }
};

const ColourScheme& builtinScheme();

}  // namespace kiv
