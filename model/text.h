// Number <-> text conversions shared by the catalogue and the profile store.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillorb {

// `s` without the blanks (space, tab, CR, LF, VT, FF) at either end.
std::string_view TrimBlanks(std::string_view s);

// Whole-string integer conversion of the profile and catalogue: optional blanks around, optional
// sign, decimal digits or a "0x"/"0X" (or "$") hexadecimal form. Anything else, an empty text or a
// value outside the 32-bit range gives nullopt. Hexadecimal up to 0xFFFFFFFF wraps to int32.
std::optional<int32_t> ParseInt(std::string_view text);

// Decimal number with '.' or `decimalSeparator` as the separator, optional exponent; the whole
// text (blanks around allowed) must be the number. nullopt when it is not one or not finite.
std::optional<double> ParseDecimal(std::string_view text, char decimalSeparator);

// General format of up to 15 significant digits: no trailing zeros, no point for whole numbers,
// scientific form "1.5E20" / "1E-7" only for very large or small magnitudes.
std::string FormatGeneral(double value, char decimalSeparator);

std::string FormatInt(int64_t value);

}  // namespace quillorb
