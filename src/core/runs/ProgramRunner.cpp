#include "runs/ProgramRunner.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>

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
  std::snprintf(duration, sizeof duration, "%.1f s", outcome.seconds);
  const std::string& name = outcome.program;
  switch (outcome.end) {
    case RunEnd::NotStarted:
      return name + " could not be started (error " + std::to_string(outcome.failureCode) + ")";
    case RunEnd::Finished:
      return name + " ended with exit status " + std::to_string(outcome.exitCode) + " after " + duration;
    case RunEnd::Crashed:
      return name + " ended abnormally after " + duration;
    case RunEnd::Stopped:
      return name + " was stopped after " + duration;
  }
  return name;
}

RunOutcome RunProgram(const ProgramCommand& command, const RunOptions& options) {
  RunOutcome outcome;
  outcome.program = FileNameOf(command.program);
  auto notStarted = [&](int code) {
    outcome.failureCode = code;
    RunMonitor::instance().noteNotStarted(command.text(), outcome);
    return outcome;
  };
  if (int code = StartFailureCode(command, options.workingDirectory)) return notStarted(code);

  QProcess process;
  Configure(process, command, options.workingDirectory);
  if (options.ownProcessGroup) process.setChildProcessModifier([] { ::setpgid(0, 0); });
  QElapsedTimer clock;
  clock.start();
  process.start();
  if (!process.waitForStarted(-1)) return notStarted(CodeFromErrorText(process.errorString()));

  auto& monitor = RunMonitor::instance();
  auto forward = [&](QProcess::ProcessChannel channel) {
    process.setReadChannel(channel);
    QByteArray bytes = process.readAll();
    if (bytes.isEmpty()) return;
    monitor.appendOutput(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    const auto& receiver = channel == QProcess::StandardOutput ? options.standardOutput : options.standardError;
    if (receiver) receiver(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  };
  QObject::connect(&process, &QProcess::readyReadStandardOutput, &process,
                   [&] { forward(QProcess::StandardOutput); });
  QObject::connect(&process, &QProcess::readyReadStandardError, &process,
                   [&] { forward(QProcess::StandardError); });

  bool stopped = false;
  QElapsedTimer sinceStop;
  const qint64 pid = process.processId();
  const bool group = options.ownProcessGroup;
  auto signalGroup = [&process, pid, group](int sig) {
    if (process.state() != QProcess::NotRunning) ::kill(group ? -static_cast<pid_t>(pid) : static_cast<pid_t>(pid), sig);
  };
  int runId = monitor.beginRun(command.text(), [&] {
    if (stopped) {  // a second Stop does not wait for the grace period
      signalGroup(SIGKILL);
      return;
    }
    stopped = true;
    sinceStop.start();
    signalGroup(SIGTERM);
    QTimer::singleShot(RunMonitor::StopGraceMilliseconds, &process, [signalGroup] { signalGroup(SIGKILL); });
  });

  QEventLoop loop;
  QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
  while (process.state() != QProcess::NotRunning) {
    loop.exec();
    // Quitting the application ends every event loop at once: keep waiting without spinning,
    // and without the event loop end a stopped program by force after the grace period.
    if (process.state() != QProcess::NotRunning) {
      process.waitForFinished(100);
      if (stopped && sinceStop.elapsed() > RunMonitor::StopGraceMilliseconds) signalGroup(SIGKILL);
    }
  }
  forward(QProcess::StandardOutput);
  forward(QProcess::StandardError);

  outcome.seconds = static_cast<double>(clock.elapsed()) / 1000.0;
  if (stopped)
    outcome.end = RunEnd::Stopped;
  else if (process.exitStatus() == QProcess::CrashExit)
    outcome.end = RunEnd::Crashed;
  else {
    outcome.end = RunEnd::Finished;
    outcome.exitCode = process.exitCode();
  }
  monitor.endRun(runId, outcome);
  return outcome;
}

bool RunProgramOK(const ProgramCommand& command) {
  RunOutcome outcome = RunProgram(command);
  if (outcome.end != RunEnd::NotStarted) return true;
  ShowMessageKind(RunFailureMessage(command, outcome.failureCode), ErrorOk, true);
  return false;
}

bool RunProgramOK(const std::string& commandLine) { return RunProgramOK(CommandFromLine(commandLine)); }

int StartProgram(const ProgramCommand& command, const std::string& workingDir) {
  if (int code = StartFailureCode(command, workingDir)) return code;
  QProcess process;
  Configure(process, command, workingDir);
  if (!process.startDetached()) return CodeFromErrorText(process.errorString());
  return 0;
}

}  // namespace tal
