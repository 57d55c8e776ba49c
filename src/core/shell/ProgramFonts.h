#pragma once
// The font names the program draws with ("Arial", "Times", "MS Sans Serif", "MS LineDraw") are
// those of the platform the decks and forms were written on. Here they map through fontconfig,
// with explicit fallbacks so that a fixed-pitch font stays fixed-pitch (listings line up).
#include <QFont>
#include <QString>

namespace tal {

// `family` at `pointSize`, with the fallbacks that keep its pitch and kind.
QFont ProgramFont(const QString& family, int pointSize);

// The font of editor and viewer text on screen: fixed pitch, the size decks are read at.
QFont TextWindowFont();

}  // namespace tal
