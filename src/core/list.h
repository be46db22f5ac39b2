// The three-field list head (first, last, count) over records that carry
// their own `prev` and `next` links, with the four primitives every list of
// the program uses. The count is kept exact so it is never found by walking.
#pragma once

#include <cstddef>

namespace kiv {

template <class T>
struct ListHead {
  T* first = nullptr;
  T* last = nullptr;
  std::size_t count = 0;

  bool empty() const { return first == nullptr; }

  void append(T* item) {
    item->next = nullptr;
    item->prev = last;
    if (last) last->next = item; else first = item;
    last = item;
    ++count;
  }

  // Inserts `item` before `before`; a null `before` appends.
  void insertBefore(T* before, T* item) {
    if (!before) return append(item);
    item->next = before;
    item->prev = before->prev;
    if (before->prev) before->prev->next = item; else first = item;
    before->prev = item;
    ++count;
  }

  void pushFront(T* item) { insertBefore(first, item); }

  // Unlinks `item` and clears its links.
  void remove(T* item) {
    if (item->prev) item->prev->next = item->next; else first = item->next;
    if (item->next) item->next->prev = item->prev; else last = item->prev;
    item->prev = item->next = nullptr;
    --count;
  }
};

}  // namespace kiv
