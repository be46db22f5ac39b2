// Where each key, click and size change goes: typed characters to the
// object under the cursor, function keys and Ctrl/Alt combinations to the
// commands their pool variables map them to, Enter to its action, arrows to
// the cursor.
#pragma once

#include "platform/events.h"

namespace kiv {

class Panel;
class Session;

// Keys and clicks go to the frame on top (its panel's handleEvent), size
// changes and quit requests to the session.
void handleEvent(Session& s, const platform::Event& event);
// A panel's own handling of keys and clicks, the plain panel's way.
void routeToPanel(Session& s, Panel& panel, const platform::Event& event);

// Erase to end of field (or of the line's data) at the cursor: DELEOL.
void eraseToEndAtCursor(Session& s);

// The carriage return: the cursor to the first field of the next row.
void carriageReturn(Session& s);

}  // namespace kiv
