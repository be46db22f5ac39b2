#include "platform/utf8.h"

namespace kiv::platform {

namespace {

// The length of the sequence a lead byte starts and the payload bits it
// carries; 0 for a byte that cannot start one.
struct Lead {
  std::size_t length;
  char32_t bits;
};

Lead leadOf(unsigned char b) {
  if (b < 0x80) return {1, b};
  if (b >= 0xC2 && b <= 0xDF) return {2, static_cast<char32_t>(b & 0x1F)};
  if (b >= 0xE0 && b <= 0xEF) return {3, static_cast<char32_t>(b & 0x0F)};
  if (b >= 0xF0 && b <= 0xF4) return {4, static_cast<char32_t>(b & 0x07)};
  return {0, 0};
}

// The second byte's range narrows for some leads (no overlong forms, no
// surrogates, nothing above U+10FFFF).
bool secondByteFits(unsigned char lead, unsigned char second) {
  if (lead == 0xE0) return second >= 0xA0 && second <= 0xBF;
  if (lead == 0xED) return second >= 0x80 && second <= 0x9F;
  if (lead == 0xF0) return second >= 0x90 && second <= 0xBF;
  if (lead == 0xF4) return second >= 0x80 && second <= 0x8F;
  return second >= 0x80 && second <= 0xBF;
}

}  // namespace

Utf8Step decodeUtf8(std::string_view text) {
  using Status = Utf8Step::Status;
  if (text.empty()) return {Status::Incomplete, 0, 0};
  auto lead = static_cast<unsigned char>(text[0]);
  Lead l = leadOf(lead);
  if (l.length == 0) return {Status::Invalid, 0, 0};
  char32_t cp = l.bits;
  for (std::size_t i = 1; i < l.length; ++i) {
    if (i >= text.size()) return {Status::Incomplete, 0, 0};
    auto b = static_cast<unsigned char>(text[i]);
    bool fits = i == 1 ? secondByteFits(lead, b) : (b >= 0x80 && b <= 0xBF);
    if (!fits) return {Status::Invalid, 0, 0};
    cp = (cp << 6) | (b & 0x3F);
  }
  return {Status::Ok, cp, l.length};
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  auto put = [&out](char32_t v) { out.push_back(static_cast<char>(v)); };
  if (cp < 0x80) {
    put(cp);
  } else if (cp < 0x800) {
    put(0xC0 | (cp >> 6));
    put(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    put(0xE0 | (cp >> 12));
    put(0x80 | ((cp >> 6) & 0x3F));
    put(0x80 | (cp & 0x3F));
  } else {
    put(0xF0 | (cp >> 18));
    put(0x80 | ((cp >> 12) & 0x3F));
    put(0x80 | ((cp >> 6) & 0x3F));
    put(0x80 | (cp & 0x3F));
  }
}

std::u32string decodeText(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  while (!text.empty()) {
    Utf8Step step = decodeUtf8(text);
    if (step.status == Utf8Step::Status::Ok) {
      out.push_back(step.codePoint);
      text.remove_prefix(step.length);
    } else {
      out.push_back(static_cast<unsigned char>(text[0]));
      text.remove_prefix(1);
    }
  }
  return out;
}

}  // namespace kiv::platform
