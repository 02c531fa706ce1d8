#include "model/numeric_field.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace quillorb {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// Drops the sign of a zero, so that "-0" typed or pasted never shows as "-0".
double Unsigned0(double v) {
  return v == 0.0 ? 0.0 : v;
}

}  // namespace

NumericField::NumericField() : format_(BuildFormat(0)) {}

void NumericField::SetInteger(int32_t value) {
  double v = value < 0 ? 0.0 : static_cast<double>(value);
  if (v > Max) v = std::trunc(Max);
  real_ = v;
  integer_ = TruncateToInt32(v);
}

void NumericField::SetReal(double value) {
  double v = std::isnan(value) || value < 0.0 ? 0.0 : value;
  if (v > Max) v = Max;
  real_ = Unsigned0(v);
  integer_ = TruncateToInt32(v);
}

void NumericField::SetNumDecimals(int32_t decimals) {
  numDecimals_ = std::clamp(decimals, 0, kMaxDecimals);
  format_ = BuildFormat(numDecimals_);
}

void NumericField::SetDecimalSeparator(char separator) {
  const bool punctuation = separator > ' ' && separator < 0x7F && !IsDigit(separator) &&
                           separator != '+' && separator != '-' &&
                           !((separator | 0x20) >= 'a' && (separator | 0x20) <= 'z');
  separator_ = punctuation ? separator : '.';
}

bool NumericField::IsDecimalPoint(char c) const {
  return c == '.' || c == ',' || c == separator_;
}

std::string NumericField::Number() const {
  std::string number = FormatNumber(real_, format_);
  if (separator_ != '.') std::replace(number.begin(), number.end(), '.', separator_);
  return number;
}

std::string NumericField::DisplayText() const {
  std::string number = Number();
  if (editing_) return number;
  if (blankPending_) return std::string();
  return prefix_ + number + suffix_;
}

void NumericField::TextChanged(std::string_view text) {
  if (!editing_) return;
  // A field without negatives takes none from pasted text either.
  const double lower = EnableNegative ? Min : std::max(Min, 0.0);
  double v = ReadText(text);
  if (v < lower) {
    v = lower;
  } else if (v > Max) {
    v = Max;
  }
  real_ = Unsigned0(v);
  integer_ = TruncateToInt32(v);
}

void NumericField::BeginEditing() {
  editing_ = true;
  TextChanged(Number());
}

void NumericField::EndEditing(bool modified) {
  editing_ = false;
  if (modified) blankPending_ = false;
}

TypedChar NumericField::Filter(char c, std::string_view text, size_t selStart,
                               size_t selLength) const {
  const bool signFirst = !text.empty() && text.front() == '-';
  if (IsDigit(c)) {
    // No digit may stand before the sign.
    if (selStart == 0 && selLength == 0 && signFirst) return TypedChar::Discard;
    if (RefuseAboveMax) {
      std::string after(text);
      after.replace(std::min(selStart, after.size()), selLength, 1, c);
      if (ReadText(after) > Max) return TypedChar::Discard;
    }
    return TypedChar::Insert;
  }
  if (IsDecimalPoint(c)) {
    if (numDecimals_ <= 0) return TypedChar::Discard;
    // One decimal point: a second one only replaces the first, within the selection.
    const auto found =
        std::find_if(text.begin(), text.end(), [this](char t) { return IsDecimalPoint(t); });
    if (found == text.end()) return TypedChar::Insert;
    const auto point = static_cast<size_t>(found - text.begin());
    return selStart <= point && point < selStart + selLength ? TypedChar::Insert
                                                             : TypedChar::Discard;
  }
  switch (c) {
    case '-':
      // Not in a field that keeps no negative value: the sign would only vanish again.
      return selStart == 0 && EnableNegative && Min < 0.0 && (selLength >= 1 || !signFirst)
                 ? TypedChar::Insert
                 : TypedChar::Discard;
    case 8:
    case 13:
    case 127:
      return TypedChar::PassOn;
    default:
      return TypedChar::Discard;
  }
}

char NumericField::Inserted(char c) const {
  return numDecimals_ > 0 && IsDecimalPoint(c) ? separator_ : c;
}

double NumericField::ReadText(std::string_view text) const {
  if (numDecimals_ <= 0) return ParseLeadingNumber(text);
  std::string points(text);
  std::replace_if(
      points.begin(), points.end(), [this](char c) { return IsDecimalPoint(c); }, '.');
  return ParseLeadingNumber(points);
}

double ParseLeadingNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  const size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0.0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  // strtod on exactly the number: overflow gives +-HUGE_VAL (clamped later), underflow 0.
  const std::string number(text.substr(start, i - start));
  return std::strtod(number.c_str(), nullptr);
}

std::string BuildFormat(int32_t decimals) {
  if (decimals <= 0) return "%.lf";
  char format[32];
  std::snprintf(format, sizeof format, "%%.%ldlf", static_cast<long>(decimals));
  return format;
}

std::string FormatNumber(double value, const std::string& format) {
  const int length = std::snprintf(nullptr, 0, format.c_str(), value);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), format.c_str(), value);
  text.resize(static_cast<size_t>(length));
  return text;
}

int32_t TruncateToInt32(double value) {
  if (std::isnan(value)) return 0;
  const double t = std::trunc(value);
  if (t >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (t <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(t);
}

std::optional<size_t> NextFocusIndex(size_t count, std::optional<size_t> current,
                                     const std::function<bool(size_t)>& candidate) {
  if (count == 0) return std::nullopt;
  size_t i = current.value_or(count);
  // Every entry is looked at once at most: no endless walk when nothing can take the focus.
  for (size_t step = 0; step < count; ++step) {
    i = i >= count - 1 ? 0 : i + 1;
    if (current && i == *current) return std::nullopt;
    if (candidate(i)) return i;
  }
  return std::nullopt;
}

}  // namespace quillorb
