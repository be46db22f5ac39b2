// The variable pool: named string values that hold every setting of the
// session. Names are 3..63 characters, case-insensitive, stored upper case.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kiv {

inline constexpr int kVarNameMin = 3;
inline constexpr int kVarNameMax = 63;
inline constexpr std::string_view kNullVarName = "ZNULLVAR";

// One pool variable. Its value buffer grows in steps of 16 bytes and never
// shrinks, so repeated updates rarely allocate.
class PoolVar {
 public:
  explicit PoolVar(std::string name) : name_(std::move(name)) {}

  const std::string& name() const { return name_; }
  std::string_view value() const { return buffer_ ? std::string_view(buffer_.get()) : ""; }
  std::size_t capacity() const { return capacity_; }
  bool persistent() const { return persistent_; }
  void setPersistent(bool on) { persistent_ = on; }

  void setValue(std::string_view text);
  // Empties the value and clears the persistent flag.
  void clear();

 private:
  std::string name_;
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = 0;
  bool persistent_ = false;
};

// The pool itself: storage and lookup of valid, upper-case names. Name
// validation and its messages are in the free functions below, which are
// what the rest of the program calls.
class VarPool {
 public:
  // Nullptr when absent. The name must be upper case.
  PoolVar* find(std::string_view upperName);
  // Finds or creates; the name must be valid and upper case.
  PoolVar& obtain(std::string_view upperName);

  std::size_t size() const { return vars_.size(); }
  std::size_t longestName() const { return longest_; }
  // Every variable in ascending byte order of the names (the order of the
  // global profile file).
  std::vector<const PoolVar*> sorted() const;

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  std::unordered_map<std::string, std::unique_ptr<PoolVar>, Hash, std::equal_to<>> vars_;
  std::size_t longest_ = 0;
};

class Services;

// Checks a name; on success writes its upper-case form to `upper`. Reports
// nothing.
bool varNameValid(std::string_view name, std::string& upper);

// Finds or creates the variable; an invalid name is reported and ZNULLVAR
// stands in for it.
PoolVar& varFind(Services& s, std::string_view name);
// The value, "" when absent or empty (creates the variable like varFind).
std::string varGet(Services& s, std::string_view name);
// Sets the value ("" empties it); 0, or -1 when no variable could be found.
int varSet(Services& s, std::string_view name, std::string_view text);
// 1 when the variable exists; never creates, never reports.
bool varExists(Services& s, std::string_view name);
void varClear(Services& s, std::string_view name);
void varMakePersistent(Services& s, std::string_view name);

// Sets the value only when the variable is absent or empty, and marks it
// persistent: how remembered settings get their defaults.
void varDefault(Services& s, std::string_view name, std::string_view text);

}  // namespace kiv
