#pragma once
// File bytes are Latin-1 in the core; these convert at the window boundary.
#include <QString>
#include <string>

namespace tal {

inline QString ToQt(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string FromQt(const QString& s) { return s.toLatin1().toStdString(); }

}  // namespace tal
