#pragma once
// Pictures of a form and the buttons that start linked applications.
#include <QLabel>
#include <QToolButton>
#include <cstddef>
#include <string>

class QIcon;

namespace tal {

class TTALKITForm;

// A picture or caption picture. Application-link pictures start their application when clicked
// and show its argument as tool tip; plain pictures do nothing.
class TmyImage : public QLabel {
  Q_OBJECT

 public:
  TmyImage(TTALKITForm* form, std::size_t item, int application, QWidget* parent);
  std::size_t item() const { return item_; }
  int application() const { return application_; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  TTALKITForm* form_;
  std::size_t item_;
  int application_;  // 0 for plain pictures
};

// The flat button beside a numeric or list field that starts the field's linked application.
class TAppButton : public QToolButton {
  Q_OBJECT

 public:
  TAppButton(TTALKITForm* form, std::size_t item, int application, const std::string& argument, QWidget* parent);
  std::size_t item() const { return item_; }
  int application() const { return application_; }
  const std::string& argument() const { return argument_; }

 private:
  std::size_t item_;
  int application_;
  std::string argument_;
};

}  // namespace tal
