// The progress window: its labels, the 100 ms throttle and its activation behaviour.
#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <gtest/gtest.h>

#include "runs/CompilingWindow.h"

using namespace tal;

namespace {
struct ManualClock {
  qint64 now = 5000;
  std::function<qint64()> source() {
    return [this] { return now; };
  }
};
}  // namespace

TEST(CompilingWindow, StartsReadingLineZeroBorderlessAndOnTop) {
  ManualClock clock;
  TCompiling window(clock.source());
  EXPECT_EQ(window.windowTitle(), "Compiling");
  EXPECT_EQ(window.labelText(), "Reading line ");
  EXPECT_EQ(window.numberText(), "0");
  EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST(CompilingWindow, ShowsLinesAndRunsAtMostEveryHundredMilliseconds) {
  ManualClock clock;
  TCompiling window(clock.source());
  window.show();
  window.Update(12);  // the first update shows at once
  EXPECT_EQ(window.labelText(), "Reading line ");
  EXPECT_EQ(window.numberText(), "12");

  clock.now += 100;  // exactly 100 ms is not enough
  window.Update(-3);
  EXPECT_EQ(window.labelText(), "Reading line ");
  EXPECT_EQ(window.numberText(), "12");

  clock.now += 1;
  window.Update(-3);  // runs are shown as non-positive numbers
  EXPECT_EQ(window.labelText(), "TALPIX Run ");
  EXPECT_EQ(window.numberText(), "3");

  clock.now += 101;
  window.Update(0);
  EXPECT_EQ(window.labelText(), "TALPIX Run ");
  EXPECT_EQ(window.numberText(), "0");
  window.hide();
}

TEST(CompilingWindow, ActivationShowsTheNextUpdateAtOnceAndDeactivationHides) {
  ManualClock clock;
  TCompiling window(clock.source());
  window.show();
  window.Update(1);
  clock.now += 10;
  window.Update(2);
  EXPECT_EQ(window.numberText(), "1");

  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(&window, &activate);
  window.Update(2);
  EXPECT_EQ(window.numberText(), "2");

  QEvent deactivate(QEvent::WindowDeactivate);
  QApplication::sendEvent(&window, &deactivate);
  EXPECT_FALSE(window.isVisible());
}

TEST(CompilingWindow, IsCentredOnTheScreen) {
  TCompiling window;
  window.show();
  QRect screen = QGuiApplication::primaryScreen()->geometry();
  QPoint centre = window.geometry().center();
  EXPECT_LE(std::abs(centre.x() - screen.center().x()), 1);
  EXPECT_LE(std::abs(centre.y() - screen.center().y()), 1);
  EXPECT_EQ(&CompilingWindow(), &CompilingWindow());  // one window for the whole run
  window.hide();
}
