#include "runs/ClusterJob.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <charconv>
#include <filesystem>
#include <map>
#include <optional>

#include <unistd.h>

#include "runs/ProgramRunner.h"
#include "runs/RunMonitor.h"
#include "support/Files.h"

namespace fs = std::filesystem;

namespace tal {

namespace {

// A task that squeue no longer lists and that left no status is asked after by scontrol once it
// has been missing this many polls in a row (a status written on a shared file system may show
// a moment late).
constexpr int UnlistedPollsBeforeAsking = 3;
// How long one Slurm command may take before it counts as not answering.
constexpr int SlurmCommandTimeoutMilliseconds = 30000;
// The engine output of a failed run kept in the run log.
constexpr std::size_t FailedOutputLogBytes = 4000;

struct Captured {
  bool started = false;
  int exitCode = -1;
  std::string out;
  std::string err;
};

QString ToSystem(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }

// Runs a Slurm command without a shell and returns what it printed, keeping events going while
// it runs so the windows stay responsive.
Captured RunSlurmCommand(const std::string& program, const std::vector<std::string>& arguments) {
  QProcess process;
  QStringList list;
  for (const auto& a : arguments) list << ToSystem(a);
  process.setProgram(ToSystem(program));
  process.setArguments(list);
  process.setStandardInputFile(QProcess::nullDevice());
  Captured result;
  QEventLoop loop;
  QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
  QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError e) {
    if (e == QProcess::FailedToStart) loop.quit();
  });
  QTimer::singleShot(SlurmCommandTimeoutMilliseconds, &loop, &QEventLoop::quit);
  process.start();
  if (process.state() != QProcess::NotRunning || process.error() != QProcess::FailedToStart) loop.exec();
  if (process.state() != QProcess::NotRunning) {
    process.kill();
    process.waitForFinished(1000);
    result.err = program + " did not answer within 30 seconds.";
    return result;
  }
  result.started = process.error() != QProcess::FailedToStart;
  if (result.started && process.exitStatus() == QProcess::NormalExit) result.exitCode = process.exitCode();
  result.out = process.readAllStandardOutput().toStdString();
  result.err = process.readAllStandardError().toStdString();
  return result;
}

std::string FirstLine(const std::string& text) {
  auto end = text.find('\n');
  return text.substr(0, end);
}

std::optional<int> ParseInt(std::string_view text) {
  int value = 0;
  auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || stop == text.data()) return std::nullopt;
  return value;
}

std::string TaskStatusFile(const std::string& folder, int taskNumber) {
  return JoinPath(folder, "run-" + std::to_string(taskNumber) + ".status");
}

std::string TaskOutputFile(const std::string& folder, int taskNumber) {
  return JoinPath(folder, "run-" + std::to_string(taskNumber) + ".out");
}

// "123_4 RUNNING" lines of squeue: task number to state.
std::map<int, ClusterTaskState> ParseQueue(const std::string& text, const std::string& jobId) {
  std::map<int, ClusterTaskState> listed;
  for (const auto& line : SplitLines(text)) {
    const auto blank = line.find(' ');
    if (blank == std::string::npos) continue;
    const std::string id = line.substr(0, blank);
    const std::string state = line.substr(blank + 1);
    if (id.rfind(jobId + "_", 0) != 0) continue;
    const auto number = ParseInt(std::string_view(id).substr(jobId.size() + 1));
    if (!number) continue;  // "123_[4-8%2]": not split, listed as pending below by -r
    const bool waiting = state == "PENDING" || state == "CONFIGURING" || state == "REQUEUED";
    listed[*number] = waiting ? ClusterTaskState::Pending : ClusterTaskState::Running;
  }
  return listed;
}

// The value of `key` in scontrol's one-line "Key=Value Key=Value" output.
std::string FieldOf(const std::string& text, const std::string& key) {
  const auto at = text.find(" " + key + "=");
  const auto start = at == std::string::npos ? (text.rfind(key + "=", 0) == 0 ? 0 : std::string::npos) : at + 1;
  if (start == std::string::npos) return "";
  const auto valueStart = start + key.size() + 1;
  return text.substr(valueStart, text.find_first_of(" \n", valueStart) - valueStart);
}

}  // namespace

std::string SlurmEndDescription(const std::string& state, const std::string& reason) {
  if (state.empty()) return "ENDED WITHOUT AN EXIT STATUS";
  if (reason.empty() || reason == "None") return state;
  return state + ", reason " + reason;
}

