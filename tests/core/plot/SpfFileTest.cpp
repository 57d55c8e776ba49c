#include <gtest/gtest.h>

#include "TestSupport.h"
#include "plot/SpfFile.h"
#include "support/RealCodecs.h"

using namespace tal;

namespace {

TPlotLine Curve(int no, int points, double scale) {
  TPlotLine line;
  line.LineNo = no;
  line.PointCount = points;
  line.FileRows = 120;
  line.RowsAdjustable = no == 2;
  line.XCol = 0;
  line.YCol = no;
  line.XName = "TIME";
  line.XUnit = "s";
  line.YName = "T" + std::to_string(no);
  line.YUnit = "degC";
  line.FromRow = 3;
  line.ToRow = 2 + points;
  line.LineStyle = no;
  line.Symbol = 16 + no;
  line.Color = 14 + no;
  line.Smooth = 1;
  for (int i = 0; i < points; ++i) {
    line.XValues.push_back(static_cast<double>(RoundToReal48(i * 0.1L)));
    line.YValues.push_back(static_cast<double>(RoundToReal48(scale * i - 3.7L)));
  }
  return line;
}

TPlotInfo TwoCurves() {
  TPlotInfo info;
  info.XLabel = "TIME s";
  info.YLabel = "T1 degC";
  info.XMin = 0.1L;
  info.XMax = 10;
  info.YMin = -8;
  info.YMax = 1e4L;
  info.XGrid = 1;
  info.YMinorTicks = 4;
  info.XTicks = 9;
  info.YTicks = 6;
  info.YLog = 1;
  info.XFormat = {0, 3};
  info.YFormat = {1, 2};
  info.ShowLegend = 1;
  info.Lines = {Curve(1, 100, 2.5), Curve(2, 50, -1e-3)};
  return info;
}

TEST(SpfFileTest, TwoCurvesOfHundredAndFiftyPointsRoundTrip) {
  const std::string caption = "Plot 3: from A.PLT";  // 18 characters
  std::string bytes = EncodeSpf(caption, TwoCurves());
  ASSERT_EQ(bytes.size(), 10588u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 18);
  EXPECT_EQ(bytes.substr(1, 18), caption);
  EXPECT_EQ(bytes.substr(19, 237), std::string(237, '\0'));
  // The description's curve records lie at 392 + 156 (k - 1); the values follow the second copy.
  EXPECT_EQ(bytes.substr(256 + 392, 156), bytes.substr(256 + 8220, 156));
  EXPECT_EQ(static_cast<unsigned char>(bytes[256 + 382]), 0);  // XFormat.Fixed
  EXPECT_EQ(static_cast<unsigned char>(bytes[256 + 384]), 3);  // XFormat.Digits

  taltest::TempDir dir;
  std::string file = dir.file("TWO.SPF");
  ASSERT_EQ(WriteSpfFile(file, caption, TwoCurves()), "");
  SpfContent read = ReadSpfFile(file);
  ASSERT_EQ(read.error, "");
  EXPECT_EQ(read.caption, caption);
  EXPECT_EQ(read.info, TwoCurves());
  EXPECT_EQ(EncodeSpf(read.caption, read.info), bytes);
}

TEST(SpfFileTest, DamagedFilesAreRefusedNamingTheFile) {
  const std::string good = EncodeSpf("Plot 1: from A.PLT", TwoCurves());
  auto withInt = [&](std::size_t at, std::int32_t v) {
    std::string b = good;
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    return b;
  };
  struct Case {
    std::string bytes;
    std::string why;
  } cases[] = {
      {good.substr(0, 8000), "the file is too short"},
      {withInt(256, 51), "it claims 51 curves (at most 50)"},
      {withInt(256, -1), "it claims -1 curves"},
      {withInt(256 + 8220, 2'000'000'000), "curve 1 claims 2000000000 points"},
      {withInt(256 + 8220, -5), "curve 1 claims -5 points"},
      {good.substr(0, good.size() - 6), "curve 2 claims 50 points"},
      {good + "x", "bytes after its last curve"},
      {withInt(256 + 8220 + 1356 + 24, 0x7F), "a curve's name is longer than its field"},
  };
  for (const Case& c : cases) {
    SpfContent read = DecodeSpf(c.bytes, "/work/D.SPF");
    EXPECT_EQ(read.error.rfind("/work/D.SPF is not a valid TALSHELL plot file: ", 0), 0u) << read.error;
    EXPECT_NE(read.error.find(c.why), std::string::npos) << read.error;
    EXPECT_TRUE(read.info.Lines.empty());
  }
}

}  // namespace
