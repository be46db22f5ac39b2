#include "services/var_pool.h"

#include <algorithm>
#include <cstring>

#include "services/messages.h"
#include "services/services.h"

namespace kiv {

namespace {

constexpr std::string_view kCharSetText =
    "First char of name must be from set  'a..z',  'A..Z'\n\n"
    "Subsequent chars must be from set,\n\n"
    "      Dot '.'\n"
    "      Underscore '_'\n"
    "      'a..z',  'A..Z',  '0..9'";

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool isUpperLetter(char c) { return c >= 'A' && c <= 'Z'; }

bool isNameChar(char c) {
  return isUpperLetter(c) || (c >= '0' && c <= '9') || c == '.' || c == '_';
}

bool lengthValid(std::string_view name) {
  return name.size() >= static_cast<std::size_t>(kVarNameMin) &&
         name.size() <= static_cast<std::size_t>(kVarNameMax);
}

bool charsValid(std::string_view upperName) {
  if (!isUpperLetter(upperName[0])) return false;
  return std::all_of(upperName.begin() + 1, upperName.end(), isNameChar);
}

}  // namespace

void PoolVar::setValue(std::string_view text) {
  if (text.empty()) {
    if (buffer_) std::memset(buffer_.get(), 0, capacity_);
    return;
  }
  if (buffer_ && text.size() + 1 > capacity_) {
    buffer_.reset();
    capacity_ = 0;
  }
  if (!buffer_) {
    capacity_ = (text.size() + 16) / 16 * 16;
    buffer_ = std::make_unique<char[]>(capacity_);
  }
  std::memcpy(buffer_.get(), text.data(), text.size());
  buffer_[text.size()] = '\0';
}

void PoolVar::clear() {
  if (buffer_) buffer_[0] = '\0';
  persistent_ = false;
}

PoolVar* VarPool::find(std::string_view upperName) {
  auto it = vars_.find(upperName);
  return it == vars_.end() ? nullptr : it->second.get();
}

PoolVar& VarPool::obtain(std::string_view upperName) {
  if (PoolVar* v = find(upperName)) return *v;
  auto var = std::make_unique<PoolVar>(std::string(upperName));
  PoolVar& ref = *var;
  vars_.emplace(ref.name(), std::move(var));
  longest_ = std::max(longest_, upperName.size());
  return ref;
}

std::vector<const PoolVar*> VarPool::sorted() const {
  std::vector<const PoolVar*> out;
  out.reserve(vars_.size());
  for (const auto& [name, var] : vars_) out.push_back(var.get());
  std::sort(out.begin(), out.end(),
            [](const PoolVar* a, const PoolVar* b) { return a->name() < b->name(); });
  return out;
}

bool varNameValid(std::string_view name, std::string& upperName) {
  if (!lengthValid(name)) return false;
  upperName.resize(name.size());
  std::transform(name.begin(), name.end(), upperName.begin(), upper);
  return charsValid(upperName);
}

PoolVar& varFind(Services& s, std::string_view name) {
  // Fast path: names are nearly always valid and short.
  char buf[kVarNameMax];
  if (lengthValid(name)) {
    std::transform(name.begin(), name.end(), buf, upper);
    std::string_view upperName(buf, name.size());
    if (charsValid(upperName)) return s.pool().obtain(upperName);
    message(s, "", format("Varname:  %s\n\n", name) + std::string(kCharSetText));
  } else {
    messagef(s, "", "Varname must be between  %d  and  %d  characters long:\n\n%s", kVarNameMin,
             kVarNameMax, name);
  }
  return s.pool().obtain(kNullVarName);
}

std::string varGet(Services& s, std::string_view name) {
  return std::string(varFind(s, name).value());
}

int varSet(Services& s, std::string_view name, std::string_view text) {
  varFind(s, name).setValue(text);
  return 0;
}

bool varExists(Services& s, std::string_view name) {
  std::string upperName;
  if (!varNameValid(name, upperName)) return false;
  return s.pool().find(upperName) != nullptr;
}

void varClear(Services& s, std::string_view name) { varFind(s, name).clear(); }

void varMakePersistent(Services& s, std::string_view name) {
  varFind(s, name).setPersistent(true);
}

void varDefault(Services& s, std::string_view name, std::string_view text) {
  PoolVar& v = varFind(s, name);
  if (v.value().empty()) v.setValue(text);
  v.setPersistent(true);
}

}  // namespace kiv
