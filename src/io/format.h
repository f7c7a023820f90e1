// Fixed-column line formatter: the nX, Iw, Iw.m, Fw.d, Ew.d, kP, Aw and "/" edit
// descriptors of every report layout, built up field by field.
#pragma once

#include <string>
#include <string_view>

namespace kova::io {

// One formatted record, possibly spanning several lines ("/" starts a new one).
// Fields are appended in layout order; a line ends after its last field, so a
// layout with more fields than values simply stops appending.
// A value too wide for its field prints as w asterisks.
class Fmt {
 public:
  Fmt& x(int n);                                   // nX: n blanks
  Fmt& i(int w, long long v);                      // Iw
  Fmt& i(int w, int m, long long v);               // Iw.m: at least m digits, zero-padded
  Fmt& f(int w, int d, double v);                  // Fw.d (scaled by 10^k under kP)
  Fmt& e(int w, int d, double v);                  // Ew.d (k digits before the point under kP)
  Fmt& p(int k);                                   // kP scale factor for the F and E fields that follow
  Fmt& a(std::string_view s);                      // A: the text as it stands
  Fmt& a(std::string_view s, int w);               // Aw: leftmost w chars, or right-justified in w
  Fmt& slash();                                    // "/": end this line, start the next
  // The record as text: its lines joined by '\n', without a final newline.
  [[nodiscard]] const std::string& str() const { return text_; }

 private:
  std::string text_;
  int scale_ = 0;
};

// The single fields, for callers that build text outside a record.
std::string formatI(int w, long long v);
std::string formatI(int w, int m, long long v);
std::string formatF(int w, int d, double v, int scale = 0);
std::string formatE(int w, int d, double v, int scale = 0);

// Text with trailing blanks removed (names and paths are blank-padded).
std::string_view trimRight(std::string_view s);

}  // namespace kova::io
