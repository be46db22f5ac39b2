// The guarded allocator: every line record and buffer of the editor comes
// from here. Each block carries an 8-byte header (guard word and gross size)
// so that a stray pointer is noticed before it is freed, and the session-wide
// byte, block and peak counters show how big the session has grown.
//
// Small blocks are cut from slabs in 8-byte size classes, so the header is
// the only per-block cost; big blocks come straight from the heap. A
// sanitized build takes every block from the heap so that overruns are seen.
//
// A task's line records come from its LinePool instead: blocks without a
// header cut from big spans that the allocator counts as whole blocks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace kiv {

namespace platform {
class Platform;
}

class GuardedAllocator {
 public:
  static constexpr std::uint32_t kGuard = 0x0437FCE8;
  static constexpr std::size_t kHeaderSize = 8;
  static constexpr std::size_t kMaxRequest = 128096;
  static constexpr std::size_t kReserveSize = 1000000;
  static constexpr std::size_t kRamThreshold = 2147000000;

  // Error identifiers of the fatal path.
  static constexpr int kErrorThreshold = 11;
  static constexpr int kErrorHeap = 12;
  static constexpr int kErrorRequestSize = 14;
  static constexpr int kErrorNullFree = 16;

#ifdef KIV_SANITIZED
  static constexpr bool kSlabsByDefault = false;
#else
  static constexpr bool kSlabsByDefault = true;
#endif

  // `ramThreshold` is the byte count past which the session is stopped;
  // without `slabs` every block comes straight from the heap.
  explicit GuardedAllocator(platform::Platform& platform, std::size_t ramThreshold = kRamThreshold,
                            bool slabs = kSlabsByDefault);
  ~GuardedAllocator();
  GuardedAllocator(const GuardedAllocator&) = delete;
  GuardedAllocator& operator=(const GuardedAllocator&) = delete;

  // A zero-filled block of at least `size` bytes (capacity() tells how many).
  // A size of 0 or above kMaxRequest, heap exhaustion and passing the RAM
  // threshold end the program.
  void* allocate(std::size_t size);
  // Gives a block back. A null pointer ends the program; a block whose guard
  // word does not match is left alone.
  void release(void* block);

  // A zero-filled span of `size` bytes (a multiple of 4096) for a pool of
  // blocks without headers (LinePool), counted as one block. Heap exhaustion
  // and passing the RAM threshold end the program as for allocate.
  void* allocateSpan(std::size_t size);
  void releaseSpan(void* span, std::size_t size);
  // Small blocks come from slabs (and line records from spans).
  bool slabs() const {
    return useSlabs_;
  }

  // Usable bytes of a block: its gross size less the header.
  static std::size_t capacity(const void* block);
  // True when the block's header still holds the guard word.
  static bool guarded(const void* block);

  std::size_t bytes() const {
    return bytes_;
  }
  std::size_t blocks() const {
    return blocks_;
  }
  std::size_t peak() const {
    return peak_;
  }

  // The main window exists: the next allocation also takes the emergency
  // reserve, which the fatal path gives back before it shows its box.
  void armReserve() {
    reserveArmed_ = true;
  }
  bool holdsReserve() const {
    return reserve_ != nullptr;
  }

  // The text of the fatal box for error `errorId`.
  static std::string fatalText(int errorId, std::size_t bytes, std::size_t blocks);
  // 1234567 -> "1,234,567"; anything above 2,147,000,000 -> "2Gig+".
  static std::string countText(std::size_t value);

 private:
  // Gross sizes up to kSlabMaxGross are cut from slabs. A class's slabs
  // double from kSlabFirst up to kSlabLast, so a small file stays small and a
  // big one takes few, huge-page backed, mappings.
  static constexpr std::size_t kSlabMaxGross = 512;
  static constexpr std::size_t kSlabFirst = 256 * 1024;
  static constexpr std::size_t kSlabLast = 4 * 1024 * 1024;
  static constexpr std::size_t kClassCount = kSlabMaxGross / 8 + 1;

  // One size class: blocks given back, and the unused tail of its slab.
  struct SizeClass {
    void* freeList = nullptr;
    char* cursor = nullptr;
    char* end = nullptr;
    std::size_t nextSlab = kSlabFirst;
  };

  void count(std::size_t gross);
  void* takeFromHeap(std::size_t gross);
  void giveToHeap(void* raw, std::size_t gross);
  void* takeFromSlab(std::size_t gross);
  void takeReserveIfArmed();
  [[noreturn]] void fatal(int errorId);

  platform::Platform& platform_;
  std::size_t ramThreshold_;
  bool useSlabs_;
  std::size_t bytes_ = 0;
  std::size_t blocks_ = 0;
  std::size_t peak_ = 0;
  bool reserveArmed_ = false;
  void* reserve_ = nullptr;
  std::array<SizeClass, kClassCount> classes_{};
  void* slabs_ = nullptr;  // chain of slabs, linked through their first words
};

// The blocks of one task's line records (record and text in one block, see
// line.h): headerless blocks of 8-byte multiples up to kMaxGross, cut in
// order from spans that double from 256 KiB up to 4 MiB, with one free list
// per size. A block given back serves the next request of its size; every
// span goes back to the allocator once no block is taken (an emptied store)
// and when the pool ends with its task. Without slabs (a sanitized build)
// every block is a guarded block of its own, so that overruns are seen.
class LinePool {
 public:
  static constexpr std::size_t kMaxGross = 4096;

  explicit LinePool(GuardedAllocator& allocator, bool spans);
  explicit LinePool(GuardedAllocator& allocator) : LinePool(allocator, allocator.slabs()) {}
  ~LinePool();
  LinePool(const LinePool&) = delete;
  LinePool& operator=(const LinePool&) = delete;

  // A block of `gross` bytes (a multiple of 8, at most kMaxGross), 8-byte
  // aligned; its content is undefined.
  void* take(std::size_t gross);
  // Gives a block back; `gross` may be less than was taken (the rest of the
  // block is then not used again before the spans go back).
  void give(void* block, std::size_t gross);
  // Blocks taken and not given back.
  std::size_t taken() const { return taken_; }
  // Spans or a guarded block for each (the tests run both); only while no
  // block is taken.
  void setSpans(bool spans);

 private:
  static constexpr std::size_t kFirstSpan = 256 * 1024;
  static constexpr std::size_t kLastSpan = 4 * 1024 * 1024;

  void push(void* block, std::size_t gross);
  void releaseSpans();

  GuardedAllocator& allocator_;
  bool spans_;
  std::size_t taken_ = 0;
  std::array<void*, kMaxGross / 8 + 1> free_{};
  char* cursor_ = nullptr;
  char* end_ = nullptr;
  std::size_t nextSpan_ = kFirstSpan;
  void* spanChain_ = nullptr;  // linked through the spans' first words
};

}  // namespace kiv
