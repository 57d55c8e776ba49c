// talbatch table run --slurm: a table's runs as a Slurm job array leave what a run on this
// computer leaves; failed runs are named; without Slurm nothing is submitted.
#include <gtest/gtest.h>

#include <QProcess>
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "TestSupport.h"
#include "runs/ClusterJob.h"

using taltest::RunTalbatch;
using taltest::TempDir;

namespace {

bool ClusterAnswers() {
  if (!std::getenv("SLURM_CONF") || !tal::MissingSlurmCommandsMessage().empty()) return false;
  QProcess sinfo;
  sinfo.start("sinfo", {"-h"});
  return sinfo.waitForFinished(10000) && sinfo.exitCode() == 0;
}

// Every file of `folder` but the table (which names its deck's folder) with its bytes, names sorted.
std::vector<std::pair<std::string, std::string>> FilesOf(const std::string& folder) {
  std::vector<std::pair<std::string, std::string>> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().extension() != ".TBL")
      files.emplace_back(entry.path().filename().string(), taltest::ReadFile(entry.path().string()));
  std::sort(files.begin(), files.end());
  return files;
}

class TableClusterRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RunTalbatch({"settings", "set", dir.path(), "talpix_dir=" + dir.file("bin")}).exitCode, 0);
    // Records its arguments (one line, written at once: runs go side by side), leaves a listing and
    // an output named after the run deck, and fails run 3.
    dir.writeScript("bin/TALPIX32",
                    "line=$(printf '%s|' \"$@\"); echo \"$line\" >> \"$(dirname \"$0\")/calls.txt\"\n"
                    "cp \"$1\" \"${1%.*}.LST\"; echo out > \"${1%.*}.OUT\"\n"
                    "case \"$1\" in *2.TMP) echo 'no convergence' >&2; exit 4;; esac\n");
  }
  // A table of `runs` runs of deck NAME in `folder`, P running 1, 2, 3, ...
  void MakeTable(const std::string& folder, const std::string& name, int runs) {
    dir.write(folder + "/" + name + ".dck", "CONSTANTS 1\nP = 1\nASSIGN " + name + ".OUT 12\n");
    const std::string work = dir.file(folder);
    ASSERT_EQ(RunTalbatch({"table", "new", name + ".dck", "--runs", std::to_string(runs), "--vars", "P"}, work).exitCode, 0);
    ASSERT_EQ(RunTalbatch({"table", "set", name + ".TBL", "P", "--from", "1", "--step", "1"}, work).exitCode, 0);
  }
  taltest::ProcessResult Run(const std::string& folder, const std::string& table, std::vector<std::string> extra) {
    std::vector<std::string> args{"table", "run", table, "--program-dir", dir.path()};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunTalbatch(args, dir.file(folder));
  }
  TempDir dir;
};

}  // namespace

TEST_F(TableClusterRun, LeavesWhatALocalRunLeavesAndNamesTheFailedRun) {
  if (!ClusterAnswers()) GTEST_SKIP() << "No Slurm cluster answers (SLURM_CONF unset or sinfo fails): cluster run skipped";
  MakeTable("local", "solar", 8);
  MakeTable("cluster", "solar", 8);
  const auto local = Run("local", "solar.TBL", {"-j", "2"});
  const auto cluster = Run("cluster", "solar.TBL", {"--slurm", "--max-parallel", "3", "--time", "00:05:00"});
  EXPECT_EQ(cluster.exitCode, 1) << cluster.err;
  EXPECT_EQ(cluster.err, local.err);
  EXPECT_EQ(cluster.err, "talbatch table: Run 3 of 8 did not end with exit status 0; the run log lists every run.\n");
  EXPECT_NE(cluster.out.find("run 3: TALPIX32 ended with exit status 4"), std::string::npos) << cluster.out;
  EXPECT_EQ(FilesOf(dir.file("cluster")), FilesOf(dir.file("local"))) << "same result files, no run decks, no job folder";
}

TEST_F(TableClusterRun, ADeckNameWithABlankAndAQuoteInAFolderWithAPercentReachesTheEngineWhole) {
  if (!ClusterAnswers()) GTEST_SKIP() << "No Slurm cluster answers (SLURM_CONF unset or sinfo fails): cluster run skipped";
  MakeTable("w 100%a", "it's a deck", 2);
  const auto r = Run("w 100%a", "it's a deck.TBL", {"--slurm"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(taltest::ReadFile(dir.file("bin/calls.txt")).find(dir.file("w 100%a/IT'S A DECK1.TMP") + "|/N|\n"),
            std::string::npos);
}

TEST_F(TableClusterRun, WithoutSlurmOrWithBadOptionsNothingIsSubmitted) {
  MakeTable("w", "solar", 2);
  QProcess talbatch;
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert("PATH", QString::fromStdString(dir.file("bin")));  // no Slurm commands there
  talbatch.setProcessEnvironment(env);
  talbatch.setWorkingDirectory(QString::fromStdString(dir.file("w")));
  talbatch.start(TAL_TALBATCH_PATH, {"table", "run", "solar.TBL", "--slurm", "--program-dir", QString::fromStdString(dir.path())});
  ASSERT_TRUE(talbatch.waitForFinished(20000));
  EXPECT_EQ(talbatch.exitCode(), 2);
  EXPECT_NE(talbatch.readAllStandardError().toStdString().find("sbatch, squeue, scancel, scontrol were not found"),
            std::string::npos);
  for (const std::vector<std::string>& bad : {std::vector<std::string>{"--slurm", "--time", "soon"},
                                              {"--slurm", "--max-parallel", "0"},
                                              {"--partition", "p"}})
    EXPECT_EQ(Run("w", "solar.TBL", bad).exitCode, 2) << bad[1];
  EXPECT_FALSE(taltest::Exists(dir.file("bin/calls.txt")));
  EXPECT_FALSE(taltest::Exists(dir.file("w/SOLAR.TMP")));
}
