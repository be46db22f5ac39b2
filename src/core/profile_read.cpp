#include "core/profile_read.h"

#include <algorithm>

#include "core/session.h"
#include "core/tab_stops.h"
#include "services/messages.h"
#include "services/path_search.h"

namespace kiv {

namespace {

constexpr std::string_view kProfilePathVar = "ZPATH.FILEPROFILES";
constexpr std::string_view kDefaultProfile = "default";
constexpr std::size_t kLineLimit = 513;  // 512 characters and the terminator
constexpr long long kNoMax = 2147483647;

struct KeyEntry;
using RuleFn = bool (*)(FileProfile&, const KeyEntry&, std::string_view value);

// One key of a profile file: the rule that checks and stores its value, and
// the field (with its range) for the rules that serve several keys.
struct KeyEntry {
  std::string_view key;
  RuleFn rule;
  int FileProfile::*number = nullptr;
  std::string FileProfile::*text = nullptr;
  bool FileProfile::*flag = nullptr;
  long long min = 0;
  long long max = kNoMax;
};

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

bool inRange(long long v, long long min, long long max) {
  return v >= min && v <= max;
}

// "left,right" or "left right".
bool ruleBounds(FileProfile& p, const KeyEntry&, std::string_view v) {
  std::size_t pos = 0;
  long long left = readDecimal(v, pos);
  while (pos < v.size() && (v[pos] == ',' || isBlank(v[pos]))) ++pos;
  long long right = readDecimal(v, pos);
  if (!inRange(left, 1, kMaxRecLenMax) || !inRange(right, left, kMaxRecLenMax)) return false;
  p.boundLeft = static_cast<int>(left);
  p.boundRight = static_cast<int>(right);
  return true;
}

bool ruleCapsMode(FileProfile& p, const KeyEntry&, std::string_view v) {
  auto mode = valueOfName(kCapsModeNames, v);
  if (mode) p.capsMode = *mode;
  return mode.has_value();
}

// An unknown character set is no error: the value stays as it was.
bool ruleCharset(FileProfile& p, const KeyEntry&, std::string_view v) {
  if (auto cs = valueOfName(kCharsetNames, v)) p.charset = *cs;
  return true;
}

bool ruleCharsetDisplay(FileProfile& p, const KeyEntry&, std::string_view v) {
  if (auto cs = valueOfName(kCharsetDisplayNames, v)) p.charsetDisplay = *cs;
  return true;
}

bool ruleText(FileProfile& p, const KeyEntry& e, std::string_view v) {
  p.*e.text = v;
  return true;
}

// 'text': the first character is dropped, the text ends at the next quote.
bool ruleMaskLine(FileProfile& p, const KeyEntry&, std::string_view v) {
  if (!v.empty()) v.remove_prefix(1);
  p.maskLine = v.substr(0, v.find('\''));
  return true;
}

bool ruleMaxRecLen(FileProfile& p, const KeyEntry&, std::string_view v) {
  long long n = readDecimal(v);
  if (!inRange(n, kMaxRecLenMin, kMaxRecLenMax)) return false;
  p.maxRecLen = p.boundRight = static_cast<int>(n);
  return true;
}

bool ruleTerminator(FileProfile& p, const KeyEntry&, std::string_view v) {
  auto t = valueOfName(kTerminatorNames, v);
  if (t) p.newFileRecordTerminator = *t;
  return t.has_value();
}

bool ruleNumberAuto(FileProfile& p, const KeyEntry&, std::string_view v) {
  auto a = valueOfName(kNumberAutoNames, v);
  if (a) p.numberAuto = *a;
  return a.has_value();
}

bool ruleNumber(FileProfile& p, const KeyEntry& e, std::string_view v) {
  long long n = readDecimal(v);
  if (!inRange(n, e.min, e.max)) return false;
  p.*e.number = static_cast<int>(n);
  return true;
}

bool ruleNumberType(FileProfile& p, const KeyEntry&, std::string_view v) {
  auto t = valueOfName(kNumberTypeNames, profileUpper(v));
  if (t) p.numberType = *t;
  return t.has_value();
}

bool ruleRecfm(FileProfile& p, const KeyEntry&, std::string_view v) {
  auto r = valueOfName(kRecfmNames, profileUpper(v));
  if (r) p.recfm = *r;
  return r.has_value();
}

bool ruleFlag(FileProfile& p, const KeyEntry& e, std::string_view v) {
  if (v != "TRUE" && v != "FALSE") return false;
  p.*e.flag = v == "TRUE";
  return true;
}

using P = FileProfile;
constexpr long long kAnyInt = -2147483647;

// The keys of a profile file, compared exactly (case-sensitive).
// clang-format off
constexpr KeyEntry kKeys[] = {
    {.key = "Bounds", .rule = ruleBounds},
    {.key = "CapsMode", .rule = ruleCapsMode},
    {.key = "Charset", .rule = ruleCharset},
    {.key = "CharsetFile", .rule = ruleCharset},
    {.key = "CharsetDisplay", .rule = ruleCharsetDisplay},
    {.key = "Color", .rule = ruleText, .text = &P::color},
    {.key = "Imacro", .rule = ruleText, .text = &P::imacro},
    {.key = "LongRecordOption", .rule = ruleText, .text = &P::longRecordOption},
    {.key = "MaxRecordOption", .rule = ruleText, .text = &P::maxRecordOption},
    {.key = "MaskLine", .rule = ruleMaskLine},
    {.key = "MaxRecLen", .rule = ruleMaxRecLen},
    {.key = "NewFileRecordTerminator", .rule = ruleTerminator},
    {.key = "NumberAuto", .rule = ruleNumberAuto},
    {.key = "NumberColEnd", .rule = ruleNumber, .number = &P::numberColEnd, .min = 1},
    {.key = "NumberColStart", .rule = ruleNumber, .number = &P::numberColStart, .min = 1},
    {.key = "NumberIncrement", .rule = ruleNumber, .number = &P::numberIncrement, .max = 10000},
    {.key = "NumberStepdownIncrement", .rule = ruleNumber, .number = &P::numberStepdownIncrement,
        .max = 1000},
    {.key = "NumberStart", .rule = ruleNumber, .number = &P::numberStart, .min = 1},
    {.key = "NumberType", .rule = ruleNumberType},
    {.key = "Offset", .rule = ruleNumber, .number = &P::offset, .max = kMaxRecLenMax - 1},
    {.key = "PromptKeystrokeLimit", .rule = ruleNumber, .number = &P::promptKeystrokeLimit},
    {.key = "RDPAddToReclen", .rule = ruleNumber, .number = &P::rdpAddToReclen, .min = kAnyInt},
    {.key = "RDPReclenByteOrder", .rule = ruleText, .text = &P::rdpReclenByteOrder},
    {.key = "RDPStaticBefore", .rule = ruleText, .text = &P::rdpStaticBefore},
    {.key = "RDPStaticAfter", .rule = ruleText, .text = &P::rdpStaticAfter},
    {.key = "Recfm", .rule = ruleRecfm},
    {.key = "Tabs", .rule = ruleText, .text = &P::tabKeyStopsAt},
    {.key = "TabKeyStopsAt", .rule = ruleText, .text = &P::tabKeyStopsAt},
    {.key = "TabsIn", .rule = ruleNumber, .number = &P::tabsIn, .max = 9},
    {.key = "TabsOut", .rule = ruleNumber, .number = &P::tabsOut, .max = 9},
    {.key = "Template", .rule = ruleText, .text = &P::templateName},
    {.key = "TrailingBlanksOption", .rule = ruleText, .text = &P::trailingBlanksOption},
    {.key = "Xmacro", .rule = ruleText, .text = &P::xmacro},
    {.key = "BOOLbackup", .rule = ruleFlag, .flag = &P::backup},
    {.key = "BOOLruler", .rule = ruleFlag, .flag = &P::ruler},
    {.key = "BOOLhexview", .rule = ruleFlag, .flag = &P::hexView},
    {.key = "BOOLlock", .rule = ruleFlag, .flag = &P::locked},
    {.key = "BOOLnewfileUTF16", .rule = ruleFlag, .flag = &P::newFileUtf16},
    {.key = "BOOLeofread", .rule = ruleFlag, .flag = &P::eofRead},
    {.key = "BOOLeofwrite", .rule = ruleFlag, .flag = &P::eofWrite},
    {.key = "BOOLreadeorstrict", .rule = ruleFlag, .flag = &P::readEorStrict},
};
// clang-format on

const KeyEntry* findKey(std::string_view key) {
  for (const KeyEntry& e : kKeys)
    if (e.key == key) return &e;
  return nullptr;
}

// Splits "Key = value" at the first blank or "="; false for a line that holds
// nothing to read (empty, or a "//" comment).
bool splitLine(std::string_view line, std::string_view& key, std::string_view& value) {
  std::size_t pos = 0;
  while (pos < line.size() && isBlank(line[pos])) ++pos;
  line.remove_prefix(pos);
  if (line.empty() || line.starts_with("//")) return false;
  std::size_t end = 0;
  while (end < line.size() && !isBlank(line[end]) && line[end] != '=') ++end;
  key = line.substr(0, end);
  while (end < line.size() && (isBlank(line[end]) || line[end] == '=')) ++end;
  value = line.substr(end);
  return true;
}

// Reads every line; false when a value broke its rule (reported).
bool readLines(Session& s, std::FILE* f, FileProfile& p) {
  std::string raw;
  std::string_view key, value;
  while (readLimitedLine(f, kLineLimit, raw)) {
    if (!splitLine(stripLineEnd(raw), key, value)) continue;
    const KeyEntry* e = findKey(key);
    if (!e || e->rule(p, *e, value)) continue;
    messagef(s, "", "Invalid file profile keyword or value:  %s=%s", key, value);
    return false;
  }
  return true;
}

// A profile file that leaves out the record format or MaxRecLen would leave
// the task without a usable layout: those take the built-in values.
void fillMissingLayout(FileProfile& p) {
  if (nameOfValue(kRecfmNames, p.recfm).empty()) p.recfm = kRecfmVariable;
  if (p.maxRecLen < kMaxRecLenMin) {
    FileProfile builtin;
    applyBuiltinProfile(builtin);
    p.maxRecLen = builtin.maxRecLen;
  }
  if (p.boundLeft < 1) p.boundLeft = 1;
  if (p.boundRight < 1) p.boundRight = p.maxRecLen;
}

void numberDefaults(FileProfile& p, int colStart, int colEnd) {
  if (p.numberIncrement == 0) p.numberIncrement = 100;
  if (p.numberStart == 0) p.numberStart = p.numberIncrement;
  p.numberColStart = colStart;
  p.numberColEnd = colEnd;
}

void fixNumbering(FileProfile& p) {
  switch (p.numberType) {
    case NumberType::None:
    case NumberType::HexOffset:
      p.numberAuto = NumberAuto::None;
      p.numberStart = p.numberIncrement = p.numberStepdownIncrement = 0;
      p.numberColStart = p.numberColEnd = p.offset = 0;
      break;
    case NumberType::Cobol:
    case NumberType::CobStd:
      numberDefaults(p, 1, 6);
      break;
    case NumberType::Standard:
      numberDefaults(p, 73, 80);
      break;
    case NumberType::Other:
      break;
  }
}

// The offset is cut first so that a left bound moved past it stays within
// MaxRecLen; a right bound left of the left one opens to MaxRecLen.
void fixColumns(FileProfile& p) {
  int last = p.maxRecLen - 1;
  p.offset = std::min(p.offset, last);
  p.tabsIn = std::min(p.tabsIn, last);
  p.tabsOut = std::min(p.tabsOut, last);
  if (p.boundLeft > p.maxRecLen) p.boundLeft = 1;
  if (p.boundRight > p.maxRecLen) p.boundRight = p.maxRecLen;
  if (p.boundLeft <= p.offset) p.boundLeft = p.offset + 1;
  if (p.boundRight < p.boundLeft) p.boundRight = p.maxRecLen;
}

void fixAfterCompleteRead(Session& s, FileProfile& p) {
  if (p.newFileRecordTerminator.empty()) p.newFileRecordTerminator = kTerminatorCrLf;
  fixNumbering(p);
  fixColumns(p);
  parseTabStops(s, p);
}

void applyAlwaysDefaults(FileProfile& p) {
  if (p.longRecordOption.empty()) p.longRecordOption = kOptionNotify;
  if (p.maxRecordOption.empty()) p.maxRecordOption = kOptionNotify;
  if (p.trailingBlanksOption.empty()) p.trailingBlanksOption = kOptionStripBlanks;
}

FilePtr openProfileFile(Session& s, std::string_view name) {
  if (profileNameUsable(name)) {
    if (FilePtr f = FileOpenByPath(s, kProfilePathVar, profileFileName(name), "r")) return f;
  }
  return FileOpenByPath(s, kProfilePathVar, profileFileName(kDefaultProfile), "r");
}

}  // namespace

std::unique_ptr<FileProfile> readProfile(Session& s, std::string_view name) {
  auto p = std::make_unique<FileProfile>();
  p->name = profileUpper(name);
  bool complete = false;
  if (FilePtr f = openProfileFile(s, p->name)) {
    complete = readLines(s, f.get(), *p);
    fillMissingLayout(*p);
    if (complete) fixAfterCompleteRead(s, *p);
  } else {
    applyBuiltinProfile(*p);
  }
  applyAlwaysDefaults(*p);
  if (complete && !p->color.empty()) loadProfileColorization(s, *p);
  s.lastProfileIbmPc = p->charset == Charset::AsciiIbmPc;
  return p;
}

void loadProfileColorization(Session&, FileProfile& p) {
  // The colorization named by p.color is loaded here. No colorizations are
  // read yet: the name is kept (and written back) but colours nothing.
  p.colorization = nullptr;
}

}  // namespace kiv
