#include "model/text.h"

#include <gtest/gtest.h>

namespace quillorb {
namespace {

TEST(ParseInt, AcceptsDecimalAndHexadecimalForms) {
  EXPECT_EQ(ParseInt("0"), 0);
  EXPECT_EQ(ParseInt("-17"), -17);
  EXPECT_EQ(ParseInt("+5"), 5);
  EXPECT_EQ(ParseInt(" 42 "), 42);
  EXPECT_EQ(ParseInt("0x70"), 112);
  EXPECT_EQ(ParseInt("0X1f"), 31);
  EXPECT_EQ(ParseInt("$10"), 16);
  EXPECT_EQ(ParseInt("2147483647"), 2147483647);
  EXPECT_EQ(ParseInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseInt("0xFFFFFFFF"), -1);
}

TEST(ParseInt, RejectsEverythingElse) {
  for (const char* bad : {"", " ", "abc", "12abc", "1 2", "-", "0x", "$", "0xG", "2147483648",
                          "-2147483649", "0x100000000", "99999999999999999999", "1.5", "--1"}) {
    EXPECT_EQ(ParseInt(bad), std::nullopt) << bad;
  }
}

TEST(ParseDecimal, ReadsEitherSeparator) {
  EXPECT_EQ(ParseDecimal("6.5", '.'), 6.5);
  EXPECT_EQ(ParseDecimal("6,5", ','), 6.5);
  EXPECT_EQ(ParseDecimal("6.5", ','), 6.5);
  EXPECT_EQ(ParseDecimal("-2e3", '.'), -2000.0);
  EXPECT_EQ(ParseDecimal(" 7 ", '.'), 7.0);
  EXPECT_EQ(ParseDecimal(".5", '.'), 0.5);
  for (const char* bad : {"", "abc", "6.5gp", "1e", "1e400", "1.2.3", "-", "."}) {
    EXPECT_EQ(ParseDecimal(bad, '.'), std::nullopt) << bad;
  }
}

TEST(FormatGeneral, FifteenSignificantDigitsWithoutTrailingZeros) {
  EXPECT_EQ(FormatGeneral(6.5, '.'), "6.5");
  EXPECT_EQ(FormatGeneral(13.0, '.'), "13");
  EXPECT_EQ(FormatGeneral(0.0, '.'), "0");
  EXPECT_EQ(FormatGeneral(-2.25, '.'), "-2.25");
  EXPECT_EQ(FormatGeneral(static_cast<double>(0.1f), '.'), "0.100000001490116");
  EXPECT_EQ(FormatGeneral(static_cast<double>(3.3f), '.'), "3.29999995231628");
  EXPECT_EQ(FormatGeneral(6.5, ','), "6,5");
  EXPECT_EQ(FormatGeneral(1000000.0, '.'), "1000000");
  EXPECT_EQ(FormatGeneral(0.0001, '.'), "0.0001");
  EXPECT_EQ(FormatGeneral(123456789012345.0, '.'), "123456789012345");
}

TEST(FormatGeneral, ScientificOnlyForExtremeMagnitudes) {
  EXPECT_EQ(FormatGeneral(1e15, '.'), "1E15");
  EXPECT_EQ(FormatGeneral(1.5e20, '.'), "1.5E20");
  EXPECT_EQ(FormatGeneral(0.00001, '.'), "1E-5");
  EXPECT_EQ(FormatGeneral(-2.5e-7, ','), "-2,5E-7");
}

TEST(FormatGeneral, RoundTripsEveryFloatPriceThroughParse) {
  for (float f : {0.1f, 3.3f, 6.5f, 19.99f, 1234.567f, 0.001f, 1e-6f, 3.4e38f}) {
    auto back = ParseDecimal(FormatGeneral(f, '.'), '.');
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(static_cast<float>(*back), f);
  }
}

}  // namespace
}  // namespace quillorb
