// The command history: the last 32 commands entered, retrieval into the
// command field, and the history files.
#pragma once

#include <string>
#include <string_view>

namespace kiv {

class Session;

// True when the text is one the history keeps.
bool isRecordable(std::string_view text);
// Puts the text in slot 1 (removing an equal older entry).
void recordCommand(Session& s, std::string_view text);

// RETRIEVE: the text at the cursor, then the cursor moves on (or back).
void retrieveForward(Session& s);
void retrieveBack(Session& s);

// CMDHISTORYSAVE and CMDHISTORYRESTORE with their checks and messages.
int saveCommandHistory(Session& s, std::string_view name);
int restoreCommandHistory(Session& s, std::string_view name);

// "KivPcmdHistory.<name>.txt" in the options directory.
std::string historyFilePath(Session& s, std::string_view name);

// The session's own history file "KivPcmdHistory.txt": read at start-up
// (nothing happens when it does not exist), written at shutdown when the
// history changed. 0 or -1.
int loadDefaultCommandHistory(Session& s);
int saveDefaultCommandHistory(Session& s);

}  // namespace kiv
