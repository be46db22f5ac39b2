// The list option groups. Their entries live in numbered pool variables:
//   Filters           ZFILTERS.FILETYPE.<n>, ZFILTERS.ANNOTATE.<n>   (n 1..12)
//   PathAssociate     ZPATH.ASSOCIATE.PATH<n>, ZPATH.ASSOCIATE.PROF<n>
//   RegExt            ZREGEXT.EXTENSION.<n>, .INTERPRET.<n>, .EXECUTE.<n>;
//                     ZREGEXT.0 the number of entries
//   SaveDeletedTypes  ZSAVEDELETED ("TRUE"/"FALSE"); ZSAVEDELETED.TYPE.<n>,
//                     ZSAVEDELETED.TYPE.0 the number of types
// A list ends at its first empty entry (or at its count). Writers return 0,
// or -1 after their message; the old file is then kept.
#pragma once

#include <string>
#include <vector>

namespace kiv {

class Services;

inline constexpr int kMaxFilters = 12;

// With no file, the eleven built-in filters.
void readFiltersGroup(Services& s);
int writeFiltersGroup(Services& s);

void readPathAssociateGroup(Services& s);
int writePathAssociateGroup(Services& s);

// Found along ZPATH.FILEPROFILES and written to its first directory.
void readRegExtGroup(Services& s);
int writeRegExtGroup(Services& s);

// With no file, or one that names no type, the built-in list of types.
void readSaveDeletedTypesGroup(Services& s);
int writeSaveDeletedTypesGroup(Services& s);
// The types whose deleted files are saved, in their order.
std::vector<std::string> saveDeletedTypes(Services& s);

}  // namespace kiv
