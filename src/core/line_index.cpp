#include "core/line_index.h"

#include "core/line.h"

namespace kiv {

namespace {

long textOf(const Line* line) {
  return line->is(LineKind::Text) ? 1 : 0;
}

}  // namespace

void LineIndex::setHead(std::size_t s, Line* head) {
  if (segs_[s].head) {
    segs_[s].head->segmentHead_ = 0;
    headAt_.erase(segs_[s].head);
  }
  segs_[s].head = head;
  head->segmentHead_ = 1;
  headAt_[head] = static_cast<std::uint32_t>(s);
}

void LineIndex::tookPlaces(const std::vector<Line*>& was, const std::vector<Line*>& now) {
  // First every old head lets go, then the new ones take over: a line may
  // be both.
  std::vector<std::pair<std::uint32_t, Line*>> heads;
  for (std::size_t i = 0; i < was.size() && i < now.size(); ++i) {
    Line* old = was[i];
    if (!old->segmentHead_ || old == now[i]) continue;
    auto it = headAt_.find(old);
    if (it == headAt_.end()) continue;
    heads.emplace_back(it->second, now[i]);
    headAt_.erase(it);
    old->segmentHead_ = 0;
    segs_[heads.back().first].head = nullptr;
  }
  for (auto [s, head] : heads) setHead(s, head);
  known_ = nullptr;
}

void LineIndex::renumberFrom(std::size_t s) {
  for (std::size_t i = s; i < segs_.size(); ++i) headAt_[segs_[i].head] = static_cast<std::uint32_t>(i);
  treeStale_ = true;
  known_ = nullptr;
}

std::size_t LineIndex::segmentOf(const Line* line) {
  const Line* p = line;
  while (p && p != known_ && !p->segmentHead_) p = p->prev;
  if (!p) return segs_.size();
  if (p == known_) return knownSeg_;
  auto it = headAt_.find(p);
  return it == headAt_.end() ? segs_.size() : it->second;
}

void LineIndex::buildTree() {
  tree_.assign(segs_.size() + 1, 0);
  for (std::size_t i = 1; i <= segs_.size(); ++i) {
    tree_[i] += segs_[i - 1].text;
    std::size_t up = i + (i & (~i + 1));
    if (up <= segs_.size()) tree_[up] += tree_[i];
  }
  treeStale_ = false;
}

void LineIndex::addText(std::size_t s, long delta) {
  segs_[s].text += delta;
  if (treeStale_) return;
  for (std::size_t i = s + 1; i < tree_.size(); i += i & (~i + 1)) tree_[i] += delta;
}

long LineIndex::textBefore(std::size_t s) {
  if (treeStale_) buildTree();
  long sum = 0;
  for (std::size_t i = s; i > 0; i -= i & (~i + 1)) sum += tree_[i];
  return sum;
}

void LineIndex::split(std::size_t s) {
  Segment& seg = segs_[s];
  long keep = seg.lines / 2, text = 0;
  Line* at = seg.head;
  for (long i = 0; i < keep; ++i, at = at->next) text += textOf(at);
  Segment rest{nullptr, seg.text - text, seg.lines - keep};
  seg.text = text;
  seg.lines = keep;
  segs_.insert(segs_.begin() + static_cast<std::ptrdiff_t>(s) + 1, rest);
  setHead(s + 1, at);
  renumberFrom(s + 1);
}

void LineIndex::compact() {
  std::erase_if(segs_, [](const Segment& g) { return g.lines == 0; });
  dead_ = 0;
  renumberFrom(0);
}

void LineIndex::linked(Line* line) {
  line->segmentHead_ = 0;
  if (segs_.empty()) {
    segs_.push_back({nullptr, 0, 0});
    setHead(0, line);
    treeStale_ = true;
  }
  std::size_t s = line->prev ? segmentOf(line->prev) : 0;
  if (s >= segs_.size()) return;  // a line outside this store: nothing to count
  if (!line->prev) {
    if (segs_[0].lines == 0 && !segs_[0].head && dead_ > 0) --dead_;  // an emptied first segment lives again
    setHead(0, line);
  }
  ++segs_[s].lines;
  addText(s, textOf(line));
  known_ = line;
  knownSeg_ = s;
  bool append = !line->next;  // every segment after this one is empty
  if (append && segs_[s].lines > kAppendLines) {
    // An append (the loader's way) starts a new segment: no split, no
    // renumbering, and the segments it leaves are half full, so that inserts
    // all over the file seldom split one.
    --segs_[s].lines;
    addText(s, -textOf(line));
    segs_.push_back({nullptr, 0, 1});
    setHead(s + 1, line);
    segs_[s + 1].text = textOf(line);
    treeStale_ = true;
    knownSeg_ = s + 1;
    return;
  }
  if (segs_[s].lines > kMaxLines) split(s);
}

void LineIndex::unlinking(Line* line) {
  std::size_t s = segmentOf(line);
  if (s >= segs_.size()) return;
  if (known_ == line) known_ = nullptr;
  --segs_[s].lines;
  addText(s, -textOf(line));
  if (!line->segmentHead_) return;
  line->segmentHead_ = 0;
  headAt_.erase(line);
  segs_[s].head = nullptr;
  if (segs_[s].lines > 0) return setHead(s, line->next);
  // An emptied segment keeps its place, counting nothing, until half of them
  // are empty: then they all go at once, so that deleting a whole file costs
  // no renumbering per segment.
  if (++dead_ * 2 > segs_.size()) compact();
}

void LineIndex::textCountChanged(Line* line, int delta) {
  std::size_t s = segmentOf(line);
  if (s < segs_.size()) addText(s, delta);
}

long LineIndex::ordinalOf(const Line* line) {
  if (!line) return -1;
  long before = 0;
  const Line* p = line;
  while (p && !p->segmentHead_) {
    p = p->prev;
    if (p) before += textOf(p);
  }
  if (!p) return -1;
  auto it = headAt_.find(p);
  if (it == headAt_.end()) return -1;
  return textBefore(it->second) + before;
}

Line* LineIndex::textLineAt(long n) {
  if (n < 0 || segs_.empty()) return nullptr;
  if (treeStale_) buildTree();
  // The last segment with fewer than n + 1 TEXT lines before its end.
  std::size_t pos = 0;
  long left = n;
  std::size_t step = 1;
  while (step * 2 <= segs_.size()) step *= 2;
  for (; step > 0; step /= 2) {
    if (pos + step <= segs_.size() && tree_[pos + step] <= left) {
      pos += step;
      left -= tree_[pos];
    }
  }
  if (pos >= segs_.size()) return nullptr;
  Line* p = segs_[pos].head;
  for (long i = 0; i < segs_[pos].lines; ++i, p = p->next) {
    if (!p->is(LineKind::Text)) continue;
    if (left-- == 0) return p;
  }
  return nullptr;
}

}  // namespace kiv
