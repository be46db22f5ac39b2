#include "core/translate_table.h"

#include <cstring>

#include "core/session.h"
#include "services/messages.h"
#include "services/path_search.h"

namespace kiv {

namespace {

constexpr std::string_view kSyntaxError =
    "Display character Translate Table definition, syntax error, Record %d, Offset %d";
constexpr std::string_view kOpenError = "Unable to open Translate Table Definition:\n\n%s";
constexpr std::string_view kInitError =
    "Error on initialization of display character Translate Table:  %d";

// Lines are read as with a 256-byte line buffer: longer lines go on as
// further records.
constexpr std::size_t kLineLimit = 256;
// A file of garbage would otherwise pop one box per line.
constexpr int kMaxReportedSyntaxErrors = 10;

struct TablePair {
  Charset from;
  Charset to;
  int table;
};

constexpr TablePair kTablePairs[] = {
    {Charset::Ebcdic, Charset::AsciiIso8859, kEbcdicToIso8859},
    {Charset::AsciiIso8859, Charset::Ebcdic, kIso8859ToEbcdic},
    {Charset::Ebcdic, Charset::AsciiIbmPc, kEbcdicToIbmPc},
    {Charset::AsciiIbmPc, Charset::Ebcdic, kIbmPcToEbcdic},
    {Charset::AsciiIbmPc, Charset::AsciiIso8859, kIbmPcToIso8859},
    {Charset::AsciiIso8859, Charset::AsciiIbmPc, kIso8859ToIbmPc},
};

int upperHexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// The entries of one file, gathered line by line.
class TableParser {
 public:
  TableParser(Services& s, unsigned char* out) : s_(s), out_(out) {}

  // Takes the entries of one line up to its end, a comment or an error.
  void line(std::string_view text, int record) {
    std::size_t i = 0;
    for (;;) {
      while (i < text.size() && isBlank(text[i])) ++i;
      if (i >= text.size() || text[i] == '\n' || text.substr(i, 2) == "//") return;
      if (i + 2 >= text.size() || text[i + 2] != ',') return syntaxError(record, i);
      int high = upperHexDigit(text[i]);
      int low = upperHexDigit(text[i + 1]);
      if (high < 0 || low < 0) return syntaxError(record, i);
      if (count_ < kTranslateTableSize) out_[count_] = static_cast<unsigned char>(high * 16 + low);
      ++count_;
      i += 3;
    }
  }

  int count() const { return count_; }

 private:
  void syntaxError(int record, std::size_t offset) {
    if (++errors_ <= kMaxReportedSyntaxErrors)
      messagef(s_, "", kSyntaxError, record, static_cast<long>(offset));
  }

  Services& s_;
  unsigned char* out_;
  int count_ = 0;
  int errors_ = 0;
};

// Reads table `table` from its file. The table is replaced only by a file
// of exactly 256 entries; every failure is reported.
void loadTable(Session& s, int table) {
  unsigned char* bytes = s.translateTables[table - 1];
  std::string name = translateTableFileName(table);
  std::string found = FileFindByPath(s, "ZPATH.XLATETBLS", name);
  FilePtr in(found.empty() ? nullptr : std::fopen(found.c_str(), "rb"));
  if (!in) {
    messagef(s, "", kOpenError, found.empty() ? name : found);
  } else {
    unsigned char parsed[kTranslateTableSize];
    if (parseTranslateTable(s, in.get(), parsed) == kTranslateTableSize)
      std::memcpy(bytes, parsed, sizeof parsed);
  }
  if (bytes[0] == kTableNotLoaded) messagef(s, "", kInitError, table);
}

bool validTable(int table) {
  return table >= 1 && table <= kTranslateTableCount;
}

}  // namespace

std::string translateTableFileName(int table) {
  return std::string(kTranslateTablePrefix) + std::to_string(table) + ".txt";
}

int conversionTable(Charset from, Charset to) {
  for (const TablePair& p : kTablePairs)
    if (p.from == from && p.to == to) return p.table;
  return 0;
}

int parseTranslateTable(Services& s, std::FILE* in, unsigned char* out) {
  TableParser parser(s, out);
  std::string text;
  for (int record = 1; readLimitedLine(in, kLineLimit, text); ++record) parser.line(text, record);
  return parser.count();
}

const unsigned char* translateTable(Session& s, int table) {
  if (!validTable(table)) return nullptr;
  unsigned char* bytes = s.translateTables[table - 1];
  bool& read = s.translateTableRead[table - 1];
  if (bytes[0] == kTableNotLoaded && !read) {
    read = true;
    loadTable(s, table);
  }
  return bytes[0] == kTableNotLoaded ? nullptr : bytes;
}

bool translate(Session& s, int table, const unsigned char* src, unsigned char* dst, std::size_t n) {
  const unsigned char* t = translateTable(s, table);
  if (!t) {
    if (n && dst != src) std::memmove(dst, src, n);
    return false;
  }
  for (std::size_t i = 0; i < n; ++i) dst[i] = t[src[i]];
  return true;
}

unsigned char translateTypedCharacter(Session& s, unsigned char c) {
  if (c < 0x80 || !s.lastProfileIbmPc) return c;
  unsigned char out = c;
  translate(s, kIso8859ToIbmPc, &c, &out, 1);
  return out;
}

void forgetTranslateTable(Session& s, int table) {
  if (!validTable(table)) return;
  s.translateTables[table - 1][0] = kTableNotLoaded;
  s.translateTableRead[table - 1] = false;
}

}  // namespace kiv
