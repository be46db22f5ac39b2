#include "commands/command_task.h"

#include "core/file_profile.h"
#include "core/session.h"
#include "core/task.h"
#include "services/messages.h"

namespace kiv {

Task* taskFor(CommandContext& ctx) {
  if (!ctx.session.currentTask())
    messagef(ctx.session, "", "%s requires an open Edit/Browse/View.", ctx.verb);
  return ctx.session.currentTask();
}

FileProfile* profileFor(CommandContext& ctx, Task& task) {
  if (!task.profile)
    messagef(ctx.session, "", "%s: this file has no file profile, command ignored.", ctx.verb);
  return task.profile.get();
}

}  // namespace kiv
