// The loader's input: the file read in large blocks into the task's input
// buffer, bytes given back, and the characters of a UTF-16 file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/task.h"

namespace kiv {

inline constexpr int kNoByte = -1;

// Makes at least `n` unread bytes available unless the file ends first.
// False when fewer than `n` remain.
bool ensureBuffered(LoadState& ld, std::size_t n);
// The unread bytes in the buffer (refilled when empty); empty at the end.
std::string_view buffered(LoadState& ld);
void consume(LoadState& ld, std::size_t n);

// The next byte of the file, or kNoByte at its end.
int readByte(LoadState& ld);
// The next `n` bytes, fewer at the end of the file. The view lasts until the
// next read.
std::string_view readBytes(LoadState& ld, std::size_t n);
// True when no byte is left (nothing given back, nothing buffered, and the
// file has ended).
bool atEnd(LoadState& ld);

// Gives a byte or character back; the next nextChar returns it. At most two
// are held.
void giveBack(LoadState& ld, int c);
// The next character of a VARIABLE file: a byte given back, else a byte, or
// for a UTF-16 file a character made of two bytes (above 0xFF: '?', counted,
// and in EDIT the task is marked modified). kNoByte at the end.
int nextChar(Task& task);

// Bytes taken from the file so far.
std::uint64_t bytesConsumed(const LoadState& ld);
// Frees the input buffer once the load is complete.
void releaseInput(LoadState& ld);

}  // namespace kiv
