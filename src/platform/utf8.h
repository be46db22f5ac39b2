// UTF-8 one code point at a time: what terminals send and what program texts
// (messages, titles) hold. Bytes that are not UTF-8 are left to the caller,
// which takes them as Latin-1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kiv::platform {

struct Utf8Step {
  enum class Status : std::uint8_t { Ok, Incomplete, Invalid };
  Status status = Status::Invalid;
  char32_t codePoint = 0;
  std::size_t length = 0;  // bytes of the code point (Ok only)
};

// Decodes the code point at the front of `text` (non-empty). Overlong forms,
// surrogates and values above U+10FFFF are Invalid; a valid start that the
// text cuts short is Incomplete.
Utf8Step decodeUtf8(std::string_view text);

void appendUtf8(std::string& out, char32_t codePoint);

// The text as code points: UTF-8 where it is, Latin-1 for every other byte.
std::u32string decodeText(std::string_view text);

}  // namespace kiv::platform
