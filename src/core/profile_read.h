// Reading a file profile: kivfileprof.<name>.txt along ZPATH.FILEPROFILES,
// else the profile "default", else the built-in profile.
#pragma once

#include <memory>
#include <string_view>

#include "core/file_profile.h"

namespace kiv {

class Session;

// A new profile record for one task. Never null: a missing file falls back
// without a message; a bad line is reported and ends the reading, the
// settings read before it staying in force.
std::unique_ptr<FileProfile> readProfile(Session& s, std::string_view name);

// Where the colorization named by the profile's Color is loaded once the
// colorization subsystem exists; until then the profile has none.
void loadProfileColorization(Session& s, FileProfile& p);

}  // namespace kiv
