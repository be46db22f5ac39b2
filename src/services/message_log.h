// The message log: while a bulk operation runs, messages are collected in
// KIVmsglog.txt instead of being shown, and offered afterwards.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace kiv {

class Services;

struct MessageLog {
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file;
  int count = 0;
  std::string operation;
  std::string path;
};

void startMessageLog(Services& s, std::string_view operation);
void stopMessageLog(Services& s);
void offerMessageLog(Services& s, bool ask);
// Appends one message to the open log.
void logMessage(Services& s, std::string_view id, std::string_view text);
// The text folded at 70 columns as the log writes it.
std::string foldForLog(std::string_view text);

}  // namespace kiv
