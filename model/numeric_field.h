// The value side of the numeric edit field: bounds, display format, the rules for typed
// characters, typed text and assigned values, and the focus walk of the edit controls. The text
// itself lives in the edit control: the control shows DisplayText() and reports every change of
// its text to TextChanged().
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quillorb {

// What the field does with one typed character.
enum class TypedChar {
  Insert,   // the edit inserts it
  PassOn,   // Backspace, Enter, Ctrl+Backspace: on to the edit's own key handling
  Discard,  // never reaches the edit
};

class NumericField {
 public:
  // The largest double below 1e10 (1e10 - 2^-19).
  static constexpr double kDefaultMax = 9999999999.999998;
  // More decimals than this are stored as this many.
  static constexpr int32_t kMaxDecimals = 240;

  NumericField();

  // Plain settings: a write re-clamps nothing.
  double Max = kDefaultMax;
  double Min = -kDefaultMax;
  bool EnableNegative = true;
  // A typed digit or point that would make the text read more than Max is refused, instead of
  // the value being clamped to Max (a price field: "35" never silently becomes 20).
  bool RefuseAboveMax = false;

  int32_t Integer() const { return integer_; }
  double Real() const { return real_; }
  // Assigned values are clamped to 0..Max; Min and EnableNegative are not consulted.
  void SetInteger(int32_t value);
  void SetReal(double value);

  int32_t NumDecimals() const { return numDecimals_; }
  void SetNumDecimals(int32_t decimals);
  // The decimal point the number shows (the user's decimal separator). In a field with decimals
  // both '.' and ',' are typed and read as the decimal point, whatever it shows. A separator that
  // could be part of a number (a digit, a sign, a blank, a letter) or that is no ASCII character
  // is taken as '.'.
  char DecimalSeparator() const { return separator_; }
  void SetDecimalSeparator(char separator);
  const std::string& Prefix() const { return prefix_; }
  void SetPrefix(std::string prefix) { prefix_ = std::move(prefix); }
  const std::string& Suffix() const { return suffix_; }
  void SetSuffix(std::string suffix) { suffix_ = std::move(suffix); }
  // The printf format of the number: "%.lf" for no decimals, "%.2lf" for two, and so on.
  const std::string& FormatString() const { return format_; }

  bool ClearStart() const { return clearStart_; }
  void SetClearStart(bool clear) { clearStart_ = blankPending_ = clear; }
  bool BlankPending() const { return blankPending_; }
  bool Editing() const { return editing_; }

  // The text the control should show now: the bare number while editing, otherwise nothing while
  // a blank is pending, otherwise Prefix + number + Suffix.
  std::string DisplayText() const;
  // A change of the control's text: parsed into Real and Integer, clamped, while editing only.
  void TextChanged(std::string_view text);
  // Focus entry: the value becomes what the bare number shows (rounded to NumDecimals places and
  // clamped like typed text), also when the control's text does not change.
  void BeginEditing();
  // `modified`: the text changed while the control had the focus.
  void EndEditing(bool modified);

  // The filter for one typed character, given the text and the selection at that moment: in a
  // field with decimals '.', ',' and DecimalSeparator are the decimal point, of which the text
  // holds one at most; in a field without decimals they are refused.
  TypedChar Filter(char c, std::string_view text, size_t selStart, size_t selLength) const;
  // The character the control inserts for a typed `c` that the filter lets in: a decimal point
  // goes in as DecimalSeparator, anything else as it is.
  char Inserted(char c) const;
  // The value a text of the field reads as (before clamping): ParseLeadingNumber, with ',' and
  // DecimalSeparator read as the point in a field with decimals.
  double ReadText(std::string_view text) const;

 private:
  int32_t integer_ = 0;
  double real_ = 0.0;
  bool IsDecimalPoint(char c) const;
  // The value formatted with the field's decimal point, without Prefix and Suffix.
  std::string Number() const;

  int32_t numDecimals_ = 0;
  char separator_ = '.';
  std::string prefix_;
  std::string suffix_;
  std::string format_;
  bool clearStart_ = false;
  bool blankPending_ = false;
  bool editing_ = false;
};

// The longest leading part of `text` that reads as a decimal number (blanks before it, a sign,
// digits with an optional point, an optional exponent), as strtod reads it; 0 when there is none.
// Hexadecimal, infinity and NaN spellings are not numbers here.
double ParseLeadingNumber(std::string_view text);

// "%.lf" for decimals <= 0, otherwise decimals formatted into "%%.%ldlf".
std::string BuildFormat(int32_t decimals);

// `value` printed with a format made by BuildFormat; no length limit.
std::string FormatNumber(double value, const std::string& format);

// Toward zero; NaN gives 0 and magnitudes beyond the 32-bit range saturate.
int32_t TruncateToInt32(double value);

// The focus walk of "select next control" over a tab-order list of `count` entries: starting
// after `current` (nullopt: not in the list), wrapping at the end, the first entry for which
// `candidate` holds. nullopt when the walk comes back to `current` or finds nothing: the focus
// stays.
std::optional<size_t> NextFocusIndex(size_t count, std::optional<size_t> current,
                                     const std::function<bool(size_t)>& candidate);

}  // namespace quillorb
