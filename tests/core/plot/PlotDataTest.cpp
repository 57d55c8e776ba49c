#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "TestSupport.h"
#include "plot/PlotData.h"
#include "support/RealCodecs.h"

using namespace tal;

namespace {

TColumnTable Read(const std::string& bytes) {
  TColumnTable t;
  EXPECT_EQ(ReadPltBytes(bytes, t), "");
  return t;
}

std::vector<std::string> Names(const TColumnTable& t) { return t.ColName; }

TEST(PlotDataTest, NextTokenTakesTheFirstSeparatorAndTrimsTheRest) {
  std::string line = "TIME  T1,T2 Q";
  std::vector<std::string> tokens;
  while (!line.empty()) tokens.push_back(NextToken(line));
  EXPECT_EQ(tokens, (std::vector<std::string>{"TIME", "T1", "T2", "Q"}));
  line = "A\t\tB ";
  EXPECT_EQ(NextToken(line), "A");
  EXPECT_EQ(line, "\tB");
}

TEST(PlotDataTest, NamesOrDataByTheFirstLines) {
  struct Case {
    std::string file;
    std::vector<std::string> names;
    bool hasNames, hasUnits;
    int rows;
    std::vector<std::string> units;
  };
  const Case cases[] = {
      {"TIME  T1,T2 Q\ns K K W\n1 2 3 4\n", {"TIME", "T1", "T2", "Q"}, true, true, 1, {"s", "K", "K", "W"}},
      {"0.0 12.5 3\n1 2 3\n", {"TIME", "Col 2", "Col 3"}, false, false, 2, {"", "", ""}},
      {"1A 2B\n  \n5 6\n", {"1A", "2B"}, true, true, 1, {"", ""}},  // second character a letter
      {"12 3\n", {"TIME", "Col 2"}, false, false, 1, {"", ""}},
      {"X Y\n  10.0 20.0\n1 2\n", {"X", "Y"}, true, true, 1, {"10.0", "20.0"}},
      {"X Y\n10.0 20.0\n1 2\n", {"X", "Y"}, true, false, 2, {"", ""}},
      {"X Y\n-1 2\n3 4", {"X", "Y"}, true, false, 2, {"", ""}},
      {"X Y\nm s\n", {"X", "Y"}, true, true, 0, {"m", "s"}},
      {"ABCDEFGHIJKLMNOPQRSTUVWXY Z\n\n", {"ABCDEFGHIJKLMNOPQRST", "Z"}, true, true, 0, {"", ""}},
  };
  for (const Case& c : cases) {
    TColumnTable t = Read(c.file);
    EXPECT_EQ(Names(t), c.names) << c.file;
    EXPECT_EQ(t.HasNames, c.hasNames) << c.file;
    EXPECT_EQ(t.HasUnits, c.hasUnits) << c.file;
    EXPECT_EQ(t.RowCount, c.rows) << c.file;
    EXPECT_EQ(t.ColUnit, c.units) << c.file;
  }
}

TEST(PlotDataTest, ValuesAcrossLinesZerosAndExtremes) {
  TColumnTable t = Read("A B C\nu v w\n1 2\n3 junk\n1.5D+03 4 5 6\n7 -2.5e1 +8\n\n");
  ASSERT_EQ(t.RowCount, 3);
  // Row 1 takes its third value from the next line, whose rest is skipped.
  EXPECT_EQ(t.ColData[0], (std::vector<double>{1, 0, 7}));
  EXPECT_EQ(t.ColData[1], (std::vector<double>{2, 4, -25}));
  EXPECT_EQ(t.ColData[2], (std::vector<double>{3, 5, 8}));
  EXPECT_EQ(t.ColMin[1], -25);
  EXPECT_EQ(t.ColMax[1], 4);

  t = Read("A\n\n2.5\n2.5\n2.5");
  EXPECT_EQ(t.RowCount, 3);
  EXPECT_EQ(t.ColMin[0], 2.5);
  EXPECT_EQ(t.ColMax[0], 2.5);
}

TEST(PlotDataTest, RowsAndRangesComeFromTheDataLinesOnly) {
  const double big = StoredPlotValue(1e31L), bigger = StoredPlotValue(2e31L);
  struct Case {
    std::string file;
    int rows;
    std::vector<double> min, max;
  } cases[] = {
      {"X Y\n1 2\n", 1, {1, 2}, {1, 2}},              // a names line and one data line
      {"1 2\n", 1, {1, 2}, {1, 2}},                    // one data line, no names
      {"X Y\nm s\n1 2\n\n", 1, {1, 2}, {1, 2}},        // a trailing empty line is no row of zeros
      {"X Y\nm s\n1 2\n \t\n3 4\n\r\n", 2, {1, 2}, {3, 4}},  // nor are blank lines between rows
      {"X\r\n1\r\n\r\n", 1, {1}, {1}},
      {"X Y\nm s\n1e31 -1e31\n2e31 -2e31\n", 2, {big, -bigger}, {bigger, -big}},  // beyond 9e30
      {"X Y\nm s\n", 0, {0, 0}, {0, 0}},               // no data: no rows
      {"X Y\nm s\n1\n2\n", 1, {1, 2}, {1, 2}},         // a short row takes the next line
  };
  for (const Case& c : cases) {
    TColumnTable t = Read(c.file);
    EXPECT_EQ(t.RowCount, c.rows) << c.file;
    EXPECT_EQ(t.ColMin, c.min) << c.file;
    EXPECT_EQ(t.ColMax, c.max) << c.file;
    for (const auto& column : t.ColData) EXPECT_EQ(column.size(), static_cast<std::size_t>(c.rows)) << c.file;
  }
}

TEST(PlotDataTest, NumbersRoundToSixByteRealsAndClampBeyondTheirRange) {
  struct Case {
    std::string text;
    double expected;
  } cases[] = {
      {"0.1", static_cast<double>(RoundToReal48(0.1L))},
      {"-2.854907E+01", static_cast<double>(RoundToReal48(-28.54907L))},
      {"1e39", static_cast<double>(Real48Max)},
      {"-1e400", -static_cast<double>(Real48Max)},
      {"1e-40", 0},
      {"inf", 0},
      {"nan", 0},
      {".", 0},
      {"5.", 5},
      {".5", 0.5},
      {"1e", 0},
      {"0x10", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadPlotNumber(c.text), c.expected) << c.text;
  // A decimal text a hair below a half unit of the sixth byte still rounds down, as in extended
  // precision, although its nearest double lies exactly on the half.
  const Real half = 1 + std::ldexp(1.0L, -40);
  EXPECT_EQ(ReadPlotNumber("1.00000000000090949470177292823791503906"), 1.0 + std::ldexp(1.0, -39));
  EXPECT_EQ(ReadPlotNumber("1.0000000000009094947017729282379"), static_cast<double>(RoundToReal48(half - 1e-32L)));
}

TEST(PlotDataTest, DataRowsReadEveryNumberAsASingleNumberReads) {
  // Rows take a quicker path for short numbers; each value must be what ReadPlotNumber makes of it.
  std::vector<std::string> texts = {"1",    "-0",   "+5",    "5.",   ".5",      "-.5",    "123456789012345",
                                    "1e22", "1e23", "1e-22", "1e-23", "1E+001", "1234567890123456",
                                    "0.000000000000001",     "9.99999999999999e22", "2.854907E+01"};
  std::mt19937_64 random(7);
  const char* formats[] = {"%.6E", "%.14e", "%.3f", "%.15g", "%.1E", "%g"};
  for (int i = 0; i < 30000; ++i) {
    const double mantissa = std::uniform_real_distribution<double>(-1, 1)(random);
    char text[400];
    std::snprintf(text, sizeof text, formats[i % 6], std::ldexp(mantissa, std::uniform_int_distribution<int>(-90, 90)(random)));
    texts.emplace_back(text);
    // Texts a hair beside a half unit of the sixth byte, where a double one bit off rounds the other way.
    const double tie = std::ldexp(1 + std::ldexp(std::floor(std::ldexp(std::abs(mantissa), 39)) + 0.5, -39), i % 40 - 20);
    std::snprintf(text, sizeof text, i % 2 ? "%.15g" : "%.14g", tie);
    texts.emplace_back(text);
  }
  std::string file = "X\n\n";
  for (const std::string& text : texts) file += text + "\n";
  TColumnTable t = Read(file);
  ASSERT_EQ(t.RowCount, static_cast<int>(texts.size()));
  for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(t.ColData[0][i], ReadPlotNumber(texts[i])) << texts[i];
}

TEST(PlotDataTest, ThirtyNamesGiveTwentyFiveColumnsAndRowsSkipTheRest) {
  std::string names, values;
  for (int i = 1; i <= 30; ++i) {
    names += "N" + std::to_string(i) + " ";
    values += std::to_string(i) + " ";
  }
  TColumnTable t = Read(names + "\n" + values + "\n" + values + "\n");
  ASSERT_EQ(t.ColCount, 25);
  EXPECT_EQ(t.ColName[24], "N25");
  ASSERT_EQ(t.RowCount, 2);
  EXPECT_EQ(t.ColData[24], (std::vector<double>{25, 25}));
  EXPECT_EQ(t.ColData[0], (std::vector<double>{1, 1}));
}

TEST(PlotDataTest, LongNumbersAreCutAtSixtyFourCharacters) {
  std::string digits(64, '1');
  TColumnTable t = Read("A B\n\n" + digits + "7 9\n");
  EXPECT_EQ(t.ColData[0][0], static_cast<double>(RoundToReal48(std::stold(digits))));
  EXPECT_EQ(t.ColData[1][0], 7);  // the 65th character starts the next number
}

TEST(PlotDataTest, ReadPltRefusesWhatItCannotOpenOrHold) {
  taltest::TempDir dir;
  TColumnTable t;
  t.PltFileName = dir.file("missing.plt");
  EXPECT_FALSE(ReadPlt(t).opened);
  EXPECT_EQ(t.ColCount, 0);
  t.PltFileName = dir.path();
  EXPECT_FALSE(ReadPlt(t).opened);

  // Each short line is a row of 25 values: a small file must not ask for gigabytes.
  std::string shortLines;
  for (int i = 0; i < 6'000'000; ++i) shortLines += "1\n";
  t.PltFileName = dir.write("short-lines.plt", "A B C D E F G H I J K L M N O P Q R S T U V W X Y\n\n" + shortLines);
  ReadPltResult result = ReadPlt(t);
  EXPECT_NE(result.error.find("short-lines.plt cannot be plotted"), std::string::npos) << result.error;
  EXPECT_EQ(t.ColCount, 0);
  EXPECT_TRUE(t.ColData.empty());

  t.PltFileName = dir.write("ok.plt", "T X\ns m\n0 1\n1 3\n");
  EXPECT_EQ(ReadPlt(t).error, "");
  EXPECT_EQ(t.RowCount, 2);
  EXPECT_EQ(t.ColData[1], (std::vector<double>{1, 3}));
}

TEST(PlotDataTest, PlotInfoListsTheColumns) {
  taltest::TempDir dir;
  std::string file = dir.write("RUN.PLT", "TIME T1\ns K\n0 2.5\n1 -4\n");
  auto r = taltest::RunTalbatch({"plot-info", file});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "file " + file +
                       "\nnames yes\nunits yes\nrows 2\ncolumns 2\n"
                       "1\tTIME\ts\tmin 0.00000000000E+00\tmax 1.00000000000E+00\n"
                       "2\tT1\tK\tmin -4.00000000000E+00\tmax 2.50000000000E+00\n");
  r = taltest::RunTalbatch({"plot-info", dir.file("none.plt")});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("none.plt cannot be opened for reading"), std::string::npos);
}

}  // namespace

