// Tests of the fixed-column formatter: each edit descriptor against columns
// worked out by hand, and whole records chained through Fmt.
#include "io/format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace kova::io {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct ICase {
  int w;
  long long v;
  const char* want;
};

TEST(FormatI, RightJustifiesAndStarsWhatDoesNotFit) {
  const ICase cases[] = {
      {4, 42, "  42"},
      {4, -123, "-123"},
      {4, 12345, "****"},
      {4, -1234, "****"},  // the sign takes a column too
      {3, 999, "999"},
      {3, -99, "-99"},
      {3, -100, "***"},
      {2, 100, "**"},
      {2, -9, "-9"},
      {2, -10, "**"},
      {1, 0, "0"},
      {1, -1, "*"},
      {6, 0, "     0"},
      {19, LLONG_MAX, "9223372036854775807"},
      {20, LLONG_MIN, "-9223372036854775808"},
      {19, LLONG_MIN, "*******************"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formatI(c.w, c.v), c.want) << "I" << c.w << " of " << c.v;
  }
}

struct IMCase {
  int w;
  int m;
  long long v;
  const char* want;
};

TEST(FormatI, MinimumDigitsZeroPad) {
  const IMCase cases[] = {
      {4, 2, 5, "  05"},
      {3, 3, 7, "007"},
      {4, 3, -7, "-007"},
      {3, 3, -7, "***"},  // "-007" needs four columns
      {4, 2, 0, "  00"},
      {4, 1, 0, "   0"},
      {4, 0, 0, "    "},  // a zero under .0 is left blank
      {4, 0, 3, "   3"},
      {5, 2, 1234, " 1234"},
      {4, 4, -1, "****"},
      {2, 3, 5, "**"},  // more digits asked than columns
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formatI(c.w, c.m, c.v), c.want) << "I" << c.w << "." << c.m << " of " << c.v;
  }
}

struct FCase {
  double v;
  int w;
  int d;
  int k;
  const char* want;
};

void expectF(const FCase& c) {
  EXPECT_EQ(formatF(c.w, c.d, c.v, c.k), c.want)
      << c.k << "P F" << c.w << "." << c.d << " of " << c.v;
}

TEST(FormatF, RoundsHalfAwayFromZeroOnTheExactValue) {
  const FCase cases[] = {
      {0.125, 5, 2, 0, " 0.13"},   // exact tie goes up
      {0.625, 5, 2, 0, " 0.63"},   // and not to the even digit
      {-0.125, 5, 2, 0, "-0.13"},  // away from zero on the negative side
      {2.675f, 5, 2, 0, " 2.67"},  // the float is 2.67499995..., below the tie
      {1.115f, 4, 2, 0, "1.12"},   // the float is 1.11500000953..., above it
      {1.005, 4, 2, 0, "1.00"},    // the double is 1.00499999...
      {1.2345, 6, 3, 0, " 1.234"},
      {2.5, 3, 0, 0, " 3."},
      {-2.5, 3, 0, 0, "-3."},
      {0.5, 2, 0, 0, "1."},
      {45.678f, 6, 1, 0, "  45.7"},
      {45.678f, 7, 2, 0, "  45.68"},
  };
  for (const auto& c : cases) expectF(c);
}

TEST(FormatF, LeadingZeroAndMinusSign) {
  const FCase cases[] = {
      {0.5, 6, 2, 0, "  0.50"},
      {0.5, 4, 2, 0, "0.50"},
      {0.5, 3, 2, 0, ".50"},  // the zero gives way in a full field
      {0.5, 2, 2, 0, "**"},
      {-0.5, 5, 2, 0, "-0.50"},
      {-0.5, 4, 2, 0, "-.50"},
      {-0.5, 3, 2, 0, "***"},
      {0.004, 4, 2, 0, "0.00"},
      {0.001, 3, 2, 0, ".00"},
      {-0.001, 5, 2, 0, "-0.00"},  // rounded to zero, still negative
      {-0.001, 4, 2, 0, "-.00"},
      {-0.001, 3, 2, 0, "***"},  // no column left for the minus
      {-0.0, 5, 2, 0, "-0.00"},
      {0.0, 5, 2, 0, " 0.00"},
  };
  for (const auto& c : cases) expectF(c);
}

