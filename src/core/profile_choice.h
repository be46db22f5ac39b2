// The choice of a file profile for a file: the file list's profile, else the
// extension through the profile aliases, else a directory association; a name
// without a profile file falls back to NUMBER, TXT or NOTYPE.
#pragma once

#include <string>
#include <string_view>

namespace kiv {

class Session;

// The upper-case profile name for the file at `filePath`.
std::string chooseProfile(Session& s, std::string_view filePath);

}  // namespace kiv
