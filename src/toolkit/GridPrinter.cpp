#include "toolkit/GridPrinter.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QtMath>

#include "toolkit/DataGrid.h"

namespace {
bool isNumber(const QVariant& v) {
  switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
      return true;
    default:
      return false;
  }
}

struct Column {
  int index;
  QString title;
  qreal width;
  Qt::Alignment align;
};

// Widths measured on the printer from the titles and the texts; rows beyond
// the first few hundred rarely widen a column and would only cost time.
QVector<Column> measure(DataGrid* grid, const QFontMetricsF& body, const QFontMetricsF& bold, qreal pad) {
  QVector<Column> out;
  DataSet* ds = grid->dataSet();
  const int rows = ds ? ds->recordCount() : 0;
  const int sample = qMin(rows, 500);
  for (int c : grid->visibleColumns()) {
    const GridColumn& gc = grid->column(c);
    Column col{c, gc.title, bold.horizontalAdvance(gc.title), gc.alignment};
    bool numeric = false;
    for (int r = 0; r < sample; ++r) {
      col.width = qMax(col.width, body.horizontalAdvance(grid->cellText(r, c)));
      if (!numeric && isNumber(grid->cellValue(r, c))) numeric = !gc.displayText;
    }
    col.width += 2 * pad;
    if (!(col.align & Qt::AlignHorizontal_Mask))
      col.align = numeric ? Qt::AlignRight : Qt::AlignLeft;
    out << col;
  }
  return out;
}
}  // namespace

namespace GridPrinter {

bool render(QPrinter* printer, DataGrid* grid, const GridPrintOptions& options) {
  printer->setPageOrientation(options.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  printer->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
  QPainter p;
  if (!p.begin(printer)) return false;

  const QRectF page(QPointF(0, 0), printer->pageLayout().paintRectPixels(printer->resolution()).size());
  const qreal mm = printer->resolution() / 25.4;

  QFont bodyFont = grid ? grid->font() : QFont();
  bodyFont.setPointSizeF(qMax<qreal>(9, bodyFont.pointSizeF()));
  QFont titleFont = bodyFont;
  titleFont.setBold(true);
  const QFontMetricsF body(bodyFont, printer);
  const QFontMetricsF bold(titleFont, printer);
  const qreal pad = 1.2 * mm;
  const qreal rowH = qMax(body.height(), bold.height()) + 1.6 * mm;

  QVector<Column> cols = grid ? measure(grid, body, bold, pad) : QVector<Column>();
  qreal natural = 0;
  for (const Column& c : cols) natural += c.width;
  // Narrow tables are widened to the page, wide ones shrunk to it.
  qreal scale = 1;
  if (natural > 0 && natural < page.width()) {
    const qreal extra = (page.width() - natural) / cols.size();
    for (Column& c : cols) c.width += extra;
  } else if (natural > page.width()) {
    scale = page.width() / natural;
  }

  const QFontMetricsF headM(options.headerFont, printer);
  const QFontMetricsF textM(options.textFont, printer);
  const qreal headerH = options.pageHeader.isEmpty() ? 0 : headM.height() + 3 * mm;
  const qreal beforeH = options.textBefore.isEmpty() ? 0 : textM.height() + 2 * mm;
  const qreal footerH = options.pageNumbers ? body.height() + 2 * mm : 0;

  const int rows = grid && grid->dataSet() ? grid->dataSet()->recordCount() : 0;
  auto rowsOn = [&](int pageNo) {
    const qreal room = page.height() - headerH - footerH - (pageNo == 0 ? beforeH : 0);
    return qMax(1, int(room / scale / rowH) - 1);  // one row is the title row
  };
  int pages = 1;
  for (int left = rows - rowsOn(0); left > 0; ++pages) left -= rowsOn(pages);

  const QPen gridPen(QColor(0x40, 0x40, 0x40), qMax<qreal>(1, 0.15 * mm));
  int row = 0;
  for (int pageNo = 0; pageNo < pages; ++pageNo) {
    if (pageNo > 0) printer->newPage();
    qreal y = 0;
    if (headerH > 0) {
      p.setFont(options.headerFont);
      p.setPen(Qt::black);
      p.drawText(QRectF(0, y, page.width(), headM.height()), Qt::AlignHCenter | Qt::AlignTop, options.pageHeader);
      y += headerH;
    }
    if (pageNo == 0 && beforeH > 0) {
      p.setFont(options.textFont);
      p.drawText(QRectF(0, y, page.width(), textM.height()), Qt::AlignLeft | Qt::AlignVCenter, options.textBefore);
      y += beforeH;
    }

    p.save();
    p.translate(0, y);
    p.scale(scale, scale);
    p.setPen(gridPen);
    qreal x = 0;
    p.setFont(titleFont);
    for (const Column& c : cols) {
      const QRectF cell(x, 0, c.width, rowH);
      p.fillRect(cell, QColor(0xe8, 0xe8, 0xe8));
      p.drawRect(cell);
      p.drawText(cell.adjusted(pad, 0, -pad, 0), Qt::AlignCenter, c.title);
      x += c.width;
    }
    p.setFont(bodyFont);
    const int last = qMin(rows, row + rowsOn(pageNo));
    qreal ry = rowH;
    for (; row < last; ++row, ry += rowH) {
      x = 0;
      for (const Column& c : cols) {
        const QRectF cell(x, ry, c.width, rowH);
        p.drawRect(cell);
        p.drawText(cell.adjusted(pad, 0, -pad, 0), c.align | Qt::AlignVCenter, grid->cellText(row, c.index));
        x += c.width;
      }
    }
    p.restore();

    if (options.pageNumbers) {
      p.setFont(bodyFont);
      p.setPen(Qt::black);
      p.drawText(QRectF(0, page.height() - body.height(), page.width(), body.height()), Qt::AlignCenter,
                 QStringLiteral("第 %1 页 共 %2 页").arg(pageNo + 1).arg(pages));
    }
  }
  return p.end();
}

void preview(QWidget* parent, DataGrid* grid, const GridPrintOptions& options) {
  QPrinter printer(QPrinter::HighResolution);
  QPrintPreviewDialog dlg(&printer, parent);
  dlg.setObjectName("GridPrintPreview");
  dlg.setWindowTitle(options.pageHeader.isEmpty() ? QStringLiteral("打印预览") : options.pageHeader);
  QObject::connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg,
                   [grid, options](QPrinter* pr) { render(pr, grid, options); });
  dlg.exec();
}

bool printToPdf(DataGrid* grid, const GridPrintOptions& options, const QString& pdfPath) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdfPath);
  if (!render(&printer, grid, options)) return false;
  return QFileInfo(pdfPath).size() > 0;
}

}  // namespace GridPrinter
