// Formats the system's printf-style message templates in a type-safe way.
// Supported: %d %i %u %ld %s %c %x %X %% with flags "-0", a width and, for %s,
// a precision. A missing argument prints nothing; an argument of the wrong
// kind is printed as it is, so a bad template can never crash the program.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

namespace kiv {

class FormatArg {
 public:
  enum class Kind { Int, Text, Char };

  template <class T>
    requires std::is_integral_v<T> && (!std::is_same_v<T, char>) && (!std::is_same_v<T, bool>)
  FormatArg(T v) : kind_(Kind::Int), int_(static_cast<long long>(v)) {}
  FormatArg(char c) : kind_(Kind::Char), int_(static_cast<unsigned char>(c)) {}
  FormatArg(std::string_view s) : kind_(Kind::Text), text_(s) {}
  FormatArg(const std::string& s) : kind_(Kind::Text), text_(s) {}
  FormatArg(const char* s) : kind_(Kind::Text), text_(s ? s : "") {}

  Kind kind() const { return kind_; }
  long long integer() const { return int_; }
  std::string_view text() const { return text_; }

 private:
  Kind kind_;
  long long int_ = 0;
  std::string_view text_;
};

std::string formatArgs(std::string_view tmpl, std::initializer_list<FormatArg> args);

template <class... Args>
std::string format(std::string_view tmpl, const Args&... args) {
  return formatArgs(tmpl, {FormatArg(args)...});
}

// 1234567 -> "1,234,567".
std::string groupThousands(long long value);

}  // namespace kiv
