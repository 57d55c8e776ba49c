#include "tables/TablePrint.h"

#include <QFontMetrics>

#include "shell/PrintJob.h"

namespace tal {

namespace {
QString Latin1(const std::string& text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }
}  // namespace

std::vector<std::vector<int>> TablePrintBlocks(const std::vector<int>& widths, int leftMargin, int pageWidth) {
  std::vector<std::vector<int>> blocks;
  const int count = static_cast<int>(widths.size());
  int c = 0;
  while (c < count) {
    std::vector<int> block{c + 1};
    long long running = 2LL * leftMargin + widths[static_cast<std::size_t>(c)] * 5LL / 4;
    int next = c + 1;
    while (running < pageWidth && next < count) {
      running += widths[static_cast<std::size_t>(next)] * 5LL / 4;
      if (running > pageWidth) break;  // the column added last goes to the next block
      block.push_back(++next);
    }
    blocks.push_back(block);
    c = next;
  }
  return blocks;
}

void PrintTable(TPrintJob& job, const TableModel& table, const std::string& caption) {
  QPainter& painter = job.painter();
  const QFont normal = painter.font();
  QFont bold = normal;
  bold.setBold(true);
  QFont title = bold;
  title.setUnderline(true);
  painter.setFont(title);
  job.DrawText(job.leftMargin(), job.y(), Latin1(caption));

  const QFontMetrics boldMetrics(bold, painter.device()), normalMetrics(normal, painter.device());
  std::vector<int> widths, valueWidths;
  for (int c = 1; c <= table.variables(); ++c) {
    int widest = boldMetrics.horizontalAdvance(Latin1(CellText(table, c, 0))), widestValue = 0;
    for (int r = 1; r <= table.runs(); ++r) widestValue = std::max(widestValue, normalMetrics.horizontalAdvance(Latin1(CellText(table, c, r))));
    widths.push_back(std::max(widest, widestValue));
    valueWidths.push_back(widestValue);
  }

  for (const std::vector<int>& block : TablePrintBlocks(widths, job.leftMargin(), job.pageWidth())) {
    for (int r = 0; r <= table.runs(); ++r) {
      job.Advance(job.lineHeight());
      painter.setFont(r == 0 ? bold : normal);
      const QFontMetrics& metrics = r == 0 ? boldMetrics : normalMetrics;
      int x = job.leftMargin();
      for (int c : block) {
        const int width = widths[static_cast<std::size_t>(c - 1)];
        const QString text = Latin1(CellText(table, c, r));
        const int textWidth = metrics.horizontalAdvance(text);
        if (r == 0) {
          job.DrawText(x + (width - textWidth) / 2, job.y(), text);
        } else {
          const int valueWidth = valueWidths[static_cast<std::size_t>(c - 1)];
          job.DrawText(x + (width - valueWidth) / 2 + valueWidth - textWidth, job.y(), text);
        }
        x += width * 5 / 4;
      }
    }
  }
  painter.setFont(normal);
}

}  // namespace tal
