#include "commands/editor_start.h"

#include "commands/aliases.h"
#include "commands/command_history.h"
#include "commands/command_state.h"
#include "core/session.h"
#include "core/startup.h"
#include "options/startup_options.h"
#include "screen/screen_state.h"
#include "services/messages.h"

namespace kiv {

void startEditor(Session& s) {
  setStartupPaths(s);
  installCommandExecutor(s);
  loadCommandAliases(s);
  loadProfileAliases(s);
  // No menu bar exists yet; the Messages group is read at its place.
  readStartupOptionGroups(s, [](Services& x) { readMessagesGroup(x); });
  applyStartupDefaults(s);
  loadDefaultCommandHistory(s);
  screenState(s);
}

void stopEditor(Session& s) {
  writeMiscGroup(s);
  saveDefaultCommandHistory(s);
  shutdownSession(s);
}

}  // namespace kiv
