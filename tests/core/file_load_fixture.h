// The fixture of the loader's tests: a session with its search paths, test
// profiles written into the options directory, and tasks opened on files of
// the temporary directory (with the input's block size and memchr scan
// settable, so that both reading paths and every buffer boundary are met).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_load.h"
#include "core/file_profile.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/profile_choice.h"
#include "core/profile_read.h"
#include "core/task.h"
#include "services/option_group.h"
#include "services/var_pool.h"
#include "support/editor_test.h"

namespace kiv::test {

// A VARIABLE profile that changes nothing it reads; tests add lines after it
// (a later line wins).
inline constexpr std::string_view kPlainProfile =
    "Recfm=VARIABLE\nMaxRecLen=80\nCharsetFile=ASCII-ISO8859\nLongRecordOption=Notify\n"
    "MaxRecordOption=Notify\nTrailingBlanksOption=LeaveBlanksAsIs\nTabsIn=0\n"
    "NewFileRecordTerminator=LF\nCapsMode=OFF\nBOOLlock=FALSE\n";

// How the input is read.
struct InputTuning {
  std::size_t readSize = 1 << 20;
  bool byteByByte = false;
};

class LoadTest : public ::testing::Test {
 protected:
  LoadTest() { setSearchPaths(t.session()); }

  Session& s() { return t.session(); }

  // Writes the profile used by files of extension `ext`: the plain profile
  // followed by `lines`.
  void profile(std::string_view ext, std::string_view lines) {
    t.file("options/kivfileprof." + std::string(ext) + ".txt",
           std::string(kPlainProfile) + std::string(lines));
  }

  std::unique_ptr<Task> open(std::string_view file, TaskMode mode = TaskMode::Edit,
                             InputTuning tuning = {}) {
    auto task = std::make_unique<Task>(s());
    task->path = t.path(file);
    task->mode = mode;
    task->profile = readProfile(s(), chooseProfile(s(), task->path));
    initLineStore(*task);
    task->load.readSize = tuning.readSize;
    task->load.byteByByte = tuning.byteByByte;
    if (openFile(*task) != 0) return nullptr;
    return task;
  }

  // The TEXT lines of a task, in order.
  static std::vector<std::string> texts(const Task& task) {
    std::vector<std::string> out;
    for (const Line* l = task.lines.first; l; l = l->next)
      if (l->is(LineKind::Text)) out.emplace_back(l->text());
    return out;
  }

  // The kinds of all lines as one string: T for TOF, B for BOF, x for TEXT.
  static std::string shape(const Task& task) {
    std::string out;
    for (const Line* l = task.lines.first; l; l = l->next)
      out += l->is(LineKind::Tof) ? 'T' : l->is(LineKind::Bof) ? 'B' : 'x';
    return out;
  }

  EditorTest t;
};

}  // namespace kiv::test
