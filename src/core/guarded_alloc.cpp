#include "core/guarded_alloc.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/platform.h"
#include "services/format.h"
#include "services/messages.h"

namespace kiv {

namespace {

struct Header {
  std::uint32_t guard;
  std::uint32_t gross;
};
static_assert(sizeof(Header) == GuardedAllocator::kHeaderSize);

constexpr std::string_view kThresholdText =
    "KIV at max RAM threshold, continued operation may lead to unpredictable results";

constexpr std::string_view kFatalTemplate =
    "Memory allocation error ID = %d\n\nBYTES allocated to KIV = %s\nBYTES will always be less "
    "than max hardware RAM.\n\nBLOCKS allocated to KIV = %s\nBLOCKS per process limited by "
    "the operating system.\n\nKIV terminating now.";

// A slab starts with its link and its size; 16 bytes keep every block
// 8-byte aligned.
struct SlabHead {
  void* next;
  std::size_t size;
};
constexpr std::size_t kHugePage = 2 * 1024 * 1024;

// Fresh zero pages from the kernel; slabs of a huge page or more are aligned
// to one and asked to be backed by huge pages, which saves most page faults.
char* mapSlab(std::size_t size) {
  std::size_t align = size >= kHugePage ? kHugePage : 0;
  void* raw =
      ::mmap(nullptr, size + align, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  char* base = static_cast<char*>(raw);
  if (align == 0) return base;
  char* start =
      reinterpret_cast<char*>((reinterpret_cast<std::uintptr_t>(base) + align - 1) & ~(align - 1));
  if (start > base) ::munmap(base, static_cast<std::size_t>(start - base));
  std::size_t tail = static_cast<std::size_t>(base + size + align - (start + size));
  if (tail > 0) ::munmap(start + size, tail);
  ::madvise(start, size, MADV_HUGEPAGE);
  return start;
}

Header* headerOf(void* block) {
  return reinterpret_cast<Header*>(static_cast<char*>(block) - sizeof(Header));
}

const Header* headerOf(const void* block) {
  return reinterpret_cast<const Header*>(static_cast<const char*>(block) - sizeof(Header));
}

}  // namespace

GuardedAllocator::GuardedAllocator(platform::Platform& platform, std::size_t ramThreshold,
                                   bool slabs)
    : platform_(platform), ramThreshold_(ramThreshold), useSlabs_(slabs) {}

GuardedAllocator::~GuardedAllocator() {
  std::free(reserve_);
  while (slabs_) {
    auto* head = static_cast<SlabHead*>(slabs_);
    slabs_ = head->next;
    ::munmap(head, head->size);
  }
}

void* GuardedAllocator::allocate(std::size_t size) {
  if (size == 0 || size > kMaxRequest) fatal(kErrorRequestSize);
  std::size_t gross = (size + 7) / 8 * 8 + kHeaderSize;
  void* raw = takeFromHeap(gross);
  if (!raw) fatal(kErrorHeap);
  auto* header = static_cast<Header*>(raw);
  header->guard = kGuard;
  header->gross = static_cast<std::uint32_t>(gross);
  count(gross);
  if (bytes_ > ramThreshold_) {
    // The program ends: the block goes back unused, the counters still show it.
    giveToHeap(raw, gross);
    platform_.messageBox(kMessageTitle, kThresholdText, platform::BoxButtons::Ok);
    fatal(kErrorThreshold);
  }
  return static_cast<char*>(raw) + kHeaderSize;
}

void* GuardedAllocator::allocateSpan(std::size_t size) {
  char* span = mapSlab(size);
  if (!span) fatal(kErrorHeap);
  count(size);
  if (bytes_ > ramThreshold_) {
    ::munmap(span, size);
    platform_.messageBox(kMessageTitle, kThresholdText, platform::BoxButtons::Ok);
    fatal(kErrorThreshold);
  }
  return span;
}

void GuardedAllocator::releaseSpan(void* span, std::size_t size) {
  bytes_ -= size;
  --blocks_;
  ::munmap(span, size);
}

void GuardedAllocator::count(std::size_t gross) {
  bytes_ += gross;
  ++blocks_;
  if (bytes_ > peak_) peak_ = bytes_;
  takeReserveIfArmed();
}

void GuardedAllocator::release(void* block) {
  if (!block) fatal(kErrorNullFree);
  Header* header = headerOf(block);
  if (header->guard != kGuard) return;
  std::size_t gross = header->gross;
  bytes_ -= gross;
  --blocks_;
  header->guard = 0;
  giveToHeap(header, gross);
}

std::size_t GuardedAllocator::capacity(const void* block) {
  return block ? headerOf(block)->gross - kHeaderSize : 0;
}

bool GuardedAllocator::guarded(const void* block) {
  return block && headerOf(block)->guard == kGuard;
}

void* GuardedAllocator::takeFromHeap(std::size_t gross) {
  if (useSlabs_ && gross <= kSlabMaxGross) return takeFromSlab(gross);
  return std::calloc(1, gross);
}

void GuardedAllocator::giveToHeap(void* raw, std::size_t gross) {
  if (!useSlabs_ || gross > kSlabMaxGross) return std::free(raw);
  // The freed block's body holds the link of its class's free list.
  SizeClass& sc = classes_[gross / 8];
  void** body = reinterpret_cast<void**>(static_cast<char*>(raw) + kHeaderSize);
  *body = sc.freeList;
  sc.freeList = raw;
}

void* GuardedAllocator::takeFromSlab(std::size_t gross) {
  SizeClass& sc = classes_[gross / 8];
  if (sc.freeList) {
    char* raw = static_cast<char*>(sc.freeList);
    sc.freeList = *reinterpret_cast<void**>(raw + kHeaderSize);
    std::memset(raw, 0, gross);
    return raw;
  }
  if (static_cast<std::size_t>(sc.end - sc.cursor) < gross) {
    // Fresh slabs come zero-filled, so their blocks need no clearing.
    char* slab = mapSlab(sc.nextSlab);
    if (!slab) return nullptr;
    ::new (slab) SlabHead{slabs_, sc.nextSlab};
    slabs_ = slab;
    sc.cursor = slab + sizeof(SlabHead);
    sc.end = slab + sc.nextSlab;
    if (sc.nextSlab < kSlabLast) sc.nextSlab *= 2;
  }
  char* raw = sc.cursor;
  sc.cursor += gross;
  return raw;
}

void GuardedAllocator::takeReserveIfArmed() {
  if (!reserveArmed_) return;
  reserveArmed_ = false;
  if (!reserve_) reserve_ = std::malloc(kReserveSize);
}

void GuardedAllocator::fatal(int errorId) {
  std::free(reserve_);
  reserve_ = nullptr;
  platform_.messageBox(kMessageTitle, fatalText(errorId, bytes_, blocks_),
                       platform::BoxButtons::Ok);
  std::exit(0);
}

std::string GuardedAllocator::fatalText(int errorId, std::size_t bytes, std::size_t blocks) {
  return format(kFatalTemplate, errorId, countText(bytes), countText(blocks));
}

std::string GuardedAllocator::countText(std::size_t value) {
  if (value > kRamThreshold) return "2Gig+";
  return groupThousands(static_cast<long long>(value));
}

LinePool::LinePool(GuardedAllocator& allocator, bool spans)
    : allocator_(allocator), spans_(spans) {}

LinePool::~LinePool() {
  releaseSpans();
}

void* LinePool::take(std::size_t gross) {
  ++taken_;
  if (!spans_) return allocator_.allocate(gross);
  void*& head = free_[gross / 8];
  if (head) {
    void* block = head;
    head = *static_cast<void**>(block);
    return block;
  }
  if (static_cast<std::size_t>(end_ - cursor_) < gross) {
    // What is left of the span serves requests of its own size.
    if (cursor_ != end_) push(cursor_, static_cast<std::size_t>(end_ - cursor_));
    char* span = static_cast<char*>(allocator_.allocateSpan(nextSpan_));
    ::new (span) SlabHead{spanChain_, nextSpan_};
    spanChain_ = span;
    cursor_ = span + sizeof(SlabHead);
    end_ = span + nextSpan_;
    if (nextSpan_ < kLastSpan) nextSpan_ *= 2;
  }
  char* block = cursor_;
  cursor_ += gross;
  return block;
}

void LinePool::give(void* block, std::size_t gross) {
  --taken_;
  if (!spans_) return allocator_.release(block);
  push(block, gross);
  if (taken_ == 0) releaseSpans();
}

void LinePool::setSpans(bool spans) {
  if (taken_ == 0) spans_ = spans;
}

void LinePool::push(void* block, std::size_t gross) {
  void*& head = free_[gross / 8];
  *static_cast<void**>(block) = head;
  head = block;
}

void LinePool::releaseSpans() {
  while (spanChain_) {
    auto* head = static_cast<SlabHead*>(spanChain_);
    spanChain_ = head->next;
    allocator_.releaseSpan(head, head->size);
  }
  free_ = {};
  cursor_ = end_ = nullptr;
  nextSpan_ = kFirstSpan;
}

}  // namespace kiv