std::string SlurmOutputPattern(const std::string& statusDir) {
  if (statusDir.find('\\') != std::string::npos) return JoinPath(statusDir, "slurm.txt");
  std::string escaped;
  for (char c : statusDir) escaped += c == '%' ? std::string("%%") : std::string(1, c);
  return JoinPath(escaped, "slurm-%a.txt");
}

std::string DescribeCounts(const ClusterCounts& c) {
  const int total = c.pending + c.running + c.finished + c.failed;
  return std::to_string(total) + (total == 1 ? " run: " : " runs: ") + std::to_string(c.pending) + " pending, " +
         std::to_string(c.running) + " running, " + std::to_string(c.finished) + " finished, " +
         std::to_string(c.failed) + " failed";
}

std::string MissingSlurmCommandsMessage() {
  std::string missing;
  for (const char* tool : {"sbatch", "squeue", "scancel", "scontrol"}) {
    if (QStandardPaths::findExecutable(tool).isEmpty()) missing += std::string(missing.empty() ? "" : ", ") + tool;
  }
  if (missing.empty()) return "";
  return "The Slurm commands " + missing +
         " were not found. Runs can be sent to a cluster only from a machine where Slurm is installed "
         "(sbatch, squeue, scancel and scontrol on the PATH); nothing was submitted.";
}

