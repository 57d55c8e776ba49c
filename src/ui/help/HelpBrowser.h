#pragma once
// The program's help browser: the HTML manual with its contents beside it, back and forward,
// find, and links between pages. One window serves the whole run.
#include <QString>
#include <QWidget>
#include <string>

class QAction;
class QLineEdit;
class QListWidget;
class QTextBrowser;
class QUrl;

namespace tal {

class THelpBrowser : public QWidget {
  Q_OBJECT

 public:
  explicit THelpBrowser(QWidget* parent = nullptr);

  // The one browser window (made on first use, child window of `parent`), showing `homePage`.
  static THelpBrowser* Open(QWidget* parent, const std::string& homePage);

  // Shows the HTML file `homePage`; its links become the contents list.
  void ShowHome(const std::string& homePage);
  // Finds `text` after the cursor (before it when `backward`), starting over at the other end when
  // the end is reached; false (with a beep) when the page does not hold it.
  bool FindText(const QString& text, bool backward = false);

  QTextBrowser* browser() const { return browser_; }
  QListWidget* contents() const { return contents_; }
  QAction* backAction() const { return back_; }
  QAction* forwardAction() const { return forward_; }
  QLineEdit* findField() const { return findField_; }

 private:
  void FillContents();
  void SourceChanged(const QUrl& url);

  QTextBrowser* browser_ = nullptr;
  QListWidget* contents_ = nullptr;
  QAction* home_ = nullptr;
  QAction* back_ = nullptr;
  QAction* forward_ = nullptr;
  QLineEdit* findField_ = nullptr;
};

}  // namespace tal
