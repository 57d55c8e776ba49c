#include "runs/ProgramRunner.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include <sys/types.h>
#include <unistd.h>

#include "runs/RunMonitor.h"
#include "support/Files.h"
#include "support/Messages.h"

namespace fs = std::filesystem;

namespace tal {

namespace {

// Names and arguments are file bytes; the system gets them as they are.
QString ToSystem(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }

QStringList ArgumentsOf(const ProgramCommand& command) {
  QStringList list;
  for (const auto& a : command.arguments) list << ToSystem(a);
  return list;
}

std::string QuoteForDisplay(const std::string& word) {
  if (!word.empty() && word.find_first_of(" \t\"") == std::string::npos) return word;
  std::string quoted = "\"";
  for (char c : word) quoted += c == '"' ? std::string("\"\"\"") : std::string(1, c);
  return quoted + "\"";
}

// Qt reports a failed start with the system's text for the error; find its number.
int CodeFromErrorText(const QString& text) {
  for (int code = 1; code < 200; ++code) {
    const char* reason = std::strerror(code);
    if (reason && text.contains(QString::fromLocal8Bit(reason))) return code;
  }
  return EPERM;
}

std::string ResolveAgainst(const std::string& path, const std::string& workingDir) {
  if (!path.empty() && path.front() == '/') return path;
  std::error_code ec;
  std::string base = workingDir.empty() ? fs::current_path(ec).string() : workingDir;
  return JoinPath(base, path);
}

void Configure(QProcess& process, const ProgramCommand& command, const std::string& workingDir) {
  process.setProgram(ToSystem(command.program));
  process.setArguments(ArgumentsOf(command));
  if (!workingDir.empty()) process.setWorkingDirectory(ToSystem(workingDir));
  process.setStandardInputFile(QProcess::nullDevice());
}

}  // namespace

std::string ProgramCommand::text() const {
  std::string line = QuoteForDisplay(program);
  for (const auto& a : arguments) line += " " + QuoteForDisplay(a);
  return line;
}

ProgramCommand CommandFromLine(std::string_view line, const std::vector<std::string>& appended) {
  // Latin-1 keeps every byte as it is through the split.
  QStringList words = QProcess::splitCommand(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
  ProgramCommand command;
  if (!words.isEmpty()) command.program = words.takeFirst().toLatin1().toStdString();
  for (const auto& w : words) command.arguments.push_back(w.toLatin1().toStdString());
  for (const auto& a : appended) command.arguments.push_back(a);
  return command;
}

int StartFailureCode(const ProgramCommand& command, const std::string& workingDir) {
  if (command.program.empty()) return ENOENT;
  std::error_code ec;
  if (!workingDir.empty() && !fs::is_directory(workingDir, ec)) return 3;
  std::string path;
  if (HasFolder(command.program)) {
    path = ResolveAgainst(command.program, workingDir);
    if (!fs::is_directory(FolderOf(path), ec)) return 3;
    if (!fs::exists(path, ec)) return ENOENT;
  } else {
    QString found = QStandardPaths::findExecutable(ToSystem(command.program));
    if (found.isEmpty()) return ENOENT;
    path = QFile::encodeName(found).toStdString();
  }
  if (fs::is_directory(path, ec) || ::access(path.c_str(), X_OK) != 0) return EACCES;
  return 0;
}

std::string RunFailureMessage(const ProgramCommand& command, int code) {
  if (code == ENOENT) return "File " + command.program + " was not found.";
  return "Error " + std::to_string(code) + " encountered while trying to call " + command.program;
}

std::string DescribeOutcome(const RunOutcome& outcome) {
  char duration[32];
  std::snprintf(duration, sizeof duration, outcome.seconds < 10 ? "%.3f s" : "%.1f s", outcome.seconds);
  const std::string& name = outcome.program;
  switch (outcome.end) {
    case RunEnd::NotStarted:
      return name + " could not be started (error " + std::to_string(outcome.failureCode) + ")";
    case RunEnd::Finished:
      return name + " ended with exit status " + std::to_string(outcome.exitCode) + " after " + duration;
    case RunEnd::Crashed:
      return name + " ended abnormally" + (outcome.reason.empty() ? "" : " (" + outcome.reason + ")") + " after " +
             duration;
    case RunEnd::Stopped:
      return name + " was stopped after " + duration;
  }
  return name;
}

// One started program: its process, output forwarding, Stop and outcome.
class WatchedProgram {
 public:
  WatchedProgram(const ProgramCommand& command, const RunOptions& options) : command_(command), options_(options) {
    outcome_.program = FileNameOf(command.program);
  }

  ~WatchedProgram() {
    // A program still running when its watcher goes is ended, not left behind unseen.
    if (process_.state() != QProcess::NotRunning) {
      signalGroup(SIGKILL);
      process_.waitForFinished(1000);
      Finish();
    }
  }

  bool Start(std::function<void(const RunOutcome&)> finished) {
    finished_ = std::move(finished);
    if (int code = StartFailureCode(command_, options_.workingDirectory)) return NotStarted(code);
    Configure(process_, command_, options_.workingDirectory);
    if (options_.ownProcessGroup) process_.setChildProcessModifier([] { ::setpgid(0, 0); });
    clock_.start();
    process_.start();
    if (!process_.waitForStarted(-1)) return NotStarted(CodeFromErrorText(process_.errorString()));
    pid_ = process_.processId();
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, &process_, [this] { Forward(QProcess::StandardOutput); });
    QObject::connect(&process_, &QProcess::readyReadStandardError, &process_, [this] { Forward(QProcess::StandardError); });
    QObject::connect(&process_, &QProcess::finished, &process_, [this] { Finish(); });
    runId_ = RunMonitor::instance().beginRun(command_.text(), [this] {
      if (stopped_) {  // a second Stop does not wait for the grace period
        signalGroup(SIGKILL);
        return;
      }
      stopped_ = true;
      sinceStop_.start();
      signalGroup(SIGTERM);
      QTimer::singleShot(RunMonitor::StopGraceMilliseconds, &process_, [this] { signalGroup(SIGKILL); });
    });
    running_ = true;
    return true;
  }

  bool running() const { return running_; }
  const RunOutcome& outcome() const { return outcome_; }

  void WaitWithoutEvents(int milliseconds) {
    if (!running_) return;
    if (process_.waitForFinished(milliseconds) || process_.state() == QProcess::NotRunning) {
      Finish();
      return;
    }
    if (stopped_ && sinceStop_.elapsed() > RunMonitor::StopGraceMilliseconds) signalGroup(SIGKILL);
  }

 private:
  bool NotStarted(int code) {
    outcome_.failureCode = code;
    RunMonitor::instance().noteNotStarted(command_.text(), outcome_);
    return false;
  }

  void signalGroup(int sig) {
    if (process_.state() != QProcess::NotRunning)
      ::kill(options_.ownProcessGroup ? -static_cast<pid_t>(pid_) : static_cast<pid_t>(pid_), sig);
  }

  void Forward(QProcess::ProcessChannel channel) {
    process_.setReadChannel(channel);
    QByteArray bytes = process_.readAll();
    if (bytes.isEmpty()) return;
    std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (channel == QProcess::StandardError) {
      Pass(options_.standardError, text);
      return;
    }
    progressLines_.Add(
        text, [this](std::string_view passed) { Pass(options_.standardOutput, passed); },
        [this](const ProgressReport& report) {
          if (options_.progress) options_.progress(report);
        });
  }

  static void Pass(const std::function<void(std::string_view)>& receiver, std::string_view text) {
    if (text.empty()) return;
    RunMonitor::instance().appendOutput(text);
    if (receiver) receiver(text);
  }

  void Finish() {
    if (!running_) return;
    running_ = false;
    Forward(QProcess::StandardOutput);
    Forward(QProcess::StandardError);
    progressLines_.Finish([this](std::string_view passed) { Pass(options_.standardOutput, passed); });
    outcome_.seconds = static_cast<double>(clock_.elapsed()) / 1000.0;
    if (stopped_)
      outcome_.end = RunEnd::Stopped;
    else if (process_.exitStatus() == QProcess::CrashExit)
      outcome_.end = RunEnd::Crashed;
    else {
      outcome_.end = RunEnd::Finished;
      outcome_.exitCode = process_.exitCode();
    }
    RunMonitor::instance().endRun(runId_, outcome_);
    if (finished_) finished_(outcome_);
  }

  ProgramCommand command_;
  RunOptions options_;
  RunOutcome outcome_;
  ProgressFilter progressLines_;
  QProcess process_;
  QElapsedTimer clock_, sinceStop_;
  qint64 pid_ = 0;
  int runId_ = 0;
  bool stopped_ = false;
  bool running_ = false;
  std::function<void(const RunOutcome&)> finished_;
};

ProgramRun::ProgramRun(const ProgramCommand& command, const RunOptions& options)
    : watched_(new WatchedProgram(command, options)) {}
ProgramRun::~ProgramRun() { delete watched_; }
bool ProgramRun::Start(std::function<void(const RunOutcome&)> finished) { return watched_->Start(std::move(finished)); }
bool ProgramRun::running() const { return watched_->running(); }
const RunOutcome& ProgramRun::outcome() const { return watched_->outcome(); }
void ProgramRun::WaitWithoutEvents(int milliseconds) { watched_->WaitWithoutEvents(milliseconds); }

RunOutcome RunProgram(const ProgramCommand& command, const RunOptions& options) {
  QEventLoop loop;
  ProgramRun run(command, options);
  if (!run.Start([&loop](const RunOutcome&) { loop.quit(); })) return run.outcome();
  while (run.running()) {
    loop.exec();
    // Quitting the application ends every event loop at once: keep waiting without spinning,
    // and without the event loop end a stopped program by force after the grace period.
    if (run.running()) run.WaitWithoutEvents(100);
  }
  return run.outcome();
}

bool RunProgramOK(const ProgramCommand& command) {
  RunOutcome outcome = RunProgram(command);
  if (outcome.end != RunEnd::NotStarted) return true;
  ShowMessageKind(RunFailureMessage(command, outcome.failureCode), ErrorOk, true);
  return false;
}

bool RunProgramOK(const std::string& commandLine) { return RunProgramOK(CommandFromLine(commandLine)); }

namespace {

// The programs started and left running that have not ended yet.
struct LeftRunning {
  QProcess* process;
  std::string name;
  StartedProgram kind;
  bool stopped;
};
// Never destroyed: a program still running when TALSHELL ends keeps its QProcess, which must not
// be deleted (its destructor would kill the program), listed here to the very end.
std::vector<LeftRunning>& ProgramsLeftRunning() {
  static auto* programs = new std::vector<LeftRunning>;
  return *programs;
}

void SignalGroup(QProcess* process, int sig) {
  if (process->state() != QProcess::NotRunning && process->processId() > 0)
    ::kill(-static_cast<pid_t>(process->processId()), sig);
}

}  // namespace

int StartProgram(const ProgramCommand& command, const std::string& workingDir, StartedProgram kind) {
  if (int code = StartFailureCode(command, workingDir)) return code;
  // Owned by nobody: it deletes itself once the program has ended, and a program still running
  // when TALSHELL ends is left running (no destructor kills it).
  auto* process = new QProcess;
  Configure(*process, command, workingDir);
  // Its own process group keeps the terminal's interrupt key away from it; a write after
  // TALSHELL has ended fails instead of killing the program.
  process->setChildProcessModifier([] {
    ::setpgid(0, 0);
    std::signal(SIGPIPE, SIG_IGN);
  });
  process->start();
  if (!process->waitForStarted(-1)) {
    int code = CodeFromErrorText(process->errorString());
    delete process;
    return code;
  }
  RunMonitor::instance().noteStartedAlone(command.text());
  std::string name = FileNameOf(command.program);
  ProgramsLeftRunning().push_back({process, name, kind, false});
  auto forward = [process](QProcess::ProcessChannel channel) {
    process->setReadChannel(channel);
    QByteArray bytes = process->readAll();
    if (!bytes.isEmpty())
      RunMonitor::instance().appendOutput(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  };
  QObject::connect(process, &QProcess::readyReadStandardOutput, process, [forward] { forward(QProcess::StandardOutput); });
  QObject::connect(process, &QProcess::readyReadStandardError, process, [forward] { forward(QProcess::StandardError); });
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  QObject::connect(process, &QProcess::finished, process, [process, forward, clock, name, kind] {
    forward(QProcess::StandardOutput);
    forward(QProcess::StandardError);
    RunOutcome outcome;
    outcome.program = name;
    outcome.seconds = static_cast<double>(clock->elapsed()) / 1000.0;
    auto& programs = ProgramsLeftRunning();
    auto entry = std::find_if(programs.begin(), programs.end(), [process](const LeftRunning& p) { return p.process == process; });
    const bool stopped = entry != programs.end() && entry->stopped;
    if (entry != programs.end()) programs.erase(entry);
    if (stopped) {
      outcome.end = RunEnd::Stopped;
    } else if (process->exitStatus() == QProcess::CrashExit) {
      outcome.end = RunEnd::Crashed;
    } else {
      outcome.end = RunEnd::Finished;
      outcome.exitCode = process->exitCode();
    }
    // A program stopped on the way out is not a failure to show.
    bool failed = outcome.end == RunEnd::Crashed || (outcome.end == RunEnd::Finished && outcome.exitCode != 0);
    RunMonitor::instance().noteAloneEnded(outcome, failed && kind == StartedProgram::Command);
    process->deleteLater();
  });
  return 0;
}

std::vector<std::string> CommandsStillRunning() {
  std::vector<std::string> names;
  for (const LeftRunning& p : ProgramsLeftRunning())
    if (p.kind == StartedProgram::Command) names.push_back(p.name);
  return names;
}

std::string CommandsStillRunningQuestion(const std::vector<std::string>& names) {
  std::string list;
  for (const auto& name : names) list += (list.empty() ? "" : ", ") + name;
  return "Started by TALSHELL and still running: " + list +
         ".  Once TALSHELL has ended, their output is no longer shown.  Stop them and close?  (No closes and "
         "leaves them running.)";
}

void StopCommandsStillRunning() {
  std::vector<QProcess*> stopping;
  for (LeftRunning& p : ProgramsLeftRunning()) {
    if (p.kind != StartedProgram::Command) continue;
    p.stopped = true;
    SignalGroup(p.process, SIGTERM);
    stopping.push_back(p.process);
  }
  QElapsedTimer clock;
  clock.start();
  for (QProcess* process : stopping) {
    // Waiting delivers its end (which takes it off the list); a program still running after the
    // grace period is ended by force.
    const auto left = std::max<qint64>(0, RunMonitor::StopGraceMilliseconds - clock.elapsed());
    if (process->waitForFinished(static_cast<int>(left))) continue;
    SignalGroup(process, SIGKILL);
    process->waitForFinished(1000);
  }
}

}  // namespace tal
