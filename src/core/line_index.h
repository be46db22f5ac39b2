// Line numbers at any size. The store's lines are cut into segments of a few
// hundred consecutive lines; each segment's first line carries a mark, and a
// Fenwick tree sums the segments' TEXT-line counts. The ordinal of a line is
// a walk back to its segment's first line plus a prefix sum; the line at an
// ordinal is a descent of the tree plus a walk within one segment: both
// O(log n + segment size) at any distance. A link or an unlink adjusts one
// segment; segments split when they grow past kMaxLines. An emptied segment
// stays in place until half of them are empty, when they go all at once.
// Loading fills segments half, so that inserts anywhere seldom split one (a
// split renumbers the segments after it).
#pragma once

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kiv {

struct Line;

class LineIndex {
 public:
  // After `line` was linked into the store (its links set).
  void linked(Line* line);
  // Before `line` is unlinked.
  void unlinking(Line* line);
  // A linked line became TEXT (+1) or stopped being TEXT (-1).
  void textCountChanged(Line* line, int delta);
  // Lines traded places without being unlinked: now[i] stands where was[i]
  // stood (both TEXT or both not), so a segment that began with was[i]
  // begins with now[i].
  void tookPlaces(const std::vector<Line*>& was, const std::vector<Line*>& now);

  // TEXT lines before `line`; -1 for a line that is not in this store.
  long ordinalOf(const Line* line);
  // The TEXT line with `n` TEXT lines before it; null when there is none.
  Line* textLineAt(long n);

  // A segment splits in two when it passes kMaxLines. Exposed for the tests.
  static constexpr long kMaxLines = 1024;
  // Appends at the end (loading) start a new segment past this many lines.
  static constexpr long kAppendLines = kMaxLines / 2;
  std::size_t segments() const { return segs_.size(); }

 private:
  struct Segment {
    Line* head;
    long text;   // TEXT lines in the segment
    long lines;  // all lines in the segment
  };
  std::vector<Segment> segs_;
  std::unordered_map<const Line*, std::uint32_t> headAt_;  // head -> index in segs_
  std::vector<long> tree_;  // Fenwick tree over segs_[i].text, 1-based
  bool treeStale_ = true;
  // Emptied segments left in place (head null, no lines).
  std::size_t dead_ = 0;
  // The last line whose segment was found, to spare the walk for runs of
  // changes in one place.
  const Line* known_ = nullptr;
  std::size_t knownSeg_ = 0;

  std::size_t segmentOf(const Line* line);
  void setHead(std::size_t s, Line* head);
  void addText(std::size_t s, long delta);
  long textBefore(std::size_t s);
  void renumberFrom(std::size_t s);
  void split(std::size_t s);
  void compact();
  void buildTree();
};

}  // namespace kiv
