// What every run of the editor does after the options directory is known
// and before the first file opens (option groups, aliases, the command
// executor, the command history, the screen), and the matching shutdown.
#pragma once

namespace kiv {

class Session;

void startEditor(Session& s);
void stopEditor(Session& s);

}  // namespace kiv
