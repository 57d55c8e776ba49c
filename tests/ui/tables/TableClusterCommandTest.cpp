// Run Table on Cluster from the TALPIX menu: enabled as Run Table is, the options asked first
// and kept, Stop cancelling the job array and leaving no run decks.
#include <QElapsedTimer>
#include <QTimer>
#include <cstdlib>

#include "../shell/ShellTestSupport.h"
#include "runs/ClusterJob.h"
#include "runs/ClusterRunDialog.h"
#include "runs/CompilingWindow.h"
#include "runs/RunMonitor.h"
#include "tables/TableForm.h"

using namespace tal;

namespace {

class RunTableOnCluster : public taltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    CurrentSettings().talpixDir = dir.file("engine");
    dir.writeScript("engine/TALPIX32", "echo \"$*\" >> \"$(dirname \"$0\")/calls.txt\"\nsleep 60\n");
    deck = dir.write("work/S.DCK", "CONSTANTS 1\nP = 1\n");
    makeFrame();
    saved = AskClusterOptions();
    AskClusterOptions() = [this](const ClusterSettings& stored, const std::string& folder, int runs) {
      asked.push_back(folder + " " + std::to_string(runs) + " " + stored.partition);
      return answer;
    };
  }
  void TearDown() override {
    AskClusterOptions() = saved;
    ShellTest::TearDown();
  }
  void openTable(int runs) {
    TableModel model(runs, {"P "});
    model.deckFileName = deck;
    for (int r = 1; r <= runs; ++r) model.setValue(1, r, r);
    auto* table = new TTableForm(frame.get());
    table->SetTable(model);
    frame->setTableWindow(table);
    frame->AddChild(table);
  }
  std::string deck;
  ClusterOptionsAsker saved;
  std::optional<ClusterSettings> answer;
  std::vector<std::string> asked;
};

}  // namespace

TEST_F(RunTableOnCluster, IsEnabledAsRunTableIsAndCancellingWritesNothing) {
  EXPECT_FALSE(enabled(MenuItem::RunTableOnCluster));
  openTable(2);
  EXPECT_TRUE(enabled(MenuItem::RunTableOnCluster));
  EXPECT_EQ(enabled(MenuItem::RunTableOnCluster), enabled(MenuItem::RunTable));
  if (!MissingSlurmCommandsMessage().empty()) GTEST_SKIP() << "Slurm commands not installed: the options are not asked";
  answer.reset();
  frame->action(MenuItem::RunTableOnCluster)->trigger();
  EXPECT_EQ(asked, std::vector<std::string>{dir.file("work") + " 2 "});
  EXPECT_FALSE(taltest::Exists(dir.file("work/S.TMP")));
  EXPECT_FALSE(taltest::Exists(dir.file("TALSHELL.CLU")));
}

TEST_F(RunTableOnCluster, StopCancelsTheArrayAndLeavesNoRunDecks) {
  if (!std::getenv("SLURM_CONF") || !MissingSlurmCommandsMessage().empty())
    GTEST_SKIP() << "No Slurm cluster (SLURM_CONF unset or Slurm not installed): cluster run skipped";
  openTable(4);
  answer = ClusterSettings{"", "00:10:00", 2, ""};
  QString progress;
  QTimer stopper;
  QObject::connect(&stopper, &QTimer::timeout, [&] {
    progress = CompilingWindow().numberText();
    if (progress.contains(" 2 running")) frame->action(MenuItem::StopRun)->trigger();
  });
  stopper.start(200);
  QElapsedTimer clock;
  clock.start();
  frame->action(MenuItem::RunTableOnCluster)->trigger();
  EXPECT_LT(clock.elapsed(), 30000);
  EXPECT_TRUE(progress.contains(" 2 running")) << progress.toStdString();
  EXPECT_EQ(CompilingWindow().numberText(), "4 runs: 0 pending, 0 running, 0 finished, 4 failed");
  EXPECT_EQ(ReadClusterSettings(dir.path()), *answer) << "the options are kept for the next run";
  for (const char* run : {"work/S.TMP", "work/S1.TMP", "work/S2.TMP", "work/S3.TMP"})
    EXPECT_FALSE(taltest::Exists(dir.file(run))) << run;
  EXPECT_FALSE(RunMonitor::instance().engineRunActive());
  EXPECT_NE(RunMonitor::instance().log().toStdString().find("Run 4 (S3.TMP): CANCELLED"), std::string::npos);
}
