// One pass over the bytes of a line-ended record that finds its end and
// notes what the loader must look at more closely, so that a plain record
// is read once instead of once for each question.
#pragma once

#include <cstddef>
#include <string_view>

namespace kiv {

struct RecordScan {
  std::size_t end = 0;   // the first `first` or `second` byte; the window when none
  bool highBit = false;  // a byte at 0x80 or above before the end
  bool special = false;  // a `special` byte, NUL or 0x1A before the end
};

// Scans the first `window` bytes of `buffer` (window <= size) for the first
// `first` or `second` byte. Bytes past the window may be read, never used.
RecordScan scanRecord(std::string_view buffer, std::size_t window, unsigned char first,
                      unsigned char second, unsigned char special);

}  // namespace kiv
