// Writing a file profile back to kivfileprof.<name>.txt in the first
// directory of ZPATH.FILEPROFILES.
#pragma once

#include <string>

namespace kiv {

class Session;
struct FileProfile;

// The text of a profile file, one KEY=VALUE line each ending in a line feed.
// A mask line holding a single quote is left out and reported (FILEPROF10).
std::string profileFileText(Session& s, const FileProfile& p);

// Writes the profile: 0, or -1 when the file cannot be written (nothing is
// reported; the caller does). With onlyIfUnlocked a locked profile is not
// written; a profile without a name never is; both return 0. The file is
// written beside its final name and renamed over it, so a failed write never
// leaves a damaged profile.
int writeProfile(Session& s, const FileProfile& p, bool onlyIfUnlocked);

}  // namespace kiv
