// Writing lines in a task's record format, line ends and character set to a
// file other than its own: a new file, one replaced whole (written beside it,
// flushed and renamed over it, as a save does), or records appended to an
// existing one (cut back to its former length when the writing fails).
#pragma once

#include <functional>
#include <string>

namespace kiv {

class Task;
class RecordWriter;

enum class ExportWay { Create, Replace, Append };

enum class ExportStatus {
  Written,
  Exists,         // Create, but the file is there
  NotRegular,     // a directory, a device or a pipe
  FormatRefused,  // the profile's format cannot be written; reported
  RdpTooLong,     // a record longer than an RDP length field can tell
  SystemError,    // the system's errno is in `error`
};

struct ExportResult {
  ExportStatus status = ExportStatus::Written;
  int error = 0;
};

// Hands the lines to the writer (writeLine); false when the writer failed.
using ExportLines = std::function<bool(RecordWriter&)>;

// Writes the lines to `path` the way asked. Whatever fails, a file that was
// there keeps its contents.
ExportResult exportLines(Task& task, const std::string& path, ExportWay way,
                         const ExportLines& lines);

}  // namespace kiv
