#include <gtest/gtest.h>

#include "TestSupport.h"
#include "forms/ApplicationLink.h"
#include "support/ScriptedInteraction.h"

using namespace tal;

TEST(ApplicationLink, StartsTheLinkedProgramWithTheArgument) {
  taltest::TempDir dir;
  std::string calc = dir.writeScript("calc", "exit 0\n");
  std::array<std::string, 5> links{"", calc, "", "", ""};
  ScriptedInteraction ui;
  auto command = PrepareApplicationLink(2, LinkSource::Button, "-f \"plan a.dat\"", links);
  ASSERT_TRUE(command);
  EXPECT_EQ(command->program, calc);
  EXPECT_EQ(command->arguments, (std::vector<std::string>{"-f", "plan a.dat"}));
  EXPECT_TRUE(ui.prompts().empty());
  // A picture with a number out of range uses the first entry; a button does nothing.
  links[0] = calc;
  EXPECT_TRUE(PrepareApplicationLink(9, LinkSource::Picture, "", links));
  EXPECT_FALSE(PrepareApplicationLink(9, LinkSource::Button, "", links));
  EXPECT_FALSE(PrepareApplicationLink(0, LinkSource::Button, "", links));
}

TEST(ApplicationLink, MissingProgramAsksToBrowse) {
  taltest::TempDir dir;
  std::string found = dir.writeScript("viewer", "exit 0\n");
  std::array<std::string, 5> links{"/nowhere/viewer", "", "", "", ""};
  {
    ScriptedInteraction ui;
    ui.answer(Button::No);
    EXPECT_FALSE(PrepareApplicationLink(1, LinkSource::Button, "x", links));
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Application link /nowhere/viewer was not found.  Do you want "
                                                       "to browse to locate this file?"}));
    EXPECT_EQ(ui.prompts()[0].kind, WarningYesNo);
    EXPECT_EQ(ui.beeps(), 1);
  }
  {
    ScriptedInteraction ui;
    ui.answer(Button::Yes).answerCancel();
    EXPECT_FALSE(PrepareApplicationLink(1, LinkSource::Button, "x", links));
    EXPECT_EQ(ui.prompts()[1].request.directory, "/nowhere");
    EXPECT_EQ(links[0], "/nowhere/viewer");
  }
  {
    ScriptedInteraction ui;
    ui.answer(Button::Yes).answerText(found);
    auto command = PrepareApplicationLink(1, LinkSource::Picture, "plan.dat", links);
    ASSERT_TRUE(command);
    EXPECT_EQ(command->program, found);
    // The chosen program replaces the settings' entry.
    EXPECT_EQ(links[0], found);
  }
}
