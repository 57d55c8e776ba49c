#include <gtest/gtest.h>

#include "plot/TimeAxis.h"

using namespace tal;

namespace {

std::vector<std::string> Labels(const std::vector<AxisTick>& ticks) {
  std::vector<std::string> out;
  for (const AxisTick& t : ticks) out.push_back(t.label);
  return out;
}

TEST(TimeAxisTest, HoursReadAsDaysOrMonthsOfAYear) {
  const auto year = TimeTicks(0, 8760, TimeLabels::Months);
  EXPECT_EQ(Labels(year), (std::vector<std::string>{"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep",
                                                     "Oct", "Nov", "Dec", "Jan 2"}));
  EXPECT_EQ(year[2].value, 24 * 59);  // 1 March
  EXPECT_EQ(Labels(TimeTicks(8000, 26280, TimeLabels::Months)).front(), "Jan 2");  // every third month
  EXPECT_EQ(Labels(TimeTicks(0, 26280, TimeLabels::Months))[1], "Apr");
  EXPECT_EQ(Labels(TimeTicks(0, 720, TimeLabels::Months)),
            (std::vector<std::string>{"1 Jan", "6 Jan", "11 Jan", "16 Jan", "21 Jan", "26 Jan", "31 Jan"}));
  EXPECT_EQ(Labels(TimeTicks(1410, 1422, TimeLabels::Months)),  // an hour a tick; midnight names the day
            (std::vector<std::string>{"18:00", "19:00", "20:00", "21:00", "22:00", "23:00", "1 Mar", "01:00", "02:00",
                                      "03:00", "04:00", "05:00", "06:00"}));
  EXPECT_EQ(Labels(TimeTicks(0, 240, TimeLabels::Days)),
            (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
  EXPECT_EQ(Labels(TimeTicks(30, 60, TimeLabels::Days)).front(), "1.25");
  EXPECT_TRUE(TimeTicks(0, 100, TimeLabels::Hours).empty());
  EXPECT_EQ(TimeText(4380, TimeLabels::Months), "2 Jul 12:00");
  EXPECT_EQ(TimeText(8760 + 30, TimeLabels::Months), "2 Jan 2 06:00");
  EXPECT_EQ(TimeText(36, TimeLabels::Days), "1.50");

  struct Case {
    std::string name, unit;
    bool hours;
  } cases[] = {{"TIME", "h", true}, {"time", "", true}, {"TIME", "[hours]", true}, {"TIME", "s", false}, {"T", "h", false}};
  for (const Case& c : cases) {
    TPlotInfo info;
    TPlotLine line;
    line.XName = c.name, line.XUnit = c.unit;
    info.Lines = {line};
    EXPECT_EQ(IsHoursAxis(info), c.hours) << c.name << " " << c.unit;
  }
}

}  // namespace
