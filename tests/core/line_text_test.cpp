#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "core/file_profile.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/scratch_buffer.h"
#include "support/editor_test.h"

namespace kiv {
namespace {

class LineTextTest : public ::testing::Test {
 protected:
  void useProfile(Charset charset, char recfm, int maxRecLen = 80) {
    task.profile = std::make_unique<FileProfile>();
    task.profile->charset = charset;
    task.profile->recfm = recfm;
    task.profile->maxRecLen = maxRecLen;
  }
  GuardedAllocator& allocator() { return t.session().allocator(); }

  test::EditorTest t;
  Task task{t.session()};
};

TEST_F(LineTextTest, EmptyStoreHoldsTofThenBofAndIsNotModified) {
  ASSERT_EQ(initLineStore(task), 0);
  EXPECT_EQ(initLineStore(task), -1);
  ASSERT_EQ(finishLineStore(task), 0);
  ASSERT_EQ(finishLineStore(task), 0);
  ASSERT_EQ(task.lines.count, 2u);
  EXPECT_EQ(task.lines.first->kind(), LineKind::Tof);
  EXPECT_EQ(task.lines.first->text(), "*** Top of File ***");
  EXPECT_EQ(task.lines.last->kind(), LineKind::Bof);
  EXPECT_EQ(task.lines.last->text(), "*** Bottom of File ***");
  EXPECT_EQ(task.topLine, task.lines.first);
  EXPECT_FALSE(task.modified);
}

TEST_F(LineTextTest, TextBufferLengthsAreBoundedBy128000) {
  int granted = -1;
  char* biggest = allocTextBuffer(task, 128000, &granted);
  ASSERT_NE(biggest, nullptr);
  EXPECT_EQ(granted, 128000);
  allocator().release(biggest);
  for (int bad : {0, -5, 128001}) {
    EXPECT_EQ(allocTextBuffer(task, bad, &granted), nullptr);
    EXPECT_EQ(granted, 0);
    EXPECT_EQ(t.lastMessage().text, "TextBufAlloc: length requested " + std::to_string(bad) +
                                        ", must be between 1 and 128000, can not continue.");
  }
  EXPECT_EQ(createLine(task, std::string(128001, 'a'), LineKind::Text), nullptr);
  EXPECT_EQ(allocator().blocks(), 0u);
}

TEST_F(LineTextTest, SetTextCountsOneChangeAndMarksOnlyDataModified) {
  Line* note = createLine(task, "note", LineKind::Note);
  ASSERT_EQ(setLineText(task, note, "a longer note"), 0);
  EXPECT_EQ(note->text(), "a longer note");
  EXPECT_EQ(task.changeCount, 1);
  EXPECT_FALSE(task.modified);

  Line* line = createLine(task, "abcdefghij", LineKind::Text);
  ASSERT_EQ(setLineText(task, line, line->text().substr(2, 3)), 0);  // from its own text
  EXPECT_EQ(line->text(), "cde");
  EXPECT_EQ(task.changeCount, 2);
  EXPECT_TRUE(task.modified);

  ASSERT_EQ(setLineText(task, line, ""), 0);
  EXPECT_EQ(setLineText(task, line, std::string(128001, 'z')), -1);
  EXPECT_EQ(line->length(), 0);
  freeLine(task, line);
  freeLine(task, note);
  EXPECT_EQ(allocator().blocks(), 0u);
}

TEST_F(LineTextTest, ATextThatOutgrowsItsRecordMovesToABlockOfItsOwn) {
  Line* line = createLine(task, "abc", LineKind::Text);
  EXPECT_EQ(line->capacity(), 8);
  ASSERT_EQ(setLineText(task, line, "abcdefgh"), 0);
  EXPECT_FALSE(line->movedText()) << "the record's block holds 8 bytes";
  std::size_t inRecord = allocator().bytes();
  ASSERT_EQ(setLineText(task, line, "abcdefghi"), 0);
  EXPECT_TRUE(line->movedText());
  EXPECT_EQ(line->text(), "abcdefghi");
  EXPECT_EQ(line->capacity(), 16);
  EXPECT_FALSE(line->hasLabel() || line->hasPendingCommand());
  setLabel(task, line, ".A");
  setLabel(task, line, "");
  EXPECT_EQ(line->text(), "abcdefghi") << "the extension stays while it holds the text";
  ASSERT_EQ(setLineText(task, line, ""), 0);
  EXPECT_EQ(static_cast<const Line*>(line)->extra(), nullptr);
  EXPECT_EQ(allocator().bytes(), inRecord) << "text block and extension given back";
  freeLine(task, line);
  EXPECT_EQ(allocator().blocks(), 0u);
}

TEST_F(LineTextTest, CopyTakesTextKindAndFlagsButNotMarks) {
  useProfile(Charset::Ebcdic, 'V');
  Line* source = createLine(task, "hello", LineKind::Text);
  EXPECT_TRUE(source->ebcdic());
  setRecordNumber(source, 7);
  for (LineFlag f : {LineFlag::Changed, LineFlag::Error}) setLineFlag(task, source, f, true);
  setLineFlag(task, source, LineFlag::Shown, false);
  setLabel(task, source, ".A");
  setLineCommand(task, source, "C");
  setExcludedCount(task, source, 3);

  Line* copy = copyLine(task, source);
  EXPECT_EQ(copy->text(), "hello");
  EXPECT_EQ(copy->kind(), LineKind::Text);
  EXPECT_TRUE(copy->ebcdic());
  EXPECT_EQ(copy->excludedCount(), 3);
  EXPECT_EQ(copy->recordNumber(), 0u);
  EXPECT_FALSE(copy->changed() || copy->error() || copy->hasLabel() || copy->hasPendingCommand());
  EXPECT_TRUE(copy->shown());
  EXPECT_EQ(copyLine(task, nullptr), nullptr);
  freeLine(task, copy);
  freeLine(task, source);
  EXPECT_EQ(allocator().blocks(), 0u);
}

TEST_F(LineTextTest, IncreaseLengthKeepsTheText) {
  EXPECT_EQ(increaseLineLength(task, nullptr, 10), -1);
  EXPECT_EQ(t.lastMessage().id, "LINE70");
  Line* line = createLine(task, "abc", LineKind::Text);
  ASSERT_EQ(increaseLineLength(task, line, 500), 0);
  EXPECT_EQ(line->text(), "abc");
  EXPECT_EQ(line->capacity(), 504);
  EXPECT_EQ(task.changeCount, 0);

  Line* empty = createLine(task, "", LineKind::Text);
  ASSERT_EQ(increaseLineLength(task, empty, 20), 0);
  EXPECT_EQ(empty->capacity(), 24);
  EXPECT_EQ(empty->length(), 0);
  freeLine(task, empty);
  freeLine(task, line);
}

TEST_F(LineTextTest, PaddingUsesTheBlankOfTheCharset) {
  useProfile(Charset::Ebcdic, 'V', 12);
  Line* text = createLine(task, "ab", LineKind::Text);
  Line* mask = createLine(task, "", LineKind::Mask);
  Line* note = createLine(task, "n", LineKind::Note);
  ASSERT_EQ(padLineToMaxRecLen(task, text), 0);
  EXPECT_EQ(text->text(), "ab" + std::string(10, '\x40'));
  ASSERT_EQ(padLineTo(task, mask, 3), 0);
  EXPECT_EQ(mask->text(), "\x40\x40\x40");
  ASSERT_EQ(padLineTo(task, note, 3), 0);
  EXPECT_EQ(note->text(), "n  ");
  EXPECT_EQ(padLineToMaxRecLen(task, note), -1);
  EXPECT_EQ(t.lastMessage().id, "LINE72");

  task.profile.reset();  // without a profile: ASCII, MaxRecLen 128
  Line* plain = createLine(task, "x", LineKind::Text);
  ASSERT_EQ(padLineToMaxRecLen(task, plain), 0);
  EXPECT_EQ(plain->text(), "x" + std::string(127, ' '));
  long changes = task.changeCount;
  ASSERT_EQ(padLineTo(task, plain, 5), 0);
  EXPECT_EQ(task.changeCount, changes) << "already long enough: nothing changed";
  for (Line* l : {text, mask, note, plain}) freeLine(task, l);
}

TEST_F(LineTextTest, TrimDropsTrailingPadOnlyForVariableRecords) {
  useProfile(Charset::AsciiIso8859, 'F');
  Line* line = createLine(task, "ab  ", LineKind::Text);
  EXPECT_EQ(trimTrailingBlanks(task, line), 0);
  EXPECT_EQ(line->text(), "ab  ");

  task.profile->recfm = 'V';
  Line* blanks = createLine(task, "   ", LineKind::Text);
  Line* note = createLine(task, "n  ", LineKind::Note);
  EXPECT_EQ(trimTrailingBlanks(task, line), 2);
  EXPECT_EQ(trimTrailingBlanks(task, blanks), 3);
  EXPECT_EQ(trimTrailingBlanks(task, note), 0);
  EXPECT_EQ(line->text(), "ab");
  EXPECT_EQ(blanks->length(), 0);
  EXPECT_EQ(note->text(), "n  ");

  task.profile->charset = Charset::Ebcdic;
  Line* ebcdic = createLine(task, "a \x40\x40", LineKind::Text);
  EXPECT_EQ(trimTrailingBlanks(task, ebcdic), 2);
  EXPECT_EQ(ebcdic->text(), "a ");
  for (Line* l : {line, blanks, note, ebcdic}) freeLine(task, l);
}

TEST_F(LineTextTest, KindAndFlagsDoNotDisturbTheLength) {
  Line* line = createLine(task, std::string(kMaxLineLength, 'x'), LineKind::Note);
  setLineKind(task, line, LineKind::Text);
  for (LineFlag f : {LineFlag::HexHighNote, LineFlag::HexLowNote, LineFlag::Error, LineFlag::Changed,
                     LineFlag::Sequenced, LineFlag::FromCols, LineFlag::FromNote,
                     LineFlag::SavedForUndo})
    setLineFlag(task, line, f, true);
  setRecordNumber(line, 0x7FFFFFFF);
  EXPECT_EQ(line->recordNumber(), 0x7FFFFFFFu);
  EXPECT_TRUE(line->error() && line->changed() && line->has(LineFlag::SavedForUndo));
  EXPECT_EQ(line->length(), kMaxLineLength);
  EXPECT_EQ(line->kind(), LineKind::Text);
  EXPECT_EQ(lineKindName(line->kind()), "TEXT");
  EXPECT_TRUE(line->shown());
  EXPECT_FALSE(line->inserted() || line->ebcdic());
  freeLine(task, line);
}

TEST_F(LineTextTest, CommandAndLabelFieldsAreBlankUntilSet) {
  Line* line = createLine(task, "data", LineKind::Text);
  std::size_t plain = allocator().bytes();
  EXPECT_EQ(line->lineCommand(), "         ");
  setLineCommand(task, line, "         ");
  EXPECT_FALSE(line->hasPendingCommand());
  EXPECT_EQ(allocator().bytes(), plain) << "blank fields need no extension";

  setLineCommand(task, line, "        D");
  EXPECT_TRUE(line->hasPendingCommand());
  setLabel(task, line, ".LABELTOOLONG");
  EXPECT_EQ(line->label(), ".LABELTOO");
  setLineCommand(task, line, "");
  EXPECT_FALSE(line->hasPendingCommand());
  EXPECT_GT(allocator().bytes(), plain) << "the label still needs it";
  setLabel(task, line, "");
  EXPECT_EQ(allocator().bytes(), plain) << "an empty extension is given back";
  freeLine(task, line);
}

// Free entries are reused while MaxRecLen fits them; one whose guard was
// overwritten is reported and kept out of use.
TEST_F(LineTextTest, ScratchPoolReusesFreeEntriesAndKeepsDamagedOnes) {
  ScratchBuffer* damaged = getScratchBuffer(task);
  EXPECT_EQ(damaged->capacity, 136u) << "MaxRecLen 128 without a profile";
  damaged->guard = 0x41414141;
  EXPECT_EQ(releaseScratchBuffer(task, damaged), -1);
  EXPECT_EQ(t.lastMessage().id, "TASK105");
  EXPECT_TRUE(damaged->inUse);

  useProfile(Charset::AsciiIso8859, 'V', 100);
  ScratchBuffer* first = getScratchBuffer(task);
  ScratchBuffer* second = getScratchBuffer(task);
  ASSERT_TRUE(first != second && first != damaged);
  EXPECT_EQ(first->capacity, 108u);
  EXPECT_TRUE(first->inUse && second->inUse);
  std::memset(first->data(), 'x', first->capacity);  // the whole capacity is usable
  EXPECT_EQ(releaseScratchBuffer(task, first), 0);
  EXPECT_EQ(getScratchBuffer(task), first);

  releaseScratchBuffer(task, first);
  releaseScratchBuffer(task, second);
  task.profile->maxRecLen = 200;
  EXPECT_EQ(getScratchBuffer(task)->capacity, 208u);
  EXPECT_EQ(task.scratch.count, 2u) << "free entries too small for MaxRecLen are freed";
}

TEST_F(LineTextTest, EndingTheTaskFreesEveryRecordAndBuffer) {
  {
    Task other(t.session());
    initLineStore(other);
    for (int i = 0; i < 100; ++i) {
      Line* line = createLine(other, "some text of a line", LineKind::Text);
      setLabel(other, line, ".L");
      linkLineBefore(other, nullptr, line);
    }
    finishLineStore(other);
    getScratchBuffer(other);
    EXPECT_GT(allocator().blocks(), 100u);
  }
  EXPECT_EQ(allocator().blocks(), 0u);
  EXPECT_EQ(allocator().bytes(), 0u);
}

}  // namespace
}  // namespace kiv
