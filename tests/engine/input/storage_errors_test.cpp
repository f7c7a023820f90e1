// The storage reader's refusals: one small bad storage record per data error, each
// with its exact diagnosis in the output file, the log note and the files closed.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "engine/input/catchment_read_support.h"

namespace kova::test {
namespace {

// A catchment whose first step is a storage of the given code, with its two records.
std::string storage(const std::string& records, const std::string& code = "6") {
  return catchmentFile("1, 1.0, -99\n" + code + "\nBasin\n" + records + "0\n");
}

const std::string noRelation = "0, -99\n";

TEST(Read4Errors, DischargeRecords) {
  const BadRecord rows[] = {
      {"discharge relation 4", storage("4, 0, -99\n" + noRelation),
       " Data error: discharge relation flag not between 0 & 3\n   4 read"},
      {"discharge relation -1", storage("-1, 0, -99\n" + noRelation),
       " Data error: discharge relation flag not between 0 & 3\n  -1 read"},
      {"first table discharge 0.001", storage("1, 0, 2, 0, 0.001, 100, 1, -99\n" + noRelation),
       " Error : first discharge in storage-discharge table must be zero.  0.100E-02 read"},
      {"table storages 100 then 50", storage("1, 0, 3, 0, 0, 100, 1, 50, 2, -99\n" + noRelation),
       " Data error:successive storage values in storage d/charge\n"
       " table must not decrease   0.100E+03   0.500E+02  read"},
      {"table discharges 0 then 0", storage("1, 0, 2, 0, 0, 100, 0, -99\n" + noRelation),
       " Warning: discharge values  0.000E+00   0.000E+00\n in storage/discharge table must increase"},
      {"spillways at 100.0 and 99.5", storage("3, 0, 2, 100.0, 10, 99.5, 5, 1.6, -99\n2, 10, 1, 90, -99\n"),
       " Error : spillway elev. 2 < spillway elev. 1,  100.00"},
      {"pipe inlet at the spillway",
       storage("2, 0, 1, 100, 10, 1.6, 0.5, 0.2, 1, 100.0, 1, 50, 1, 0.9, -99\n2, 10, 1, 90, -99\n"),
       " Elevation error : pipe inlet=  100.00 not less than spillway el.=  100.00"},
      {"second pipe group below the first",
       storage("2, 0, 1, 100, 10, 1.6, 0.5, 0.2, 3, 95, 1, 50, 1, 0.9, 96, 1, 50, 1, 0.9, 94.5, 1, 50, 1, 0.9, -99\n"
               "2, 10, 1, 90, -99\n"),
       " Error : pipe outlet no. 3 lower than outlet no. 1"},
      {"code 6.1 with a table", storage("1, 2, 0, 0, 100, 1, -99\n" + noRelation, "6.1"),
       " Data error: discharge relation of type 1\n is illegal with code 6.1"},
      {"discharge end check", storage("0, 0, 0.5, 0.8, -98\n" + noRelation),
       " Error in storage data, code  6.0        -98.00\n or string item read for end check"},
      {"code 6.1 end check", storage("3, 1.6, 1.7, -99\n2, 10, 1, 90, -99\n", "16.1"),
       " Error in storage data, code  6.1          1.70\n or string item read for end check"},
      {"empty storage-discharge table", storage("1, 0, 0, -99\n" + noRelation),
       " Data error: number of pairs in storage-discharge table     0 read\n must be at least 1"},
      {"no spillways", storage("3, 0, 0, 1.6, -99\n2, 10, 1, 90, -99\n"),
       " Data error: number of spillways     0 read\n must be at least 1"},
      {"negative pipe groups", storage("2, 0, 1, 100, 10, 1.6, 0.5, 0.2, -1, -99\n2, 10, 1, 90, -99\n"),
       " Data error: number of pipe groups    -1 read\n must be at least 0"},
  };
  expectAllRefused(rows, std::size(rows));
}

TEST(Read4Errors, ElevationRecords) {
  const std::string formula = "0, 0, 0.5, 0.8, -99\n";
  const BadRecord rows[] = {
      {"elevation relation 3", storage(formula + "3, -99\n"),
       " Data error: elev./storage relation not between 0 & 2   3 read"},
      {"drawdown 101.5 with no elevation relation", storage("0, 101.5, 0.5, 0.8, -99\n" + noRelation),
       " Data error: cannot specify drawdown as water elevation\n if no elevation relation supplied"},
      {"spillways with no elevation relation", storage("3, 0, 1, 100, 10, 1.6, -99\n" + noRelation),
       " Data error: elev/storage relation type of 0\n illegal with code=6.1 or discharge/storage type=2 or 3\n"
       "code=6.0 and dis. rel. type= 3 were read"},
      {"code 6.1 with no elevation relation", storage("0, -99\n" + noRelation, "6.1"),
       " Data error: elev/storage relation type of 0\n illegal with code=6.1 or discharge/storage type=2 or 3\n"
       "code=6.1 and dis. rel. type= 0 were read"},
      {"elevation table of no pairs", storage(formula + "1, 0, -99\n"),
       " Data error: cannot have zero pairs in\n HS table"},
      {"elevation table of -2 pairs", storage(formula + "1, -2, -99\n"),
       " Data error: cannot have zero pairs in\n HS table"},
      {"spillway at the table's top", storage("3, 0, 1, 100, 10, 1.6, -99\n1, 2, 90, 0, 100, 5000, -99\n"),
       " Elevation error : highest spillway el. outside range of storage table"},
      {"elevations 90 then 90", storage(formula + "1, 2, 90, 0, 90, 100, -99\n"),
       " Error: elevation values  0.900E+02   0.900E+02\n in elevation-storage table don't increase"},
      {"storages 100 then 50", storage(formula + "1, 2, 90, 100, 91, 50, -99\n"),
       " Data error: successive storage values in elevation-storage\n"
       " table  cannot decrease 0.100E+03   0.500E+02 read"},
      {"spillway below the function's base", storage("3, 0, 1, 100, 10, 1.6, -99\n2, 1000, 1.5, 101, -99\n"),
       " Data error : spillway el. below min. el. of storage relation "},
      {"spillway below the table", storage("3, 0, 1, 100, 10, 1.6, -99\n1, 2, 100.5, 0, 101, 10, -99\n"),
       " Data error : spillway el. below min. el. of storage relation "},
      {"drawdown level below the function's base", storage("0, 95.5, 0.5, 0.8, -99\n2, 1000, 1.5, 96, -99\n"),
       " Data error: drawdown elev.  95.50 is lower than minimum of storage-elev reln. 96.00"},
      {"elevation end check", storage(formula + "2, 1000, 1.5, 96, 0\n"),
       " Error in storage data, code  6.0          0.00\n or string item read for end check"},
  };
  expectAllRefused(rows, std::size(rows));
}

TEST(Read4Errors, EndsOfFileAndUnreadableNumbers) {
  const std::string eof = " Data error: insufficient data in data files";
  const std::string unreadable =
      " Data error: possibly character data where numerical value expected,\n             or illegal number";
  const BadRecord rows[] = {
      {"no name line", catchmentFile("6\n"), eof},
      {"no discharge record", catchmentFile("6\nBasin\nC only comments follow\n"), eof},
      {"discharge record cut short", catchmentFile("6\nBasin\n1, 0, 3, 0, 0, 10, 1\n"), eof},
      {"no elevation record", catchmentFile("6\nBasin\n0, 0, 0.5, 0.8, -99\n"), eof},
      {"letters in the discharge record", storage("0, 0, x, 0.8, -99\n" + noRelation), unreadable},
      {"letters for the discharge relation", storage("formula, 0, 0.5, 0.8, -99\n" + noRelation), unreadable},
      {"a real table length", storage("1, 0, 2.5, 0, 0, 10, 1, -99\n" + noRelation), unreadable},
      {"letters for the elevation relation", storage("0, 0, 0.5, 0.8, -99\nnone, -99\n"), unreadable},
  };
  expectAllRefused(rows, std::size(rows));
}

}  // namespace
}  // namespace kova::test
