#include "model/numeric_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace quillorb {
namespace {

// What the edit control does around the field: focus entry shows the bare number (a change,
// parsed at once), typing changes the text, focus exit shows the formatted value.
struct FakeEdit {
  NumericField field;
  std::string text;
  bool modified = false;

  void Show() {
    std::string next = field.DisplayText();
    if (next == text) return;
    text = next;
    field.TextChanged(text);
  }
  void Enter() {
    field.BeginEditing();
    Show();
    modified = false;
  }
  void Type(const std::string& typed) {
    text = typed;
    field.TextChanged(text);
    modified = true;
  }
  void Exit() {
    field.EndEditing(modified);
    Show();
  }
};

TEST(NumericFieldFilter, DigitsSignAndPoint) {
  NumericField f;
  f.SetNumDecimals(2);
  struct Case {
    char c;
    const char* text;
    size_t start, length;
    TypedChar expected;
  };
  const std::vector<Case> cases = {
      {'7', "12", 2, 0, TypedChar::Insert},
      {'7', "-12", 0, 0, TypedChar::Discard},  // before the sign
      {'7', "-12", 0, 1, TypedChar::Insert},   // replaces the sign
      {'7', "-12", 1, 0, TypedChar::Insert},
      {'-', "12", 0, 0, TypedChar::Insert},
      {'-', "12", 1, 0, TypedChar::Discard},
      {'-', "-12", 0, 0, TypedChar::Discard},
      {'-', "-12", 0, 3, TypedChar::Insert},
      {'-', "", 0, 0, TypedChar::Insert},
      {'.', "15", 2, 0, TypedChar::Insert},
      {'.', "1.5", 3, 0, TypedChar::Discard},  // a second point
      {'.', "1.5", 0, 3, TypedChar::Insert},   // replaces the whole text
      {'.', "1.5", 1, 1, TypedChar::Insert},   // the selection is the point
      {'.', "1.5", 2, 1, TypedChar::Discard},  // selection after the point
      {'\b', "1", 1, 0, TypedChar::PassOn},
      {'\r', "1", 1, 0, TypedChar::PassOn},
      {127, "1", 1, 0, TypedChar::PassOn},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(f.Filter(c.c, c.text, c.start, c.length), c.expected)
        << "'" << c.c << "' into \"" << c.text << "\" at " << c.start << "+" << c.length;
  }
  for (char c : {'a', 'Z', ' ', '+', 'e', '\t', '\x03', '\x16', '\x18', '\x1a', '\x1b'}) {
    EXPECT_EQ(f.Filter(c, "1", 1, 0), TypedChar::Discard) << int(c);
  }

  f.EnableNegative = false;
  EXPECT_EQ(f.Filter('-', "12", 0, 0), TypedChar::Discard);
  EXPECT_EQ(f.Filter('-', "12", 0, 2), TypedChar::Discard);
  f.SetNumDecimals(0);
  EXPECT_EQ(f.Filter('.', "12", 2, 0), TypedChar::Discard);
}

// A price typed as 3,5 on a system whose separator is the point (and 3.5 on one whose separator
// is the comma) is 3.5: both are the decimal point and go in as the system's separator; a second
// point of either kind, and any point in a field without decimals, is refused.
TEST(NumericFieldFilter, PointAndCommaAreTheDecimalPointWhateverTheSeparator) {
  for (const char separator : {'.', ','}) {
    NumericField f;
    f.Max = 20;
    f.RefuseAboveMax = true;
    f.SetNumDecimals(2);
    f.SetDecimalSeparator(separator);
    const std::string shown = std::string("3") + separator + "5";
    for (char c : {'.', ','}) {
      EXPECT_EQ(f.Filter(c, "3", 1, 0), TypedChar::Insert) << separator << c;
      EXPECT_EQ(f.Inserted(c), separator);
      EXPECT_EQ(f.Filter(c, shown, 3, 0), TypedChar::Discard) << separator << c;  // a second
      EXPECT_EQ(f.Filter(c, shown, 1, 1), TypedChar::Insert) << separator << c;   // over it
      EXPECT_EQ(f.Filter('5', std::string("3") + c, 2, 0), TypedChar::Insert);    // 3.5, not 35
      EXPECT_EQ(f.ReadText(std::string("3") + c + "5"), 3.5);
    }
    f.SetReal(1.75);
    EXPECT_EQ(f.DisplayText(), std::string("1") + separator + "75");
  }
  NumericField whole;
  whole.SetDecimalSeparator(',');
  for (char c : {'.', ','}) EXPECT_EQ(whole.Filter(c, "12", 2, 0), TypedChar::Discard);
  // A separator that would read as part of a number is no separator.
  for (char odd : {'5', '-', '+', 'e', ' ', '\0', '\xA0'}) {
    whole.SetDecimalSeparator(odd);
    EXPECT_EQ(whole.DecimalSeparator(), '.') << int(odd);
  }
}

TEST(NumericFieldFilter, NoSignWhereTheMinimumIsZeroAndNothingAboveMaxWhenRefused) {
  NumericField f;
  f.Min = 0.0;
  EXPECT_EQ(f.Filter('-', "3", 0, 0), TypedChar::Discard);
  EXPECT_EQ(f.Filter('-', "3", 0, 1), TypedChar::Discard);
  f.Min = -1.0;
  EXPECT_EQ(f.Filter('-', "3", 0, 0), TypedChar::Insert);
  f.Max = 20.0;
  EXPECT_EQ(f.Filter('5', "3", 1, 0), TypedChar::Insert);  // clamped later, as by default
  f.RefuseAboveMax = true;
  EXPECT_EQ(f.Filter('5', "3", 1, 0), TypedChar::Discard);      // 35
  EXPECT_EQ(f.Filter('5', "3.", 2, 0), TypedChar::Insert);      // 3.5
  EXPECT_EQ(f.Filter('2', "10.00", 0, 0), TypedChar::Discard);  // 210.00
  EXPECT_EQ(f.Filter('2', "10.00", 0, 5), TypedChar::Insert);   // replaces the text
  EXPECT_EQ(f.Filter('0', "2", 1, 0), TypedChar::Insert);       // 20 itself
}

TEST(NumericFieldParse, LongestLeadingDecimalNumber) {
  EXPECT_EQ(ParseLeadingNumber("12345"), 12345.0);
  EXPECT_EQ(ParseLeadingNumber("-2.99"), -2.99);
  EXPECT_EQ(ParseLeadingNumber("  +7x"), 7.0);
  EXPECT_EQ(ParseLeadingNumber("12abc"), 12.0);
  EXPECT_EQ(ParseLeadingNumber(".5"), 0.5);
  EXPECT_EQ(ParseLeadingNumber("5."), 5.0);
  EXPECT_EQ(ParseLeadingNumber("1e3"), 1000.0);
  EXPECT_EQ(ParseLeadingNumber("2e"), 2.0);
  EXPECT_EQ(ParseLeadingNumber("2e-"), 2.0);
  EXPECT_EQ(ParseLeadingNumber("1.5.7"), 1.5);
  EXPECT_TRUE(std::isinf(ParseLeadingNumber("1e999")));
  for (const char* none :
       {"", "-", ".", "-.", "abc", "e5", "0x10" /* the 0 before the x */, "inf", "nan", "\x7f"}) {
    EXPECT_EQ(ParseLeadingNumber(none), 0.0) << none;
  }
}

TEST(NumericFieldParse, TypedTextIsClampedAtOnceAndShownAtExit) {
  FakeEdit e;
  e.field.Max = 9999;
  e.Enter();
  e.Type("12345");
  EXPECT_EQ(e.field.Integer(), 9999);
  EXPECT_EQ(e.field.Real(), 9999.0);
  EXPECT_EQ(e.text, "12345");  // left as typed while focused
  e.Exit();
  EXPECT_EQ(e.text, "9999");

  e.Enter();
  e.Type("-2.99");
  EXPECT_EQ(e.field.Real(), -2.99);
  EXPECT_EQ(e.field.Integer(), -2);
  e.Type("1e999");
  EXPECT_EQ(e.field.Real(), 9999.0);

  // Empty or unreadable text counts as 0, then the lower bound applies.
  e.Type("");
  EXPECT_EQ(e.field.Real(), 0.0);
  e.Type("-");
  EXPECT_EQ(e.field.Real(), 0.0);
  e.field.Min = 5;
  e.Type("");
  EXPECT_EQ(e.field.Integer(), 5);
  e.Exit();
  EXPECT_EQ(e.text, "5");

  // Not editing: text changes are not parsed.
  e.field.TextChanged("77");
  EXPECT_EQ(e.field.Integer(), 5);
}

TEST(NumericFieldParse, NoNegativeValueWhenNegativesAreDisabled) {
  FakeEdit e;
  e.field.Max = 999;
  e.field.EnableNegative = false;
  e.Enter();
  e.Type("-5");  // pasted: the filter never saw it
  EXPECT_EQ(e.field.Integer(), 0);
  e.Type("-0");
  e.Exit();
  EXPECT_EQ(e.text, "0");
}

TEST(NumericFieldAssign, ClampedToZeroAndMax) {
  NumericField f;
  f.SetInteger(-5);  // Min and EnableNegative do not matter
  EXPECT_EQ(f.Integer(), 0);
  EXPECT_EQ(f.Real(), 0.0);
  f.Max = 999.7;
  f.SetInteger(1500);
  EXPECT_EQ(f.Integer(), 999);
  EXPECT_EQ(f.Real(), 999.0);
  f.SetReal(1500.0);
  EXPECT_EQ(f.Real(), 999.7);
  EXPECT_EQ(f.Integer(), 999);
  f.SetReal(2.99);
  EXPECT_EQ(f.Integer(), 2);
  f.SetReal(-0.5);
  EXPECT_EQ(f.Real(), 0.0);
  f.SetReal(std::nan(""));
  EXPECT_EQ(f.Real(), 0.0);
  f.SetReal(INFINITY);
  EXPECT_EQ(f.Real(), 999.7);

  NumericField wide;
  wide.SetReal(5e9);  // under the default Max, beyond 32 bits
  EXPECT_EQ(wide.Integer(), INT32_MAX);
  EXPECT_EQ(TruncateToInt32(-5e9), INT32_MIN);
}

TEST(NumericFieldDisplay, FormatPrefixSuffixAndBlank) {
  EXPECT_EQ(BuildFormat(0), "%.lf");
  EXPECT_EQ(BuildFormat(-3), "%.lf");
  EXPECT_EQ(BuildFormat(2), "%.2lf");
  EXPECT_EQ(BuildFormat(12), "%.12lf");
  EXPECT_EQ(FormatNumber(2.6, "%.lf"), "3");  // no point, precision 0
  EXPECT_EQ(FormatNumber(1.5, "%.2lf"), "1.50");
  EXPECT_EQ(FormatNumber(1e300, "%.lf").size(), 301u);  // no fixed buffer

  FakeEdit e;
  e.field.SetPrefix("x");
  e.field.SetSuffix(" gp");
  e.field.SetReal(3);
  e.Show();
  EXPECT_EQ(e.text, "x3 gp");
  e.Enter();
  EXPECT_EQ(e.text, "3");
  e.Exit();
  EXPECT_EQ(e.text, "x3 gp");

  // Decimals: never negative, bounded.
  NumericField f;
  f.SetNumDecimals(-1);
  EXPECT_EQ(f.NumDecimals(), 0);
  f.SetNumDecimals(100000);
  EXPECT_EQ(f.NumDecimals(), NumericField::kMaxDecimals);
  EXPECT_EQ(f.DisplayText().size(), 2u + NumericField::kMaxDecimals);
}

TEST(NumericFieldDisplay, EntryRoundsToTheShownDecimals) {
  FakeEdit e;
  e.field.SetNumDecimals(2);
  e.field.SetReal(0.126);
  e.Show();
  EXPECT_EQ(e.text, "0.13");
  EXPECT_EQ(e.field.Real(), 0.126);  // unfocused: not parsed
  e.Enter();
  EXPECT_EQ(e.field.Real(), 0.13);
}

TEST(NumericFieldDisplay, ClearStartShowsBlankUntilAValueWasTyped) {
  FakeEdit e;
  e.field.SetClearStart(true);
  e.Show();
  EXPECT_EQ(e.text, "");
  e.Enter();
  EXPECT_EQ(e.text, "0");
  e.Exit();  // nothing typed: still blank
  EXPECT_EQ(e.text, "");
  EXPECT_TRUE(e.field.BlankPending());
  e.Enter();
  e.Type("4");
  e.Exit();
  EXPECT_EQ(e.text, "4");
  EXPECT_FALSE(e.field.BlankPending());
  e.field.SetClearStart(true);
  e.Show();
  EXPECT_EQ(e.text, "");
}

TEST(NextFocusIndex, WrapsSkipsAndStays) {
  auto all = [](size_t) { return true; };
  EXPECT_EQ(NextFocusIndex(4, 1, all), 2u);
  EXPECT_EQ(NextFocusIndex(4, 3, all), 0u);  // wraps
  EXPECT_EQ(NextFocusIndex(4, std::nullopt, all), 0u);
  EXPECT_EQ(NextFocusIndex(4, 1, [](size_t i) { return i == 0; }), 0u);
  EXPECT_EQ(NextFocusIndex(1, 0, all), std::nullopt);  // alone: stays
  EXPECT_EQ(NextFocusIndex(4, 2, [](size_t i) { return i == 2; }), std::nullopt);
  EXPECT_EQ(NextFocusIndex(4, std::nullopt, [](size_t) { return false; }), std::nullopt);
  EXPECT_EQ(NextFocusIndex(0, std::nullopt, all), std::nullopt);
}

}  // namespace
}  // namespace quillorb
