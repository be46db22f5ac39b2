#include "core/rdp_format.h"

#include "core/file_profile.h"

namespace kiv {

namespace {
int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
}  // namespace

std::optional<std::string> rdpStaticBytes(std::string_view hex) {
  if (hex.empty() || hex.front() == 'N' || hex.front() == 'n') return std::string();
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string out;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    int high = hexDigit(hex[i]);
    int low = hexDigit(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
  }
  return out;
}

bool rdpLowByteFirst(const FileProfile& profile) {
  return profileUpper(profile.rdpReclenByteOrder) == "INTEL";
}

}  // namespace kiv
