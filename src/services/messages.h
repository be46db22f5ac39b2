// The message routine, the questions and the message sound: the one way every
// part of the program reports to the user.
#pragma once

#include <string>
#include <string_view>

#include "services/format.h"

namespace kiv {

class Services;

inline constexpr std::string_view kMessageTitle = "KIV Message";
// The last line of a popup that offers to show the identifier as a short
// message from now on.
inline constexpr std::string_view kPopupOfferTail = "NO - show 'short message' next time";

// Shows, shortens or logs a message. `id` may be empty.
void message(Services& s, std::string_view id, std::string_view text);

// Formats a template and reports it.
template <class... Args>
void messagef(Services& s, std::string_view id, std::string_view tmpl, const Args&... args) {
  message(s, id, format(tmpl, args...));
}

// Yes/No question: sets ZYESNOANSWER to "YES" or "NO" and returns it; a box
// closed without an answer returns "" and leaves the variable.
std::string askYesNo(Services& s, std::string_view text);
// Yes/No/Cancel question: sets ZYESNOCANCELANSWER to "YES", "NO" or "CANCEL";
// "" as above.
std::string askYesNoCancel(Services& s, std::string_view text);

// Plays the sound chosen by ZMSGSOUND.
void messageSound(Services& s);

// The text of a short message: line feeds to blanks, runs of blanks to one,
// "ID: " in front when there is an identifier.
std::string shortMessageText(std::string_view id, std::string_view text);
// Cuts a text to a row of `width` cells, ending in "..." when cut.
std::string fitToRow(std::string_view text, int width);

// The Messages option group: the message action list.
void readMessagesGroup(Services& s);
int writeMessagesGroup(Services& s);

}  // namespace kiv
