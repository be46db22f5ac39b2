// The part of the editor session that the services layer sees: the variable
// pool, the directories, the message action list and log, and the platform.
// The session of the core layer derives from it and fills in the hooks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "services/message_log.h"
#include "services/var_pool.h"

namespace kiv {

struct Directories {
  std::string options;   // the user's options directory
  std::string allUsers;  // the shared options directory
  std::string install;   // installation directory: Dialogs/, Menus/, Macros/, Profiles/, HELP/
};

// How messages with one identifier are shown.
struct MessageAction {
  std::string id;      // up to 23 characters
  std::string action;  // "ShowPopupMsg" or "ShowShortMsg", up to 15 characters
};

class Services {
 public:
  explicit Services(platform::Platform& platform) : platform_(platform) {}
  virtual ~Services() = default;
  Services(const Services&) = delete;
  Services& operator=(const Services&) = delete;

  platform::Platform& platform() { return platform_; }
  VarPool& pool() { return pool_; }

  Directories dirs;
  std::vector<MessageAction> messageActions;
  MessageLog messageLog;
  // A short message is on the message row; informational texts leave it there.
  bool messagePending = false;

  // Puts a short message on the message row of the current edit task.
  // Returns false when there is no current edit task (nothing is shown).
  virtual bool showShortMessage(std::string_view /*text*/) { return false; }
  // An empty message: the message row shows a single blank as information.
  virtual void clearShortMessage() {}
  // Hands command text to the command executor.
  virtual void executeCommand(std::string_view /*text*/) {}

 private:
  platform::Platform& platform_;
  VarPool pool_;
};

}  // namespace kiv
