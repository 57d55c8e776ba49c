// The keyboard of a form window: the form sees every key before its controls do.
//
//   Down arrow (any modifiers)   the next control, as Tab
//   Up arrow (any modifiers)     the previous control
//   Page Up / Page Down          backwards / forwards one client height, control by control
//   Ctrl+Page Up, Shift+Home     the first control
//   Ctrl+Page Down, Shift+End    the last control
//   F1                           help for the focused field
#include <QApplication>
#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollArea>
#include <algorithm>

#include "forms/TalkitForm.h"

namespace tal {

bool TTALKITForm::eventFilter(QObject* watched, QEvent* event) {
  // A taller view shows bands whose controls are not made yet.
  if (event->type() == QEvent::Resize && watched == scroll_->viewport()) BuildBandsInView();
  if (event->type() != QEvent::KeyPress) return false;
  auto* target = qobject_cast<QWidget*>(watched);
  // Only keys meant for this window's own controls.
  if (!target || !area_->isAncestorOf(target)) return false;
  return HandleKey(target, *static_cast<QKeyEvent*>(event));
}

QWidget* TTALKITForm::FocusedControl() const {
  QWidget* focus = focusWidget();
  return focus && area_->isAncestorOf(focus) ? focus : nullptr;
}

bool TTALKITForm::HandleKey(QWidget* target, QKeyEvent& key) {
  if (key.key() == Qt::Key_F1) {
    ShowHelp();
    return true;
  }
  QWidget* current = FocusedControl() ? FocusedControl() : target;
  BuildForKey(current, key);
  std::vector<QWidget*> order = BuiltFocusOrder();
  if (order.empty()) return false;
  auto at = std::find(order.begin(), order.end(), current);
  Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
  switch (key.key()) {
    case Qt::Key_Tab:
      if (modifiers != Qt::NoModifier) return false;  // Ctrl+Tab belongs to the frame
      [[fallthrough]];
    case Qt::Key_Down: {
      QWidget* next = at == order.end() || at + 1 == order.end() ? order.front() : *(at + 1);
      FocusControl(next, Qt::TabFocusReason);
      return true;
    }
    case Qt::Key_Backtab:
      if (modifiers != Qt::ShiftModifier) return false;
      [[fallthrough]];
    case Qt::Key_Up: {
      QWidget* previous = at == order.end() || at == order.begin() ? order.back() : *(at - 1);
      FocusControl(previous, Qt::BacktabFocusReason);
      return true;
    }
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
      bool forward = key.key() == Qt::Key_PageDown;
      if (modifiers == Qt::ControlModifier) {
        FocusControl(forward ? order.back() : order.front(), Qt::OtherFocusReason);
        return true;
      }
      if (modifiers != Qt::NoModifier) return false;
      if (QWidget* page = PageTarget(current, forward)) FocusControl(page, Qt::OtherFocusReason);
      return true;
    }
    case Qt::Key_Home:
    case Qt::Key_End:
      if (modifiers != Qt::ShiftModifier) return false;
      FocusControl(key.key() == Qt::Key_Home ? order.front() : order.back(), Qt::OtherFocusReason);
      return true;
    default: return false;
  }
}

// Page Down walks forwards while the tops do not decrease, up to the current top plus the client
// height; Page Up the same backwards. The last control passed gets the focus.
QWidget* TTALKITForm::PageTarget(QWidget* current, bool forward) const {
  std::vector<QWidget*> order = BuiltFocusOrder();
  auto at = std::find(order.begin(), order.end(), current);
  if (at == order.end()) return nullptr;
  int clientHeight = scroll_->viewport()->height();
  int start = PositionOnArea(current).y();
  int limit = forward ? start + clientHeight : start - clientHeight;
  QWidget* found = current;
  int previousTop = start;
  auto index = static_cast<std::ptrdiff_t>(at - order.begin());
  for (;;) {
    index += forward ? 1 : -1;
    if (index < 0 || index >= static_cast<std::ptrdiff_t>(order.size())) break;
    QWidget* candidate = order[static_cast<std::size_t>(index)];
    int top = PositionOnArea(candidate).y();
    if (forward ? (top < previousTop || top > limit) : (top > previousTop || top < limit)) break;
    found = candidate;
    previousTop = top;
  }
  return found;
}

// The controls of the bands not made yet all come after those made (BuildBandsThrough): a key
// that moves on past the last control made, or wraps around to the last, makes more of them.
void TTALKITForm::BuildForKey(QWidget* current, const QKeyEvent& key) {
  if (builtBands_ == bands_.size()) return;
  const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
  auto isLast = [&] {
    std::vector<QWidget*> order = BuiltFocusOrder();
    return order.empty() || order.back() == current;
  };
  switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Down:
      while (builtBands_ < bands_.size() && isLast()) BuildBand(builtBands_++);
      break;
    case Qt::Key_Backtab:
    case Qt::Key_Up: {
      std::vector<QWidget*> order = BuiltFocusOrder();
      if (order.empty() || order.front() == current || std::find(order.begin(), order.end(), current) == order.end())
        BuildAllBands();
      break;
    }
    case Qt::Key_PageDown:
      if (modifiers == Qt::ControlModifier) {
        BuildAllBands();
      } else {
        const int limit = PositionOnArea(current).y() + scroll_->viewport()->height();
        while (builtBands_ < bands_.size() && bands_[builtBands_].widget->y() <= limit) BuildBand(builtBands_++);
      }
      break;
    case Qt::Key_End: BuildAllBands(); break;
    default: break;
  }
}

bool TTALKITForm::SelectDeckLine(std::size_t line) {
  auto writes = [line](int lineNumber) { return lineNumber > 0 && static_cast<std::size_t>(lineNumber) == line; };
  for (std::size_t i = 0; i < model_.items.size(); ++i) {
    const FormItem& item = model_.items[i];
    std::vector<QWidget*> controls;
    if (writes(item.lineNumber)) controls.push_back(fieldOf(i));
    for (std::size_t k = 0; k < item.group.choices.size(); ++k)
      if (writes(item.group.choices[k].lineNumber)) controls.push_back(choiceOf(i, k));
    for (QWidget* control : controls) {
      if (!control || control->focusPolicy() == Qt::NoFocus || !ShownOnArea(control)) continue;
      FocusControl(control, Qt::OtherFocusReason);
      if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
      return true;
    }
  }
  return false;
}

void TTALKITForm::FocusControl(QWidget* control, Qt::FocusReason reason) {
  if (!control) return;
  control->setFocus(reason);
  scroll_->ensureWidgetVisible(control);
}

}  // namespace tal
