// The control-vector reader's refusals: one small bad record per data error, each
// with its exact diagnosis in the output file, the short note in the log and the
// files closed; and the warning that lets the job go on.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "engine/input/catchment_read_support.h"

namespace kova::test {
namespace {

const std::string unreadable =
    "\n possibly character data where number expected or illegal number";

TEST(Read1Errors, CodesBranchesAndReachRecords) {
  const BadRecord rows[] = {
      {"reach-type flag 5", catchmentFile("1, 2.0, -99\n0\n", 5),
       " Data error: reach type flag not 0,1,2,3,or 4"},
      {"reach-type flag -1", catchmentFile("0\n", -1), " Data error: reach type flag not 0,1,2,3,or 4"},
      {"code 6.3", catchmentFile("1, 2.0, -99\n6.3\n"), " Invalid control vector code:     6.300"},
      {"code 1.5", catchmentFile("1.5, 2.0, -99\n"), " Invalid control vector code:     1.500"},
      {"code 17.3", catchmentFile("17.3\n"), " Invalid control vector code:    17.300"},
      {"branch left open", catchmentFile("3\n1, 2.0, -99\n0\n"), " Data error: no. of code 4's <> no. of code 3's"},
      {"reach type 7 under flag 0", catchmentFile("1, 7, 2.0, -99\n", 0),
       " Correct data error: reach type code =    7, not 1,2,3,or 4\n  Code no.   1"},
      {"reach type 0 under flag 0", catchmentFile("1, 1, 2.0, -99\n5, 0, 1.0, -99\n", 0),
       " Correct data error: reach type code =    0, not 1,2,3,or 4\n  Code no.   2"},
      {"zero slope", catchmentFile("1, 3, 1.2, 0.0, -99\n", 0),
       " Data error: slope<0.0, value read:    0.000 code no.   1"},
      {"negative slope under flag 2", catchmentFile("1, 1.2, -0.5, -99\n", 2),
       " Data error: slope<0.0, value read:   -0.500 code no.   1"},
      {"code 4 at level 1", catchmentFile("1, 2.0, -99\n4\n"),
       " Correct data error: more  4's than 3's to code no.  2"},
      {"translation 2.5", catchmentFile("8, 2.5, -99\n"),
       " Data error: translation not integral--read as    2.50 Code no.   1"},
      {"translation end check", catchmentFile("8, 2, -98\n"),
       " Data error:  -98.00 or string read for end check -99, code no.   1( 8.0)"},
      {"reach end check", catchmentFile("1, 2.0, -98\n"),
       " Data error:  -98.00 or string read for end check -99, code no.   1( 1.0)"},
      {"reach record one value short", catchmentFile("5, 2.0\n1, 1.0, -99\n"),
       " Data error:    1.00 or string read for end check -99, code no.   1( 5.0)"},
  };
  expectAllRefused(rows, std::size(rows));
}

TEST(Read1Errors, EndsOfFileAndUnreadableNumbers) {
  const std::string eof = " Data error: end of file reached";
  const BadRecord rows[] = {
      {"empty file", "", eof},
      {"no flag", "Test catchment\n", eof},
      {"no end code", catchmentFile("1, 2.0, -99\n"), eof},
      {"reach record cut short", catchmentFile("1, 2.0\n"), eof},
      {"no location line", catchmentFile("7\n"), eof},
      {"no ungauged location line", catchmentFile("1, 2.0, -99\n7.2\n"), eof},
      {"no I/O location line", catchmentFile("9, 1, 0, 1, 0\n"), eof},
      {"no I/O function record", catchmentFile("9, 1, 0, 1, 0\nCreek\nC only a comment\n"), eof},
      {"letters for a length", catchmentFile("1, abc, -99\n"),
       " Data error in data for control code no.  1" + unreadable},
      {"letters for the flag", "Test catchment\nx\n", " Data error in data for control code no.  0" + unreadable},
      {"letters for a code", catchmentFile("1, 2.0, -99\nseven\n"),
       " Data error in data for control code no.  2" + unreadable},
      {"real reach type", catchmentFile("1, 2.5, 2.0, -99\n", 0),
       " Data error in data for control code no.  1" + unreadable},
      {"letters for the end check", catchmentFile("8, 2, end\n"),
       " Data error in data for control code no.  1" + unreadable},
      {"comment line inside a record", catchmentFile("1, 2.0\nC the end check\n-99\n"),
       " Data error in data for control code no.  1" + unreadable},
  };
  expectAllRefused(rows, std::size(rows));
}

TEST(Read1Errors, ChannelInflowsAndOutflows) {
  const BadRecord rows[] = {
      {"first I/O value 0.5", catchmentFile("1, 2.0, -99\n9, 3, 0, 0, 0\nCreek\n2, 0, 0.5, 10, 5, -99\n"),
       " Data error : first I/O value in discharge-I/O table\n must be zero.     0.500 read,code no.   2"},
      {"discharges 10 then 10", catchmentFile("1, 2.0, -99\n9, 3, 0, 0, 0\nCreek\n3, 0, 0, 10, 2, 10, 4, -99\n"),
       " Data error:successive discharge values in discharge I/O\n"
       " table must increase   0.100E+02   0.100E+02 read,code no.   2"},
      {"discharge table end check", catchmentFile("1, 2.0, -99\n9, 3, 0, 0, 0\nCreek\n1, 0, 0, -9\n"),
       " Data error:   -9.00 or string read for end check -99, code no.   2( 9.0)"},
      {"function end check", catchmentFile("9, 1, 0, 1, 0\nCreek\n1, 2, 3, 4, 5\n"),
       " Data error:    5.00 or string read for end check -99, code no.   1( 9.0)"},
      {"hydrograph I/O end check", catchmentFile("9, 0, 0, 1, 0, 99\n"),
       " Data error:   99.00 or string read for end check -99, code no.   1( 9.0)"},
      {"reference by id 0", catchmentFile("9, 2, 0, 1, 0, -99\n"),
       " Data error: previous I/O may not be identified by zero\n control code no.   1"},
      {"reference to no such id", catchmentFile("9, 0, 0, 1, 5, -99\n9, 2, 0, 1, 7, -99\n"),
       " Data error: previous I/O identified by       7 not found\n  control code no.   2"},
      {"reference to a reference", catchmentFile("9, 0, 0, 1, 5, -99\n9, 2, 0, 1, 5, -99\n9, 2, 0, 1, 5, -99\n"),
       " Data error: previous I/O code no.   2 defining I/O at code no.   3\n may not also be previously defined"},
      {"reference to a distributed I/O",
       catchmentFile("9, 0, 2, 1, 5, -99\n1, 2.0, -99\n1, 2.0, -99\n9, 2, 0, 1, 5, -99\n"),
       " Data error: calc. I/O nominated as channel I/O\n by control code no.   4 is not concentrated I/O"},
      {"distributed over a distributed", catchmentFile("9, 0, 2, 1, 5, -99\n1, 2.0, -99\n9, 0, 1, 1, 6, -99\n"),
       " Data error: lateral I/O h/graph reaches overlap"},
      {"distributed over one to the end",
       catchmentFile("9, 0, -1, 1, 5, -99\n1, 2.0, -99\n1, 2.0, -99\n1, 2.0, -99\n9, 0, 2, 1, 6, -99\n"),
       " Data error: lateral I/O h/graph reaches overlap"},
      {"I/O type 4", catchmentFile("9, 4, 0, 1, 0, -99\n"),
       " Data error: I/O type   4.0 not 0,1,2 or 3, code no.   1"},
      {"I/O type -1", catchmentFile("1, 2.0, -99\n9, -1, 0, 1, 0, -99\n"),
       " Data error: I/O type  -1.0 not 0,1,2 or 3, code no.   2"},
      {"reach count -2", catchmentFile("9, 0, -2, 1, 0, -99\n"),
       " Data error: number of reaches for I/O  -2.0 not -1 or more, code no.   1"},
      {"empty discharge-I/O table", catchmentFile("1, 2.0, -99\n9, 3, 0, 0, 0\nCreek\n0, -99\n"),
       " Data error: number of pairs in discharge-I/O table     0 read, code no.   2\n must be at least 1"},
  };
  expectAllRefused(rows, std::size(rows));
}

TEST(Read1Errors, DistributedIOCountsItsReachesOffAndThenAnotherMayStart) {
  // Two reaches for the first I/O, then the second starts on a clear stretch.
  Read1Run run(catchmentFile("9, 0, 2, 1, 5, -99\n1, 2.0, -99\n1, 2.0, -99\n9, 0, 1, 1, 6, -99\n5, 1.0, -99\n0\n"));
  ASSERT_FALSE(run.failed) << run.output();
  EXPECT_EQ(run.kov().nIOs, 2);
}

TEST(Read1Errors, ConcentratedOutflowOnAZeroHydrographWarnsAndGoesOn) {
  Read1Run run(catchmentFile("9, 0, 0, 0, 3, -99\n1, 2.0, -99\n9, 0, 0, 0, 4, -99\n3\n9, 0, 0, -1, 5, -99\n4\n0\n"));
  ASSERT_FALSE(run.failed);
  // Steps 1 and 5 take flow from nothing; step 3 has the sub-area's inflow to take from.
  auto warning = [](const char* step) {
    return std::string("\n\n Warning: conc. channel outflow, code no. ") + step +
           ", ineffective\n since running h/g set to zero\n\n\n";
  };
  EXPECT_EQ(run.output(), warning("   1") + warning("   5"));
  EXPECT_EQ(run.job().genpar.errorFlag, 0);
}

}  // namespace
}  // namespace kova::test
