// Calculate in the shell on the demo workspace's decks with the sample engine as TALPIX32: the
// deck editor and the form window run it and attach its listing, output and plot files.
#include <filesystem>

#include "../shell/ShellTestSupport.h"
#include "shell/MenuItem.h"

using namespace tal;
namespace fs = std::filesystem;

namespace {

class DemoCalculate : public taltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    fs::copy(std::string(TAL_SOURCE_DIR) + "/demo", dir.path(), fs::copy_options::recursive);
    fs::create_symlink(TAL_ENGINE_PATH, dir.file("TALPIX32"));
    CurrentSettings().talpixDir = dir.path();
  }
};

TEST_F(DemoCalculate, EditorAndFormRunTheEngineAndAttachItsResults) {
  for (const char* deck : {"HOUSE.DCK", "HOUSE.TKD"}) {
    for (const char* result : {"HOUSE.LST", "HOUSE.OUT", "HOUSE.PLT"}) fs::remove(dir.file(result));
    auto& f = makeFrame();
    f.ReadaFile(dir.file(deck));
    f.action(MenuItem::Calculate)->trigger();
    EXPECT_TRUE(dialogs.messages().empty()) << deck;
    EXPECT_EQ(f.action(MenuItem::Listing)->text().toStdString(), "Listing " + dir.file("HOUSE.LST")) << deck;
    EXPECT_TRUE(enabled(MenuItem::Listing)) << deck;
    EXPECT_EQ(taltest::Captions(f.outputMenu()), QStringList{"HOUSE.OUT"}) << deck;
    EXPECT_NE(taltest::ReadFile(dir.file("HOUSE.LST")).find("0 errors, 0 warnings. The run ended normally."), std::string::npos)
        << deck;
    EXPECT_TRUE(taltest::Exists(dir.file("HOUSE.PLT"))) << deck;
    frame.reset();
  }
}

}  // namespace
