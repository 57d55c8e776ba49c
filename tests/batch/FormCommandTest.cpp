#include <gtest/gtest.h>

#include <sstream>

#include "../core/forms/FormDecks.h"
#include "BatchCommand.h"
#include "forms/AnnotationLine.h"
#include "support/Files.h"

using formtest::ExampleLines;
using formtest::FileLines;

namespace {

struct FormRun {
  int status;
  std::string out, err;
};

FormRun Form(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  tal::batch::BatchIo io{out, err};
  std::vector<std::string> all{"form"};
  all.insert(all.end(), args.begin(), args.end());
  int status = tal::batch::RunBatch(all, io);
  return {status, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text) { return tal::SplitLines(text); }

}  // namespace

TEST(TalbatchForm, ShowListsEveryItemAsTheFormShowsIt) {
  taltest::TempDir dir;
  std::string path = formtest::WriteExample(dir);
  FormRun run = Form({"show", path});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Lines(run.out),
            (std::vector<std::string>{
                "text  line 5  \"Building data\"",
                "group  line 6  HEATING \"Heating system\"  on",
                "numeric  line 7  \"Floor area\"  AREA = 25 m2  range 1 .. 1000  in HEATING on",
                "list  line 9  \"Heater type\"  KIND = \"Gas boiler\"  choices \"Gas boiler\" \"Heat pump\" \"Wood stove\"  in HEATING on",
                "checkbox-group  line 12  OPTIONS \"Options\"  on  [x] \"Use heating\" (HEATING)",
                "file  line 15  \"Weather file\"  ASSIGN = WEATHER.DAT  unit 10",
            }));
  // In secondary units values and ranges are converted, the range rounded inward to what is accepted.
  run = Form({"show", path, "--units", "2"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Lines(run.out)[2], "numeric  line 7  \"Floor area\"  AREA = 269 ft2  range 11 .. 10763  in HEATING on");
}

TEST(TalbatchForm, ShowReportsDiagnosticsWithStatus2) {
  taltest::TempDir dir;
  formtest::WriteCompanions(dir);
  std::string path = dir.write("BAD.TKD", "*|*Head\n*|<COLOR1 PINK\n*|*Never\n");
  FormRun run = Form({"show", path});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "***Unrecognized color***   *|<COLOR1 PINK\n");
  // What was built before the stop is still listed.
  EXPECT_EQ(run.out, "text  line 1  \"Head\"\n");

  run = Form({"show", dir.file("NONE.TKD")});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "Cannot open file " + dir.file("NONE.TKD") + ".\n");

  run = Form({"show"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("usage: talbatch form"), std::string::npos);
}

