#include "toolkit/ReportEngine.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QToolBar>
#include <QVBoxLayout>

#include "toolkit/Application.h"
#include "toolkit/FileDialog.h"
#include "toolkit/MsgBox.h"

// ---------------------------------------------------------------- template

namespace {

struct BandDraft {
  ReportBand band;
  QString family;
  double size = 0;
  int bold = -1;
  int line = 0;
  bool hasType = false;
};

// The template names the faces users know; "宋体" is whichever Song face
// stands for it on this machine.
QFont faceFont(const QString& family) {
  return QFont(family == "宋体" ? songFamily() : family);
}

bool parseBool(const QString& v, bool* out) {
  const QString s = v.toLower();
  if (s == "yes" || s == "1" || s == "true" || s == "是") { *out = true; return true; }
  if (s == "no" || s == "0" || s == "false" || s == "否") { *out = false; return true; }
  return false;
}

bool parseNumber(const QString& v, double* out, double min, double max) {
  bool ok = false;
  const double d = v.toDouble(&ok);
  if (!ok || d < min || d > max) return false;
  *out = d;
  return true;
}

bool parsePageSize(const QString& v, QPageSize* out) {
  static const QHash<QString, QPageSize::PageSizeId> named = {
      {"a3", QPageSize::A3}, {"a4", QPageSize::A4}, {"a5", QPageSize::A5},
      {"b5", QPageSize::B5}, {"letter", QPageSize::Letter}, {"legal", QPageSize::Legal}};
  const QString s = v.toLower();
  if (named.contains(s)) {
    *out = QPageSize(named.value(s));
    return true;
  }
  static const QRegularExpression re(R"(^\s*(\d+(?:\.\d+)?)\s*[x×*]\s*(\d+(?:\.\d+)?)\s*$)");
  const auto m = re.match(s);
  if (!m.hasMatch()) return false;
  const double w = m.captured(1).toDouble(), h = m.captured(2).toDouble();
  if (w < 50 || h < 50 || w > 2000 || h > 2000) return false;
  *out = QPageSize(QSizeF(w, h), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
  return true;
}

bool parseMargins(const QString& v, QMarginsF* out) {
  const QStringList parts = v.split(QRegularExpression(R"([\s,，]+)"), Qt::SkipEmptyParts);
  if (parts.size() != 1 && parts.size() != 4) return false;
  double m[4];
  for (int i = 0; i < parts.size(); ++i)
    if (!parseNumber(parts[i], &m[i], 0, 100)) return false;
  if (parts.size() == 1) m[1] = m[2] = m[3] = m[0];
  *out = QMarginsF(m[0], m[1], m[2], m[3]);
  return true;
}

bool parseAlign(const QString& v, Qt::Alignment* out) {
  const QString s = v.toLower();
  if (s == "left") *out = Qt::AlignLeft;
  else if (s == "center" || s == "centre") *out = Qt::AlignHCenter;
  else if (s == "right") *out = Qt::AlignRight;
  else return false;
  return true;
}

QString lineError(int line, const QString& what) {
  return QString("第%1行：%2").arg(line).arg(what);
}

QString badValue(const QString& key, const QString& value, const QString& expected) {
  return QString("“%1”的值“%2”不对，应为%3").arg(key, value, expected);
}

}  // namespace

QPageLayout ReportTemplate::pageLayout() const {
  // Items are placed from the paper's corner; the template's margins are
  // kept by the layout itself.
  return QPageLayout(pageSize, orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

bool ReportTemplate::parse(const QString& text, ReportTemplate* out, QString* error) {
  ReportTemplate t;
  QString family = "宋体";
  double size = 9;

  enum Section { None, Page, Header, Footer, Band };
  Section section = None;
  QList<BandDraft> drafts;
  QList<Section> owners;
  bool sawPage = false;

  auto fail = [&](int line, const QString& what) {
    if (error) *error = lineError(line, what);
    return false;
  };

  const QStringList lines = text.split('\n');
  for (int i = 0; i < lines.size(); ++i) {
    const int no = i + 1;
    const QString line = lines[i].trimmed();
    if (line.isEmpty() || line.startsWith('#') || line.startsWith(';')) continue;
    if (line.startsWith('[')) {
      if (!line.endsWith(']')) return fail(no, "段名缺少“]”");
      const QString name = line.mid(1, line.size() - 2).trimmed().toLower();
      if (name == "page") {
        if (sawPage) return fail(no, "[page]段只能有一个");
        sawPage = true;
        section = Page;
      } else if (name == "pageheader" || name == "pagefooter" || name == "band") {
        section = name == "band" ? Band : name == "pageheader" ? Header : Footer;
        BandDraft d;
        d.line = no;
        if (section != Band) {
          d.hasType = true;  // page headers and footers are text lines
          d.band.kind = ReportBand::Text;
        }
        drafts.append(d);
        owners.append(section);
      } else {
        return fail(no, QString("不认识的段[%1]，可用的段为[page]、[pageheader]、[pagefooter]、[band]")
                            .arg(line.mid(1, line.size() - 2)));
      }
      continue;
    }
    const int eq = line.indexOf('=');
    if (eq <= 0) return fail(no, "这一行既不是段名，也不是“名称 = 值”");
    const QString key = line.left(eq).trimmed().toLower();
    const QString value = line.mid(eq + 1).trimmed();
    if (section == None) return fail(no, "设置“" + key + "”写在了任何段之前");

    if (section == Page) {
      if (key == "size") {
        if (!parsePageSize(value, &t.pageSize))
          return fail(no, badValue(key, value, "A3、A4、A5、B5、Letter、Legal 或 宽x高（毫米）"));
      } else if (key == "orientation") {
        const QString v = value.toLower();
        if (v == "portrait") t.orientation = QPageLayout::Portrait;
        else if (v == "landscape") t.orientation = QPageLayout::Landscape;
        else return fail(no, badValue(key, value, "portrait 或 landscape"));
      } else if (key == "margins") {
        if (!parseMargins(value, &t.margins))
          return fail(no, badValue(key, value, "一个或四个0到100之间的毫米数（左 上 右 下）"));
      } else if (key == "font") {
        if (value.isEmpty()) return fail(no, badValue(key, value, "字体名称"));
        family = value;
      } else if (key == "fontsize") {
        if (!parseNumber(value, &size, 4, 72)) return fail(no, badValue(key, value, "4到72之间的磅数"));
      } else if (key == "pixel") {
        if (!parseNumber(value, &t.pixelMm, 0.05, 2)) return fail(no, badValue(key, value, "0.05到2之间的毫米数"));
      } else if (key == "padding") {
        if (!parseNumber(value, &t.padding, 0, 10)) return fail(no, badValue(key, value, "0到10之间的毫米数"));
      } else if (key == "minfontsize") {
        if (!parseNumber(value, &t.minFontSize, 3, 72)) return fail(no, badValue(key, value, "3到72之间的磅数"));
      } else {
        return fail(no, "“" + key + "”不是[page]段的设置");
      }
      continue;
    }

    BandDraft& d = drafts.last();
    ReportBand& b = d.band;
    if (key == "type" && section == Band) {
      const QString v = value.toLower();
      if (v == "text") b.kind = ReportBand::Text;
      else if (v == "columns") b.kind = ReportBand::Columns;
      else if (v == "cut") b.kind = ReportBand::Cut;
      else return fail(no, badValue(key, value, "text、columns 或 cut"));
      d.hasType = true;
    } else if (key == "text") {
      b.text = value;
    } else if (key == "value") {
      if (value != "head" && value != "cell") return fail(no, badValue(key, value, "head 或 cell"));
      b.text = value;
    } else if (key == "align") {
      if (!parseAlign(value, &b.align)) return fail(no, badValue(key, value, "left、center 或 right"));
    } else if (key == "height") {
      if (!parseNumber(value, &b.height, 0, 200)) return fail(no, badValue(key, value, "0到200之间的毫米数"));
    } else if (key == "font") {
      if (value.isEmpty()) return fail(no, badValue(key, value, "字体名称"));
      d.family = value;
    } else if (key == "fontsize") {
      if (!parseNumber(value, &d.size, 4, 72)) return fail(no, badValue(key, value, "4到72之间的磅数"));
    } else if (key == "bold") {
      bool v;
      if (!parseBool(value, &v)) return fail(no, badValue(key, value, "yes 或 no"));
      d.bold = v ? 1 : 0;
    } else if (key == "border") {
      if (!parseBool(value, &b.border)) return fail(no, badValue(key, value, "yes 或 no"));
    } else if (key == "decimals") {
      double v;
      if (!parseNumber(value, &v, 0, 10) || v != int(v)) return fail(no, badValue(key, value, "0到10的整数"));
      b.decimals = int(v);
    } else if (key == "style") {
      const QString v = value.toLower();
      if (v == "dashed") b.dashed = true;
      else if (v == "solid") b.dashed = false;
      else return fail(no, badValue(key, value, "dashed 或 solid"));
    } else {
      return fail(no, "“" + key + "”不是这一段的设置");
    }
  }

  for (int i = 0; i < drafts.size(); ++i) {
    BandDraft& d = drafts[i];
    if (!d.hasType) return fail(d.line, "[band]段缺少“type”");
    if (d.band.kind == ReportBand::Columns && d.band.text.isEmpty())
      return fail(d.line, "columns 段缺少“value”（head 或 cell）");
    QFont f = faceFont(d.family.isEmpty() ? family : d.family);
    f.setPointSizeF(d.size > 0 ? d.size : size);
    f.setBold(d.bold == 1);
    d.band.font = f;
    switch (owners[i]) {
      case Header: t.pageHeader.append(d.band); break;
      case Footer: t.pageFooter.append(d.band); break;
      default: t.bands.append(d.band); break;
    }
  }
  bool content = false;
  for (const ReportBand& b : t.bands) content = content || b.kind != ReportBand::Cut;
  if (!content) {
    if (error) *error = "模板中没有可打印的[band]段";
    return false;
  }
  t.font = faceFont(family);
  t.font.setPointSizeF(size);
  if (t.minFontSize > size) t.minFontSize = size;
  QRectF body = QRectF(QPointF(0, 0), t.pageSize.size(QPageSize::Millimeter));
  if (t.orientation == QPageLayout::Landscape) body = body.transposed();
  if (t.margins.left() + t.margins.right() >= body.width() - 20 ||
      t.margins.top() + t.margins.bottom() >= body.height() - 20) {
    if (error) *error = "页边距太大，纸上放不下内容";
    return false;
  }
  *out = t;
  return true;
}

// ------------------------------------------------------------------ engine

ReportEngine::LoadState ReportEngine::loadFromFile(const QString& path) {
  layout_ = ReportTemplate();
  error_.clear();
  QFile f(path);
  if (!f.exists()) return state_ = Missing;
  if (!f.open(QIODevice::ReadOnly)) {
    error_ = "报表模板“" + QFileInfo(path).fileName() + "”无法打开：" + f.errorString();
    return state_ = Invalid;
  }
  const QByteArray bytes = f.readAll();
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString text = utf8(bytes);
  if (utf8.hasError()) {
    error_ = "报表模板“" + QFileInfo(path).fileName() + "”无法读取：文件不是UTF-8文本";
    return state_ = Invalid;
  }
  QString why;
  if (!ReportTemplate::parse(text, &layout_, &why)) {
    layout_ = ReportTemplate();
    error_ = "报表模板“" + QFileInfo(path).fileName() + "”无法读取：" + why;
    return state_ = Invalid;
  }
  return state_ = Loaded;
}

bool ReportEngine::loadFromText(const QString& text) {
  QString why;
  error_.clear();
  if (!ReportTemplate::parse(text, &layout_, &why)) {
    layout_ = ReportTemplate();
    error_ = "报表模板无法读取：" + why;
    state_ = Invalid;
    return false;
  }
  state_ = Loaded;
  return true;
}

QString ReportEngine::fill(const QString& text, int page, int pages) const {
  QString out;
  for (int i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == '{' && i + 1 < text.size() && text[i + 1] == '{') {
      out += '{';
      ++i;
    } else if (c == '}' && i + 1 < text.size() && text[i + 1] == '}') {
      out += '}';
      ++i;
    } else if (c == '{') {
      const int end = text.indexOf('}', i + 1);
      if (end < 0) {
        out += text.mid(i);
        break;
      }
      const QString name = text.mid(i + 1, end - i - 1).trimmed();
      if (name == "page") out += QString::number(page);
      else if (name == "pages") out += QString::number(pages);
      else if (vars_.contains(name)) out += vars_.value(name);
      else if (source_ && page == 0) out += source_->value(name, -1).toString();
      i = end;
    } else {
      out += c;
    }
  }
  return out;
}

namespace {

// Text is measured on a high-resolution image so the layout in mm does not
// depend on the screen.
double textWidthMm(const QFont& font, const QString& text) {
  static QImage ref = [] {
    QImage img(1, 1, QImage::Format_Mono);
    img.setDotsPerMeterX(int(1200 / 0.0254));
    img.setDotsPerMeterY(int(1200 / 0.0254));
    return img;
  }();
  QFontMetricsF fm(font, &ref);
  return fm.horizontalAdvance(text) * 25.4 / 1200;
}

QString formatValue(const QVariant& v, int decimals) {
  if (!v.isValid() || v.isNull()) return QString();
  switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      return decimals >= 0 ? QString::number(v.toDouble(), 'f', decimals)
                           : QString::number(v.toDouble(), 'g', 15);
    default:
      return v.toString();
  }
}

// A box whose text is too wide shrinks its font, down to the smallest size
// the template allows; beyond that the text wraps inside the box.
ReportItem textItem(const QRectF& rect, const QString& text, const QFont& font, Qt::Alignment align,
                    bool frame, const ReportTemplate& t) {
  ReportItem it;
  it.rect = rect;
  it.text = text;
  it.font = font;
  it.flags = int(align | Qt::AlignVCenter);
  it.frame = frame;
  const double avail = rect.width() - 2 * t.padding;
  const double w = textWidthMm(font, text);
  if (w > avail && avail > 0) {
    const double size = font.pointSizeF();
    const double shrunk = std::max(t.minFontSize, size * avail / w * 0.97);
    it.font.setPointSizeF(shrunk);
    if (textWidthMm(it.font, text) > avail) it.flags |= Qt::TextWrapAnywhere;
  }
  return it;
}

struct Line {
  double height = 0;
  QList<ReportItem> items;  // y relative to the line
};

}  // namespace

bool ReportEngine::prepare() {
  pages_.clear();
  mastersPrinted_ = 0;
  if (state_ != Loaded) return false;
  const ReportTemplate& t = layout_;
  QRectF paper(QPointF(0, 0), t.pageSize.size(QPageSize::Millimeter));
  if (t.orientation == QPageLayout::Landscape) paper = paper.transposed();
  const double left = t.margins.left();
  const double width = paper.width() - t.margins.left() - t.margins.right();
  double headerH = 0, footerH = 0;
  for (const ReportBand& b : t.pageHeader) headerH += b.height;
  for (const ReportBand& b : t.pageFooter) footerH += b.height;
  const double bodyTop = t.margins.top() + headerH;
  const double bodyBottom = paper.height() - t.margins.bottom() - footerH;

  auto columnsLines = [&](const QList<const ReportBand*>& group) {
    QList<Line> out;
    const int count = std::max(0, columnCount_);
    if (count == 0 || !source_) return out;
    // Each column as wide as its grid column; a row of columns wider than
    // the page goes on in a further row.
    QList<double> widths;
    for (int n = 1; n <= count; ++n) widths.append(std::min(width, source_->columnWidth(n) * t.pixelMm));
    QList<QPair<int, int>> chunks;
    int start = 0;
    double used = 0;
    for (int i = 0; i < count; ++i) {
      if (i > start && used + widths[i] > width + 1e-6) {
        chunks.append({start, i});
        start = i;
        used = 0;
      }
      used += widths[i];
    }
    chunks.append({start, count});
    for (const auto& [from, to] : chunks) {
      for (const ReportBand* b : group) {
        Line line;
        line.height = b->height;
        double x = left;
        for (int i = from; i < to; ++i) {
          source_->columnWidth(i + 1);
          const double w = std::min(width, source_->lastColumnWidth() * t.pixelMm);
          const QString text = formatValue(source_->value(b->text, i), b->decimals);
          line.items.append(textItem(QRectF(x, 0, w, b->height), text, b->font, b->align, b->border, t));
          x += w;
        }
        out.append(line);
      }
    }
    return out;
  };

  auto textLine = [&](const ReportBand& b, const QString& text) {
    Line line;
    line.height = b.height;
    line.items.append(textItem(QRectF(left, 0, width, b.height), text, b.font, b.align, b.border, t));
    return line;
  };

  QList<Line> cut;
  for (const ReportBand& b : t.bands) {
    if (b.kind != ReportBand::Cut) continue;
    Line line;
    line.height = b.height;
    ReportItem it;
    it.kind = ReportItem::Line;
    it.rect = QRectF(left, b.height / 2, width, 0);
    it.dashed = b.dashed;
    line.items.append(it);
    cut.append(line);
  }
  double cutH = 0;
  for (const Line& l : cut) cutH += l.height;

  double y = bodyTop;
  bool pageHasSlip = false;
  auto newPage = [&] {
    pages_.append(ReportPage());
    y = bodyTop;
    pageHasSlip = false;
  };
  auto place = [&](const Line& line) {
    if (y + line.height > bodyBottom + 1e-6 && y > bodyTop) newPage();
    for (ReportItem it : line.items) {
      it.rect.translate(0, y);
      pages_.last().items.append(it);
    }
    y += line.height;
  };

  newPage();
  const int masters = source_ ? source_->masterCount() : 0;
  for (int r = 0; r < masters; ++r) {
    source_->setMasterRow(r);
    QList<Line> slip;
    for (int i = 0; i < t.bands.size(); ++i) {
      const ReportBand& b = t.bands[i];
      if (b.kind == ReportBand::Text) {
        slip.append(textLine(b, fill(b.text, 0, 0)));
      } else if (b.kind == ReportBand::Columns) {
        QList<const ReportBand*> group;
        while (i < t.bands.size() && t.bands[i].kind != ReportBand::Text) {
          if (t.bands[i].kind == ReportBand::Columns) group.append(&t.bands[i]);
          ++i;
        }
        --i;
        slip.append(columnsLines(group));
      }
    }
    double slipH = 0;
    for (const Line& l : slip) slipH += l.height;
    // A slip stays on one page when it fits on one; the cut line goes only
    // between two slips on the same page.
    if (pageHasSlip) {
      if (y + cutH + slipH <= bodyBottom + 1e-6) {
        for (const Line& l : cut) place(l);
      } else {
        newPage();
      }
    }
    for (const Line& l : slip) place(l);
    pageHasSlip = true;
    ++mastersPrinted_;
  }

  const int total = pages_.size();
  for (int p = 0; p < total; ++p) {
    double hy = t.margins.top();
    for (const ReportBand& b : t.pageHeader) {
      Line l = textLine(b, fill(b.text, p + 1, total));
      for (ReportItem it : l.items) {
        it.rect.translate(0, hy);
        pages_[p].items.append(it);
      }
      hy += b.height;
    }
    double fy = bodyBottom;
    for (const ReportBand& b : t.pageFooter) {
      Line l = textLine(b, fill(b.text, p + 1, total));
      for (ReportItem it : l.items) {
        it.rect.translate(0, fy);
        pages_[p].items.append(it);
      }
      fy += b.height;
    }
  }
  return true;
}

void ReportEngine::renderPage(QPainter& painter, int page, double dotsPerMm) const {
  if (page < 0 || page >= pages_.size()) return;
  const double pad = layout_.padding;
  painter.save();
  for (const ReportItem& it : pages_[page].items) {
    const QRectF r(it.rect.x() * dotsPerMm, it.rect.y() * dotsPerMm, it.rect.width() * dotsPerMm,
                   it.rect.height() * dotsPerMm);
    if (it.kind == ReportItem::Line) {
      QPen pen(Qt::black, 0.2 * dotsPerMm);
      if (it.dashed) {
        pen.setStyle(Qt::CustomDashLine);
        pen.setDashPattern({10, 6});
      }
      painter.setPen(pen);
      painter.drawLine(r.topLeft(), r.topRight());
      continue;
    }
    if (it.frame) {
      painter.setPen(QPen(Qt::black, 0.2 * dotsPerMm));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(r);
    }
    painter.setPen(Qt::black);
    painter.setFont(it.font);
    painter.drawText(r.adjusted(pad * dotsPerMm, 0, -pad * dotsPerMm, 0), it.flags, it.text);
  }
  painter.restore();
}

void ReportEngine::paintPages(QPainter& painter, QPagedPaintDevice* device) const {
  const double dotsPerMm = device->logicalDpiX() / 25.4;
  for (int p = 0; p < pages_.size(); ++p) {
    if (p > 0) device->newPage();
    renderPage(painter, p, dotsPerMm);
  }
}

bool ReportEngine::render(QPagedPaintDevice* device) const {
  device->setPageLayout(layout_.pageLayout());
  QPainter painter;
  if (!painter.begin(device)) return false;
  paintPages(painter, device);
  return painter.end();
}

bool ReportEngine::exportPdf(const QString& path) {
  if (state_ != Loaded) return false;
  if (pages_.isEmpty()) prepare();
  QPdfWriter pdf(path);
  pdf.setResolution(600);
  pdf.setCreator("青禾工资管理系统");
  return render(&pdf) && QFileInfo(path).size() > 0;
}

void ReportEngine::showReport(QWidget* parent, const QString& title) {
  if (state_ == Invalid) {
    MsgBox::error(error_, "提示", parent);
    return;
  }
  if (state_ != Loaded) return;
  prepare();
  ReportPreview preview(this, parent);
  if (!title.isEmpty()) preview.setWindowTitle(title);
  preview.exec();
}

// ----------------------------------------------------------------- preview

ReportPreview::ReportPreview(ReportEngine* engine, QWidget* parent)
    : QDialog(parent), engine_(engine), printer_(new QPrinter(QPrinter::HighResolution)) {
  setObjectName("ReportPreview");
  setWindowTitle("打印预览");
  setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
  printer_->setFullPage(true);
  printer_->setPageLayout(engine_->layout().pageLayout());

  auto* bar = new QToolBar(this);
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  view_ = new QPrintPreviewWidget(printer_, this);
  view_->setObjectName("view");
  connect(view_, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* p) {
    QPainter painter(p);
    engine_->paintPages(painter, p);
  });

