#pragma once
// The program's file chooser, on every desktop the same: the list shows the files of the chosen
// filter, yet a typed name of an existing file is taken whatever the filter; a typed pattern
// ("*.DCK") filters the list instead of being taken as a name; and the chooser opens wide enough
// for its Size, Type and Date columns.
#include <QFileDialog>

class QFileSystemModel;
class QLineEdit;
class QSortFilterProxyModel;

namespace tal {

class TFileChooser : public QFileDialog {
  Q_OBJECT

 public:
  TFileChooser(QWidget* parent, const QString& title, const QString& directory, const QString& filters,
               AcceptMode mode);

  // Whether `typed` is a pattern of names rather than a name: it holds a wildcard.
  static bool IsPattern(const QString& typed);

  QLineEdit* nameField() const { return nameField_; }

 public slots:
  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Lists the files that match the typed `pattern` (several separated by blanks or ";").
  void ApplyPattern(const QString& pattern);
  void SizeColumns();

  QFileSystemModel* files_ = nullptr;
  QSortFilterProxyModel* shown_ = nullptr;
  QLineEdit* nameField_ = nullptr;
};

}  // namespace tal
