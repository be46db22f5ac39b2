// What a plain panel does with input and messages; the edit panel overrides
// what concerns its data rows.
#include "screen/key_router.h"
#include "screen/panel.h"
#include "screen/screen_state.h"
#include "services/messages.h"

namespace kiv {

Panel::~Panel() {
  if (ScreenState* st = findScreenState(session); st && st->shown == this) st->shown = nullptr;
}

void Panel::handleEvent(const platform::Event& event) {
  routeToPanel(session, *this, event);
}

bool Panel::showShortMessage(std::string_view text) {
  ScreenObject* row = findObject(*this, "MSGROW");
  if (!row) return false;
  setContent(*row, fitToRow(text, row->displayWidth));
  markDirty(row->row, 1);
  return true;
}

void Panel::typeIntoRow(char32_t /*c*/) {
  message(session, "DLM135", "PROTECTED");
}

void Panel::deleteInRow(bool /*before*/) {
  message(session, "DLM135", "PROTECTED");
}

void Panel::eraseRowToEnd() {
  message(session, "DLM135", "PROTECTED");
}

}  // namespace kiv
