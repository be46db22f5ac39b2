// Alias lists: command aliases (short verbs for primary commands) and
// profile aliases (file extension to file profile), and their option files.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "core/session.h"

namespace kiv {

inline constexpr std::size_t kAliasNameMax = 14;
inline constexpr std::size_t kAliasCommandMax = 16;

// Defines an alias from "name<blanks>command" and appends it to the list.
// With `check`, a name that is a primary command is refused. 0 or -1.
int defineAlias(Session& s, std::vector<Alias>& list, std::string_view text, bool check);

// The first entry whose name equals the verb exactly, or null.
const Alias* findAlias(const std::vector<Alias>& list, std::string_view verb);

// The 42 default command aliases, appended to the list.
void defineDefaultAliases(Session& s, std::vector<Alias>& list);

// The "AliasCmds" group into the session's command aliases, or the defaults
// when it does not exist; the file is rewritten when a line was refused.
void loadCommandAliases(Session& s);
// Writes the command aliases; -1 (OPTIONS5 reported) when it cannot.
int saveCommandAliases(Session& s);
// The "AliasProfs" group into the session's profile aliases.
void loadProfileAliases(Session& s);

}  // namespace kiv
