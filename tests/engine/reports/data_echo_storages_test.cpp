// Tests of the special-storage echo: every storage-discharge relation (formula, table,
// spillways, spillways with pipes, and the design forms) and every elevation relation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/reports/data_echo_test_support.h"

namespace kova::engine {
namespace {

using test::JobFixture;
using test::linesFrom;
using test::runEcho;

using Lines = std::vector<std::string>;

// One sub-area, then the storage, then the outlet.
std::string storageCatchment(const std::string& code, const std::string& discharge, const std::string& elevation) {
  return "Storage\n1\n1, 2.0, -99\n" + code + "\nBasin\n" + discharge + "\n" + elevation + "\n0\n2.0, -99\n0\n";
}

const char* storm = "Storm\nDESIGN\n1.0, 6, 1, 1, 0, -99\n0, 2\nGauge\n5.0, 3.0, -99\n";

TEST(WridatSpecialStorages, EachRelationType) {
  struct Case {
    const char* what;
    const char* code;
    const char* discharge;
    const char* elevation;
    Lines want;  // from the storage's name on
  };
  const Case cases[] = {
      {"formula, full, no elevation relation",
       "6",
       "0, 0., 1.2, 0.75, -99",
       "0, -99",
       {" Initial water level at cease to flow elevation",
        " Storage-discharge reln.: Storage = 3600*0.120E+01*(disch)** 0.75 cub. m.",
        " No elevation-storage relation supplied"}},
      // The last discharge, 1234.4, leaves no decimals in 13 columns for 4 figures.
      {"table with a drawdown, storage function",
       "6",
       "1, -2500., 3, 0., 0., 5000., 12.4, 20000., 1234.4, -99",
       "2, 3000., 1.25, 100.0, -99",
       {" Initial drawdown=  0.250E+04 cub. m. below cease to flow elevation",
        " Storage (m\xB3) - Discharge (m\xB3/s) table", "  0.000E+00           0.", "  5.000E+03          12.",
        "  2.000E+04        1234.", "",
        " Storage function: Storage = 0.300E+04*(elevation - 100.00)** 1.25 cub.m."}},
      // 0.0125 to four significant figures takes five decimals.
      {"a small last discharge keeps four figures",
       "6",
       "1, 0., 2, 0., 0., 400., 0.0125, -99",
       "0, -99",
       {" Initial water level at cease to flow elevation", " Storage (m\xB3) - Discharge (m\xB3/s) table",
        "  0.000E+00      0.00000", "  4.000E+02      0.01250", "", " No elevation-storage relation supplied"}},
      {"spillways only, starting level, elevation table",
       "6",
       "3, 10.5, 2, 10.0, 5.0, 10.8, 12.5, 1.55, -99",
       "1, 2, 9.0, 0., 12.0, 6000., -99",
       {" Initial water level at elevation  10.50 m", " Spillway data:",
        "          Elevation(m)=    10.00    Length(m)=     5.0",
        "          Elevation(m)=    10.80    Length(m)=    12.5", "          Weir coeff. =  1.55",
        " Elevation (m) - Storage (m\xB3) table", "       9.00        0.000E+00", "      12.00        6.000E+03", ""}},
      {"spillway and one pipe group: no group line",
       "16",
       "2, 0., 1, 20.0, 8.0, 1.7, 0.45, 0.2, 1, 18.0, 3, 25.0, 0.75, 0.6, -99",
       "1, 2, 17.0, 0., 22.0, 10000., -99",
       {" Initial water level at cease to flow elevation", " Spillway data:",
        "          Elevation(m)=    20.00    Length(m)=     8.0", "          Weir coeff. =  1.70", " Pipe outlet data:",
        "          Entrance loss coeff.= 0.450     Bend loss coeff.= 0.200",
        "          Length(m)=   25.  Gradient(%)= 0.750 U/S invert el.(m)=   18.00",
        "          No. of pipes= 3.     Diameter (m)= 0.600", " Elevation (m) - Storage (m\xB3) table",
        "      17.00        0.000E+00", "      22.00        1.000E+04", ""}},
      {"to be designed with a spillway",
       "6.1",
       "3, 1.6, -99",
       "1, 2, 5.0, 0., 8.0, 3000., -99",
       {" Spillway:   Weir coeff.=  1.60", " Elevation (m) - Storage (m\xB3) table", "       5.00        0.000E+00",
        "       8.00        3.000E+03", ""}},
      {"to be designed with a spillway and pipes",
       "6.1",
       "2, 1.7, 0.5, 1.0, -99",
       "2, 1000., 2.0, 10.0, -99",
       {" Spillway:   Weir coeff.=  1.70", " Pipe outlet data:",
        "          Entrance loss coeff.= 0.500     Bend loss coeff.= 1.000",
        " Storage function: Storage = 0.100E+04*(elevation -  10.00)** 2.00 cub.m."}},
      {"to be designed by formula: no coefficients to show",
       "6.1",
       "0, -99",
       "2, 1000., 2.0, 10.0, -99",
       {" Storage function: Storage = 0.100E+04*(elevation -  10.00)** 2.00 cub.m."}},
  };
  for (const Case& c : cases) {
    JobFixture f;
    const Lines echo = runEcho(f, storageCatchment(c.code, c.discharge, c.elevation), storm);
    Lines want{"", "", "", " Special storage data", "", " Storage: Basin"};
    want.insert(want.end(), c.want.begin(), c.want.end());
    const auto head = std::find(echo.begin(), echo.end(), " Special storage data");
    ASSERT_NE(head, echo.end()) << c.what << "\n" << f.output();
    EXPECT_EQ(Lines(head - 3, std::min(echo.end(), head - 3 + static_cast<std::ptrdiff_t>(want.size()))), want)
        << c.what;
  }
}

TEST(WridatSpecialStorages, NoSectionWithoutStorages) {
  JobFixture f;
  const Lines echo = runEcho(f, "One\n1\n1, 2.0, -99\n0\n2.0, -99\n0\n", storm);
  ASSERT_FALSE(echo.empty());
  EXPECT_EQ(std::count(echo.begin(), echo.end(), " Special storage data"), 0);
  EXPECT_EQ(std::count(echo.begin(), echo.end(), " Channel inflow/outflow data"), 0);
  EXPECT_EQ(std::count(echo.begin(), echo.end(), " Translation data"), 0);
  EXPECT_EQ(echo.back(), " * or other function of reach properties related to travel time");
}

}  // namespace
}  // namespace kova::engine
