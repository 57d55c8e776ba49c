#include <gtest/gtest.h>

#include "support/Files.h"

// The demo workspace's engine configuration must be one the settings dialog can show and rewrite:
// a first line kept as it is, then the seven switches, each starting with Y or N.
TEST(DemoWorkspace, EngineConfigurationHasItsSevenSwitches) {
  auto bytes = tal::ReadWholeFile(std::string(TAL_SOURCE_DIR) + "/demo/CNFGTL.TAL");
  ASSERT_TRUE(bytes);
  auto lines = tal::SplitLines(*bytes);
  ASSERT_EQ(lines.size(), 8u);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    ASSERT_FALSE(lines[i].empty()) << "line " << i + 1;
    EXPECT_TRUE(lines[i][0] == 'Y' || lines[i][0] == 'N') << "line " << i + 1 << ": " << lines[i];
  }
}
