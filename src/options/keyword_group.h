// Keyword option groups (kivoptions.<group>.txt): lines of a key, blanks and
// a value. The reader sets each known key's variable and then gives every
// variable of the group that is missing or empty its default; the writer
// writes one line a key in the table's order. A group with a rule of its
// own adds it through hooks; the generic code knows none of them.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kiv {

class Services;

struct OptionKey {
  std::string_view var;           // the Z-variable
  std::string_view key;           // as written in the file
  std::string_view defaultValue;  // given when the variable is missing or empty
};

// The rules of one group beyond its table; every hook may be left empty.
struct KeywordHooks {
  // A value read for a key of the table, before it is stored.
  std::string_view (*readValue)(const OptionKey& key, std::string_view value) = nullptr;
  // A line whose key (upper case) is not in the table; true when taken.
  bool (*readOtherKey)(Services& s, std::string_view upperKey, std::string_view value) = nullptr;
  // After the defaults have been given.
  void (*afterRead)(Services& s) = nullptr;
  // Lines written after the table's keys.
  void (*writeMore)(Services& s, std::string& out) = nullptr;
};

struct KeywordGroup {
  std::string_view name;     // "Editor"
  std::string_view writeId;  // message identifier of a failed write
  std::span<const OptionKey> keys;
  KeywordHooks hooks = {};
};

void readKeywordGroup(Services& s, const KeywordGroup& group);
// 0, or -1 after "Unable to write option file '%s'" (the old file is kept).
int writeKeywordGroup(Services& s, const KeywordGroup& group);

const KeywordGroup& editorGroup();
const KeywordGroup& displayGroup();
const KeywordGroup& miscGroup();
const KeywordGroup& flistGroup();
const KeywordGroup& generalGroup();

}  // namespace kiv