  auto add = [&](const char* name, const QString& text, auto slot) {
    QAction* a = bar->addAction(text);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  add("actZoomIn", "放大", [this] { view_->zoomIn(); });
  add("actZoomOut", "缩小", [this] { view_->zoomOut(); });
  add("actFitWidth", "页宽", [this] { view_->fitToWidth(); });
  add("actFitPage", "整页", [this] { view_->fitInView(); });
  bar->addSeparator();
  add("actPrint", "打印", [this] { print(); });
  add("actSavePdf", "保存PDF", [this] { savePdf(); });
  bar->addSeparator();
  add("actClose", "关闭", [this] { reject(); });

  auto* lay = new QVBoxLayout(this);
  lay->setContentsMargins(0, 0, 0, 0);
  lay->setSpacing(0);
  lay->addWidget(bar);
  lay->addWidget(view_, 1);
  resize(900, 700);
  view_->fitToWidth();
}

ReportPreview::~ReportPreview() {
  delete view_;
  view_ = nullptr;
  delete printer_;
}

void ReportPreview::print() {
  QPrintDialog dlg(printer_, this);
  dlg.setWindowTitle("打印");
  if (dlg.exec() != QDialog::Accepted) return;
  if (!engine_->render(printer_)) MsgBox::error("无法开始打印", "提示", this);
}

void ReportPreview::savePdf() {
  QString path = FileDialog::getSaveFileName(this, "保存PDF", QString(), "PDF 文件 (*.pdf)");
  if (path.isEmpty()) return;
  if (!path.endsWith(".pdf", Qt::CaseInsensitive)) path += ".pdf";
  if (!engine_->exportPdf(path)) MsgBox::error("无法写入文件“" + path + "”", "提示", this);
}
