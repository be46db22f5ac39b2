#include "services/message_log.h"

#include "services/format.h"
#include "services/messages.h"
#include "services/path_search.h"
#include "services/services.h"
#include "services/var_pool.h"

namespace kiv {

namespace {
constexpr std::size_t kFoldColumn = 70;
constexpr const char* kLogName = "KIVmsglog.txt";
}  // namespace

void startMessageLog(Services& s, std::string_view operation) {
  if (s.messageLog.file) return;
  s.messageLog.count = 0;
  s.messageLog.operation = std::string(operation);
  s.messageLog.path = joinPath(varGet(s, "ZPATH.TEMP"), kLogName);
  s.messageLog.file.reset(std::fopen(s.messageLog.path.c_str(), "wb"));
}

void stopMessageLog(Services& s) {
  if (!s.messageLog.file) return;
  std::fputc('\n', s.messageLog.file.get());
  s.messageLog.file.reset();
}

// A blank met at column 70 or later ends the output line and the blanks after
// it are skipped; a line feed starts a new count.
std::string foldForLog(std::string_view text) {
  std::string out;
  std::size_t column = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    char c = text[i++];
    if (c == ' ' && column >= kFoldColumn) {
      out += '\n';
      column = 0;
      while (i < text.size() && text[i] == ' ') ++i;
      continue;
    }
    out += c;
    column = c == '\n' ? 0 : column + 1;
  }
  if (!out.empty() && out.back() != '\n') out += '\n';
  return out;
}

void logMessage(Services& s, std::string_view id, std::string_view text) {
  std::FILE* f = s.messageLog.file.get();
  if (!f) return;
  ++s.messageLog.count;
  std::string entry = "\n" + std::string(80, '-') + "\n\n" +
                      format("Message# %d    ", s.messageLog.count) + "ID: " +
                      (id.empty() ? std::string("None") : std::string(id)) + "\n\n" +
                      foldForLog(text);
  std::fwrite(entry.data(), 1, entry.size(), f);
  s.platform().recordMessage({std::string(id), std::string(text), platform::MessageKind::Logged});
}

void offerMessageLog(Services& s, bool ask) {
  if (s.messageLog.count < 1) return;
  if (ask) {
    std::string q = format(
        "%d messages were logged during %s.\n\nClick  'Yes'  to see these messages.",
        s.messageLog.count, s.messageLog.operation);
    if (askYesNo(s, q) != "YES") return;
  }
  s.executeCommand(format("BROWSE '%s'", s.messageLog.path));
}

}  // namespace kiv