namespace {

TEST(PlotCommandTest, DrawsOrRefusesWithoutWriting) {
  taltest::TempDir dir;
  std::string data = dir.write("RUN1.PLT", "TIME T1 T2\ns K K\n0 1 5\n1 3 6\n2 2 7\n3 4 9\n");
  struct Case {
    std::vector<std::string> args;
    int exit;
    std::string message;
  } cases[] = {
      {{"-x", "TIME", "-y", "T1,T2", "-o", "out.png", "--legend"}, 0, ""},
      {{"-x", "TIME", "-y", "T1", "-o", "out.svg", "--rows", "2:4"}, 0, ""},
      {{"-x", "TIME", "-y", "T2", "-o", "out.pdf", "--log", "y"}, 0, ""},
      {{"-x", "TIME", "-y", "T1,T2", "-o", "out.spf"}, 0, ""},
      {{"-x", "TIME", "-y", "T3", "-o", "bad.png"}, 2, "has no column named \"T3\""},
      {{"-x", "TIM", "-y", "T1", "-o", "bad.png"}, 2, "has no column named \"TIM\""},
      {{"-x", "TIME", "-y", "T1", "-o", "bad.png", "--rows", "3:2"}, 2, "bad row range \"3:2\""},
      {{"-x", "TIME", "-y", "T1", "-o", "bad.png", "--rows", "1:9"}, 2, "bad row range"},
      {{"-x", "TIME", "-y", "T1", "-o", "bad.png", "--log", "x"}, 2, "the X axis cannot be logarithmic"},
      {{"-x", "TIME", "-y", "T1", "-o", "bad.gif"}, 2, "must end in .png, .svg, .pdf, .spf or .csv"},
      {{"-x", "TIME", "-y", "T2,T1", "-o", "out.csv", "--rows", "2:4"}, 0, ""},
      {{"-x", "TIME", "-o", "bad.png"}, 2, "-y is required"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"plot", data};
    for (const std::string& a : c.args) args.push_back(args.back() == "-o" ? dir.file(a) : a);
    auto r = taltest::RunTalbatch(args);
    EXPECT_EQ(r.exitCode, c.exit) << c.args[3] << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  EXPECT_EQ(taltest::ReadFile(dir.file("out.png")).substr(1, 3), "PNG");
  EXPECT_NE(taltest::ReadFile(dir.file("out.svg")).find("<svg"), std::string::npos);
  EXPECT_EQ(taltest::ReadFile(dir.file("out.pdf")).substr(0, 5), "%PDF-");
  EXPECT_EQ(taltest::ReadFile(dir.file("out.spf")).size(), 256 + 8220 + 2 * (156 + 4 * 12u));
  EXPECT_EQ(taltest::ReadFile(dir.file("out.csv")), "TIME [s],T2 [K],T1 [K]\n1,6,3\n2,7,2\n3,9,4\n");
  for (const char* bad : {"bad.png", "bad.gif"}) EXPECT_FALSE(taltest::Exists(dir.file(bad)));
}

}  // namespace
