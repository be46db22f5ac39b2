// What the loader and the writer of RDP files must agree on: the static parts
// as bytes and the byte order of the length field.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kiv {

struct FileProfile;

// Hex digit pairs to bytes; empty or starting with "N" means no static part.
// Nullopt when the text is not pairs of hexadecimal digits.
std::optional<std::string> rdpStaticBytes(std::string_view hex);

// "Intel" (in any letter case): low byte first; any other value: high first.
bool rdpLowByteFirst(const FileProfile& profile);

}  // namespace kiv
