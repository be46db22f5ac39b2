// Key-map option groups (PFKeys, AltKeys, AltShiftKeys, CtrlKeys,
// CtrlShiftKeys): each line names a Z-variable and gives its value, the
// command a key issues (or, for PFKeys, also a key's label). The reader sets
// whatever variable a line names; the writer writes the group's own
// variables that are not empty.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kiv {

class Services;

struct KeySetting {
  std::string_view var;
  std::string_view value;
};

struct KeyMapGroup {
  std::string_view name;                 // "PFKeys"
  std::string_view writeId;              // message identifier of a failed write
  std::span<const std::string> vars;     // the group's variables, in the writer's order
  std::span<const KeySetting> defaults;  // given to those that are empty after reading
  std::span<const KeySetting> forced;    // set after reading, whatever the file holds
};

void readKeyMapGroup(Services& s, const KeyMapGroup& group);
// 0, or -1 after "Unable to write option file '%s'" (the old file is kept).
int writeKeyMapGroup(Services& s, const KeyMapGroup& group);

const KeyMapGroup& pfKeysGroup();
const KeyMapGroup& altKeysGroup();
const KeyMapGroup& altShiftKeysGroup();
const KeyMapGroup& ctrlKeysGroup();
const KeyMapGroup& ctrlShiftKeysGroup();

}  // namespace kiv
