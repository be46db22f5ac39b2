// The guarded allocator: every line record and buffer of the editor comes
// from here. Each block carries an 8-byte header (guard word and gross size)
// so that a stray pointer is noticed before it is freed, and the session-wide
// byte, block and peak counters show how big the session has grown.
//
// Small blocks are cut from slabs in 8-byte size classes, so the header is
// the only per-block cost; big blocks come straight from the heap. A
// sanitized build takes every block from the heap so that overruns are seen.
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

}  // namespace kiv
