#include "core/record_writer.h"

#include <cerrno>
#include <cstring>

#include "core/file_profile.h"
#include "core/line_ops.h"
#include "core/rdp_format.h"
#include "core/session.h"
#include "core/task.h"
#include "core/text_columns.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;
constexpr char kCarriageReturn = 0x0D;
constexpr char kAsciiLf = 0x0A;
constexpr char kEbcdicLf = 0x25;
constexpr char kAsciiTab = 0x09;
constexpr char kEbcdicTab = 0x05;
constexpr char kEndOfFileByte = 0x1A;

constexpr std::string_view kRdpStaticText =
    "File Profile '%s':  %s=%s  is not pairs of hexadecimal digits.\n\nFile not written.";

char firstUpper(std::string_view s) {
  if (s.empty()) return 0;
  char c = s.front();
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The bytes of one static part, or a report naming the profile key.
bool staticPart(Task& task, std::string_view key, std::string_view hex, std::string& out) {
  std::optional<std::string> bytes = rdpStaticBytes(hex);
  if (bytes) {
    out = std::move(*bytes);
    return true;
  }
  messagef(task.session, "SAVE40", kRdpStaticText, task.profile->name, key, hex);
  return false;
}

bool fillFromProfile(Task& task, RecordFormat& f) {
  const FileProfile& p = *task.profile;
  bool ebcdic = p.charset == Charset::Ebcdic;
  f.recfm = p.recfm == kRecfmFixed || p.recfm == kRecfmRdp ? p.recfm : kRecfmVariable;
  f.pad = ebcdic ? kEbcdicBlank : kAsciiBlank;
  f.tab = ebcdic ? kEbcdicTab : kAsciiTab;
  f.tabsOut = p.tabsOut;
  f.trailing = firstUpper(p.trailingBlanksOption);
  f.eofWrite = p.eofWrite;
  f.rdpAddToReclen = p.rdpAddToReclen;
  f.rdpIntel = rdpLowByteFirst(p);
  if (f.recfm != kRecfmRdp) return true;
  return staticPart(task, "RDPStaticBefore", p.rdpStaticBefore, f.rdpBefore) &&
         staticPart(task, "RDPStaticAfter", p.rdpStaticAfter, f.rdpAfter);
}

}  // namespace

std::string terminatorBytes(std::string_view name, bool ebcdic) {
  char lf = ebcdic ? kEbcdicLf : kAsciiLf;
  if (name == "LF") return std::string(1, lf);
  if (name == "CR") return std::string(1, kCarriageReturn);
  return {kCarriageReturn, lf};
}

std::optional<RecordFormat> recordFormatOf(Task& task) {
  RecordFormat f;
  f.maxRecLen = maxRecLenOf(task);
  if (task.profile && !fillFromProfile(task, f)) return std::nullopt;
  std::string_view name = task.load.terminator;
  if (name.empty() && task.profile) name = task.profile->newFileRecordTerminator;
  f.terminator = terminatorBytes(name, ebcdicFile(task));
  f.utf16 = task.load.utf16 && f.recfm == kRecfmVariable;
  f.utf8Text = f.utf16 && task.profile && task.profile->charset == Charset::Utf8;
  const unsigned char* mark = task.load.bom;
  bool bigEndian = mark[0] == 0xFE && mark[1] == 0xFF;
  f.bom[0] = bigEndian ? 0xFE : 0xFF;
  f.bom[1] = bigEndian ? 0xFF : 0xFE;
  return f;
}

void insertTabs(std::string_view in, int n, char pad, char tab, std::string& out) {
  out.clear();
  const std::size_t len = in.size();
  const auto step = static_cast<std::size_t>(n);
  std::size_t col = 0;
  while (col < len) {
    if (in[col] == pad) {
      std::size_t run = 1;
      while (run < step && col + run < len && in[col + run] == pad) ++run;
      std::size_t stop = (col + run) / step * step;
      if (run >= 2 && stop >= col + 2) {
        out += tab;
        col = stop;
        continue;
      }
    }
    out += in[col++];
  }
}

RecordWriter::RecordWriter(RecordFormat format, Sink sink)
    : format_(std::move(format)), sink_(std::move(sink)), buffer_(kBufferSize) {}

bool RecordWriter::writeLine(std::string_view text) {
  const auto maxRecLen = static_cast<std::size_t>(format_.maxRecLen);
  bool variable = format_.recfm == kRecfmVariable;
  if (variable && format_.trailing == 'S') {
    while (!text.empty() && text.back() == format_.pad) text.remove_suffix(1);
  }
  bool padded = format_.recfm == kRecfmFixed || (variable && format_.trailing == 'P');
  if (padded && text.size() < maxRecLen) {
    padded_.assign(text);
    padded_.append(maxRecLen - text.size(), format_.pad);
    text = padded_;
  }
  if (variable && format_.tabsOut >= 1) {
    insertTabs(text, format_.tabsOut, format_.pad, format_.tab, tabbed_);
    text = tabbed_;
  }
  return writeRecord(text);
}

