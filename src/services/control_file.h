// Control files: positional KEY=VALUE files found along a ZPATH. list.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kiv {

class Services;

inline constexpr std::size_t kPObjKeyMax = 31;
inline constexpr std::size_t kPObjValueMax = 199;

// Reads up to keys.size() lines of "<ext>.<base>.txt" (prefix, ".", name,
// ".txt") into the slots. 0 or -1.
int PObjRead(Services& s, std::string_view pathVar, std::string_view prefix,
             std::string_view name, std::span<std::string* const> keys,
             std::span<std::string* const> values);
// Writes one "key=value" line per slot. 0 or -1.
int PObjWrite(Services& s, std::string_view pathVar, std::string_view prefix,
              std::string_view name, std::span<const char* const> keys,
              std::span<const char* const> values);
// The value of the first line "keyword=..." of the file, or "".
std::string PObjGetValue(Services& s, std::string_view pathVar, std::string_view prefix,
                         std::string_view name, std::string_view keyword);

}  // namespace kiv
