#include "commands/sort_keys.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "core/line.h"
#include "core/text_columns.h"
#include "core/utf8_case.h"

namespace kiv {

namespace {

// A line's key as 64-bit words: its fields' bytes one after the other,
// each padded with zero bytes to its width in the key, upper-cased for
// IGNORECASE, inverted for a descending field, read big-endian so that
// comparing the words as numbers compares the bytes in order. A field's
// width in the key is its column count until a line of UTF-8 characters
// needs more bytes (widen).
class KeyMaker {
 public:
  KeyMaker(const std::vector<SortField>& fields, bool ignoreCase, bool utf8)
      : fields_(fields), ignoreCase_(ignoreCase), columns_(utf8) {
    for (const SortField& f : fields) {
      widths_.push_back(static_cast<std::size_t>(f.end - f.start + 1));
      lastColumn_ = std::max(lastColumn_, static_cast<std::size_t>(f.end));
    }
    resize();
    for (int b = 0; b < 256; ++b)
      fold_[static_cast<std::size_t>(b)] = static_cast<unsigned char>(ignoreCase ? std::toupper(b) : b);
  }
  std::size_t words() const { return words_; }

  // The key of `text` into out[0..words()); false when a field's characters
  // take more bytes than its width in the key.
  bool make(std::string_view text, std::uint64_t* out) {
    std::fill(bytes_.begin(), bytes_.end(), 0);
    bool plain = plainBytes(text);
    unsigned char* key = bytes_.data();
    for (std::size_t i = 0; i < fields_.size(); ++i) {
      const SortField& f = fields_[i];
      if (plain) {
        auto from = std::min(text.size(), static_cast<std::size_t>(f.start - 1));
        std::size_t count =
            std::min(static_cast<std::size_t>(f.end - f.start + 1), text.size() - from);
        for (std::size_t k = 0; k < count; ++k)
          key[k] = fold_[static_cast<unsigned char>(text[from + k])];
      } else {
        std::string_view field = characters(text, f);
        if (field.size() > widths_[i]) return false;
        std::memcpy(key, field.data(), field.size());
      }
      if (f.descending)
        for (std::size_t k = 0; k < widths_[i]; ++k)
          key[k] = static_cast<unsigned char>(255 - key[k]);
      key += widths_[i];
    }
    for (std::size_t w = 0; w < words_; ++w) {
      std::uint64_t v;
      std::memcpy(&v, bytes_.data() + w * 8, 8);
      out[w] = __builtin_bswap64(v);
    }
    return true;
  }

  // Widens each field in the key to the most bytes its characters take on
  // any of the lines.
  void widen(const std::vector<Line*>& lines) {
    for (const Line* line : lines) {
      std::string_view text = line->text();
      if (plainBytes(text)) continue;
      for (std::size_t i = 0; i < fields_.size(); ++i)
        widths_[i] = std::max(widths_[i], characters(text, fields_[i]).size());
    }
    resize();
  }

 private:
  // A byte is a column in the line's fields: the task is not UTF-8, or the
  // line is plain ASCII up to the byte after the last field (a combining
  // mark there would join the field's last character).
  bool plainBytes(std::string_view text) const {
    if (!columns_.utf8()) return true;
    std::size_t n = std::min(text.size(), lastColumn_ + 1);
    return asciiPrefix(text.substr(0, n)) == n;
  }

  // The bytes of the characters that begin in the field's columns.
  std::string_view characters(std::string_view text, const SortField& f) {
    ByteRange r = columns_.bytesOf(text, f.start, f.end);
    std::string_view bytes = text.substr(r.first, r.end - r.first);
    if (!ignoreCase_) return bytes;
    folded_ = utf8Case(bytes, true, false);
    return folded_;
  }

  void resize() {
    std::size_t width = 0;
    for (std::size_t w : widths_) width += w;
    words_ = std::max<std::size_t>(1, (width + 7) / 8);
    bytes_.assign(words_ * 8, 0);
  }

  const std::vector<SortField>& fields_;
  bool ignoreCase_;
  TextColumns columns_;
  std::vector<std::size_t> widths_;
  std::size_t lastColumn_ = 0;
  std::size_t words_ = 1;
  std::vector<unsigned char> bytes_;
  std::string folded_;
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

// The order of the lines by their keys; false when a key did not fit.
template <std::size_t K>
bool stableOrder(const std::vector<Line*>& lines, KeyMaker& keys,
                 std::vector<std::uint32_t>& order) {
  std::size_t n = lines.size(), extra = keys.words() > K ? keys.words() - K : 0;
  std::vector<Item<K>> items(n);
  std::vector<std::uint64_t> rest(n * extra), key(std::max(K, keys.words()), 0);
  for (std::size_t i = 0; i < n; ++i) {
    if (!keys.make(lines[i]->text(), key.data())) return false;
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
  order.resize(n);
  for (std::size_t i = 0; i < n; ++i) order[i] = items[i].index;
  return true;
}

bool ordered(const std::vector<Line*>& lines, KeyMaker& keys, std::vector<std::uint32_t>& order) {
  switch (keys.words()) {
    case 1:
      return stableOrder<1>(lines, keys, order);
    case 2:
      return stableOrder<2>(lines, keys, order);
    case 3:
      return stableOrder<3>(lines, keys, order);
    default:
      return stableOrder<4>(lines, keys, order);
  }
}

}  // namespace

void sortByFields(std::vector<Line*>& lines, const std::vector<SortField>& fields, bool ignoreCase,
                  bool utf8) {
  KeyMaker keys(fields, ignoreCase, utf8);
  std::size_t n = lines.size();
  std::vector<std::uint32_t> order;
  // Fields of UTF-8 characters wider in bytes than in columns make room
  // for them and start again.
  if (!ordered(lines, keys, order)) {
    keys.widen(lines);
    ordered(lines, keys, order);
  }
  std::vector<Line*> sorted(n);
  for (std::size_t i = 0; i < n; ++i) sorted[i] = lines[order[i]];
  lines.swap(sorted);
}

}  // namespace kiv
