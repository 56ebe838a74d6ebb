#pragma once
#include <QDialog>
#include <QFont>
#include <QHash>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <QVariant>

class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QPrintPreviewWidget;

// What a templated report pulls from its window while it is laid out.
// Master rows are walked in order; inside a columns band the engine walks its
// counted column source (records 0 .. count-1) and asks for values by name.
class ReportSource {
 public:
  virtual ~ReportSource() = default;
  virtual int masterCount() = 0;
  virtual void setMasterRow(int row) = 0;
  // A named value for the current master row; column is the current record
  // of the column source, -1 outside a columns band.
  virtual QVariant value(const QString& name, int column) = 0;
  // Width in pixels of column n, counted from 1.
  virtual int columnWidth(int n) = 0;
  // Asked before each object of a columns band is printed: the width the
  // object takes, the width of the column last asked for.
  virtual int lastColumnWidth() = 0;
};

// One band of a layout: a line of text, a line of cells across the counted
// columns, or the cut line between two master rows.
struct ReportBand {
  enum Kind { Text, Columns, Cut };
  Kind kind = Text;
  QString text;         // Text: the line with {name} fields; Columns: the value name
  Qt::Alignment align = Qt::AlignLeft;
  double height = 6;    // mm
  QFont font;
  bool border = false;
  int decimals = -1;    // numbers of a columns band in fixed notation; -1 as they come
  bool dashed = true;   // Cut: dashed or solid
};

struct ReportTemplate {
  QPageSize pageSize{QPageSize::A4};
  QPageLayout::Orientation orientation = QPageLayout::Portrait;
  QMarginsF margins{10, 10, 10, 10};  // mm
  QFont font;
  double pixelMm = 25.4 / 96;         // one grid pixel on paper
  double padding = 1;                 // mm inside a cell
  double minFontSize = 6;             // points; cells shrink their text down to this
  QList<ReportBand> pageHeader;
  QList<ReportBand> pageFooter;
  QList<ReportBand> bands;            // printed for every master row

  QPageLayout pageLayout() const;
  // Parses the text of a template; on failure returns false and sets error to
  // a sentence naming the line and what is wrong with it.
  static bool parse(const QString& text, ReportTemplate* out, QString* error);
};

// A laid-out page: boxes in mm from the page's top-left corner.
struct ReportItem {
  enum Kind { Text, Line };
  Kind kind = Text;
  QRectF rect;
  QString text;
  QFont font;
  int flags = 0;
  bool frame = false;
  bool dashed = false;
};
struct ReportPage {
  QList<ReportItem> items;
};

// The banded report engine: a layout template, a data source and variables
// ({name} fields of text bands) make pages, which are previewed, printed or
// written to PDF.
class ReportEngine {
 public:
  enum LoadState { NoLayout, Loaded, Missing, Invalid };

  // A missing file leaves the engine without a layout and says nothing;
  // an unreadable one keeps its reason for showReport.
  LoadState loadFromFile(const QString& path);
  bool loadFromText(const QString& text);
  LoadState state() const { return state_; }
  QString errorText() const { return error_; }
  const ReportTemplate& layout() const { return layout_; }

  void setSource(ReportSource* source) { source_ = source; }
  void setColumnCount(int count) { columnCount_ = count; }
  int columnCount() const { return columnCount_; }
  void setVariable(const QString& name, const QString& value) { vars_.insert(name, value); }

  // Lays out the pages; false without a layout.
  bool prepare();
  const QList<ReportPage>& pages() const { return pages_; }
  int masterRowsPrinted() const { return mastersPrinted_; }

  // Paints every page on a printer or PDF writer; false when it cannot start.
  bool render(QPagedPaintDevice* device) const;
  void paintPages(QPainter& painter, QPagedPaintDevice* device) const;
  void renderPage(QPainter& painter, int page, double dotsPerMm) const;
  bool exportPdf(const QString& path);

  // Prepares and shows the preview. Without a layout nothing is shown; an
  // unreadable template is reported in a message box instead.
  void showReport(QWidget* parent, const QString& title = QString());

 private:
  QString fill(const QString& text, int page, int pages) const;
  ReportTemplate layout_;
  LoadState state_ = NoLayout;
  QString error_;
  ReportSource* source_ = nullptr;
  int columnCount_ = 0;
  QHash<QString, QString> vars_;
  QList<ReportPage> pages_;
  int mastersPrinted_ = 0;
};

// The preview window: zoom, print, save as PDF, close.
class ReportPreview : public QDialog {
  Q_OBJECT
 public:
  ReportPreview(ReportEngine* engine, QWidget* parent = nullptr);
  ~ReportPreview() override;
  ReportEngine* engine() const { return engine_; }
  QPrintPreviewWidget* view() const { return view_; }

 private:
  void print();
  void savePdf();
  ReportEngine* engine_;
  QPrinter* printer_;
  QPrintPreviewWidget* view_;
};
