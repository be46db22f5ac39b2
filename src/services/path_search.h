// Files found along the directory lists held in ZPATH. variables.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace kiv {

class Services;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Joins a directory and a name with one "/".
std::string joinPath(std::string_view dir, std::string_view name);

// The full path of the first existing file along the path variable's list
// (with the installation directory, or its Dialogs, Macros or Menus folder,
// searched last), or "".
std::string FileFindByPath(Services& s, std::string_view pathVar, std::string_view fileName);

// Opens for reading the file found along the path, or creates for writing in
// the first directory of the path. Mode "r" or "w".
FilePtr FileOpenByPath(Services& s, std::string_view pathVar, std::string_view fileName,
                       std::string_view mode);

// The path at which FileOpenByPath creates a file for writing.
std::string pathForWrite(Services& s, std::string_view pathVar, std::string_view fileName);

// Reads one line as fgets with a buffer of `limit` bytes does: at most
// limit - 1 bytes, stopping after a line feed. False at the end of the file.
bool readLimitedLine(std::FILE* f, std::size_t limit, std::string& line);

// Cuts a line at its first carriage return or line feed.
std::string_view stripLineEnd(std::string_view line);

}  // namespace kiv
