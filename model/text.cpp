#include "model/text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quillorb {
namespace {

bool IsBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::optional<int32_t> ParseInt(std::string_view text) {
  std::string_view s = TrimBlanks(text);
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;

  bool hex = false;
  if (s.front() == '$') {
    hex = true;
    s.remove_prefix(1);
  } else if (s.size() > 1 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    hex = true;
    s.remove_prefix(2);
  }
  if (s.empty()) return std::nullopt;

  uint64_t value = 0;
  if (hex) {
    for (char c : s) {
      int d = HexDigit(c);
      if (d < 0) return std::nullopt;
      value = value * 16 + static_cast<uint64_t>(d);
      if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    auto bits = static_cast<uint32_t>(value);
    int64_t signedValue = static_cast<int32_t>(bits);
    return static_cast<int32_t>(negative ? -signedValue : signedValue);
  }
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > 2147483648ull) return std::nullopt;
  }
  if (negative) return static_cast<int32_t>(-static_cast<int64_t>(value));
  if (value > 2147483647ull) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::optional<double> ParseDecimal(std::string_view text, char decimalSeparator) {
  std::string_view s = TrimBlanks(text);
  std::string normal;
  normal.reserve(s.size());
  size_t i = 0;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
    if (s[i] == '-') normal.push_back('-');
    ++i;
  }
  size_t digits = 0;
  bool point = false;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c >= '0' && c <= '9') {
      normal.push_back(c);
      ++digits;
    } else if ((c == '.' || c == decimalSeparator) && !point) {
      normal.push_back('.');
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    normal.push_back('e');
    ++i;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) normal.push_back(s[i++]);
    size_t expDigits = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, ++expDigits) normal.push_back(s[i]);
    if (expDigits == 0) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  double value = 0;
  auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
  if (ec != std::errc() || end != normal.data() + normal.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::string FormatGeneral(double value, char decimalSeparator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";

  // 15 significant digits, rounded from the exact binary value: d.dddddddddddddde[+-]x
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", value);
  std::string_view s(buf);
  std::string out;
  if (s.front() == '-') {
    out.push_back('-');
    s.remove_prefix(1);
  }
  size_t e = s.find('e');
  std::string digits;
  for (char c : s.substr(0, e)) {
    if (c != '.') digits.push_back(c);
  }
  int exponent = std::atoi(std::string(s.substr(e + 1)).c_str());
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  const int pointPos = exponent + 1;  // digits before the decimal point
  if (pointPos > 15 || pointPos < -3) {
    out.push_back(digits[0]);
    if (digits.size() > 1) {
      out.push_back(decimalSeparator);
      out.append(digits, 1, std::string::npos);
    }
    out.push_back('E');
    out += std::to_string(exponent);
    return out;
  }
  if (pointPos <= 0) {
    out += '0';
    out.push_back(decimalSeparator);
    out.append(static_cast<size_t>(-pointPos), '0');
    out += digits;
    return out;
  }
  const auto whole = static_cast<size_t>(pointPos);
  if (digits.size() <= whole) {
    out += digits;
    out.append(whole - digits.size(), '0');
  } else {
    out.append(digits, 0, whole);
    out.push_back(decimalSeparator);
    out.append(digits, whole, std::string::npos);
  }
  return out;
}

std::string FormatInt(int64_t value) {
  return std::to_string(value);
}

}  // namespace quillorb
