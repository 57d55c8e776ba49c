#pragma once
// What the program knows about the programs it waits for: whether one is running, whether an
// engine run (Calculate, Run Table) is in progress, the Stop command, the run log of their
// output and how the last one ended. The main window listens to it to update its menus
// and status bar.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "runs/RunProgress.h"

namespace tal {

struct RunOutcome;

class RunMonitor : public QObject {
  Q_OBJECT

 public:
  static RunMonitor& instance();

  // A program started by RunProgram has not ended yet.
  bool waiting() const { return !active_.empty(); }
  // A Calculate or Run Table command is in progress: both stay disabled meanwhile, so two engines
  // never write the same result files and nested waits cannot finish out of order.
  bool engineRunActive() const { return engineRuns_ > 0; }
  // The user asked to stop during the engine run in progress (or the last one).
  bool stopRequested() const { return stopRequested_; }

  // Stops every program being waited for: asks it to end, and ends it by force when it is still
  // running after a grace period.
  void stop();

  // Output of the programs waited for, with a line before and after each run; the oldest part
  // is dropped beyond a few megabytes.
  const QByteArray& log() const { return log_; }
  void clearLog();
  // DescribeOutcome of the last program waited for; empty before the first.
  const QString& lastSummary() const { return lastSummary_; }

  // How far the engine run in progress has come; unknown (a busy indicator) until the engine, or
  // the table run, says. Forgotten when an engine run begins and when it ends.
  const ProgressView& progress() const { return progress_; }
  void showProgress(const ProgressView& view);

  // Used by RunProgram: a run begins (with the function that stops it) and ends.
  int beginRun(const std::string& commandText, std::function<void()> stopFunction);
  void endRun(int id, const RunOutcome& outcome);
  // A program that could not be started: logged and reported like a run that ended.
  void noteNotStarted(const std::string& commandText, const RunOutcome& outcome);
  void appendOutput(std::string_view text);
  // Used by StartProgram for programs started and left running: they are logged and reported
  // like the others, but nobody waits for them and Stop leaves them alone. `wantsAttention`: the
  // run log should come forward (a compile or user command that failed).
  void noteStartedAlone(const std::string& commandText);
  void noteAloneEnded(const RunOutcome& outcome, bool wantsAttention);

  // Used by EngineRunScope.
  void beginEngineRun();
  void endEngineRun();

  // Grace period between asking a program to end and ending it by force.
  static constexpr int StopGraceMilliseconds = 3000;
  static constexpr int LogLimitBytes = 4 * 1024 * 1024;

 signals:
  // waiting() or engineRunActive() changed.
  void stateChanged();
  // A program is being started and waited for (its command as text).
  void runStarted(const QString& command);
  void logAppended(const QByteArray& text);
  void runEnded(const QString& summary);
  void progressChanged();
  // A program the user asked for failed: the run log should come forward.
  void attentionWanted();

 private:
  RunMonitor() = default;
  void appendLog(const QByteArray& text);
  void noteEnd(const RunOutcome& outcome);

  struct ActiveRun {
    int id;
    std::function<void()> stop;
  };
  std::vector<ActiveRun> active_;
  int nextId_ = 1;
  int engineRuns_ = 0;
  bool stopRequested_ = false;
  ProgressView progress_;
  QByteArray log_;
  QString lastSummary_;
};

// Marks an engine run (Calculate, Run Table) as in progress for its lifetime.
class EngineRunScope {
 public:
  EngineRunScope() { RunMonitor::instance().beginEngineRun(); }
  ~EngineRunScope() { RunMonitor::instance().endEngineRun(); }
  EngineRunScope(const EngineRunScope&) = delete;
  EngineRunScope& operator=(const EngineRunScope&) = delete;
  // The user pressed Stop since this run began.
  bool stopped() const { return RunMonitor::instance().stopRequested(); }
};

}  // namespace tal
