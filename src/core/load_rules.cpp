#include "core/load_rules.h"

#include <cctype>

namespace kiv {

namespace {

constexpr NamedValue<Terminator> kTerminators[] = {
    {"CR+LF", Terminator::CrLf}, {"LF", Terminator::Lf}, {"CR", Terminator::Cr}};

char firstLetter(std::string_view option) {
  return option.empty() ? '\0'
                        : static_cast<char>(std::toupper(static_cast<unsigned char>(option[0])));
}

}  // namespace

Terminator terminatorNamed(std::string_view name) {
  return valueOfName(kTerminators, name).value_or(Terminator::None);
}

std::string_view terminatorName(Terminator t) {
  return nameOfValue(kTerminators, t);
}

LoadRules loadRulesFor(Task& task) {
  FileProfile& p = *task.profile;
  bool ebcdic = p.charset == Charset::Ebcdic;
  LoadState& ld = task.load;
  if (ebcdic && ld.terminator.empty()) {
    Terminator preset = terminatorNamed(p.newFileRecordTerminator);
    ld.terminator = terminatorName(preset == Terminator::None ? Terminator::CrLf : preset);
  }
  return LoadRules{
      .profile = &p,
      .lineFeed = static_cast<unsigned char>(ebcdic ? 0x25 : 0x0A),
      .tab = static_cast<unsigned char>(ebcdic ? 0x05 : 0x09),
      .pad = ebcdic ? '\x40' : '\x20',
      .longOption = firstLetter(p.longRecordOption),
      .foldAtAbsolute = firstLetter(p.maxRecordOption) == 'F',
      .eofRead = p.eofRead,
      .strict = p.readEorStrict || ebcdic,
      .trailing = firstLetter(p.trailingBlanksOption),
      .detected = terminatorNamed(ld.terminator),
  };
}

void detectTerminator(Task& task, LoadRules& rules, Terminator t) {
  rules.detected = t;
  task.load.terminator = terminatorName(t);
}

void noteRecordEnd(Task& task, LoadRules& rules, Terminator t) {
  if (rules.detected == Terminator::None)
    detectTerminator(task, rules, t);
  else if (t != rules.detected)
    task.load.mixedEnds = true;
}

}  // namespace kiv
