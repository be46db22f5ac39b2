#include "commands/sort_keys.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/line.h"

namespace kiv {

namespace {

// A line's key as 64-bit words: its fields' bytes one after the other,
// each padded with zero bytes to its width, upper-cased for IGNORECASE,
// inverted for a descending field, read big-endian so that comparing the
// words as numbers compares the bytes in order.
class KeyMaker {
 public:
  KeyMaker(const std::vector<SortField>& fields, bool ignoreCase) : fields_(fields) {
    std::size_t width = 0;
    for (const SortField& f : fields) width += static_cast<std::size_t>(f.end - f.start + 1);
    words_ = std::max<std::size_t>(1, (width + 7) / 8);
    bytes_.resize(words_ * 8);
    for (int b = 0; b < 256; ++b)
      fold_[static_cast<std::size_t>(b)] = static_cast<unsigned char>(ignoreCase ? std::toupper(b) : b);
  }
  std::size_t words() const { return words_; }

  // The key of `text` into out[0..words()).
  void make(std::string_view text, std::uint64_t* out) {
    std::fill(bytes_.begin(), bytes_.end(), 0);
    unsigned char* key = bytes_.data();
    for (const SortField& f : fields_) {
      auto fieldWidth = static_cast<std::size_t>(f.end - f.start + 1);
      auto from = std::min(text.size(), static_cast<std::size_t>(f.start - 1));
      std::size_t count = std::min(fieldWidth, text.size() - from);
      for (std::size_t k = 0; k < count; ++k) key[k] = fold_[static_cast<unsigned char>(text[from + k])];
      if (f.descending)
        for (std::size_t k = 0; k < fieldWidth; ++k) key[k] = static_cast<unsigned char>(255 - key[k]);
      key += fieldWidth;
    }
    for (std::size_t w = 0; w < words_; ++w) {
      std::uint64_t v;
      std::memcpy(&v, bytes_.data() + w * 8, 8);
      out[w] = __builtin_bswap64(v);
    }
  }

 private:
  const std::vector<SortField>& fields_;
  std::size_t words_ = 1;
  std::vector<unsigned char> bytes_;
  std::array<unsigned char, 256> fold_{};
};

// Keys of up to K words sort as items that hold them, so that a comparison
// reads no other memory; longer keys keep the words past K side by side in
// `rest`, compared only when the first K are equal.
template <std::size_t K>
struct Item {
  std::array<std::uint64_t, K> w;
  std::uint32_t index;
};

template <std::size_t K>
std::vector<std::uint32_t> stableOrder(const std::vector<Line*>& lines, KeyMaker& keys) {
  std::size_t n = lines.size(), extra = keys.words() > K ? keys.words() - K : 0;
  std::vector<Item<K>> items(n);
  std::vector<std::uint64_t> rest(n * extra), key(std::max(K, keys.words()), 0);
  for (std::size_t i = 0; i < n; ++i) {
    keys.make(lines[i]->text(), key.data());
    std::copy_n(key.begin(), K, items[i].w.begin());
    for (std::size_t w = 0; w < extra; ++w) rest[i * extra + w] = key[K + w];
    items[i].index = static_cast<std::uint32_t>(i);
  }
  std::stable_sort(items.begin(), items.end(), [&](const Item<K>& a, const Item<K>& b) {
    for (std::size_t w = 0; w < K; ++w)
      if (a.w[w] != b.w[w]) return a.w[w] < b.w[w];
    const std::uint64_t* ra = rest.data() + a.index * extra;
    const std::uint64_t* rb = rest.data() + b.index * extra;
    for (std::size_t w = 0; w < extra; ++w)
      if (ra[w] != rb[w]) return ra[w] < rb[w];
    return false;
  });
  std::vector<std::uint32_t> order(n);
  for (std::size_t i = 0; i < n; ++i) order[i] = items[i].index;
  return order;
}

}  // namespace

void sortByFields(std::vector<Line*>& lines, const std::vector<SortField>& fields, bool ignoreCase) {
  KeyMaker keys(fields, ignoreCase);
  std::size_t n = lines.size();
  std::vector<std::uint32_t> order;
  switch (keys.words()) {
    case 1: order = stableOrder<1>(lines, keys); break;
    case 2: order = stableOrder<2>(lines, keys); break;
    case 3: order = stableOrder<3>(lines, keys); break;
    default: order = stableOrder<4>(lines, keys); break;
  }
  std::vector<Line*> sorted(n);
  for (std::size_t i = 0; i < n; ++i) sorted[i] = lines[order[i]];
  lines.swap(sorted);
}

}  // namespace kiv
