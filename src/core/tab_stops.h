// The tab-key stops of a profile: the TabKeyStopsAt text ("10,20,A5") turned
// into ascending columns, and stops turned back into that text.
#pragma once

#include <span>
#include <string>

namespace kiv {

class Services;
struct FileProfile;

// Parses p.tabKeyStopsAt into p.tabStops against p.maxRecLen. An empty text
// or "0" gives no stops. A bad element is reported with the profile's name;
// the stops parsed before it stay. Returns false after an error.
bool parseTabStops(Services& s, FileProfile& p);

// "%d," items without the last comma: {10, 20} -> "10,20".
std::string tabStopsText(std::span<const int> stops);

}  // namespace kiv
