#include "core/scratch_buffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "core/file_profile.h"
#include "core/task.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

TEST(ScratchBufferTest, PoolReusesFreeEntriesWhileMaxRecLenFits) {
  test::EditorTest t;
  Task task(t.session());
  task.profile = std::make_unique<FileProfile>();
  task.profile->maxRecLen = 100;

  ScratchBuffer* first = getScratchBuffer(task);
  ScratchBuffer* second = getScratchBuffer(task);
  ASSERT_NE(first, second);
  EXPECT_EQ(first->capacity, 108u);
  EXPECT_TRUE(first->inUse && second->inUse);
  std::memset(first->data(), 'x', first->capacity);  // the whole capacity is usable
  EXPECT_EQ(releaseScratchBuffer(task, first), 0);
  EXPECT_EQ(getScratchBuffer(task), first);
  EXPECT_EQ(task.scratch.count, 2u);

  releaseScratchBuffer(task, first);
  releaseScratchBuffer(task, second);
  task.profile->maxRecLen = 200;
  ScratchBuffer* bigger = getScratchBuffer(task);
  EXPECT_EQ(bigger->capacity, 208u);
  EXPECT_EQ(task.scratch.count, 1u) << "entries too small for MaxRecLen are freed";
}

TEST(ScratchBufferTest, OverwrittenGuardIsReportedAndTheEntryKept) {
  test::EditorTest t;
  Task task(t.session());
  ScratchBuffer* buffer = getScratchBuffer(task);
  EXPECT_EQ(buffer->capacity, 136u) << "MaxRecLen 128 without a profile";
  buffer->guard = 0x41414141;
  EXPECT_EQ(releaseScratchBuffer(task, buffer), -1);
  EXPECT_EQ(t.lastMessage().id, "TASK105");
  EXPECT_EQ(t.lastMessage().text, "Tried to free corrupted record buffer, can't continue");
  EXPECT_TRUE(buffer->inUse);
  EXPECT_NE(getScratchBuffer(task), buffer);
}

}  // namespace
}  // namespace kiv
