#include "runs/ClusterJob.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <cstdlib>
#include <filesystem>

#include "TestSupport.h"
#include "runs/RunMonitor.h"
#include "support/Files.h"
#include "tables/TableClusterRun.h"

using namespace tal;
using taltest::TempDir;

namespace {

// The cluster tests need a Slurm cluster that answers (scripts/slurm-local.sh starts one and
// prints the SLURM_CONF to export); without one they are skipped with a line saying so.
bool ClusterAnswers() {
  if (!std::getenv("SLURM_CONF") || !MissingSlurmCommandsMessage().empty()) return false;
  QProcess sinfo;
  sinfo.start("sinfo", {"-h"});
  return sinfo.waitForFinished(10000) && sinfo.exitCode() == 0;
}

#define SKIP_WITHOUT_CLUSTER()                                                                   \
  if (!ClusterAnswers())                                                                         \
  GTEST_SKIP() << "No Slurm cluster answers (SLURM_CONF unset or sinfo fails): cluster run skipped"

// A fake engine that records its arguments, one per line, beside the deck, and fails for decks
// whose name holds "FAIL" or sleeps for decks whose name holds "SLOW".
std::string FakeEngine(const TempDir& dir) {
  return dir.writeScript("TALPIX32",
                         "printf '%s\\n' \"$@\" > \"$1.args\"\n"
                         "case \"$1\" in *FAIL*) echo 'deck error in line 3' ; exit 3 ;; esac\n"
                         "case \"$1\" in *SLOW*) sleep 60 ;; esac\n"
                         "echo listing > \"${1%.TMP}.LST\"\n");
}

}  // namespace

TEST(ClusterJobTest, TheJobScriptPassesEveryDeckAndCommandWordAsOneArgument) {
  TempDir dir;
  const std::string engine = FakeEngine(dir);
  const std::vector<std::string> decks = {dir.file("A.TMP"), dir.file("it's a \"deck\" $(x).TMP")};
  const std::string after = dir.writeScript("after it's", "printf '%s|' \"$@\" >> \"$(dirname \"$0\")/after.txt\"\n");
  const ClusterTaskCommands commands{{}, {after, "one 'word'", "$HOME"}};
  const std::string script = dir.write("job.sh", ClusterJobScript(engine, decks, dir.path(), commands));
  for (int task = 1; task <= 2; ++task) {
    QProcess bash;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("SLURM_ARRAY_TASK_ID", QString::number(task));
    bash.setProcessEnvironment(env);
    bash.start("bash", {QString::fromStdString(script)});
    ASSERT_TRUE(bash.waitForFinished(10000));
    EXPECT_EQ(bash.exitCode(), 0);
    EXPECT_EQ(taltest::ReadFile(decks[task - 1] + ".args"), decks[task - 1] + "\n/N\n");
    EXPECT_EQ(taltest::ReadFile(dir.file("run-" + std::to_string(task) + ".status")).substr(0, 2), "0 ");
  }
  EXPECT_EQ(taltest::ReadFile(dir.file("after.txt")), "one 'word'|$HOME|one 'word'|$HOME|");
}

TEST(ClusterJobTest, SbatchArgumentsCarryTheSettings) {
  ClusterSettings settings{"long", "02:00:00", 4, "--qos=low --comment=\"two words\""};
  const auto arguments = SbatchArguments(settings, 8, "/w", "/w/.job", "/w/.job/job.sh");
  const std::vector<std::string> expected = {
      "--parsable", "--array=1-8%4", "--job-name=talshell-table", "--chdir=/w", "--output=/w/.job/slurm-%a.txt",
      "--partition=long", "--time=02:00:00", "--qos=low", "--comment=two words", "/w/.job/job.sh"};
  EXPECT_EQ(arguments, expected);
  EXPECT_EQ(SbatchArguments({}, 3, "/w", "/s", "/s/j")[1], "--array=1-3");
}

