// The recent lists' files in the options directory: read at start-up, the
// file history written again at exit when it changed.
#pragma once

namespace kiv {

class Session;

// KivFileHistory.txt, KivPathHistory.txt, KivTypeHistory.txt and
// KivFavorites.txt, each up to its list's length; a missing file is an
// empty list.
void loadRecentLists(Session& s);
// KivFileHistory.txt; 0, or -1 after a message.
int saveFileHistory(Session& s);

}  // namespace kiv