std::string QuoteForShell(std::string_view word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

namespace {

std::string QuotedWords(const std::vector<std::string>& words) {
  std::string line;
  for (const auto& word : words) line += (line.empty() ? "" : " ") + QuoteForShell(word);
  return line;
}

}  // namespace

std::string ClusterJobScript(const std::string& engine, const std::vector<std::string>& decks,
                             const std::string& statusDir, const ClusterTaskCommands& commands) {
  std::string script =
      "#!/bin/bash\n"
      "# Task i of this job array runs the engine on run deck i of a TALSHELL table; its output\n"
      "# and exit status are left in the status folder for TALSHELL to read.\n";
  script += "engine=" + QuoteForShell(engine) + "\n";
  script += "status_dir=" + QuoteForShell(statusDir) + "\n";
  script += "decks=(\n";
  for (const auto& deck : decks) script += "  " + QuoteForShell(deck) + "\n";
  script += ")\n";
  script +=
      "# Ended by Slurm (scancel, the time limit): no exit status is left; Slurm says why.\n"
      "trap 'exit 143' TERM INT\n"
      "i=${SLURM_ARRAY_TASK_ID:?this script runs as a Slurm job array}\n"
      "deck=${decks[$((i - 1))]}\n"
      "exec > \"$status_dir/run-$i.out\" 2>&1\n";
  if (!commands.before.empty()) script += QuotedWords(commands.before) + "\n";
  script +=
      "\"$engine\" \"$deck\" /N\n"
      "code=$?\n";
  if (!commands.after.empty()) script += QuotedWords(commands.after) + "\n";
  script +=
      "echo \"$code $SECONDS\" > \"$status_dir/run-$i.status.part\" && mv \"$status_dir/run-$i.status.part\" \"$status_dir/run-$i.status\"\n"
      "exit \"$code\"\n";
  return script;
}

std::vector<std::string> SbatchArguments(const ClusterSettings& settings, int count, const std::string& workDir,
                                         const std::string& statusDir, const std::string& script) {
  std::string array = "--array=1-" + std::to_string(count);
  if (settings.maxParallel > 0) array += "%" + std::to_string(settings.maxParallel);
  std::vector<std::string> arguments = {"--parsable", array, "--job-name=talshell-table", "--chdir=" + workDir,
                                        "--output=" + SlurmOutputPattern(statusDir)};
  if (!settings.partition.empty()) arguments.push_back("--partition=" + settings.partition);
  if (!settings.timeLimit.empty()) arguments.push_back("--time=" + settings.timeLimit);
  if (!settings.sbatchOptions.empty()) {
    auto extra = CommandFromLine(settings.sbatchOptions);
    arguments.push_back(extra.program);
    arguments.insert(arguments.end(), extra.arguments.begin(), extra.arguments.end());
  }
  arguments.push_back(script);
  return arguments;
}

ClusterJob::ClusterJob(std::string engine, std::vector<std::string> decks, std::string workDir, ClusterSettings settings,
                       ClusterTaskCommands commands)
    : engine_(std::move(engine)),
      workDir_(std::move(workDir)),
      settings_(std::move(settings)),
      commands_(std::move(commands)) {
  for (auto& deck : decks) {
    ClusterTask task;
    task.deck = std::move(deck);
    tasks_.push_back(std::move(task));
  }
  unlistedPolls_.assign(tasks_.size(), 0);
}

ClusterJob::~ClusterJob() {
  if (jobFolder_.empty()) return;
  std::error_code ec;
  fs::remove_all(jobFolder_, ec);
}

std::string ClusterJob::submit() {
  if (tasks_.empty()) return "The table has no runs to send to the cluster.";
  if (auto missing = MissingSlurmCommandsMessage(); !missing.empty()) return missing;
  if (auto problem = CheckClusterSettings(settings_); !problem.empty()) return problem;
  const std::string stamp = QDateTime::currentDateTimeUtc().toString("yyyyMMdd-HHmmss").toStdString();
  jobFolder_ = JoinPath(workDir_, ".talshell-cluster-" + stamp + "-" + std::to_string(getpid()));
  std::error_code ec;
  fs::create_directory(jobFolder_, ec);
  if (ec) {
    std::string message = "The folder " + jobFolder_ + " for the cluster job cannot be made: " + ec.message();
    jobFolder_.clear();
    return message;
  }
  std::vector<std::string> decks;
  for (const auto& task : tasks_) decks.push_back(task.deck);
  const std::string script = JoinPath(jobFolder_, "job.sh");
  if (auto error = WriteFileAtomically(script, ClusterJobScript(engine_, decks, jobFolder_, commands_)); !error.empty())
    return error;
  const auto arguments = SbatchArguments(settings_, static_cast<int>(tasks_.size()), workDir_, jobFolder_, script);
  const Captured answer = RunSlurmCommand("sbatch", arguments);
  const std::string id = FirstLine(answer.out).substr(0, FirstLine(answer.out).find(';'));
  if (!answer.started || answer.exitCode != 0 || !ParseInt(id)) {
    std::string why = FirstLine(answer.err);
    return "The cluster did not accept the job: " + (why.empty() ? std::string("sbatch failed.") : why);
  }
  jobId_ = id;
  return "";
}

void ClusterJob::readEndedTask(int index) {
  ClusterTask& task = tasks_[index];
  const int number = index + 1;
  const auto status = ReadWholeFile(TaskStatusFile(jobFolder_, number));
  if (!status) return;
  const std::string line = FirstLine(*status);
  const auto code = ParseInt(line);
  if (!code) return;
  task.exitCode = *code;
  if (const auto blank = line.find(' '); blank != std::string::npos) {
    task.seconds = ParseInt(std::string_view(line).substr(blank + 1)).value_or(0);
  }
  task.state = *code == 0 ? ClusterTaskState::Finished : ClusterTaskState::Failed;
  if (auto output = ReadWholeFile(TaskOutputFile(jobFolder_, number))) task.output = *output;
}

void ClusterJob::askWhyEnded(int index) {
  ClusterTask& task = tasks_[index];
  const std::string id = jobId_ + "_" + std::to_string(index + 1);
  const Captured answer = RunSlurmCommand("scontrol", {"show", "job", "-o", id});
  std::string state = answer.exitCode == 0 ? FieldOf(answer.out, "JobState") : "";
  std::string reason = answer.exitCode == 0 ? FieldOf(answer.out, "Reason") : "";
  if (state == "PENDING" || state == "RUNNING" || state == "CONFIGURING" || state == "COMPLETING") return;
  if (state.empty()) {
    // The controller has forgotten the task already: the accounting still knows how it ended.
    const Captured accounted = RunSlurmCommand("sacct", {"-n", "-P", "-X", "-j", id, "-o", "State,Reason"});
    const std::string line = accounted.exitCode == 0 ? FirstLine(accounted.out) : "";
    state = line.substr(0, line.find('|'));
    reason = line.find('|') == std::string::npos ? "" : line.substr(line.find('|') + 1);
  }
  task.state = ClusterTaskState::Failed;
  task.reason = SlurmEndDescription(state, reason);
}

bool ClusterJob::poll() {
  if (jobId_.empty()) return false;
  const Captured answer = RunSlurmCommand("squeue", {"-h", "-r", "-j", jobId_, "-o", "%i %T"});
  // A job that has left the queue entirely is "invalid" to squeue: nothing is listed then.
  const bool gone = answer.exitCode != 0 && answer.err.find("Invalid job id") != std::string::npos;
  if (!answer.started || (answer.exitCode != 0 && !gone)) return false;
  const auto listed = ParseQueue(gone ? std::string() : answer.out, jobId_);
  for (std::size_t i = 0; i < tasks_.size(); ++i) {
    ClusterTask& task = tasks_[i];
    if (task.state == ClusterTaskState::Finished || task.state == ClusterTaskState::Failed) continue;
    if (auto found = listed.find(static_cast<int>(i) + 1); found != listed.end()) {
      task.state = found->second;
      unlistedPolls_[i] = 0;
      continue;
    }
    if (cancelled_) {
      // Whatever a run stopped by the user leaves (an engine killed half-way may still report a
      // status), it counts as cancelled.
      readEndedTask(static_cast<int>(i));
      task.state = ClusterTaskState::Failed;
      task.exitCode = -1;
      task.reason = "CANCELLED";
      continue;
    }
    readEndedTask(static_cast<int>(i));
    if (task.state == ClusterTaskState::Finished || task.state == ClusterTaskState::Failed) continue;
    if (++unlistedPolls_[i] >= UnlistedPollsBeforeAsking) askWhyEnded(static_cast<int>(i));
  }
  return true;
}

void ClusterJob::cancel() {
  if (jobId_.empty() || cancelled_) return;
  cancelled_ = true;
  RunSlurmCommand("scancel", {jobId_});
}

bool ClusterJob::finished() const {
  for (const auto& task : tasks_) {
    if (task.state == ClusterTaskState::Pending || task.state == ClusterTaskState::Running) return false;
  }
  return true;
}

ClusterCounts ClusterJob::counts() const {
  ClusterCounts counts;
  for (const auto& task : tasks_) {
    switch (task.state) {
      case ClusterTaskState::Pending: ++counts.pending; break;
      case ClusterTaskState::Running: ++counts.running; break;
      case ClusterTaskState::Finished: ++counts.finished; break;
      case ClusterTaskState::Failed: ++counts.failed; break;
    }
  }
  return counts;
}

namespace {

void LogTaskEnd(const ClusterTask& task, int number) {
  std::string line = "Run " + std::to_string(number) + " (" + FileNameOf(task.deck) + "): ";
  if (task.exitCode >= 0) line += "exit status " + std::to_string(task.exitCode);
  else line += task.reason;
  RunMonitor::instance().appendOutput(line + "\n");
  if (task.state == ClusterTaskState::Failed && !task.output.empty()) {
    std::string tail = task.output.size() > FailedOutputLogBytes
                           ? task.output.substr(task.output.size() - FailedOutputLogBytes)
                           : task.output;
    if (tail.back() != '\n') tail += '\n';
    RunMonitor::instance().appendOutput(tail);
  }
}

void WaitKeepingEvents(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace

ClusterRunResult RunOnCluster(ClusterJob& job, const ClusterRunOptions& options) {
  ClusterRunResult result;
  RunMonitor& monitor = RunMonitor::instance();
  if (result.error = job.submit(); !result.error.empty()) return result;
  QElapsedTimer clock;
  clock.start();
  const int runId = monitor.beginRun("sbatch: cluster job " + job.jobId() + " of " +
                                         std::to_string(job.tasks().size()) + " runs",
                                     [&job] { job.cancel(); });
  std::vector<bool> logged(job.tasks().size(), false);
  for (;;) {
    job.poll();
    for (std::size_t i = 0; i < job.tasks().size(); ++i) {
      const auto& task = job.tasks()[i];
      const bool ended = task.state == ClusterTaskState::Finished || task.state == ClusterTaskState::Failed;
      if (ended && !logged[i]) {
        LogTaskEnd(task, static_cast<int>(i) + 1);
        if (options.ended) options.ended(static_cast<int>(i) + 1, task);
        logged[i] = true;
      }
    }
    if (options.progress) options.progress(job.counts());
    if (job.finished()) break;
    if (options.stopRequested && options.stopRequested()) job.cancel();
    WaitKeepingEvents(options.pollMilliseconds);
  }
  result.stopped = job.cancelled();
  RunOutcome outcome;
  outcome.program = "cluster job " + job.jobId();
  outcome.seconds = clock.elapsed() / 1000.0;
  outcome.end = result.stopped ? RunEnd::Stopped : RunEnd::Finished;
  outcome.exitCode = job.counts().failed == 0 ? 0 : 1;
  monitor.endRun(runId, outcome);
  return result;
}

}  // namespace tal
