#include "core/load_input.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include "core/file_profile.h"
#include "core/text_columns.h"

namespace kiv {

namespace {

constexpr char kReplacement = '?';

// Moves the unread bytes to the front and makes room for `n` of them.
void compact(LoadState& ld, std::size_t n) {
  std::size_t unread = ld.fill - ld.pos;
  if (ld.pos > 0 && unread > 0) std::memmove(ld.buffer.data(), ld.buffer.data() + ld.pos, unread);
  ld.fill = unread;
  ld.pos = 0;
  std::size_t want = std::max({n, ld.readSize, std::size_t{1}});
  if (ld.buffer.size() < want) ld.buffer.resize(want);
}

// One read() of at most readSize bytes into the free end of the buffer.
bool readMore(LoadState& ld) {
  if (ld.endOfInput || ld.fd < 0) {
    ld.endOfInput = true;
    return false;
  }
  std::size_t room = std::min(ld.buffer.size() - ld.fill, std::max(ld.readSize, std::size_t{1}));
  ssize_t got;
  do {
    got = ::read(ld.fd, ld.buffer.data() + ld.fill, room);
  } while (got < 0 && errno == EINTR);
  if (got <= 0) {
    ld.endOfInput = true;
    ld.readFailed = got < 0;
    return false;
  }
  ld.fill += static_cast<std::size_t>(got);
  ld.bytesRead += static_cast<std::uint64_t>(got);
  return true;
}

// One UTF-16 code unit in the file's byte order, or kNoByte.
int utf16Unit(LoadState& ld) {
  if (ld.unitBack >= 0) return std::exchange(ld.unitBack, -1);
  int first = readByte(ld);
  if (first == kNoByte) return kNoByte;
  int second = readByte(ld);
  if (second == kNoByte) {
    ld.oddUtf16 = true;
    return kNoByte;
  }
  bool lowFirst = ld.bom[0] == 0xFF;
  return lowFirst ? first | second << 8 : first << 8 | second;
}

void countReplaced(Task& task) {
  ++task.load.replaced;
  if (task.mode == TaskMode::Edit) task.modified = true;
}

// A UTF-8 task gets each character as its UTF-8 bytes, one at a time; a
// surrogate pair is one character. A lone surrogate keeps its value in the
// three bytes UTF-8 would give it (not valid UTF-8: shown as substitutes),
// so that saving writes the same unit back.
int utf16AsUtf8(Task& task, int unit) {
  LoadState& ld = task.load;
  auto code = static_cast<char32_t>(unit);
  ld.utf8Pending.clear();
  ld.utf8Next = 1;
  if (unit >= 0xD800 && unit <= 0xDBFF) {
    int low = utf16Unit(ld);
    if (low >= 0xDC00 && low <= 0xDFFF) {
      appendUtf8(ld.utf8Pending, 0x10000 + ((code - 0xD800) << 10) + static_cast<char32_t>(low - 0xDC00));
      return static_cast<unsigned char>(ld.utf8Pending[0]);
    }
    if (low != kNoByte) ld.unitBack = low;
  }
  if (unit >= 0xD800 && unit <= 0xDFFF) {
    ld.utf8Pending = {static_cast<char>(0xED), static_cast<char>(0x80 | ((unit >> 6) & 0x3F)),
                      static_cast<char>(0x80 | (unit & 0x3F))};
  } else {
    appendUtf8(ld.utf8Pending, code);
  }
  return static_cast<unsigned char>(ld.utf8Pending[0]);
}

int utf16Char(Task& task) {
  LoadState& ld = task.load;
  if (ld.utf8Next < ld.utf8Pending.size()) return static_cast<unsigned char>(ld.utf8Pending[ld.utf8Next++]);
  int unit = utf16Unit(ld);
  if (unit == kNoByte) return kNoByte;
  if (task.profile && task.profile->charset == Charset::Utf8) return unit < 0x80 ? unit : utf16AsUtf8(task, unit);
  if (unit <= 0xFF) return unit;
  countReplaced(task);
  return static_cast<unsigned char>(kReplacement);
}

}  // namespace

bool ensureBuffered(LoadState& ld, std::size_t n) {
  if (ld.fill - ld.pos >= n) return true;
  compact(ld, n);
  while (ld.fill < n && readMore(ld)) {
  }
  return ld.fill >= n;
}

std::string_view buffered(LoadState& ld) {
  ensureBuffered(ld, 1);
  return {ld.buffer.data() + ld.pos, ld.fill - ld.pos};
}

void consume(LoadState& ld, std::size_t n) {
  ld.pos += std::min(n, ld.fill - ld.pos);
}

int readByte(LoadState& ld) {
  if (ld.pos == ld.fill && !ensureBuffered(ld, 1)) return kNoByte;
  return static_cast<unsigned char>(ld.buffer[ld.pos++]);
}

std::string_view readBytes(LoadState& ld, std::size_t n) {
  ensureBuffered(ld, n);
  std::size_t got = std::min(n, ld.fill - ld.pos);
  std::string_view out(ld.buffer.data() + ld.pos, got);
  ld.pos += got;
  return out;
}

bool atEnd(LoadState& ld) {
  return ld.pushedCount == 0 && !ensureBuffered(ld, 1);
}

void giveBack(LoadState& ld, int c) {
  if (c == kNoByte) return;
  // A byte just read from the buffer is given back by stepping back over it,
  // so that the memchr scan can go on with the next record.
  bool inBuffer = !ld.utf16 && ld.pushedCount == 0 && ld.pos > 0 &&
                  static_cast<unsigned char>(ld.buffer[ld.pos - 1]) == c;
  if (inBuffer)
    --ld.pos;
  else if (ld.pushedCount < 2)
    ld.pushed[ld.pushedCount++] = c;
}

int nextChar(Task& task) {
  LoadState& ld = task.load;
  if (ld.pushedCount > 0) return ld.pushed[--ld.pushedCount];
  return ld.utf16 ? utf16Char(task) : readByte(ld);
}

std::uint64_t bytesConsumed(const LoadState& ld) {
  return ld.bytesRead - (ld.fill - ld.pos);
}

void releaseInput(LoadState& ld) {
  std::vector<char>().swap(ld.buffer);
  std::vector<char>().swap(ld.record);
  std::vector<char>().swap(ld.expand);
  ld.fill = ld.pos = 0;
}

}  // namespace kiv
