#include "options/startup_options.h"

#include "options/key_map_group.h"
#include "options/keyword_group.h"
#include "options/list_groups.h"
#include "services/option_group.h"

namespace kiv {

void setStartupPaths(Services& s) {
  setSearchPaths(s);
}

void readStartupOptionGroups(Services& s,
                             const std::function<void(Services&)>& menuBarAndMessages) {
  // Display comes before General, so that its settings are the ones in force.
  for (const KeywordGroup* g : {&miscGroup(), &displayGroup(), &editorGroup()})
    readKeywordGroup(s, *g);
  readFiltersGroup(s);
  readKeywordGroup(s, flistGroup());
  readKeywordGroup(s, generalGroup());
  if (menuBarAndMessages) menuBarAndMessages(s);
  readPathAssociateGroup(s);
  for (const KeyMapGroup* g : {&pfKeysGroup(), &altKeysGroup(), &altShiftKeysGroup(),
                               &ctrlKeysGroup(), &ctrlShiftKeysGroup()})
    readKeyMapGroup(s, *g);
  readRegExtGroup(s);
  readSaveDeletedTypesGroup(s);
}

int writeMiscGroup(Services& s) {
  return writeKeywordGroup(s, miscGroup());
}

}  // namespace kiv
