#include "core/profile_write.h"

#include <cstdio>
#include <string_view>

#include "core/file_profile.h"
#include "core/session.h"
#include "platform/atomic_write.h"
#include "services/messages.h"
#include "services/path_search.h"

namespace kiv {

namespace {

// Builds the file text line by line.
class ProfileText {
 public:
  template <class... Args>
  void line(std::string_view tmpl, const Args&... args) {
    text_ += format(tmpl, args...);
    text_ += '\n';
  }
  void flag(std::string_view key, bool on) { line("%s=%s", key, on ? "TRUE" : "FALSE"); }
  void numberIfSet(std::string_view key, int value) {
    if (value != 0) line("%s=%d", key, value);
  }
  void textIfSet(std::string_view key, const std::string& value) {
    if (!value.empty()) line("%s=%s", key, value);
  }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
};

char knownRecfm(char recfm) {
  return nameOfValue(kRecfmNames, recfm).empty() ? kRecfmVariable : recfm;
}

void writeLayout(ProfileText& out, const FileProfile& p) {
  out.line("Recfm=%s", nameOfValue(kRecfmNames, knownRecfm(p.recfm)));
  out.line("MaxRecLen=%d", p.maxRecLen);
  out.line("Offset=%d", p.offset);
  out.line("Bounds=%d,%d", p.boundLeft, p.boundRight);
  out.line("TabKeyStopsAt=%s", p.tabKeyStopsAt);
  out.numberIfSet("PromptKeystrokeLimit", p.promptKeystrokeLimit);
  out.line("CharsetFile=%s", nameOfValue(kCharsetNames, p.charset));
  out.line("CharsetDisplay=%s", nameOfValue(kCharsetDisplayNames, p.charsetDisplay));
}

void writeNumbering(ProfileText& out, const FileProfile& p) {
  out.line("NumberType=%s", nameOfValue(kNumberTypeNames, p.numberType));
  if (p.numberType == NumberType::None || p.numberType == NumberType::HexOffset) return;
  out.line("NumberAuto=%s", nameOfValue(kNumberAutoNames, p.numberAuto));
  out.numberIfSet("NumberStart", p.numberStart);
  out.numberIfSet("NumberIncrement", p.numberIncrement);
  out.numberIfSet("NumberStepdownIncrement", p.numberStepdownIncrement);
  out.numberIfSet("NumberColStart", p.numberColStart);
  out.numberIfSet("NumberColEnd", p.numberColEnd);
}

void writeEditing(Session& s, ProfileText& out, const FileProfile& p) {
  out.line("CapsMode=%s", nameOfValue(kCapsModeNames, p.capsMode));
  out.textIfSet("Color", p.color);
  out.textIfSet("Imacro", p.imacro);
  out.textIfSet("Xmacro", p.xmacro);
  out.textIfSet("Template", p.templateName);
  if (p.maskLine.find('\'') != std::string::npos)
    message(s, "FILEPROF10", "Can not write mask line with embedded quote.");
  else if (!p.maskLine.empty())
    out.line("MaskLine='%s'", p.maskLine);
  out.flag("BOOLbackup", p.backup);
  out.flag("BOOLruler", p.ruler);
  out.flag("BOOLhexview", p.hexView);
  out.flag("BOOLlock", p.locked);
}

void writeRdp(ProfileText& out, const FileProfile& p) {
  out.line("RDPAddToReclen=%d", p.rdpAddToReclen);
  out.line("RDPReclenByteOrder=%s", p.rdpReclenByteOrder);
  out.line("RDPStaticBefore=%s", p.rdpStaticBefore);
  out.line("RDPStaticAfter=%s", p.rdpStaticAfter);
}

void writeVariable(ProfileText& out, const FileProfile& p) {
  // An empty terminator means CR+LF, and the reader refuses an empty one.
  out.line("NewFileRecordTerminator=%s", p.newFileRecordTerminator.empty()
                                             ? kTerminatorCrLf
                                             : std::string_view(p.newFileRecordTerminator));
  out.line("LongRecordOption=%s", p.longRecordOption);
  out.line("MaxRecordOption=%s", p.maxRecordOption);
  out.line("TrailingBlanksOption=%s", p.trailingBlanksOption);
  out.line("TabsIn=%d", p.tabsIn);
  out.line("TabsOut=%d", p.tabsOut);
  out.flag("BOOLeofread", p.eofRead);
  out.flag("BOOLeofwrite", p.eofWrite);
  out.flag("BOOLreadeorstrict", p.readEorStrict);
  out.flag("BOOLnewfileUTF16", p.newFileUtf16);
}


}  // namespace

std::string profileFileText(Session& s, const FileProfile& p) {
  ProfileText out;
  writeLayout(out, p);
  writeNumbering(out, p);
  writeEditing(s, out, p);
  char recfm = knownRecfm(p.recfm);
  if (recfm == kRecfmRdp) writeRdp(out, p);
  if (recfm == kRecfmVariable) writeVariable(out, p);
  return out.take();
}

int writeProfile(Session& s, const FileProfile& p, bool onlyIfUnlocked) {
  if ((onlyIfUnlocked && p.locked) || p.name.empty()) return 0;
  if (!profileNameUsable(p.name)) return -1;
  std::string target = pathForWrite(s, "ZPATH.FILEPROFILES", profileFileName(p.name));
  if (target.empty()) return -1;
  return platform::replaceFileContents(target, profileFileText(s, p)) ? 0 : -1;
}

}  // namespace kiv
