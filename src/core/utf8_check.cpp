#include "core/utf8_check.h"

#include <immintrin.h>

#include <cstdint>
#include <cstring>

namespace kiv {

namespace {

// The error bits: each table marks what a byte's nibble allows, and a
// byte is wrong when the three tables agree on a bit.
constexpr std::uint8_t kTooShort = 1 << 0;     // a lead where a continuation belongs
constexpr std::uint8_t kTooLong = 1 << 1;      // a continuation after ASCII
constexpr std::uint8_t kOverlong3 = 1 << 2;    // E0 80..9F
constexpr std::uint8_t kTooLarge = 1 << 3;     // F4 90.., F5..
constexpr std::uint8_t kSurrogate = 1 << 4;    // ED A0..BF
constexpr std::uint8_t kOverlong2 = 1 << 5;    // C0, C1
constexpr std::uint8_t kTooLarge1000 = 1 << 6;  // F5.. 80..8F
constexpr std::uint8_t kOverlong4 = 1 << 6;    // F0 80..8F
constexpr std::uint8_t kTwoConts = 1 << 7;     // a third continuation
constexpr std::uint8_t kCarry = kTooShort | kTooLong | kTwoConts;

__attribute__((target("avx2"))) __m256i table(const std::uint8_t (&t)[16]) {
  __m128i half = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t));
  return _mm256_broadcastsi128_si256(half);
}

__attribute__((target("avx2"))) __m256i high(__m256i v) {
  return _mm256_and_si256(_mm256_srli_epi16(v, 4), _mm256_set1_epi8(0x0F));
}

// The bytes of `input` moved on by n, the last n of `before` in front.
template <int N>
__attribute__((target("avx2"))) __m256i previous(__m256i input, __m256i before) {
  return _mm256_alignr_epi8(input, _mm256_permute2x128_si256(before, input, 0x21), 16 - N);
}

struct Checker {
  __m256i error;
  __m256i before;
  __m256i incomplete;  // of the block before

  __attribute__((target("avx2"))) void start() {
    error = before = incomplete = _mm256_setzero_si256();
  }

  __attribute__((target("avx2"))) void block(__m256i input) {
    if (_mm256_movemask_epi8(input) == 0) {  // ASCII: only what the last block left open
      error = _mm256_or_si256(error, incomplete);
      before = input;
      incomplete = _mm256_setzero_si256();
      return;
    }
    static const std::uint8_t kByte1High[16] = {
        kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong,
        kTwoConts, kTwoConts, kTwoConts, kTwoConts,
        kTooShort | kOverlong2, kTooShort, kTooShort | kOverlong3 | kSurrogate,
        kTooShort | kTooLarge | kTooLarge1000 | kOverlong4};
    constexpr std::uint8_t kLarge = kCarry | kTooLarge | kTooLarge1000;
    static const std::uint8_t kByte1Low[16] = {
        kCarry | kOverlong3 | kOverlong2 | kOverlong4,  // x0
        kCarry | kOverlong2,                             // x1
        kCarry, kCarry,                                  // x2, x3
        kCarry | kTooLarge,                              // x4
        kLarge, kLarge, kLarge, kLarge, kLarge, kLarge, kLarge, kLarge,  // x5..xC
        kLarge | kSurrogate,                             // xD
        kLarge, kLarge};                                 // xE, xF
    static const std::uint8_t kByte2High[16] = {
        kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort,
        kTooLong | kOverlong2 | kTwoConts | kOverlong3 | kTooLarge1000 | kOverlong4,
        kTooLong | kOverlong2 | kTwoConts | kOverlong3 | kTooLarge,
        kTooLong | kOverlong2 | kTwoConts | kSurrogate | kTooLarge,
        kTooLong | kOverlong2 | kTwoConts | kSurrogate | kTooLarge,
        kTooShort, kTooShort, kTooShort, kTooShort};
    __m256i prev1 = previous<1>(input, before);
    __m256i special = _mm256_and_si256(
        _mm256_and_si256(_mm256_shuffle_epi8(table(kByte1High), high(prev1)),
                         _mm256_shuffle_epi8(table(kByte1Low), _mm256_and_si256(prev1, _mm256_set1_epi8(0x0F)))),
        _mm256_shuffle_epi8(table(kByte2High), high(input)));
    // The second and third continuation bytes: after E0..FF two back, F0..FF three back.
    __m256i third = _mm256_subs_epu8(previous<2>(input, before), _mm256_set1_epi8(static_cast<char>(0xE0 - 0x80)));
    __m256i fourth = _mm256_subs_epu8(previous<3>(input, before), _mm256_set1_epi8(static_cast<char>(0xF0 - 0x80)));
    __m256i must = _mm256_and_si256(_mm256_or_si256(third, fourth), _mm256_set1_epi8(static_cast<char>(0x80)));
    error = _mm256_or_si256(error, _mm256_xor_si256(must, special));
    // A sequence the block's last three bytes begin and do not end.
    static const std::uint8_t kMax[32] = {255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
                                          255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
                                          255, 255, 255, 255, 255, 255, 255, 0xF0 - 1, 0xE0 - 1,
                                          0xC0 - 1};
    incomplete = _mm256_subs_epu8(input, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kMax)));
    before = input;
  }

  __attribute__((target("avx2"))) bool valid() const {
    __m256i all = _mm256_or_si256(error, incomplete);
    return _mm256_testz_si256(all, all) != 0;
  }
};

}  // namespace

bool vectorUtf8Available() {
  static const bool kAvx2 = __builtin_cpu_supports("avx2");
  return kAvx2;
}

__attribute__((target("avx2"))) bool vectorUtf8Valid(std::string_view text) {
  Checker c;
  c.start();
  std::size_t i = 0;
  for (; i + 32 <= text.size(); i += 32)
    c.block(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(text.data() + i)));
  if (i < text.size()) {  // the rest, padded with ASCII
    alignas(32) char last[32] = {};
    std::memcpy(last, text.data() + i, text.size() - i);
    c.block(_mm256_load_si256(reinterpret_cast<const __m256i*>(last)));
  }
  return c.valid();
}

}  // namespace kiv