TEST(ClusterJobTest, SettingsFileRoundTripsAndRefusesWhatSlurmWouldNot) {
  TempDir dir;
  const ClusterSettings settings{"compute", "1-12:00:00", 16, "--qos=short"};
  ASSERT_EQ(WriteClusterSettings(dir.path(), settings), "");
  EXPECT_EQ(ReadClusterSettings(dir.path()), settings);

  dir.write("TALSHELL.CLU", "partition=a b\ntime=soon\nmax_parallel=-2\ntime=90\n");
  std::vector<std::string> problems;
  const ClusterSettings read = ReadClusterSettings(dir.path(), &problems);
  EXPECT_EQ(read.partition, "");
  EXPECT_EQ(read.timeLimit, "90");
  EXPECT_EQ(read.maxParallel, 0);
  EXPECT_EQ(problems.size(), 3u);
  EXPECT_NE(WriteClusterSettings(dir.path(), {"", "12h", 0, ""}), "");
}

TEST(ClusterJobTest, AFailingRunIsReportedWhileTheOthersFinish) {
  SKIP_WITHOUT_CLUSTER();
  taltest::EnsureQtApplication();
  TempDir dir;
  const std::string engine = FakeEngine(dir);
  std::vector<std::string> decks;
  for (const char* name : {"R.TMP", "R1.TMP", "R2 FAIL.TMP", "R 'q'.TMP"}) decks.push_back(dir.write(name, "deck\n"));
  ClusterJob job(engine, decks, dir.path(), {"", "", 2, ""});
  RunMonitor::instance().clearLog();
  const auto result = RunOnCluster(job, {.pollMilliseconds = 200});
  ASSERT_EQ(result.error, "");
  EXPECT_FALSE(result.stopped);
  const ClusterCounts counts = job.counts();
  EXPECT_EQ(counts.finished, 3);
  EXPECT_EQ(counts.failed, 1);
  EXPECT_EQ(job.tasks()[2].exitCode, 3);
  EXPECT_EQ(taltest::ReadFile(dir.file("R 'q'.TMP.args")), decks[3] + "\n/N\n");
  EXPECT_TRUE(taltest::Exists(dir.file("R1.LST")));
  const std::string log = RunMonitor::instance().log().toStdString();
  EXPECT_NE(log.find("Run 3 (R2 FAIL.TMP): exit status 3\ndeck error in line 3"), std::string::npos) << log;
  EXPECT_NE(log.find("Run 4 (R 'q'.TMP): exit status 0"), std::string::npos) << log;
}

TEST(ClusterJobTest, StopCancelsTheArray) {
  SKIP_WITHOUT_CLUSTER();
  taltest::EnsureQtApplication();
  TempDir dir;
  const std::string engine = FakeEngine(dir);
  std::vector<std::string> decks;
  for (int i = 0; i < 4; ++i) decks.push_back(dir.write("SLOW" + std::to_string(i) + ".TMP", "deck\n"));
  ClusterJob job(engine, decks, dir.path(), {"", "", 2, ""});
  EngineRunScope scope;
  auto stopWhenRunning = [](const ClusterCounts& counts) {
    if (counts.running > 0) RunMonitor::instance().stop();
  };
  const auto result = RunOnCluster(job, {.progress = stopWhenRunning, .pollMilliseconds = 200});
  EXPECT_TRUE(result.stopped);
  EXPECT_EQ(job.counts().failed, 4);
  for (const auto& task : job.tasks()) EXPECT_EQ(task.reason, "CANCELLED");
  EXPECT_TRUE(scope.stopped());
}

// Slurm's commands played by scripts over files of the test's folder, so that following a job
// is checked where no Slurm runs: squeue lists the file "queue", scontrol and sacct answer from
// "scontrol-N" and "sacct-N" for task N (else as for a task they do not know), sbatch and scancel
// record their arguments.
class FakeSlurm : public ::testing::Test {
 protected:
  void SetUp() override {
    taltest::EnsureQtApplication();
    const std::string state = dir.path();
    dir.writeScript("slurm/sbatch", "printf '%s\\n' \"$@\" > '" + state + "/sbatch.args'\necho '4242;cluster'\n");
    dir.writeScript("slurm/squeue", "cat '" + state + "/queue'\n");
    dir.writeScript("slurm/scontrol", "cat '" + state + "/scontrol-'\"${4##*_}\" 2>/dev/null && exit 0\n"
                                      "echo 'slurm_load_jobs error: Invalid job id specified' >&2; exit 1\n");
    dir.writeScript("slurm/sacct", "cat '" + state + "/sacct-'\"${5##*_}\" 2>/dev/null; exit 0\n");
    dir.writeScript("slurm/scancel", "printf '%s\\n' \"$@\" >> '" + state + "/scancel.args'\n");
    savedPath_ = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(dir.file("slurm")) + ":" + savedPath_);
  }
  void TearDown() override { qputenv("PATH", savedPath_); }
  TempDir dir;

 private:
  QByteArray savedPath_;
};

