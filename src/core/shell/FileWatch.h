#pragma once
// Tells a window showing a file when the file may have changed on disk, so that it can look at the
// file's stamp (support/Files.h) and read it again. Two sources: the file system's notices, and a
// look every interval besides, since notices are missed (a program that renames a new file over
// the old one ends the notices of the old file; network file systems give none). The owner
// compares stamps itself; a notice only says "look now".
#include <QObject>
#include <QTimer>
#include <string>

namespace tal {

class FileWatch : public QObject {
  Q_OBJECT

 public:
  static constexpr int DefaultIntervalMs = 1000;
  // A program writing its file sends a notice per write: those of this span come as one.
  static constexpr int NoticeDelayMs = 50;

  explicit FileWatch(QObject* parent = nullptr, int intervalMs = DefaultIntervalMs);
  ~FileWatch() override;

  // Watches `path` ("" watches nothing).
  void setPath(const std::string& path);
  const std::string& path() const { return path_; }

 signals:
  // The file may have changed: its owner looks at its stamp.
  void mayHaveChanged();

 private:
  void Look();

  std::string path_;
  QTimer timer_;
  QTimer notice_;
};

}  // namespace tal
