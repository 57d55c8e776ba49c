#include "shell/FileWatch.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileSystemWatcher>
#include <QPointer>
#include <map>

#include "support/FileStamp.h"

namespace tal {

namespace {

QString ToWatched(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

// One watcher for the whole program: the system gives each watcher a handle of its own and limits
// their number, while a program may show many files. It counts the windows watching each path.
class SharedWatcher {
 public:
  static SharedWatcher* Get() {
    static SharedWatcher* shared = nullptr;
    static QPointer<QFileSystemWatcher> alive;
    if (!QCoreApplication::instance()) return nullptr;
    if (!alive) {
      delete shared;
      // Owned by the application, so it goes before the event loop's objects do.
      shared = new SharedWatcher(new QFileSystemWatcher(QCoreApplication::instance()));
      alive = shared->watcher_;
    }
    return shared;
  }

  QFileSystemWatcher* watcher() const { return watcher_; }

  void Add(const QString& path) {
    if (uses_[path]++ == 0) Renew(path);
  }
  void Remove(const QString& path) {
    auto found = uses_.find(path);
    if (found == uses_.end()) return;
    if (--found->second > 0) return;
    uses_.erase(found);
    watcher_->removePath(path);
  }
  // A file renamed over or deleted is no longer watched by the system: watch the file now there.
  void Renew(const QString& path) {
    if (uses_.count(path) && !watcher_->files().contains(path) && StampOf(QFile::encodeName(path).toStdString()).exists)
      watcher_->addPath(path);
  }

 private:
  explicit SharedWatcher(QFileSystemWatcher* watcher) : watcher_(watcher) {
    QObject::connect(watcher_, &QFileSystemWatcher::fileChanged, watcher_, [this](const QString& path) { Renew(path); });
  }
  QFileSystemWatcher* watcher_;
  std::map<QString, int> uses_;
};

}  // namespace

FileWatch::FileWatch(QObject* parent, int intervalMs) : QObject(parent) {
  timer_.setInterval(intervalMs);
  connect(&timer_, &QTimer::timeout, this, &FileWatch::Look);
  notice_.setSingleShot(true);
  notice_.setInterval(NoticeDelayMs);
  connect(&notice_, &QTimer::timeout, this, &FileWatch::mayHaveChanged);
}

FileWatch::~FileWatch() { setPath(""); }

void FileWatch::setPath(const std::string& path) {
  if (path == path_) return;
  SharedWatcher* shared = SharedWatcher::Get();
  if (shared && !path_.empty()) {
    shared->Remove(ToWatched(path_));
    disconnect(shared->watcher(), nullptr, this, nullptr);
  }
  path_ = path;
  if (path_.empty()) {
    timer_.stop();
    notice_.stop();
    return;
  }
  if (shared) {
    const QString watched = ToWatched(path_);
    shared->Add(watched);
    connect(shared->watcher(), &QFileSystemWatcher::fileChanged, this, [this, watched](const QString& changed) {
      if (changed == watched && !notice_.isActive()) notice_.start();
    });
  }
  timer_.start();
}

void FileWatch::Look() {
  if (SharedWatcher* shared = SharedWatcher::Get()) shared->Renew(ToWatched(path_));
  emit mayHaveChanged();
}

}  // namespace tal