TEST(FormatF, NoDecimalsStillPrintsThePoint) {
  const FCase cases[] = {
      {12.4, 5, 0, 0, "  12."},
      {3.0, 3, 0, 0, " 3."},
      {0.4, 3, 0, 0, " 0."},
      {0.4, 2, 0, 0, "0."},
      {-12.6, 5, 0, 0, " -13."},
      {99.5, 3, 0, 0, "***"},  // rounds to "100."
  };
  for (const auto& c : cases) expectF(c);
}

TEST(FormatF, HydrographValues) {
  const FCase cases[] = {
      {123.456f, 8, 2, 0, "  123.46"},  // float is 123.45600128...
      {123.456f, 6, 1, 0, " 123.5"},
      {123.456f, 7, 2, 0, " 123.46"},
      {123.456f, 10, 3, 0, "   123.456"},
      {0.0f, 8, 2, 0, "    0.00"},
      {0.0f, 6, 1, 0, "   0.0"},
      {0.0f, 7, 2, 0, "   0.00"},
      {0.0f, 10, 3, 0, "     0.000"},
      {-3.14159f, 8, 2, 0, "   -3.14"},  // float is -3.14159011...
      {-3.14159f, 6, 1, 0, "  -3.1"},
      {-3.14159f, 7, 2, 0, "  -3.14"},
      {-3.14159f, 10, 3, 0, "    -3.142"},
      {99999.99f, 8, 2, 0, "99999.99"},  // float is 99999.9921875: just fits
      {99999.99f, 7, 2, 0, "*******"},
      {99999.99f, 8, 1, 0, "100000.0"},
      {99999.99f, 6, 1, 0, "******"},
      {99999.99f, 10, 3, 0, " 99999.992"},
  };
  for (const auto& c : cases) expectF(c);
}

TEST(FormatF, TooWideOrNotFiniteIsAsterisks) {
  const FCase cases[] = {
      {1e20, 8, 2, 0, "********"},
      {-1234.5, 6, 1, 0, "******"},
      {kInf, 6, 2, 0, "******"},
      {-kInf, 6, 2, 0, "******"},
      {kNaN, 6, 2, 0, "******"},
      {kNaN, 1, 0, 0, "*"},
  };
  for (const auto& c : cases) expectF(c);
}

TEST(FormatF, ScaleFactorShiftsThePoint) {
  const FCase cases[] = {
      {1.2345, 8, 2, 2, "  123.45"},  // 123.44999... rounds up on the 9
      {2.675f, 6, 2, 1, " 26.75"},    // 26.749999523... rounds up on the 9
      {12.5, 5, 1, -1, "  1.3"},      // 1.25 exactly, a tie
      {0.5, 6, 2, -2, "  0.01"},      // 0.005 exactly, a tie
      {-0.4, 6, 2, -3, " -0.00"},
      {0.0f, 6, 1, 3, "   0.0"},
      {99.5, 6, 1, 2, "9950.0"},
      {99.5, 5, 1, 2, "*****"},
  };
  for (const auto& c : cases) expectF(c);
}

struct ECase {
  double v;
  int w;
  int d;
  int k;
  const char* want;
};

void expectE(const ECase& c) {
  EXPECT_EQ(formatE(c.w, c.d, c.v, c.k), c.want)
      << c.k << "P E" << c.w << "." << c.d << " of " << c.v;
}

TEST(FormatE, NoScaleFactor) {
  const ECase cases[] = {
      {123.0, 10, 3, 0, " 0.123E+03"},
      {123.0, 9, 3, 0, "0.123E+03"},
      {123.0, 8, 3, 0, ".123E+03"},
      {123.0, 7, 3, 0, "*******"},
      {-123.0, 10, 3, 0, "-0.123E+03"},
      {-123.0, 9, 3, 0, "-.123E+03"},
      {-123.0, 8, 3, 0, "********"},
      {1.23456e7f, 9, 2, 0, " 0.12E+08"},
      {987654.0f, 9, 2, 0, " 0.99E+06"},
      {-0.000123456f, 10, 3, 0, "-0.123E-03"},
      {0.0456f, 10, 3, 0, " 0.456E-01"},
      {0.125, 9, 2, 0, " 0.13E+00"},  // exact tie goes up
      {2.675f, 9, 3, 0, "0.267E+01"},
      {9.9996, 10, 3, 0, " 0.100E+02"},  // the carry moves the exponent
      {1.5e-5, 10, 3, 0, " 0.150E-04"},
  };
  for (const auto& c : cases) expectE(c);
}

