#include "screen/colour_scheme.h"

namespace kiv {

namespace {

constexpr std::array<std::string_view, kElementCount> kKeys = {
    "EditText",     "BrowseText",   "SelectedText",   "FoundText",   "LineNumbers",
    "LineCommands", "LineLabels",   "BoundsLine",     "ColsLine",    "ExcludeLine",
    "FieldbarLine", "HexLine",      "InsertLine",     "MaskLine",    "NoteLine",
    "RulerLine",    "TabsLine",     "TOFBOFLine",     "CursorLine",  "DialogLabel",
    "DialogInput",  "DialogButton", "FileListDir",    "FileListFile", "FileListSelect",
    "StatusLine",   "MessageLine",  "VoidArea",
};

// Palette numbers of the built-in scheme.
enum : std::uint8_t {
  kBlack, kBlue, kGreen, kWhite, kRed, kTurquoise, kYellow, kPink,
  kGray, kMidBlue, kLightGray, kDarkGray, kLightBlue, kLightGreen, kOrange, kNavy,
};

ColourScheme makeBuiltin() {
  ColourScheme s;
  s.palette = {{{0, 0, 0},       {64, 128, 255},  {0, 200, 64},    {255, 255, 255},
                {240, 64, 64},   {64, 224, 224},  {255, 255, 64},  {255, 96, 255},
                {128, 128, 128}, {32, 48, 160},   {200, 200, 200}, {48, 56, 96},
                {150, 180, 255}, {120, 255, 140}, {255, 170, 0},   {0, 0, 64}}};
  auto set = [&](Element e, std::uint8_t fg, std::uint8_t bg) {
    s.pairs[static_cast<std::size_t>(e)] = {fg, bg};
  };
  set(Element::EditText, kLightGreen, kNavy);
  set(Element::BrowseText, kTurquoise, kNavy);
  set(Element::SelectedText, kBlack, kTurquoise);
  set(Element::FoundText, kBlack, kYellow);
  set(Element::LineNumbers, kLightBlue, kNavy);
  set(Element::LineCommands, kYellow, kNavy);
  set(Element::LineLabels, kPink, kNavy);
  set(Element::BoundsLine, kOrange, kNavy);
  set(Element::ColsLine, kYellow, kNavy);
  set(Element::ExcludeLine, kWhite, kNavy);
  set(Element::FieldbarLine, kGray, kNavy);
  set(Element::HexLine, kTurquoise, kNavy);
  set(Element::InsertLine, kLightGreen, kDarkGray);
  set(Element::MaskLine, kPink, kNavy);
  set(Element::NoteLine, kWhite, kNavy);
  set(Element::RulerLine, kYellow, kNavy);
  set(Element::TabsLine, kOrange, kNavy);
  set(Element::TofBofLine, kLightBlue, kNavy);
  set(Element::CursorLine, kWhite, kDarkGray);
  set(Element::DialogLabel, kLightGreen, kNavy);
  set(Element::DialogInput, kTurquoise, kDarkGray);
  set(Element::DialogButton, kBlack, kLightGray);
  set(Element::FileListDir, kYellow, kNavy);
  set(Element::FileListFile, kTurquoise, kNavy);
  set(Element::FileListSelect, kBlack, kTurquoise);
  set(Element::StatusLine, kLightBlue, kNavy);
  set(Element::MessageLine, kYellow, kNavy);
  set(Element::VoidArea, kNavy, kNavy);
  return s;
}

}  // namespace

std::string_view elementKey(Element e) { return kKeys[static_cast<std::size_t>(e)]; }

const ColourScheme& builtinScheme() {
  static const ColourScheme kScheme = makeBuiltin();
  return kScheme;
}

}  // namespace kiv
