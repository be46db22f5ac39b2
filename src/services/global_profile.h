// The global profile file KivGlobalProfile.txt: the persistent variables.
#pragma once

namespace kiv {

class Services;

inline constexpr const char* kGlobalProfileName = "KivGlobalProfile.txt";

int loadGlobalProfile(Services& s);
int saveGlobalProfile(Services& s);

}  // namespace kiv
