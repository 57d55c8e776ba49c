#include "plot/PlotInfo.h"

namespace tal {

QColor PlotColor(int number) {
  static const QRgb table[] = {0x000000, 0x0000FF, 0xFF0000, 0x008000, 0x800080, 0x800000, 0xFFFF00, 0x00FF00,
                               0x808000, 0x00FFFF, 0x808080, 0xFF00FF, 0x000080, 0x008080, 0xC0C0C0, 0xFFFF00};
  if (number < 0 || number > MaxColor) return QColor(Qt::black);
  return QColor(table[number]);
}

int EffectiveSymbol(int symbol) {
  if (symbol <= 0) return 0;
  while (symbol > MaxSymbol) symbol -= MaxSymbol;
  return symbol;
}

int SpinDown(int tag, int max) { return tag >= max || tag < 0 ? 0 : tag + 1; }
int SpinUp(int tag, int max) { return tag <= 0 || tag > max ? max : tag - 1; }

bool AxisRangeValid(Real min, Real max, bool logarithmic) { return max > min && (!logarithmic || min > 0); }

}  // namespace tal
