// Fixed-column line formatter: Fmt's record building and the single-field
// I, F and E editors, rounding on the exact decimal value of each double.
#include "io/format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>

namespace kova::io {

namespace {

std::string stars(int w) { return std::string(static_cast<std::size_t>(w > 0 ? w : 0), '*'); }

// Right-justifies body in w columns; a body that cannot fit becomes asterisks.
std::string justify(int w, const std::string& body) {
  if (w <= 0) return {};
  const auto width = static_cast<std::size_t>(w);
  if (body.size() > width) return stars(w);
  return std::string(width - body.size(), ' ') + body;
}

// |v| as significant digits and a point position: |v| = 0.digits x 10^point.
// digits has no leading zeros and is empty for zero.
struct Decimal {
  std::string digits;
  int point = 0;
};

// 309 integer digits for the largest double, the point, 1074 fractional
// digits for the smallest, and the terminator, with some slack.
constexpr int kMaxFractionDigits = 1074;
constexpr std::size_t kMaxExactLength = 1400;

Decimal exactDecimal(double v) {
  Decimal out;
  const double mag = std::fabs(v);
  if (mag == 0.0) return out;
  // mag = M x 2^(e-53) with M an integer: with t trailing zero bits in M it has
  // 53-e-t fractional bits, and as many fractional digits print it exactly (never
  // more than 1074, the subnormal floor). Asking for exactly those digits keeps
  // the conversion short (a float needs at most 24 significant bits), and
  // to_chars at a precision it need not round to gives every digit exactly.
  int e = 0;
  const double f = std::frexp(mag, &e);
  const auto m = static_cast<std::uint64_t>(std::ldexp(f, 53));
  const int fractionBits = 53 - e - std::countr_zero(m);
  const int prec = std::clamp(fractionBits, 0, kMaxFractionDigits);
  std::array<char, kMaxExactLength> raw{};
  const auto [end, ec] = std::to_chars(raw.data(), raw.data() + raw.size(), mag, std::chars_format::fixed, prec);
  if (ec != std::errc()) return out;  // cannot happen for a finite double
  const std::string_view buf(raw.data(), static_cast<std::size_t>(end - raw.data()));

  const auto dot = buf.find('.');
  int point = static_cast<int>(dot == std::string_view::npos ? buf.size() : dot);
  std::string digits;
  digits.reserve(buf.size());
  for (char c : buf) {
    if (c != '.') digits.push_back(c);
  }
  std::size_t lead = 0;
  while (lead < digits.size() && digits[lead] == '0') ++lead;
  point -= static_cast<int>(lead);
  digits.erase(0, lead);
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  out.digits = std::move(digits);
  out.point = point;
  return out;
}

// The first n digits of d (zero-padded past its end), rounded half away from
// zero: the digit after them alone decides, since >= 5 means at least half.
// A carry out of the top grows the result by a leading '1'.  n <= 0 keeps no
// digits, giving "" or "1" depending on whether the dropped part reaches half.
std::string roundDigits(const std::string& d, int n) {
  std::string kept;
  if (n > 0) {
    const auto count = static_cast<std::size_t>(n);
    kept = d.substr(0, count);
    kept.resize(count, '0');
  }
  const bool up = n >= 0 && static_cast<std::size_t>(n) < d.size() && d[static_cast<std::size_t>(n)] >= '5';
  if (!up) return kept;
  std::size_t i = kept.size();
  while (i > 0) {
    --i;
    if (kept[i] != '9') {
      ++kept[i];
      return kept;
    }
    kept[i] = '0';
  }
  return "1" + kept;
}

std::string exponentField(int ex) {
  const int mag = std::abs(ex);
  if (mag > 999) return {};
  const char sign = ex < 0 ? '-' : '+';
  std::string digits = std::to_string(mag);
  if (mag <= 99) {
    if (digits.size() < 2) digits.insert(0, 1, '0');
    return std::string("E") + sign + digits;
  }
  // Three exponent digits take the letter's column.
  return std::string(1, sign) + digits;
}

}  // namespace

std::string formatI(int w, long long v) { return formatI(w, 1, v); }

std::string formatI(int w, int m, long long v) {
  if (w <= 0) return {};
  if (m < 0 || m > w) return stars(w);
  // Iw.0 leaves a zero value blank.
  if (m == 0 && v == 0) return std::string(static_cast<std::size_t>(w), ' ');
  // Magnitude in unsigned so the most negative value does not overflow.
  const unsigned long long mag =
      v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
  std::string digits = std::to_string(mag);
  if (digits.size() < static_cast<std::size_t>(m)) {
    digits.insert(0, static_cast<std::size_t>(m) - digits.size(), '0');
  }
  if (v < 0) digits.insert(0, 1, '-');
  return justify(w, digits);
}

std::string formatF(int w, int d, double v, int scale) {
  if (w <= 0) return {};
  if (d < 0 || !std::isfinite(v)) return stars(w);
  const Decimal dec = exactDecimal(v);
  // Shifting the point in the digit string scales exactly; multiplying the
  // double by 10^k would round before we do.
  std::string units = dec.digits.empty() ? std::string() : roundDigits(dec.digits, dec.point + scale + d);
  const auto frac = static_cast<std::size_t>(d);
  if (units.size() < frac + 1) units.insert(0, frac + 1 - units.size(), '0');
  std::string intPart = units.substr(0, units.size() - frac);
  const std::string fracPart = units.substr(units.size() - frac);

  // The sign bit decides, so a negative value rounded to zero (and -0.0)
  // still prints its minus, as the reports always have.
  const std::string sign = std::signbit(v) ? "-" : "";
  std::string body = sign + intPart + "." + fracPart;
  // A lone zero before the point is optional: it gives way when the field is full.
  if (intPart == "0" && body.size() > static_cast<std::size_t>(w)) body = sign + "." + fracPart;
  return justify(w, body);
}

std::string formatE(int w, int d, double v, int scale) {
  if (w <= 0) return {};
  // Only -d < k < d+2 leaves at least one significant digit in d decimals.
  if (d < 0 || scale <= -d || scale >= d + 2 || !std::isfinite(v)) return stars(w);
  const Decimal dec = exactDecimal(v);
  const int sig = scale > 0 ? d + 1 : d + scale;

  std::string digits;
  int exponent = 0;
  if (dec.digits.empty()) {
    // Zero keeps the layout of the scale factor and an exponent of +00.
    digits.assign(static_cast<std::size_t>(sig), '0');
  } else {
    digits = roundDigits(dec.digits, sig);
    int point = dec.point;
    if (digits.size() > static_cast<std::size_t>(sig)) {
      // 0.999.. rounded up to 1.000..: one digit fewer, one decade higher.
      digits.pop_back();
      ++point;
    }
    exponent = point - scale;
  }

  const std::string expText = exponentField(exponent);
  if (expText.empty()) return stars(w);
  const std::string sign = std::signbit(v) ? "-" : "";
  std::string body;
  bool optionalZero = false;
  if (scale > 0) {
    const auto before = static_cast<std::size_t>(scale);
    body = sign + digits.substr(0, before) + "." + digits.substr(before) + expText;
  } else {
    optionalZero = true;
    body = sign + "0." + std::string(static_cast<std::size_t>(-scale), '0') + digits + expText;
  }
  if (optionalZero && body.size() > static_cast<std::size_t>(w)) body.erase(sign.size(), 1);
  return justify(w, body);
}

std::string_view trimRight(std::string_view s) {
  const auto last = s.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view() : s.substr(0, last + 1);
}

Fmt& Fmt::x(int n) {
  if (n > 0) text_.append(static_cast<std::size_t>(n), ' ');
  return *this;
}

Fmt& Fmt::i(int w, long long v) {
  text_ += formatI(w, v);
  return *this;
}

Fmt& Fmt::i(int w, int m, long long v) {
  text_ += formatI(w, m, v);
  return *this;
}

Fmt& Fmt::f(int w, int d, double v) {
  text_ += formatF(w, d, v, scale_);
  return *this;
}

Fmt& Fmt::e(int w, int d, double v) {
  text_ += formatE(w, d, v, scale_);
  return *this;
}

Fmt& Fmt::p(int k) {
  scale_ = k;
  return *this;
}

Fmt& Fmt::a(std::string_view s) {
  text_.append(s);
  return *this;
}

Fmt& Fmt::a(std::string_view s, int w) {
  if (w <= 0) return *this;
  const auto width = static_cast<std::size_t>(w);
  if (s.size() >= width) {
    text_.append(s.substr(0, width));
  } else {
    text_.append(width - s.size(), ' ');
    text_.append(s);
  }
  return *this;
}

Fmt& Fmt::slash() {
  text_.push_back('\n');
  return *this;
}

}  // namespace kova::io
