#pragma once
// The program's help browser: the HTML manual with its contents beside it, back and forward,
// find, and links between pages. One window serves the whole run.
#include <QList>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <string>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace tal {

class THelpBrowser : public QWidget {
  Q_OBJECT

 public:
  explicit THelpBrowser(QWidget* parent = nullptr);

  // The one browser window (made on first use, child window of `parent`), showing `homePage`.
  static THelpBrowser* Open(QWidget* parent, const std::string& homePage);

  // Shows the HTML file `homePage`; its links become the contents list. The pages shown before
  // stay in the Back history.
  void ShowHome(const std::string& homePage);
  // Finds `text` after the cursor (before it when `backward`), starting over at the other end when
  // the end is reached; false when the page does not hold it: then a beep, "Not found" beside the
  // find field, and no match left highlighted.
  bool FindText(const QString& text, bool backward = false);

  QTextBrowser* browser() const { return browser_; }
  QListWidget* contents() const { return contents_; }
  QAction* backAction() const { return back_; }
  QAction* forwardAction() const { return forward_; }
  QLineEdit* findField() const { return findField_; }
  QLabel* findStatus() const { return findStatus_; }

 private:
  void FillContents();
  void SourceChanged(const QUrl& url);

  QTextBrowser* browser_ = nullptr;
  QListWidget* contents_ = nullptr;
  QAction* home_ = nullptr;
  QAction* back_ = nullptr;
  QAction* forward_ = nullptr;
  QLineEdit* findField_ = nullptr;
  QLabel* findStatus_ = nullptr;
  QUrl homeUrl_;           // the home page of the help file shown last
  QList<QUrl> homePages_;  // every home page shown, so that Back to one shows its contents again
};

}  // namespace tal
