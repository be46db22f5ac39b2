#include "batch.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string_view>

#include "commands/editor_start.h"
#include "commands/program_command_line.h"
#include "commands/scroll_commands.h"
#include "core/session.h"
#include "core/startup.h"
#include "core/task_life.h"
#include "platform/headless_platform.h"
#include "services/messages.h"

namespace kiv {

namespace {

using platform::BoxAnswer;
using platform::BoxButtons;

// Line feeds become blanks so that every message is one line.
std::string oneLine(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == '\n' || c == '\r') c = ' ';
  return out;
}

// The headless platform writing what a user would see to standard error.
class BatchPlatform : public platform::HeadlessPlatform {
 public:
  BatchPlatform() {
    // A popup's offer of short messages is no question in a batch run: the
    // message itself is already written.
    preAnswer = [](const Box& box) -> std::optional<BoxAnswer> {
      if (std::string_view(box.text).ends_with(kPopupOfferTail)) return BoxAnswer::Yes;
      return std::nullopt;
    };
    onUnscripted = [](const Box& box) {
      std::cerr << "question: " << oneLine(box.text) << " -> Yes\n";
      return BoxAnswer::Yes;
    };
  }

  void recordMessage(const platform::MessageRecord& m) override {
    HeadlessPlatform::recordMessage(m);
    // A short message's text is already the row the user sees, identifier
    // and all; a popup's text is the body of its box.
    if (m.id.empty() || m.kind == platform::MessageKind::Short)
      std::cerr << oneLine(m.text) << '\n';
    else
      std::cerr << m.id << ": " << oneLine(m.text) << '\n';
    if (m.id == "XMAC10") unknownCommand = true;
  }

  bool unknownCommand = false;
};

// The normal shutdown: every task still open is ended as END ends it, so a
// modified one meets the save question (answered with its first answer). A
// task that cannot end (its save failed, and said why) goes all the same,
// and that is said too.
void endRemainingTasks(Session& s) {
  while (!s.tasks.empty()) {
    Task* task = s.tasks.back().get();
    s.frames.raise(*task);
    if (endTask(*task) == 0) continue;
    messagef(s, "", "Changes to %s were not saved.", task->path);
    ++s.savesNotWritten;
    destroyTask(*task);
  }
}

bool readScript(const std::string& path, std::vector<std::string>& commands) {
  std::ifstream in(path);
  if (!in) return false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) commands.push_back(line);
  }
  return true;
}

}  // namespace

bool parseBatchArgs(const std::vector<std::string>& args, BatchRequest& request,
                    std::string& error) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    optionsEnded = optionsEnded || a == "--";
    if (optionsEnded || a != "--script") {
      request.args.push_back(a);
      continue;
    }
    if (i + 1 >= args.size()) {
      error = "--script needs a file name";
      return false;
    }
    const std::string& path = args[++i];
    if (!readScript(path, request.scriptCommands)) {
      error = "cannot read the script file " + path;
      return false;
    }
  }
  return true;
}

int runBatch(const BatchRequest& request) {
  BatchPlatform platform;
  Session session(platform);
  if (startSession(session, processEnvironment()) != 0) return 2;
  startEditor(session);

  // Every command, from /S or a script, is typed and entered as a user would.
  CommandLineRun run{.runCommand = enterTypedCommand};
  int status = 0;
  if (processCommandLine(session, request.args, run) != 0) {
    status = 1;  // the message says why; the script is not for this state
  } else {
    if (run.notOpened > 0) status = 1;
    for (const std::string& command : request.scriptCommands) enterTypedCommand(session, command);
  }
  endRemainingTasks(session);
  // A save that wrote nothing or a file that did not load whole fails the
  // run, as an unopened file or an unknown command does.
  if (platform.unknownCommand || session.savesNotWritten > 0 || session.loadsCutShort > 0)
    status = 1;
  stopEditor(session);
  return status;
}

}  // namespace kiv
