#include "runs/CompilingWindow.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <cstdlib>
#include <limits>

namespace tal {

namespace {
// A time long enough ago that the next Update shows at once.
constexpr qint64 LongAgo = std::numeric_limits<qint64>::min() / 2;
}  // namespace

TCompiling::TCompiling(std::function<qint64()> clock)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      clock_(std::move(clock)),
      lastUpdate_(LongAgo) {
  steady_.start();
  if (!clock_) clock_ = [this] { return steady_.elapsed(); };
  setWindowTitle("Compiling");
  setObjectName("Compiling");
  // Without a title bar the window draws its own raised edge.
  auto* panel = new QFrame(this);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setLineWidth(2);
  auto* outer = new QHBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(panel);
  label_ = new QLabel("Reading line ", panel);
  label_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  number_ = new QLabel("0", panel);
  number_->setMinimumWidth(fontMetrics().horizontalAdvance("0000000"));
  auto* layout = new QHBoxLayout(panel);
  layout->setContentsMargins(14, 10, 14, 10);
  layout->addWidget(label_, 1);
  layout->addWidget(number_);
}

void TCompiling::Update(int n) {
  qint64 now = clock_();
  if (now - lastUpdate_ <= UpdateIntervalMilliseconds) return;
  label_->setText(n <= 0 ? "TALPIX Run " : "Reading line ");
  number_->setText(QString::number(std::abs(static_cast<long long>(n))));
  RepaintLabels();
  lastUpdate_ = now;
}

void TCompiling::UpdateText(const QString& label, const QString& number, bool force) {
  qint64 now = clock_();
  if (!force && now - lastUpdate_ <= UpdateIntervalMilliseconds) return;
  label_->setText(label);
  number_->setText(number);
  RepaintLabels();
  lastUpdate_ = now;
}

QString TCompiling::labelText() const { return label_->text(); }
QString TCompiling::numberText() const { return number_->text(); }

bool TCompiling::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::WindowActivate:
      RepaintLabels();
      lastUpdate_ = LongAgo;
      break;
    case QEvent::WindowDeactivate:
      hide();
      break;
    default:
      break;
  }
  return QWidget::event(event);
}

void TCompiling::showEvent(QShowEvent* event) {
  CentreOnScreen();
  QWidget::showEvent(event);
}

void TCompiling::CentreOnScreen() {
  adjustSize();
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect area = screen->geometry();
    move(area.center() - rect().center());
  }
}

// Callers update from loops that do not return to the event loop: paint now.
void TCompiling::RepaintLabels() {
  if (!isVisible()) return;
  label_->repaint();
  number_->repaint();
}

TCompiling& CompilingWindow() {
  static TCompiling* window = new TCompiling;  // lives for the whole run, like the frame's dialogs
  return *window;
}

}  // namespace tal