TEST(TalbatchForm, SetFillsInEveryKindAndWritesInPlace) {
  taltest::TempDir dir;
  std::string path = formtest::WriteExample(dir);
  dir.write("COLD.DAT", "cold");
  FormRun run = Form({"set", path, "area=40.5", "KIND=heat PUMP", "ASSIGN=COLD.DAT"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "wrote " + path + "\n");
  auto lines = FileLines(path);
  EXPECT_EQ(lines[6], "AREA= 4.0500000000000E+01");
  EXPECT_EQ(lines[8], "KIND= 2");
  EXPECT_EQ(lines[14], "ASSIGN COLD.DAT 10");
  EXPECT_EQ(taltest::ReadFile(dir.file("HOUSE.BAK")), formtest::JoinLines(ExampleLines()));
}

TEST(TalbatchForm, FieldsOfTheSameNameAreToldApartByTheirLabels) {
  taltest::TempDir dir;
  for (const char* name : {"IN.DAT", "OUT.DAT", "NEW.DAT"}) dir.write(name, "x");
  std::string path = dir.write("A.TKD", "ASSIGN IN.DAT 10\n*|?Input file|1\nASSIGN OUT.DAT 11\n*|?Output file|2\n");
  FormRun run = Form({"set", path, "output FILE=NEW.DAT"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(FileLines(path), (std::vector<std::string>{"ASSIGN IN.DAT 10", "*|?Input file|1", "ASSIGN NEW.DAT 11",
                                                       "*|?Output file|2"}));
  // The variable name sets every field that has it.
  run = Form({"set", path, "ASSIGN=IN.DAT"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(FileLines(path)[2], "ASSIGN IN.DAT 11");
}

TEST(TalbatchForm, SetWithCheckBoxesRadioButtonsAndUnits) {
  taltest::TempDir dir;
  formtest::WriteCompanions(dir);
  std::string path = dir.write("T.TKD",
                               "*|[GAS|Gas\nG=1\n*|G|u|v|0|1|0|10\n*|]\n"
                               "*|[OIL|Oil\nO=1\n*|O|u|v|0|1|0|10\n*|]\n"
                               "*|(FUEL|Fuel\n*|Gas|GAS\n*|Oil|OIL\n*|)\n"
                               "T=20\n*|Temperature|C|F|0|1.8|-50|200\n");
  std::string out = dir.file("OUT.TKD");
  FormRun run = Form({"set", path, "-o", out, "--choose", "gas", "--units", "2", "T=68"});
  ASSERT_EQ(run.status, 0) << run.err;
  auto lines = FileLines(out);
  EXPECT_EQ(lines[0], "*|[GAS|Gas");
  EXPECT_EQ(lines[4], "*|#*|[OIL|Oil");
  EXPECT_EQ(lines[5], "*|#O= 1.0000000000000E+00");
  EXPECT_EQ(lines[12], "T= 3.7777777777778E+01");
  // The source is untouched and has no back-up.
  EXPECT_EQ(FileLines(path)[4], "*|[OIL|Oil");
  EXPECT_FALSE(taltest::Exists(dir.file("T.BAK")));

  run = Form({"set", out, "--check", "Use heating=off"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "talbatch form: no check box \"Use heating\"\n");
}

TEST(TalbatchForm, SetRefusesBadValuesAndWritesNothing) {
  taltest::TempDir dir;
  std::string path = formtest::WriteExample(dir);
  std::string before = taltest::ReadFile(path);
  std::string usage = Form({}).err;
  struct Case {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"AREA=1001"}, "This parameter must be >= 1 and <= 1000\n"},
      {{"AREA=12a"}, "Illegal character in input\n"},
      {{"AREA="}, "The input field is empty\n"},
      {{"KIND=Coal stove"}, "talbatch form: \"Coal stove\" is not a choice of \"Heater type\"\n"},
      {{"ASSIGN=NOPE.DAT"}, "talbatch form: NOPE.DAT was not found\n"},
      {{"WIDTH=3"}, "talbatch form: no field named WIDTH\n"},
      {{"--check", "Use heating=maybe"}, "talbatch form: --check takes CAPTION=on or CAPTION=off\n" + usage},
      {{"--choose", "Nothing"}, "talbatch form: no radio button \"Nothing\"\n"},
      {{"--units", "3", "AREA=2"}, "talbatch form: --units takes 1 or 2\n" + usage},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"set", path};
    args.insert(args.end(), c.args.begin(), c.args.end());
    FormRun run = Form(args);
    EXPECT_EQ(run.status, 2) << c.args[0];
    EXPECT_EQ(run.err, c.err) << c.args[0];
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(taltest::ReadFile(path), before);
    EXPECT_FALSE(taltest::Exists(dir.file("HOUSE.BAK")));
  }
}

TEST(TalbatchForm, SetRefusesADeckThatDidNotReadWhole) {
  taltest::TempDir dir;
  formtest::WriteCompanions(dir);
  std::string text = "*|{B|Boxes\n*|x|NOWHERE\n*|}\nX=1\n*|X|u|v|0|1|0|10\n";
  std::string path = dir.write("U.TKD", text);
  FormRun run = Form({"set", path, "X=2"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "Group NOWHERE is not defined.\n");
  EXPECT_EQ(taltest::ReadFile(path), text);
}

TEST(TalbatchForm, EncodedDeckFromTheCommandLine) {
  taltest::TempDir dir;
  formtest::WriteCompanions(dir);
  std::string text;
  for (const auto& line : ExampleLines()) text += tal::EncodeLine(line) + "\n";
  std::string path = dir.write("HOUSE.TKX", text);
  // The built program, as a user runs it.
  auto result = taltest::RunTalbatch({"form", "set", path, "--check", "Use heating=off", "AREA=30"}, dir.path());
  ASSERT_EQ(result.exitCode, 0) << result.err;
  auto lines = FileLines(path);
  EXPECT_EQ(tal::DecodeLine(lines[5]), "*|#*|[HEATING|Heating system");
  EXPECT_EQ(tal::DecodeLine(lines[6]), "*|#AREA= 3.0000000000000E+01");
  result = taltest::RunTalbatch({"form", "show", "HOUSE.TKX"}, dir.path());
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("group  line 6  HEATING \"Heating system\"  off"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("[ ] \"Use heating\" (HEATING)"), std::string::npos);
}

TEST(TalbatchForm, GroupsThatNothingSwitchesKeepTheirState) {
  taltest::TempDir dir;
  std::string path = dir.write("G.TKD",
                               "*|[EMPTY|Deck lines only\nX=1\n*|]\n"
                               "*|#*|[OFF|Switched off\n*|#Z=3\n*|#*|Z|u|v|0|1|0|10\n*|#*|]\n"
                               "W=4\n*|W|u|v|0|1|0|10\n");
  FormRun run = Form({"show", path});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out), (std::vector<std::string>{
                                "group  line 1  EMPTY \"Deck lines only\"  on",
                                "group  line 4  OFF \"Switched off\"  off",
                                "numeric  line 5  \"Z\"  Z = 3 u  range 0 .. 10  in OFF off",
                                "numeric  line 8  \"W\"  W = 4 u  range 0 .. 10",
                            }));
  run = Form({"set", path, "W=5"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(FileLines(path), (std::vector<std::string>{"*|[EMPTY|Deck lines only", "X=1", "*|]", "*|#*|[OFF|Switched off",
                                                       "*|#Z= 3.0000000000000E+00", "*|#*|Z|u|v|0|1|0|10", "*|#*|]",
                                                       "W= 5.0000000000000E+00", "*|W|u|v|0|1|0|10"}));
}
