// Free-format record reader: separators, records over several lines, stepping back,
// comments, text items, Windows line ends and bad numbers.
#include "io/text_input.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/test_support.h"

namespace kova::io {
namespace {

InputFile lines(std::vector<std::string> text) {
  InputFile f;
  f.lines = std::move(text);
  f.isOpen = true;
  return f;
}

TEST(FreeFormatReader, SeparatorsAndRecordsOverLines) {
  struct Case {
    std::vector<std::string> text;
    std::vector<float> expected;
    std::size_t nextLine;  // where the following record starts
  };
  const std::vector<Case> cases = {
      {{"1, 2.5, -99"}, {1.0F, 2.5F, -99.0F}, 1},
      {{"1 2.5 -99"}, {1.0F, 2.5F, -99.0F}, 1},
      {{"1\t2.5\t\t-99"}, {1.0F, 2.5F, -99.0F}, 1},
      {{"  1 ,  2.5 ,-99  "}, {1.0F, 2.5F, -99.0F}, 1},
      {{"1,", "2.5", "  -99, 7, 8", "9"}, {1.0F, 2.5F, -99.0F}, 3},  // rest of last line skipped
      {{"1.5E2 2.5d-1 3+2 -.5 6."}, {150.0F, 0.25F, 300.0F, -0.5F, 6.0F}, 1},
      {{"3*0.5 9"}, {0.5F, 0.5F, 0.5F, 9.0F}, 1},
      {{"1 2.5 -99\r"}, {1.0F, 2.5F, -99.0F}, 1},
  };
  for (const Case& c : cases) {
    InputFile f = lines(c.text);
    std::vector<float> got(c.expected.size(), 0.0F);
    ASSERT_EQ(readReals(f, got), ReadStatus::ok) << c.text[0];
    EXPECT_EQ(got, c.expected) << c.text[0];
    EXPECT_EQ(f.next, c.nextLine) << c.text[0];
  }
}

TEST(FreeFormatReader, EmptyItemsAndSlashLeaveTargetsUnchanged) {
  InputFile f = lines({"1,,3", "4 / 5", "6"});
  std::vector<float> got(3, -1.0F);
  ASSERT_EQ(readReals(f, got), ReadStatus::ok);
  EXPECT_EQ(got, (std::vector<float>{1.0F, -1.0F, 3.0F}));
  std::vector<float> second(3, -1.0F);
  ASSERT_EQ(readReals(f, second), ReadStatus::ok);
  EXPECT_EQ(second, (std::vector<float>{4.0F, -1.0F, -1.0F}));
  EXPECT_EQ(f.next, 2U);
}

TEST(FreeFormatReader, BadNumbersAndEndOfFile) {
  const std::vector<std::string> bad = {"1 x2 3", "1 2..5", "1 1e", "1 --2", "1 'a'", "1 inf", "1 1e99"};
  for (const std::string& text : bad) {
    InputFile f = lines({text});
    std::vector<float> got(3);
    EXPECT_EQ(readReals(f, got), ReadStatus::badValue) << text;
  }
  InputFile shortFile = lines({"1 2"});
  std::vector<float> got(3);
  EXPECT_EQ(readReals(shortFile, got), ReadStatus::endOfFile);
}

TEST(FreeFormatReader, IntegersRefuseFractions) {
  InputFile f = lines({"12 -3 2.0"});
  ListRecord r(f);
  int a = 0, b = 0, c = 0;
  EXPECT_EQ(r.integer(a), ReadStatus::ok);
  EXPECT_EQ(r.integer(b), ReadStatus::ok);
  EXPECT_EQ(r.integer(c), ReadStatus::badValue);
  EXPECT_EQ(a, 12);
  EXPECT_EQ(b, -3);
}

TEST(FreeFormatReader, SingleValuesGoStraightToSinglePrecision) {
  // 0.1 read as a float must be the nearest float, not a double rounded twice.
  InputFile f = lines({"0.1 1.00000005960464477539062500001"});
  float a = 0, b = 0;
  ListRecord r(f);
  ASSERT_EQ(r.real(a), ReadStatus::ok);
  ASSERT_EQ(r.real(b), ReadStatus::ok);
  EXPECT_EQ(a, 0.1F);
  EXPECT_EQ(b, 1.00000011920928955078125F);
}

TEST(FreeFormatReader, TextItems) {
  struct Case {
    std::string line;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"snow.dat rest", "snow.dat"},
      {"snow.dat,rest", "snow.dat"},
      {"dir/snow.dat", "dir"},
      {"'my snow.dat' x", "my snow.dat"},
      {"\"C:\\a b\\s.dat\"", "C:\\a b\\s.dat"},
      {"'it''s'", "it's"},
      {"  lead.dat\r", "lead.dat"},
  };
  for (const Case& c : cases) {
    InputFile f = textSource(c.line);
    ListRecord r(f);
    std::string got;
    ASSERT_EQ(r.text(got), ReadStatus::ok) << c.line;
    EXPECT_EQ(got, c.expected) << c.line;
  }
}

TEST(FreeFormatReader, StepBackRewindAndComments) {
  InputFile f = lines({"C a comment", "C another", "5, 2.5, -99", "c lower case is data", "Coal Creek"});
  skipComments(f);
  EXPECT_EQ(f.next, 2U);
  float code = 0;
  {
    ListRecord r(f);
    ASSERT_EQ(r.real(code), ReadStatus::ok);
  }
  EXPECT_EQ(code, 5.0F);
  backspace(f);  // the whole record is read again
  std::vector<float> all(3);
  ASSERT_EQ(readReals(f, all), ReadStatus::ok);
  EXPECT_EQ(all[1], 2.5F);
  skipComments(f);
  EXPECT_EQ(f.next, 3U);
  ++f.next;
  // A name line is read as it stands, whatever its first letter.
  std::string name;
  ASSERT_TRUE(readLine(f, name));
  EXPECT_EQ(name, "Coal Creek");
  EXPECT_FALSE(readLine(f, name));
  rewind(f);
  EXPECT_EQ(f.next, 0U);
  backspace(f);
  EXPECT_EQ(f.next, 0U);
}

TEST(FreeFormatReader, OpensFilesWithWindowsLineEnds) {
  test::ScratchDir dir;
  std::string path = dir.write("a.dat", "Line one \r\n1,2,-99\r\nlast");
  InputFile f;
  ASSERT_TRUE(openInput(f, path));
  ASSERT_EQ(f.lines.size(), 3U);
  EXPECT_EQ(f.lines[0], "Line one ");
  EXPECT_EQ(f.lines[2], "last");
  EXPECT_FALSE(openInput(f, dir.file("missing.dat")));
  EXPECT_FALSE(f.isOpen);
}

}  // namespace
}  // namespace kova::io
