// Keyword option groups (kivoptions.<group>.txt): lines of a key, blanks and
// a value. The reader sets each known key's variable and then gives every
// variable of the group that is missing or empty its default; the writer
// writes one line a key in the table's order.
#pragma once

#include <span>
#include <string_view>

namespace kiv {

class Services;

struct OptionKey {
  std::string_view var;           // the Z-variable
  std::string_view key;           // as written in the file
  std::string_view defaultValue;  // given when the variable is missing or empty
};

struct KeywordGroup {
  std::string_view name;     // "Editor"
  std::string_view writeId;  // message identifier of a failed write
  std::span<const OptionKey> keys;
};

void readKeywordGroup(Services& s, const KeywordGroup& group);
// 0, or -1 after "Unable to write option file '%s'".
int writeKeywordGroup(Services& s, const KeywordGroup& group);

// The groups built so far.
const KeywordGroup& editorGroup();

}  // namespace kiv
