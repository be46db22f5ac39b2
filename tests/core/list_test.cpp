#include "core/list.h"

#include <gtest/gtest.h>

#include <vector>

namespace kiv {
namespace {

struct Item {
  Item* prev = nullptr;
  Item* next = nullptr;
  int id = 0;
};

// The ids front to back, checked against the walk back to front and the count.
std::vector<int> ids(const ListHead<Item>& list) {
  std::vector<int> forward, backward;
  for (Item* i = list.first; i; i = i->next) forward.push_back(i->id);
  for (Item* i = list.last; i; i = i->prev) backward.insert(backward.begin(), i->id);
  EXPECT_EQ(forward, backward) << "prev links disagree with next links";
  EXPECT_EQ(forward.size(), list.count);
  return forward;
}

TEST(ListHeadTest, PrimitivesKeepLinksEndsAndCountExact) {
  Item a{.id = 1}, b{.id = 2}, c{.id = 3}, d{.id = 4}, e{.id = 5};
  ListHead<Item> list;
  list.insertBefore(nullptr, &b);  // into an empty list: the only item
  list.insertBefore(&b, &a);       // before the first: the new first
  list.append(&d);
  list.insertBefore(&d, &c);
  list.pushFront(&e);
  EXPECT_EQ(ids(list), (std::vector<int>{5, 1, 2, 3, 4}));

  list.remove(&b);
  EXPECT_EQ(b.prev, nullptr);
  EXPECT_EQ(b.next, nullptr);
  list.remove(&e);
  list.remove(&d);
  EXPECT_EQ(ids(list), (std::vector<int>{1, 3}));
  list.remove(&a);
  list.remove(&c);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(list.last, nullptr);
  list.pushFront(&b);
  EXPECT_EQ(ids(list), (std::vector<int>{2}));
}

}  // namespace
}  // namespace kiv