bool RecordWriter::writeRecord(std::string_view bytes) {
  if (failed_) return false;
  bool ok = format_.recfm == kRecfmRdp        ? putRdpRecord(bytes)
            : format_.recfm == kRecfmVariable ? putVariableRecord(bytes)
                                              : put(bytes);
  if (ok) ++records_;
  return ok;
}

bool RecordWriter::putRdpRecord(std::string_view bytes) {
  if (bytes.size() > kRdpMaxRecord) {
    tooLong_ = failed_ = true;
    return false;
  }
  // The loader takes the field minus RDPAddToReclen modulo 65536, so the
  // field is written modulo 65536 too: every record read back the same.
  auto field = static_cast<std::uint16_t>(static_cast<long>(format_.rdpAddToReclen) +
                                          static_cast<long>(bytes.size()));
  char low = static_cast<char>(field & 0xFF);
  char high = static_cast<char>(field >> 8);
  char length[2] = {format_.rdpIntel ? low : high, format_.rdpIntel ? high : low};
  return put(format_.rdpBefore) && put(length, 2) && put(format_.rdpAfter) && put(bytes);
}

bool RecordWriter::putVariableRecord(std::string_view bytes) {
  return putText(bytes) && putText(format_.terminator);
}

bool RecordWriter::putText(std::string_view s) {
  if (!format_.utf16) return put(s);
  if (!bomWritten_) {
    bomWritten_ = true;
    if (format_.bomDue && !put(reinterpret_cast<const char*>(format_.bom), 2)) return false;
  }
  if (format_.utf8Text) return putUtf8AsUtf16(s);
  for (char c : s)
    if (!putUnit(static_cast<unsigned char>(c))) return false;
  return true;
}

// Each character of UTF-8 text as one UTF-16 unit, or a surrogate pair
// above U+FFFF; the three bytes a lone surrogate was loaded as give it back;
// a byte of no valid sequence is the character of its value.
bool RecordWriter::putUtf8AsUtf16(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    if (auto unit = loneSurrogate(s.substr(i))) {
      if (!putUnit(*unit)) return false;
      i += 3;
      continue;
    }
    Glyph g = glyphAt(s, i);
    i += static_cast<std::size_t>(g.bytes);
    if (g.code < 0x10000) {
      if (!putUnit(static_cast<std::uint16_t>(g.code))) return false;
      continue;
    }
    char32_t v = g.code - 0x10000;
    if (!putUnit(static_cast<std::uint16_t>(0xD800 + (v >> 10))) ||
        !putUnit(static_cast<std::uint16_t>(0xDC00 + (v & 0x3FF))))
      return false;
  }
  return true;
}

// ED A0..BF 80..BF: a surrogate's value written as UTF-8 would write it.
std::optional<std::uint16_t> RecordWriter::loneSurrogate(std::string_view s) {
  if (s.size() < 3) return std::nullopt;
  auto b = [&](std::size_t k) { return static_cast<unsigned>(static_cast<unsigned char>(s[k])); };
  if (b(0) != 0xED || (b(1) & 0xE0) != 0xA0 || (b(2) & 0xC0) != 0x80) return std::nullopt;
  return static_cast<std::uint16_t>(0xD000 | (b(1) & 0x3F) << 6 | (b(2) & 0x3F));
}

// One UTF-16 unit: FF FE puts the low byte first, FE FF the high one.
bool RecordWriter::putUnit(std::uint16_t unit) {
  if (buffer_.size() - used_ < 2 && !flush()) return false;
  const std::size_t low = format_.bom[0] == 0xFF ? 0 : 1;
  buffer_[used_ + low] = static_cast<char>(unit & 0xFF);
  buffer_[used_ + 1 - low] = static_cast<char>(unit >> 8);
  used_ += 2;
  return true;
}

bool RecordWriter::put(const char* data, std::size_t size) {
  while (size > 0) {
    if (used_ == buffer_.size() && !flush()) return false;
    std::size_t n = std::min(size, buffer_.size() - used_);
    std::memcpy(buffer_.data() + used_, data, n);
    used_ += n;
    data += n;
    size -= n;
  }
  return true;
}

bool RecordWriter::flush() {
  if (failed_) return false;
  if (used_ == 0) return true;
  if (!sink_(buffer_.data(), used_)) {
    failed_ = true;
    return false;
  }
  written_ += used_;
  used_ = 0;
  return true;
}

bool RecordWriter::finish() {
  if (failed_) return false;
  if (format_.eofWrite && format_.recfm == kRecfmVariable && !putText({&kEndOfFileByte, 1}))
    return false;
  return flush();
}

int writeRecord(Task& /*task*/, RecordWriter& out, std::string_view bytes) {
  return out.writeRecord(bytes) ? 0 : -1;
}

}  // namespace kiv
