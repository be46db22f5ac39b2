#include "services/format.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace kiv {

namespace {

struct Spec {
  bool left = false;
  bool zero = false;
  int width = 0;
  int precision = -1;
};

void pad(std::string& out, std::string_view body, const Spec& spec) {
  int fill = spec.width - static_cast<int>(body.size());
  if (fill > 0 && !spec.left) {
    char c = spec.zero ? '0' : ' ';
    if (spec.zero && !body.empty() && body[0] == '-') {
      out += '-';
      body.remove_prefix(1);
    }
    out.append(static_cast<std::size_t>(fill), c);
  }
  out += body;
  if (fill > 0 && spec.left) out.append(static_cast<std::size_t>(fill), ' ');
}

std::string integerText(const FormatArg& arg, char conv) {
  long long v = arg.kind() == FormatArg::Kind::Text ? 0 : arg.integer();
  char buf[32];
  std::to_chars_result r{};
  if (conv == 'x' || conv == 'X') {
    r = std::to_chars(buf, buf + sizeof buf, static_cast<unsigned long long>(v), 16);
    if (conv == 'X')
      std::transform(buf, r.ptr, buf, [](char c) -> char {
        return c >= 'a' ? static_cast<char>(c - 'a' + 'A') : c;
      });
  } else {
    r = std::to_chars(buf, buf + sizeof buf, v);
  }
  return {buf, r.ptr};
}

void convert(std::string& out, const FormatArg* arg, char conv, const Spec& spec) {
  if (!arg) return;
  if (conv == 's') {
    std::string_view s = arg->kind() == FormatArg::Kind::Text ? arg->text() : std::string_view{};
    std::string tmp;
    if (arg->kind() != FormatArg::Kind::Text) {
      tmp = arg->kind() == FormatArg::Kind::Char ? std::string(1, static_cast<char>(arg->integer()))
                                                 : std::to_string(arg->integer());
      s = tmp;
    }
    if (spec.precision >= 0 && s.size() > static_cast<std::size_t>(spec.precision))
      s = s.substr(0, static_cast<std::size_t>(spec.precision));
    Spec noZero = spec;
    noZero.zero = false;
    pad(out, s, noZero);
  } else if (conv == 'c') {
    char c = arg->kind() == FormatArg::Kind::Text
                 ? (arg->text().empty() ? ' ' : arg->text()[0])
                 : static_cast<char>(arg->integer());
    pad(out, std::string_view(&c, 1), spec);
  } else if (arg->kind() == FormatArg::Kind::Text) {
    pad(out, arg->text(), spec);
  } else {
    pad(out, integerText(*arg, conv), spec);
  }
}

}  // namespace

std::string formatArgs(std::string_view tmpl, std::initializer_list<FormatArg> args) {
  std::string out;
  out.reserve(tmpl.size() + 32);
  const FormatArg* next = args.begin();
  std::size_t i = 0;
  while (i < tmpl.size()) {
    std::size_t mark = tmpl.find('%', i);  // the text up to it as it stands
    if (mark == std::string_view::npos || mark + 1 == tmpl.size()) {
      out += tmpl.substr(i);
      break;
    }
    out += tmpl.substr(i, mark - i);
    i = mark + 1;
    if (tmpl[i] == '%') {
      out += '%';
      ++i;
      continue;
    }
    Spec spec;
    for (; i < tmpl.size() && (tmpl[i] == '-' || tmpl[i] == '0'); ++i)
      (tmpl[i] == '-' ? spec.left : spec.zero) = true;
    for (; i < tmpl.size() && tmpl[i] >= '0' && tmpl[i] <= '9'; ++i)
      spec.width = std::min(spec.width * 10 + (tmpl[i] - '0'), 4096);
    if (i < tmpl.size() && tmpl[i] == '.') {
      spec.precision = 0;
      for (++i; i < tmpl.size() && tmpl[i] >= '0' && tmpl[i] <= '9'; ++i)
        spec.precision = std::min(spec.precision * 10 + (tmpl[i] - '0'), 1 << 20);
    }
    while (i < tmpl.size() && (tmpl[i] == 'l' || tmpl[i] == 'h' || tmpl[i] == 'z')) ++i;
    if (i >= tmpl.size()) break;
    char conv = tmpl[i++];
    const FormatArg* arg = next != args.end() ? next++ : nullptr;
    convert(out, arg, conv, spec);
  }
  return out;
}

std::string groupThousands(long long value) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  std::string out;
  int n = static_cast<int>(digits.size());
  for (int k = 0; k < n; ++k) {
    if (k > 0 && (n - k) % 3 == 0) out += ',';
    out += digits[static_cast<std::size_t>(k)];
  }
  return value < 0 ? "-" + out : out;
}

}  // namespace kiv
