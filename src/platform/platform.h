// The services of the machine that the editor uses: message boxes, sounds and
// a record of what was reported. One interface, two implementations: the
// terminal and the headless one used by tests and batch runs.
#pragma once

#include <string>
#include <string_view>

#include "platform/events.h"
#include "platform/grid.h"

namespace kiv::platform {

enum class BoxButtons { Ok, YesNo, YesNoCancel };

// Closed means the box went away without one of its buttons being chosen.
enum class BoxAnswer { Ok, Yes, No, Cancel, Closed };

enum class Sound { Information, Warning, Error, Question };

enum class MessageKind { Popup, Short, Logged };

// One message as the user met it.
struct MessageRecord {
  std::string id;
  std::string text;
  MessageKind kind = MessageKind::Popup;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // A modal box over the main window; blocks until answered.
  virtual BoxAnswer messageBox(std::string_view title, std::string_view text,
                               BoxButtons buttons) = 0;
  virtual void playSound(Sound sound) = 0;
  // Gives the keyboard back to the main window after a box.
  virtual void focusMainWindow() {}
  // Every message the message routine shows or logs passes here.
  virtual void recordMessage(const MessageRecord& /*message*/) {}

  // The screen. Size in cells, clamped to 1..200 rows and 1..399 columns.
  virtual int rows() const { return 24; }
  virtual int cols() const { return 80; }
  // Draws the grid; only rows that differ from what is on the screen are
  // sent to the terminal.
  virtual void draw(const Grid& /*grid*/, const Palette& /*palette*/) {}
  virtual void setCaret(int /*row*/, int /*col*/, CaretShape /*shape*/, bool /*visible*/) {}
  virtual void setTitle(std::string_view /*title*/) {}
  virtual void bell() {}
  // Blocks until the next event.
  virtual Event nextEvent() { return QuitEvent{}; }
  // Non-blocking: true when Escape is waiting in the input (long operations
  // use it to stop); other pending input stays queued.
  virtual bool escapePending() { return false; }

  // The user's locale takes UTF-8 text (its character type codeset is
  // UTF-8): files that are valid UTF-8 may then be shown as characters.
  virtual bool utf8Locale() const { return true; }

  // The clipboard. The text is always kept here; a platform that reaches a
  // system clipboard hands it on too, and reads from there first.
  virtual void setClipboard(std::string_view text) { clipboard_ = text; }
  virtual std::string clipboard() { return clipboard_; }

 protected:
  std::string clipboard_;
};

}  // namespace kiv::platform
