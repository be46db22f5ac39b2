#include "core/record_scan.h"

#include <immintrin.h>

#include <cstdint>
#include <cstring>

namespace kiv {

namespace {

constexpr unsigned char kEof = 0x1A;

RecordScan scanBytes(std::string_view buffer, std::size_t window, unsigned char first,
                     unsigned char second, unsigned char special) {
  RecordScan s;
  const auto* p = reinterpret_cast<const unsigned char*>(buffer.data());
  std::size_t n = window, i = 0;
  for (; i < n && p[i] != first && p[i] != second; ++i) {
    s.highBit |= p[i] >= 0x80;
    s.special |= p[i] == special || p[i] == 0 || p[i] == kEof;
  }
  s.end = i;
  return s;
}

struct Masks {
  std::uint32_t ends, high, special;
};

__attribute__((target("avx2"))) Masks masksOf(__m256i v, __m256i first, __m256i second,
                                              __m256i special) {
  __m256i ends = _mm256_or_si256(_mm256_cmpeq_epi8(v, first), _mm256_cmpeq_epi8(v, second));
  __m256i odd = _mm256_or_si256(
      _mm256_or_si256(_mm256_cmpeq_epi8(v, special), _mm256_cmpeq_epi8(v, _mm256_setzero_si256())),
      _mm256_cmpeq_epi8(v, _mm256_set1_epi8(static_cast<char>(kEof))));
  return {static_cast<std::uint32_t>(_mm256_movemask_epi8(ends)),
          static_cast<std::uint32_t>(_mm256_movemask_epi8(v)),
          static_cast<std::uint32_t>(_mm256_movemask_epi8(odd))};
}

// 32 bytes a step; the last few bytes of the buffer go through a copy so
// that nothing past it is read.
__attribute__((target("avx2"))) RecordScan scanVector(std::string_view buffer, std::size_t window,
                                                      unsigned char first, unsigned char second,
                                                      unsigned char special) {
  __m256i f = _mm256_set1_epi8(static_cast<char>(first));
  __m256i s = _mm256_set1_epi8(static_cast<char>(second));
  __m256i x = _mm256_set1_epi8(static_cast<char>(special));
  std::uint32_t high = 0, odd = 0;
  std::size_t n = window;
  for (std::size_t i = 0; i < n; i += 32) {
    __m256i v;
    if (i + 32 <= buffer.size()) {
      v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(buffer.data() + i));
    } else {
      alignas(32) char last[32] = {};
      std::memcpy(last, buffer.data() + i, buffer.size() - i);
      v = _mm256_load_si256(reinterpret_cast<const __m256i*>(last));
    }
    std::uint32_t valid = n - i >= 32 ? ~0U : (1U << (n - i)) - 1;
    Masks m = masksOf(v, f, s, x);
    std::uint32_t ends = m.ends & valid;
    std::uint32_t before = ends ? (ends & (0U - ends)) - 1 : valid;
    high |= m.high & before;
    odd |= m.special & before;
    if (ends) return {i + static_cast<std::size_t>(__builtin_ctz(ends)), high != 0, odd != 0};
  }
  return {n, high != 0, odd != 0};
}

}  // namespace

RecordScan scanRecord(std::string_view buffer, std::size_t window, unsigned char first,
                      unsigned char second, unsigned char special) {
  static const bool kAvx2 = __builtin_cpu_supports("avx2");
  return kAvx2 ? scanVector(buffer, window, first, second, special)
               : scanBytes(buffer, window, first, second, special);
}

}  // namespace kiv
