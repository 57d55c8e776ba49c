#include "shell/ProgramFonts.h"

#include <QStringList>

namespace tal {

namespace {

struct FamilyFallbacks {
  const char* family;
  QFont::StyleHint hint;
  QStringList fallbacks;
};

const FamilyFallbacks* FallbacksOf(const QString& family) {
  static const FamilyFallbacks table[] = {
      {"Arial", QFont::SansSerif, {"Liberation Sans", "DejaVu Sans"}},
      {"MS Sans Serif", QFont::SansSerif, {"Liberation Sans", "DejaVu Sans"}},
      {"Times", QFont::Serif, {"Liberation Serif", "DejaVu Serif"}},
      {"Times New Roman", QFont::Serif, {"Liberation Serif", "DejaVu Serif"}},
      {"MS LineDraw", QFont::TypeWriter, {"Liberation Mono", "DejaVu Sans Mono", "Noto Sans Mono", "Monospace"}},
      {"Courier", QFont::TypeWriter, {"Liberation Mono", "DejaVu Sans Mono", "Monospace"}},
  };
  for (const FamilyFallbacks& entry : table)
    if (family.compare(QLatin1String(entry.family), Qt::CaseInsensitive) == 0) return &entry;
  return nullptr;
}

}  // namespace

QFont ProgramFont(const QString& family, int pointSize) {
  QFont font(family, pointSize);
  if (const FamilyFallbacks* entry = FallbacksOf(family)) {
    font.setStyleHint(entry->hint);
    QStringList families{family};
    families += entry->fallbacks;
    font.setFamilies(families);
    if (entry->hint == QFont::TypeWriter) font.setFixedPitch(true);
  }
  return font;
}

QFont TextWindowFont() { return ProgramFont("MS LineDraw", 10); }

}  // namespace tal