TEST_F(FakeSlurm, PollingReadsTheQueueTheStatusesAndSlurmsReasons) {
  std::vector<std::string> decks;
  for (const char* name : {"R.TMP", "R1.TMP", "R2.TMP", "R3.TMP", "R4.TMP"}) decks.push_back(dir.file("100% work/" + std::string(name)));
  ClusterJob job(dir.file("TALPIX32"), decks, dir.file("100% work"), {"", "", 2, ""});
  std::filesystem::create_directories(dir.file("100% work"));
  ASSERT_EQ(job.submit(), "");
  EXPECT_EQ(job.jobId(), "4242");
  EXPECT_NE(taltest::ReadFile(dir.file("sbatch.args")).find("--output=" + dir.file("100%% work/") + ".talshell-cluster-"),
            std::string::npos)
      << "a % of the folder is not read as a replacement symbol";

  dir.write("queue", "4242_1 RUNNING\n4242_2 COMPLETING\n4242_[3-5%2] PENDING\n");
  ASSERT_TRUE(job.poll());
  EXPECT_EQ(DescribeCounts(job.counts()), "5 runs: 3 pending, 2 running, 0 finished, 0 failed");

  // Task 1 leaves its status; 2 is ended over its time limit, 3 cancelled and already forgotten by
  // the controller, 4 leaves the queue without a word from anyone; 5 runs on.
  dir.write("100% work/" + FileNameOf(job.jobFolder()) + "/run-1.status", "0 12\n");
  dir.write("scontrol-2", "JobId=4244 ArrayJobId=4242 ArrayTaskId=2 JobState=TIMEOUT Reason=TimeLimit Dependency=(null)\n");
  dir.write("sacct-3", "CANCELLED by 1000|None\n");
  dir.write("queue", "4242_5 RUNNING\n");
  for (int poll = 0; poll < 3; ++poll) ASSERT_TRUE(job.poll());
  const auto& tasks = job.tasks();
  EXPECT_EQ(tasks[0].exitCode, 0);
  EXPECT_EQ(tasks[0].seconds, 12);
  EXPECT_EQ(tasks[1].reason, "TIMEOUT, reason TimeLimit");
  EXPECT_EQ(tasks[2].reason, "CANCELLED by 1000");
  EXPECT_EQ(tasks[3].reason, "ENDED WITHOUT AN EXIT STATUS");
  EXPECT_EQ(tasks[4].state, ClusterTaskState::Running);
  EXPECT_FALSE(job.finished());

  job.cancel();
  EXPECT_EQ(taltest::ReadFile(dir.file("scancel.args")), "4242\n");
  dir.write("queue", "");
  ASSERT_TRUE(job.poll());
  EXPECT_TRUE(job.finished());
  EXPECT_EQ(tasks[4].reason, "CANCELLED");
  EXPECT_EQ(DescribeCounts(job.counts()), "5 runs: 0 pending, 0 running, 1 finished, 4 failed");
}

TEST_F(FakeSlurm, ARunSlurmEndedIsReportedWithSlurmsStateAndReason) {
  dir.write("queue", "");
  dir.write("scontrol-1", "JobId=4243 JobState=TIMEOUT Reason=TimeLimit\n");
  dir.write("sacct-2", "CANCELLED by 0|None\n");
  ClusterTableRunSettings settings;
  settings.engine = dir.file("TALPIX32");
  settings.workingDirectory = dir.path();
  settings.pollMilliseconds = 10;
  const auto run = RunTableDecksOnCluster({dir.file("A.TMP"), dir.file("A1.TMP")}, settings);
  ASSERT_EQ(run.submitError, "");
  ASSERT_EQ(run.report.results.size(), 2u);
  const std::string first = DescribeOutcome(run.report.results[0].outcome);
  EXPECT_EQ(first.rfind("TALPIX32 ended abnormally (Slurm: TIMEOUT, reason TimeLimit) after ", 0), 0u) << first;
  EXPECT_EQ(run.report.results[1].outcome.reason, "Slurm: CANCELLED by 0");
}
