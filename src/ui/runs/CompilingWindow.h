#pragma once
// The small progress window ("Compiling"): a label and a number that the form reader shows
// while it reads lines and the table runner while it runs the engine. Borderless, always on
// top, centred on the screen; created once and shown and hidden by its callers.
#include <QElapsedTimer>
#include <QWidget>
#include <functional>

class QLabel;

namespace tal {

class TCompiling : public QWidget {
  Q_OBJECT

 public:
  // `clock` gives milliseconds on a steady clock (tests pass their own).
  explicit TCompiling(std::function<qint64()> clock = {});

  // Shows n: "TALPIX Run " and -n when n <= 0, "Reading line " and n when n > 0. Does nothing
  // unless more than 100 ms have passed since the last update shown, so a fast loop does not
  // spend its time painting.
  void Update(int n);
  // Shows `label` and `number` as given (Run Table: "TALPIX Runs finished " and "3 of 8"), as
  // seldom as Update unless `now` is set (the first and the last count).
  void UpdateText(const QString& label, const QString& number, bool now = false);

  QString labelText() const;
  QString numberText() const;

  static constexpr qint64 UpdateIntervalMilliseconds = 100;

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void CentreOnScreen();
  void RepaintLabels();

  std::function<qint64()> clock_;
  QElapsedTimer steady_;
  qint64 lastUpdate_;
  QLabel* label_;
  QLabel* number_;
};

// The program's progress window, created on first use and kept for the whole run.
TCompiling& CompilingWindow();

}  // namespace tal