TEST(FormatE, ScaleFactorMovesDigitsBeforeThePoint) {
  const ECase cases[] = {
      {1234.5, 10, 3, 1, " 1.235E+03"},  // 1.2345 exactly, a tie
      {1.23456e7f, 9, 2, 1, " 1.23E+07"},
      {987654.0f, 9, 2, 1, " 9.88E+05"},
      {-123.0, 10, 3, 1, "-1.230E+02"},
      {-123.0, 9, 3, 1, "*********"},  // the digit before the point is not optional
      {-0.0456, 10, 3, 1, "-4.560E-02"},
      {9.9996, 10, 3, 1, " 1.000E+01"},
      {123.0, 10, 3, 2, " 12.30E+01"},
      {123.0, 10, 3, 4, " 1230.E-01"},
      {123.0, 10, 3, -1, " 0.012E+04"},
      {123.0, 10, 3, -2, " 0.001E+05"},
      {-123.0, 9, 3, -1, "-.012E+04"},
  };
  for (const auto& c : cases) expectE(c);
}

TEST(FormatE, ZeroKeepsTheLayoutWithExponentZero) {
  const ECase cases[] = {
      {0.0, 10, 3, 0, " 0.000E+00"},
      {0.0, 8, 3, 0, ".000E+00"},
      {0.0, 10, 3, 1, " 0.000E+00"},
      {0.0, 8, 3, 1, "********"},
      {0.0, 10, 3, 2, " 00.00E+00"},
      {0.0, 10, 3, -1, " 0.000E+00"},
      {-0.0, 10, 3, 0, "-0.000E+00"},
      {0.0f, 9, 2, 0, " 0.00E+00"},
  };
  for (const auto& c : cases) expectE(c);
}

TEST(FormatE, ThreeDigitExponentsDropTheLetter) {
  const ECase cases[] = {
      {1e120, 10, 3, 0, " 0.100+121"},
      {1e120, 10, 3, 1, " 1.000+120"},
      {1e120, 8, 3, 0, ".100+121"},
      {-1e120, 10, 3, 0, "-0.100+121"},
      {1e-120, 10, 3, 0, " 0.100-119"},
      {9.9999e98, 10, 3, 0, " 0.100+100"},  // carried over from +99
      {1e300, 9, 2, 0, " 0.10+301"},
      {std::numeric_limits<double>::max(), 10, 3, 0, " 0.180+309"},
      {std::numeric_limits<double>::denorm_min(), 10, 3, 0, " 0.494-323"},
  };
  for (const auto& c : cases) expectE(c);
}

TEST(FormatE, ImpossibleFieldsAreAsterisks) {
  const ECase cases[] = {
      {123.0, 10, 3, -3, "**********"},  // no significant digit left
      {123.0, 10, 3, 5, "**********"},   // more digits before the point than kept
      {kInf, 10, 3, 0, "**********"},
      {-kInf, 10, 3, 1, "**********"},
      {kNaN, 9, 2, 0, "*********"},
  };
  for (const auto& c : cases) expectE(c);
}

struct ACase {
  const char* s;
  int w;
  const char* want;
};

TEST(FormatA, TruncatesOnTheLeftOrRightJustifies) {
  const ACase cases[] = {
      {"ABC", 5, "  ABC"},
      {"ABCDEF", 3, "ABC"},
      {"ABC", 3, "ABC"},
      {"", 2, "  "},
      {"RIVER  ", 4, "RIVE"},
      {" X", 4, "   X"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Fmt().a(c.s, c.w).str(), c.want) << "A" << c.w << " of '" << c.s << "'";
  }
  EXPECT_EQ(Fmt().a("  PEAK ").str(), "  PEAK ");
}

