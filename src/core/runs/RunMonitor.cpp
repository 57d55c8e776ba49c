#include "runs/RunMonitor.h"

#include <algorithm>

#include "runs/ProgramRunner.h"

namespace tal {

RunMonitor& RunMonitor::instance() {
  static RunMonitor* monitor = new RunMonitor;  // lives until the program ends
  return *monitor;
}

void RunMonitor::stop() {
  if (engineRuns_ > 0) stopRequested_ = true;
  // A stop function may end its run at once; work on a copy.
  auto runs = active_;
  for (auto& run : runs) run.stop();
}

void RunMonitor::clearLog() { log_.clear(); }

int RunMonitor::beginRun(const std::string& commandText, std::function<void()> stopFunction) {
  int id = nextId_++;
  active_.push_back({id, std::move(stopFunction)});
  appendLog(QByteArray("> ") + QByteArray::fromStdString(commandText) + "\n");
  emit runStarted(QString::fromLatin1(QByteArray::fromStdString(commandText)));
  emit stateChanged();
  return id;
}

void RunMonitor::endRun(int id, const RunOutcome& outcome) {
  active_.erase(std::remove_if(active_.begin(), active_.end(), [id](auto& r) { return r.id == id; }),
                active_.end());
  noteEnd(outcome);
  emit stateChanged();
}

void RunMonitor::noteNotStarted(const std::string& commandText, const RunOutcome& outcome) {
  appendLog(QByteArray("> ") + QByteArray::fromStdString(commandText) + "\n");
  noteEnd(outcome);
}

void RunMonitor::noteStartedAlone(const std::string& commandText) {
  if (!log_.isEmpty() && !log_.endsWith('\n')) appendLog("\n");
  appendLog(QByteArray("> ") + QByteArray::fromStdString(commandText) + " (not waited for)\n");
  emit runStarted(QString::fromLatin1(QByteArray::fromStdString(commandText)));
}

void RunMonitor::noteAloneEnded(const RunOutcome& outcome, bool wantsAttention) {
  noteEnd(outcome);
  if (wantsAttention) emit attentionWanted();
}

void RunMonitor::noteEnd(const RunOutcome& outcome) {
  std::string summary = DescribeOutcome(outcome);
  QByteArray line = QByteArray::fromStdString(summary);
  // The program's last line may lack its newline; the summary starts on a line of its own.
  if (!log_.isEmpty() && !log_.endsWith('\n')) appendLog("\n");
  appendLog("-- " + line + "\n");
  lastSummary_ = QString::fromLatin1(line);
  emit runEnded(lastSummary_);
}

void RunMonitor::appendOutput(std::string_view text) {
  appendLog(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

void RunMonitor::appendLog(const QByteArray& text) {
  log_ += text;
  if (log_.size() > LogLimitBytes) {
    // Drop the oldest part, up to a line end so the log starts with a whole line.
    qsizetype cut = log_.size() - LogLimitBytes / 2;
    qsizetype newline = log_.indexOf('\n', cut);
    log_.remove(0, newline < 0 ? cut : newline + 1);
  }
  emit logAppended(text);
}

void RunMonitor::showProgress(const ProgressView& view) {
  progress_ = view;
  emit progressChanged();
}

void RunMonitor::beginEngineRun() {
  if (engineRuns_++ == 0) {
    stopRequested_ = false;
    showProgress({});
  }
  emit stateChanged();
}

void RunMonitor::endEngineRun() {
  if (--engineRuns_ == 0) showProgress({});
  emit stateChanged();
}

}  // namespace tal
