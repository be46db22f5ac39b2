// The four command tables: verbs with their command codes, their place in
// the help lists and their handlers.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace kiv {

class Session;

// What a handler gets: the verb after alias replacement, the parameters as
// typed (empty when none), in upper case, and their first word.
struct CommandContext {
  Session& session;
  std::string_view verb;
  std::string_view params;
  std::string paramsUpper;
  std::string_view firstParam;
  int code = 0;
};

using CommandHandler = void (*)(CommandContext&);

struct CommandEntry {
  std::string_view name;  // upper case
  int code = 0;           // two names may share a code
  bool listed = false;    // shown in the help list of primary commands
  CommandHandler run = nullptr;
};

enum class TableKind { Dialog, Edit, FileList, General };

std::span<const CommandEntry> commandTable(TableKind kind);

// Longest verb a table can hold; a longer name is never found.
inline constexpr std::size_t kMaxVerbLength = 31;

// Exact match of an upper-case name; null when not found.
const CommandEntry* lookupVerb(std::span<const CommandEntry> table, std::string_view name);

// True when the name stands in the general, edit or file-list table.
bool isPrimaryCommand(std::string_view name);

}  // namespace kiv
