#include "core/file_export.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "core/file_profile.h"
#include "core/file_save.h"
#include "core/record_writer.h"
#include "platform/atomic_write.h"

namespace kiv {

namespace {

constexpr char kEndOfFileByte = 0x1A;

ExportResult failed(int error) {
  return {ExportStatus::SystemError, error};
}

ExportResult writeFailure(const RecordWriter& writer, int error) {
  return writer.tooLongForRdp() ? ExportResult{ExportStatus::RdpTooLong, 0} : failed(error);
}

// Cuts a failed append off again; the error that stopped it is what counts.
void cutBack(int fd, off_t size) {
  while (::ftruncate(fd, size) != 0 && errno == EINTR) {
  }
}

bool syncFd(int fd) {
  while (::fsync(fd) != 0)
    if (errno != EINTR) return false;
  return true;
}

// A new file, or a whole replacement: beside the target, then renamed.
ExportResult writeWhole(const RecordFormat& format, const std::string& path,
                        const ExportLines& lines) {
  platform::AtomicWrite out;
  if (!out.begin(saveTarget(path))) return failed(errno);
  RecordWriter writer(
      format, [&out](const char* data, std::size_t size) { return out.writeAll(data, size); });
  if (lines(writer) && writer.finish() && out.sync() && out.commit()) return {};
  int error = errno;
  out.abandon();
  return writeFailure(writer, error);
}

// A VARIABLE file whose last record has no record end would have the first
// appended record joined to it. A file ending in the end-of-file byte is
// left as it is.
bool recordEndMissing(int fd, off_t size, const RecordFormat& f) {
  const off_t width = f.utf16 ? 2 : 1;
  if (f.recfm != kRecfmVariable || size < width) return false;
  char tail[2] = {};
  if (::pread(fd, tail, static_cast<std::size_t>(width), size - width) != width) return false;
  char last = f.utf16 && f.bom[0] == 0xFE ? tail[1] : tail[0];
  return last != f.terminator.back() && last != kEndOfFileByte;
}

ExportResult appendTo(RecordFormat format, const std::string& path, const ExportLines& lines) {
  int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
  if (fd < 0) return failed(errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    int error = errno;
    ::close(fd);
    return failed(error);
  }
  format.bomDue = st.st_size == 0;
  bool endFirst = recordEndMissing(fd, st.st_size, format);
  RecordWriter writer(format, [fd](const char* data, std::size_t size) {
    return platform::writeAllTo(fd, data, size);
  });
  bool ok = (!endFirst || writer.writeRecord({})) && lines(writer) && writer.finish() && syncFd(fd);
  int error = errno;
  if (!ok) cutBack(fd, st.st_size);
  ::close(fd);
  return ok ? ExportResult{} : writeFailure(writer, error);
}

}  // namespace

ExportResult exportLines(Task& task, const std::string& path, ExportWay way,
                         const ExportLines& lines) {
  struct stat st {};
  bool exists = ::stat(path.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) return failed(errno);
  if (exists && !S_ISREG(st.st_mode)) return {ExportStatus::NotRegular, 0};
  if (exists && way == ExportWay::Create) return {ExportStatus::Exists, 0};
  std::optional<RecordFormat> format = recordFormatOf(task);
  if (!format) return {ExportStatus::FormatRefused, 0};
  if (exists && way == ExportWay::Append) return appendTo(std::move(*format), path, lines);
  return writeWhole(*format, path, lines);
}

}  // namespace kiv
