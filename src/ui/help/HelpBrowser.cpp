#include "help/HelpBrowser.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QShortcut>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

#include "support/Interaction.h"
#include "support/QtStrings.h"

namespace tal {
namespace {
QPointer<THelpBrowser>& TheBrowser() {
  static QPointer<THelpBrowser> browser;
  return browser;
}
}  // namespace

THelpBrowser::THelpBrowser(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle("Help");
  setAttribute(Qt::WA_DeleteOnClose);
  resize(960, 680);

  auto* toolbar = new QToolBar(this);
  home_ = toolbar->addAction("Contents");
  back_ = toolbar->addAction("Back");
  forward_ = toolbar->addAction("Forward");
  back_->setShortcut(QKeySequence::Back);
  forward_->setShortcut(QKeySequence::Forward);
  toolbar->addSeparator();
  findField_ = new QLineEdit(toolbar);
  findField_->setPlaceholderText("Find in page");
  findField_->setClearButtonEnabled(true);
  findField_->setMaximumWidth(260);
  toolbar->addWidget(findField_);
  QAction* findNext = toolbar->addAction("Find Next");
  QAction* findPrevious = toolbar->addAction("Find Previous");
  findStatus_ = new QLabel(toolbar);
  findStatus_->setContentsMargins(8, 0, 8, 0);
  toolbar->addWidget(findStatus_);

  contents_ = new QListWidget(this);
  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(true);  // web addresses go to the desktop's browser
  auto* split = new QSplitter(this);
  split->addWidget(contents_);
  split->addWidget(browser_);
  split->setStretchFactor(1, 1);
  split->setSizes({280, 680});

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolbar);
  layout->addWidget(split);

  back_->setEnabled(false);
  forward_->setEnabled(false);
  connect(home_, &QAction::triggered, this, [this] { browser_->setSource(homeUrl_); });
  connect(back_, &QAction::triggered, browser_, &QTextBrowser::backward);
  connect(forward_, &QAction::triggered, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, &THelpBrowser::SourceChanged);
  connect(contents_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { browser_->setSource(item->data(Qt::UserRole).toUrl()); });
  connect(contents_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { browser_->setSource(item->data(Qt::UserRole).toUrl()); });
  connect(findField_, &QLineEdit::textChanged, findStatus_, &QLabel::clear);
  connect(findField_, &QLineEdit::returnPressed, this, [this] { FindText(findField_->text()); });
  connect(findNext, &QAction::triggered, this, [this] { FindText(findField_->text()); });
  connect(findPrevious, &QAction::triggered, this, [this] { FindText(findField_->text(), true); });
  auto* findKey = new QShortcut(QKeySequence::Find, this);
  connect(findKey, &QShortcut::activated, this, [this] {
    findField_->setFocus();
    findField_->selectAll();
  });
}

THelpBrowser* THelpBrowser::Open(QWidget* parent, const std::string& homePage) {
  QPointer<THelpBrowser>& browser = TheBrowser();
  if (!browser) browser = new THelpBrowser(parent);
  browser->ShowHome(homePage);
  browser->show();
  browser->raise();
  browser->activateWindow();
  return browser;
}

void THelpBrowser::ShowHome(const std::string& homePage) {
  homeUrl_ = QUrl::fromLocalFile(QFileInfo(ToQt(homePage)).absoluteFilePath());
  if (!homePages_.contains(homeUrl_)) homePages_.append(homeUrl_);
  const bool first = browser_->source().isEmpty();
  browser_->setSource(homeUrl_);
  if (first) browser_->clearHistory();  // the first home is the first page of the history
  FillContents();
}

// The contents list: every link of the home page, in the order it shows them.
void THelpBrowser::FillContents() {
  contents_->clear();
  const QUrl base = browser_->source();
  auto* homeItem = new QListWidgetItem(browser_->documentTitle().isEmpty() ? "Contents" : browser_->documentTitle());
  homeItem->setData(Qt::UserRole, base);
  contents_->addItem(homeItem);
  for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      QTextFragment fragment = it.fragment();
      const QString href = fragment.charFormat().anchorHref();
      if (href.isEmpty()) continue;
      QUrl target = base.resolved(QUrl(href));
      if (!target.isLocalFile()) continue;
      auto* item = new QListWidgetItem("  " + fragment.text().simplified());
      item->setData(Qt::UserRole, target);
      contents_->addItem(item);
    }
  }
}

void THelpBrowser::SourceChanged(const QUrl& url) {
  // Back to the home page of another help file: its contents come back with it.
  const QUrl page = url.adjusted(QUrl::RemoveFragment);
  if (page != homeUrl_ && homePages_.contains(page)) {
    homeUrl_ = page;
    FillContents();
  }
  QString title = browser_->documentTitle();
  setWindowTitle(title.isEmpty() ? QString("Help") : "Help - " + title);
  // The entry of the very place shown (a section of the page); else the first of its page.
  int samePage = -1;
  for (int i = 0; i < contents_->count(); ++i) {
    QUrl itemUrl = contents_->item(i)->data(Qt::UserRole).toUrl();
    if (itemUrl == url) {
      contents_->setCurrentRow(i);
      return;
    }
    if (samePage < 0 && itemUrl.adjusted(QUrl::RemoveFragment) == url.adjusted(QUrl::RemoveFragment)) samePage = i;
  }
  if (samePage >= 0) contents_->setCurrentRow(samePage);
}

bool THelpBrowser::FindText(const QString& text, bool backward) {
  findStatus_->clear();
  if (text.isEmpty()) return false;
  QTextDocument::FindFlags flags;
  if (backward) flags |= QTextDocument::FindBackward;
  if (browser_->find(text, flags)) return true;
  QTextCursor restart(browser_->document());
  restart.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
  QTextCursor before = browser_->textCursor();
  browser_->setTextCursor(restart);
  if (browser_->find(text, flags)) return true;
  // The match found before is not this text's: it no longer shows as found.
  before.clearSelection();
  browser_->setTextCursor(before);
  findStatus_->setText("Not found");
  interaction().beep();
  return false;
}

}  // namespace tal
