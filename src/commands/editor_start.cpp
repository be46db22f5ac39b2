#include "commands/editor_start.h"

#include <filesystem>
#include <string>

#include "commands/aliases.h"
#include "commands/command_history.h"
#include "commands/command_state.h"
#include "commands/macro_call.h"
#include "commands/recent_lists.h"
#include "core/session.h"
#include "core/startup.h"
#include "options/startup_options.h"
#include "screen/screen_state.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::string_view kStartupMacro = "kivinit.c";

}  // namespace

void startEditor(Session& s) {
  setStartupPaths(s);
  installCommandExecutor(s);
  loadCommandAliases(s);
  loadProfileAliases(s);
  // No menu bar exists yet; the Messages group is read at its place.
  readStartupOptionGroups(s, [](Services& x) { readMessagesGroup(x); });
  applyStartupDefaults(s);
  loadDefaultCommandHistory(s);
  loadRecentLists(s);
  screenState(s);
}

void runStartupMacro(Session& s) {
  for (const std::string& dir : {s.dirs.options, s.dirs.install}) {
    std::error_code ec;
    std::filesystem::path macro = std::filesystem::path(dir) / kStartupMacro;
    if (dir.empty() || !std::filesystem::is_regular_file(macro, ec)) continue;
    runMacroCommand(s, macro.string());
    return;
  }
}

void stopEditor(Session& s) {
  writeMiscGroup(s);
  saveDefaultCommandHistory(s);
  saveFileHistory(s);
  shutdownSession(s);
}

}  // namespace kiv
