#include "commands/export_command.h"

#include <cstring>
#include <string>

#include "commands/command_split.h"
#include "commands/command_task.h"
#include "commands/selection_ops.h"
#include "commands/task_commands.h"
#include "core/file_export.h"
#include "core/file_load.h"
#include "core/record_writer.h"
#include "core/session.h"
#include "core/task.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::string_view kNoSelection =
    "Use mouse or ZZ line command to make selection before invoking EXPORT";
constexpr std::string_view kNoName = "EXPORT requires a file name.";
constexpr std::string_view kExists =
    "EXPORT: file exists, use EXPORT REPLACE or EXPORT APPEND:\n\n%s";
constexpr std::string_view kNotRegular = "EXPORT: not a regular file, nothing written:\n\n%s";
constexpr std::string_view kNotWritten = "EXPORT: file not written:\n\n%s\n\n%s";
constexpr std::string_view kRdpTooLong =
    "EXPORT: a record is longer than an RDP record length field can hold (%d bytes).\n\n"
    "File not written:\n\n%s";
constexpr std::string_view kExported = "Exported %ld %s to %s";

struct ExportRequest {
  ExportWay way = ExportWay::Create;
  std::string name;
};

// "[REPLACE | APPEND] name": a file named like one of the two words is given
// in quotes.
ExportRequest parseRequest(std::string_view params) {
  ExportRequest r;
  std::string first = toUpper(firstWord(params));
  if (first == "REPLACE" || first == "APPEND") {
    r.way = first == "REPLACE" ? ExportWay::Replace : ExportWay::Append;
    params = afterFirstWord(params);
  }
  r.name = unquoted(params);
  return r;
}

// The selection's parts, one record each; a stream's last line taken up to
// its first column gives none, as in the clipboard's text.
ExportLines selectedRecords(Task& task, long& count) {
  return [&task, &count](RecordWriter& out) {
    return forEachSelectedPart(task, [&](const SelectedPart& part) {
      if (part.partLast && part.bytes.empty()) return true;
      ++count;
      return out.writeLine(part.bytes);
    });
  };
}

void report(Session& s, const ExportResult& result, const std::string& path, long count) {
  switch (result.status) {
    case ExportStatus::Written:
      return messagef(s, "", kExported, count, count == 1 ? "line" : "lines", path);
    case ExportStatus::Exists:
      return messagef(s, "", kExists, path);
    case ExportStatus::NotRegular:
      return messagef(s, "", kNotRegular, path);
    case ExportStatus::RdpTooLong:
      return messagef(s, "", kRdpTooLong, static_cast<int>(kRdpMaxRecord), path);
    case ExportStatus::SystemError:
      return messagef(s, "", kNotWritten, path, std::strerror(result.error));
    case ExportStatus::FormatRefused:
      return;  // the profile's fault is reported already
  }
}

}  // namespace

void exportCommand(CommandContext& ctx) {
  Session& s = ctx.session;
  Task* task = taskFor(ctx);
  if (!task) return;
  if (!task->selection.active()) return message(s, "", kNoSelection);
  ExportRequest r = parseRequest(ctx.params);
  if (r.name.empty()) return message(s, "", kNoName);
  std::string path = mapDrive(s, r.name);
  long count = 0;
  ExportResult result = exportLines(*task, path, r.way, selectedRecords(*task, count));
  report(s, result, path, count);
}

}  // namespace kiv
