// Option group files: kivoptions.<group>.txt, read from the first of the
// options directory, the all-users directory and the installation's Profiles
// folder that holds it, and always written to the options directory.
#pragma once

#include <string>
#include <string_view>

#include "services/path_search.h"

namespace kiv {

class Services;

// "kivoptions.<group>.txt", lower case.
std::string optionGroupFileName(std::string_view group);
// Sets ZPATH.OPTIONS and opens the group's file; mode "r" or "w".
FilePtr openOptionGroup(Services& s, std::string_view group, std::string_view mode);

// The search-path variables set at start-up, not persistent.
void setSearchPaths(Services& s);

}  // namespace kiv
