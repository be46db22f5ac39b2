// What every run of the editor does after the options directory is known
// and before the first file opens (option groups, aliases, the command
// executor, the command history, the screen), and the matching shutdown.
#pragma once

namespace kiv {

class Session;

void startEditor(Session& s);
// After the files of the command line are open: the start-up macro
// "kivinit.c" when the options or the installation directory holds it.
void runStartupMacro(Session& s);
void stopEditor(Session& s);

}  // namespace kiv
