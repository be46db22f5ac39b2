#include "core/line.h"

#include <array>
#include <cassert>

#include "core/guarded_alloc.h"

namespace kiv {

namespace {

constexpr std::array<std::string_view, 13> kKindNames = {
    "?",      "TOF",    "BOF",  "BNDS", "COLS", "EXCLUDED", "HEXHIGH",
    "HEXLOW", "HEXSEP", "MASK", "NOTE", "TABS", "TEXT",
};

}  // namespace

std::string_view lineKindName(LineKind kind) {
  auto code = static_cast<std::size_t>(kind);
  return code < kKindNames.size() ? kKindNames[code] : kKindNames[0];
}

int Line::capacity() const {
  if (movedText()) return static_cast<int>(GuardedAllocator::capacity(extra_->text));
  return static_cast<int>((length_ + 7) & ~7U);
}

void Line::setLength(int length) {
  assert(length >= 0 && length <= capacity());
  length_ = static_cast<std::uint32_t>(length);
}

std::string_view Line::lineCommand() const {
  return extra_ ? std::string_view(extra_->lineCommand, kLineFieldWidth) : kBlankField;
}

std::string_view Line::label() const {
  return extra_ ? std::string_view(extra_->label, kLineFieldWidth) : kBlankField;
}

}  // namespace kiv
