// The file profile record: the editing settings of one task, read from the
// profile file of the file's type (kivfileprof.<name>.txt). Beside it, the
// name tables of its enum-like settings: the one place that converts them
// between the record and the text of a profile file.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kiv {

enum class Charset : int { AsciiIso8859 = 1, AsciiIbmPc = 2, Ebcdic = 3, Utf8 = 4 };
enum class NumberType : int { None = 0, Cobol, Standard, CobStd, HexOffset, Other };
enum class NumberAuto : int { None = 0, Full, Incr };
enum class CapsMode : int { Off = 0, On, Auto };

inline constexpr int kMaxRecLenMin = 8;
inline constexpr int kMaxRecLenMax = 128000;
inline constexpr int kMaxTabStops = 63;
inline constexpr const char* kFileProfileTag = "FILEPROF";
// MaxRecLen of a task that has no profile.
inline constexpr int kNoProfileMaxRecLen = 128;

// Record formats as the record stores them.
inline constexpr char kRecfmFixed = 'F';
inline constexpr char kRecfmVariable = 'V';
inline constexpr char kRecfmRdp = 'R';

// Option texts the record falls back to.
inline constexpr std::string_view kOptionNotify = "Notify";
inline constexpr std::string_view kOptionStripBlanks = "StripBlanksOnWrite";
inline constexpr std::string_view kTerminatorCrLf = "CR+LF";

struct FileProfile {
  char tag[9] = {'F', 'I', 'L', 'E', 'P', 'R', 'O', 'F', '\0'};
  std::string name;  // upper case

  char recfm = 0;  // 'F' FIXED, 'V' VARIABLE, 'R' RDP
  Charset charset = Charset::AsciiIso8859;
  Charset charsetDisplay = Charset::AsciiIso8859;
  NumberType numberType = NumberType::None;
  NumberAuto numberAuto = NumberAuto::None;
  CapsMode capsMode = CapsMode::Off;
  bool capsInForce = false;

  int maxRecLen = 0;
  int offset = 0;
  int promptKeystrokeLimit = 0;
  int boundLeft = 0;
  int boundRight = 0;
  int tabsIn = 0;
  int tabsOut = 0;

  std::array<int, kMaxTabStops> tabStops{};
  int tabStopCount = 0;
  bool tabStopsAutoRepeat = false;

  int numberStart = 0;
  int numberIncrement = 0;
  int numberStepdownIncrement = 0;
  int numberColStart = 0;
  int numberColEnd = 0;

  int rdpAddToReclen = 0;
  std::string rdpReclenByteOrder;  // "Intel" or "IBM"
  std::string rdpStaticBefore;     // hex text, two digits a byte
  std::string rdpStaticAfter;

  std::string longRecordOption;
  std::string maxRecordOption;
  std::string trailingBlanksOption;
  std::string newFileRecordTerminator;
  std::string tabKeyStopsAt;
  std::string color;
  const void* colorization = nullptr;  // the loaded colorization, when Color is set
  std::string templateName;
  std::string imacro;
  std::string xmacro;
  std::string maskLine;

  bool backup = false;
  bool ruler = false;
  bool hexView = false;
  bool locked = false;
  bool newFileUtf16 = false;
  bool eofRead = false;
  bool eofWrite = false;
  bool readEorStrict = false;

  // The stops parsed from tabKeyStopsAt.
  std::span<const int> stops() const {
    return {tabStops.data(), static_cast<std::size_t>(tabStopCount)};
  }
};

// One name of an enum-like setting. A table may hold several names for one
// value (NumberType "COB" and "COBOL"); the first one for a value is the one
// written to files.
template <class T>
struct NamedValue {
  std::string_view name;
  T value;
};

inline constexpr NamedValue<char> kRecfmNames[] = {
    {"FIXED", kRecfmFixed}, {"RDP", kRecfmRdp}, {"VARIABLE", kRecfmVariable}};

inline constexpr NamedValue<Charset> kCharsetNames[] = {{"ASCII-ISO8859", Charset::AsciiIso8859},
                                                        {"ASCII-IBMPC", Charset::AsciiIbmPc},
                                                        {"EBCDIC", Charset::Ebcdic},
                                                        {"UTF-8", Charset::Utf8}};

// An EBCDIC file is shown in one of the two ASCII fonts; a UTF-8 file as
// UTF-8 characters.
inline constexpr NamedValue<Charset> kCharsetDisplayNames[] = {
    {"ASCII-ISO8859", Charset::AsciiIso8859}, {"ASCII-IBMPC", Charset::AsciiIbmPc}, {"UTF-8", Charset::Utf8}};

// Written in mixed case; read after upper-casing, so the read names are the
// upper-case ones further down.
inline constexpr NamedValue<NumberType> kNumberTypeNames[] = {
    {"None", NumberType::None},           {"COBOL", NumberType::Cobol},
    {"STANDARD", NumberType::Standard},   {"COB+STD", NumberType::CobStd},
    {"HEXOFFSET", NumberType::HexOffset}, {"OTHER", NumberType::Other},
    {"NONE", NumberType::None},           {"COB", NumberType::Cobol},
    {"STD", NumberType::Standard}};

inline constexpr NamedValue<NumberAuto> kNumberAutoNames[] = {
    {"None", NumberAuto::None}, {"Full", NumberAuto::Full}, {"Incr", NumberAuto::Incr}};

inline constexpr NamedValue<CapsMode> kCapsModeNames[] = {
    {"OFF", CapsMode::Off}, {"ON", CapsMode::On}, {"AUTO", CapsMode::Auto}};

inline constexpr NamedValue<std::string_view> kTerminatorNames[] = {
    {"CR+LF", "CR+LF"}, {"LF", "LF"}, {"CR", "CR"}};

// The value of an exact (case-sensitive) name, or nothing.
template <class T, std::size_t N>
constexpr std::optional<T> valueOfName(const NamedValue<T> (&table)[N], std::string_view name) {
  for (const NamedValue<T>& e : table)
    if (e.name == name) return e.value;
  return std::nullopt;
}

// The first name of a value, or "" when the table has none.
template <class T, std::size_t N>
constexpr std::string_view nameOfValue(const NamedValue<T> (&table)[N], T value) {
  for (const NamedValue<T>& e : table)
    if (e.value == value) return e.name;
  return {};
}

// "kivfileprof.<name>.txt", the whole name in lower case.
std::string profileFileName(std::string_view profileName);

// A name that can stand in a file name: not empty, no "/" and no NUL byte.
bool profileNameUsable(std::string_view profileName);

// Fills in the built-in profile, used when no profile file can be found.
// The name and the tag are kept.
void applyBuiltinProfile(FileProfile& p);

// Reads a decimal integer as atoi does: leading blanks, an optional sign,
// digits up to the first non-digit (none: 0). The value saturates instead of
// overflowing. `pos` is advanced past what was read.
long long readDecimal(std::string_view text, std::size_t& pos);
inline long long readDecimal(std::string_view text) {
  std::size_t pos = 0;
  return readDecimal(text, pos);
}

// ASCII upper case, for profile names and keywords.
std::string profileUpper(std::string_view text);

}  // namespace kiv