TEST(FormatTrim, RemovesOnlyTrailingBlanks) {
  const struct {
    std::string_view s;
    std::string_view want;
  } cases[] = {
      {"AB  ", "AB"}, {"   ", ""}, {"", ""}, {" A B ", " A B"}, {"A\t ", "A\t"}, {"A\n", "A\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(trimRight(c.s), c.want) << "'" << c.s << "'";
  }
}

TEST(FormatRecord, ChainsFieldsAcrossLines) {
  Fmt r;
  r.x(2).a("Q").i(5, 17).f(8, 2, 123.456f);
  r.p(1).e(10, 3, 1234.5).f(6, 1, 2.5);  // 1P carries over into the F field
  r.p(0).f(6, 1, 2.5).slash();
  r.a("END", 5).i(4, 2, 5);
  EXPECT_EQ(r.str(),
            "  Q   17  123.46 1.235E+03  25.0   2.5\n"
            "  END  05");
}

TEST(FormatRecord, ScaleFactorLastsUntilChanged) {
  Fmt r;
  r.p(2).f(7, 1, 1.5).slash().e(10, 3, 123.0).p(0).e(10, 3, 123.0).f(5, 1, 1.5);
  EXPECT_EQ(r.str(), "  150.0\n 12.30E+01 0.123E+03  1.5");
}

TEST(FormatRecord, BlanksAndLineBreaks) {
  EXPECT_EQ(Fmt().str(), "");
  EXPECT_EQ(Fmt().x(3).str(), "   ");
  EXPECT_EQ(Fmt().x(0).a("A").x(-1).str(), "A");
  EXPECT_EQ(Fmt().a("A").slash().str(), "A\n");  // a second, empty line
  EXPECT_EQ(Fmt().slash().slash().a("B").str(), "\n\nB");
  EXPECT_EQ(Fmt().i(3, 1234).x(1).i(3, 0, 0).a("|").str(), "*** " "   |");
}

}  // namespace
}  // namespace kova::io

namespace kova::io {
namespace {

// Fw.d of v worked out from all the digits printf gives of the exact binary value,
// rounded half away from zero by hand: the reference for the formatter's own digits.
std::string referenceF(double v, int d) {
  std::vector<char> buf(1500);
  std::snprintf(buf.data(), buf.size(), "%.1100f", std::fabs(v));
  std::string s(buf.data());
  const std::size_t dot = s.find('.');
  std::string digits = s.substr(0, dot) + s.substr(dot + 1, static_cast<std::size_t>(d));
  if (s[dot + 1 + static_cast<std::size_t>(d)] >= '5') {
    std::size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) digits.insert(0, "1");
    else ++digits[i - 1];
  }
  const std::size_t intLen = digits.size() - static_cast<std::size_t>(d);
  std::string body = digits.substr(0, intLen) + "." + digits.substr(intLen);
  if (std::signbit(v)) body.insert(0, "-");
  return std::string(40 - body.size(), ' ') + body;
}

TEST(FormatF, DigitsOfTheExactValueOverEveryMagnitude) {
  std::vector<double> values{0.125, 2.5, 1.0 / 1024.0, 3.0 * std::ldexp(1.0, -30), std::ldexp(1.0, -1074),
                             std::numeric_limits<double>::min(), 123456789.0, 0.1, 1.0 / 3.0};
  // Floats over twenty decades, their halves and ties at several places, and doubles.
  double x = 1.0E-12;
  for (int i = 0; i < 400; ++i, x *= 1.1287) {
    values.push_back(static_cast<float>(x));
    values.push_back(-static_cast<double>(static_cast<float>(x * 0.7)));
    values.push_back(x);
    values.push_back(std::round(x * 1.0E4) / 1.0E4 + 0.00005);
  }
  for (double v : values) {
    for (int d : {0, 1, 2, 4, 7}) {
      ASSERT_EQ(formatF(40, d, v), referenceF(v, d)) << v << " d " << d;
    }
  }
}

}  // namespace
}  // namespace kova::io
