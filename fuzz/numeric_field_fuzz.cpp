// Drives the numeric field with a sequence of settings, typed characters, typed or pasted texts,
// assignments and focus changes chosen by the input, and checks after every step what the field
// promises: the value is a number within its bounds, the integer is the value truncated, and the
// text shown while editing reads back as the value it shows.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/numeric_field.h"

namespace {

using quillorb::NumericField;

void Check(const NumericField& f) {
  const double v = f.Real();
  if (std::isnan(v)) abort();
  if (f.Integer() != quillorb::TruncateToInt32(v)) abort();
  if (v > f.Max && v > 0) abort();
  const std::string shown = f.DisplayText();
  if (f.Editing()) {
    // The bare number: it reads back as the value rounded to the shown decimals.
    const double back = f.ReadText(shown);
    if (std::isnan(back)) abort();
    if (std::isfinite(v)) {
      const double step = std::pow(10.0, -f.NumDecimals());
      if (std::fabs(back - v) > step + std::fabs(v) * 1e-15) abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  NumericField f;
  // The fields of the program: counters (0..999), bank fields, prices with decimals, defaults.
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
      f.Max = 999;
      f.Min = -NumericField::kDefaultMax;
      f.EnableNegative = false;
      break;
    case 1:
      f.Max = 9999;
      f.Min = 0;
      f.EnableNegative = false;
      break;
    case 2:
      f.Max = in.ConsumeFloatingPoint<double>();
      f.Min = in.ConsumeFloatingPoint<double>();
      f.EnableNegative = in.ConsumeBool();
      // Bounds that contradict each other (a negative Max, Min above Max) are a setting no field
      // of the program has; what the field does with them is not defined.
      if (!(f.Max >= 0) || !(f.Min <= f.Max)) return 0;
      break;
    default:
      break;
  }
  f.SetNumDecimals(in.ConsumeIntegralInRange<int32_t>(-3, 20));
  f.SetDecimalSeparator(in.ConsumeBool() ? ',' : '.');
  std::string text = f.DisplayText();
  Check(f);
  while (in.remaining_bytes() > 0) {
    switch (in.ConsumeIntegralInRange<int>(0, 6)) {
      case 0: {  // a typed character, inserted where the filter lets it
        const char c = in.ConsumeIntegral<char>();
        const size_t start = in.ConsumeIntegralInRange<size_t>(0, text.size());
        const size_t length = in.ConsumeIntegralInRange<size_t>(0, text.size() - start);
        const auto kind = f.Filter(c, text, start, length);
        if (kind == quillorb::TypedChar::Insert) {
          text.replace(start, length, 1, f.Inserted(c));
          f.TextChanged(text);
        }
        break;
      }
      case 1:  // a pasted text
        text = in.ConsumeRandomLengthString(64);
        f.TextChanged(text);
        break;
      case 2:
        f.SetInteger(in.ConsumeIntegral<int32_t>());
        text = f.DisplayText();
        break;
      case 3:
        f.SetReal(in.ConsumeFloatingPoint<double>());
        text = f.DisplayText();
        break;
      case 4:
        f.BeginEditing();
        text = f.DisplayText();
        break;
      case 5:
        f.EndEditing(in.ConsumeBool());
        text = f.DisplayText();
        break;
      default:
        f.SetClearStart(in.ConsumeBool());
        break;
    }
    Check(f);
  }
  return 0;
}
