#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QTemporaryDir>

#include "TestEnv.h"
#include "toolkit/Application.h"
#include "toolkit/FileDialog.h"
#include "toolkit/MsgBox.h"
#include "toolkit/ReportEngine.h"

namespace {

// A plain table standing in for a window: heads, widths in pixels, rows.
struct TableSource : ReportSource {
  QStringList heads;
  QList<int> widths;
  QList<QVariantList> rows;
  int row = -1;
  int last = 0;
  QList<int> visited;
  int masterCount() override { return rows.size(); }
  void setMasterRow(int r) override {
    row = r;
    visited.append(r);
  }
  QVariant value(const QString& name, int c) override {
    if (name == "head") return heads.value(c);
    if (name == "cell") return rows[row].value(c);
    return {};
  }
  int columnWidth(int n) override { return last = widths[n - 1]; }
  int lastColumnWidth() override { return last; }
};

const char* kSlip = R"(
[page]
size = A4
margins = 10
font = 宋体
fontsize = 9
[band]
type = text
text = {org} {year}年{month}月
height = 7
[band]
type = columns
value = head
border = yes
[band]
type = columns
value = cell
decimals = 2
border = yes
[band]
type = cut
height = 8
)";

// The shipped template in the source tree; __FILE__ may be relative to the
// folder the test program was compiled in, which is where it lives.
QString shippedTemplate() {
  QString src = QString::fromUtf8(__FILE__);
  if (QFileInfo(src).isRelative()) src = QDir(QCoreApplication::applicationDirPath()).filePath(src);
  return QFileInfo(src).dir().absoluteFilePath("../../rep/gzbar.frf");
}

QString pdfText(const QString& path) {
  QProcess p;
  p.start("pdftotext", {"-layout", path, "-"});
  p.waitForFinished(30000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

QStringList texts(const ReportPage& page) {
  QStringList out;
  for (const ReportItem& it : page.items)
    if (it.kind == ReportItem::Text) out << it.text;
  return out;
}

int cutLines(const ReportPage& page) {
  int n = 0;
  for (const ReportItem& it : page.items) n += it.kind == ReportItem::Line;
  return n;
}

TableSource smallTable(int rows) {
  TableSource s;
  s.heads = {"部门名称", "员工姓名", "基本工资", "应发合计"};
  s.widths = {70, 70, 60, 60};
  for (int r = 0; r < rows; ++r)
    s.rows.append({"生产部", QString("员工%1").arg(r + 1), 1500.0 + r, QVariant()});
  return s;
}

}  // namespace

TEST(ReportTemplate, ShippedPayslipLayoutLoads) {
  const QString path = shippedTemplate();
  ReportEngine engine;
  ASSERT_EQ(engine.loadFromFile(path), ReportEngine::Loaded) << engine.errorText().toStdString();
  const ReportTemplate& t = engine.layout();
  EXPECT_EQ(t.font.family(), songFamily());
  ASSERT_EQ(t.bands.size(), 4);
  EXPECT_EQ(t.bands[1].kind, ReportBand::Columns);
  EXPECT_EQ(t.bands[1].text, "head");
  EXPECT_EQ(t.bands[2].text, "cell");
  EXPECT_EQ(t.bands[2].decimals, 2);
  EXPECT_EQ(t.bands[3].kind, ReportBand::Cut);
  EXPECT_TRUE(t.bands[3].dashed);
}

TEST(ReportTemplate, UnreadableTemplatesSayWhy) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"[page]\nsize = A9\n[band]\ntype=text\n", "第2行：“size”的值“A9”不对"},
      {"[band]\ntype = columns\nvalue = total\n", "第3行：“value”的值“total”不对"},
      {"[band]\ntype = columns\n", "第1行：columns 段缺少“value”"},
      {"[band]\ntext = x\n", "第1行：[band]段缺少“type”"},
      {"size = A4\n", "第1行：设置“size”写在了任何段之前"},
      {"[page]\nsize = A4\ncolour = red\n[band]\ntype=text\n", "第3行：“colour”不是[page]段的设置"},
      {"[bands]\n", "第1行：不认识的段[bands]"},
      {"[band]\ntype = text\njust some words\n", "第3行：这一行既不是段名"},
      {"[band]\ntype = text\nheight = -2\n", "第3行：“height”的值“-2”不对"},
      {"[page]\nmargins = 10 10\n[band]\ntype=text\n", "第2行：“margins”的值“10 10”不对"},
      {"# only a comment\n[band]\ntype = cut\n", "模板中没有可打印的[band]段"},
      {"[page]\nmargins = 100\n[band]\ntype=text\n", "页边距太大"},
  };
  for (const Case& c : cases) {
    ReportEngine engine;
    EXPECT_FALSE(engine.loadFromText(QString::fromUtf8(c.text))) << c.text;
    EXPECT_EQ(engine.state(), ReportEngine::Invalid);
    EXPECT_TRUE(engine.errorText().contains(QString::fromUtf8(c.expected)))
        << c.text << " -> " << engine.errorText().toStdString();
    EXPECT_FALSE(engine.prepare());
  }
}

TEST(ReportTemplate, FileStates) {
  QTemporaryDir dir;
  ReportEngine engine;
  EXPECT_EQ(engine.loadFromFile(dir.filePath("none.frf")), ReportEngine::Missing);
  EXPECT_TRUE(engine.errorText().isEmpty());
  EXPECT_FALSE(engine.prepare());

  QFile bad(dir.filePath("gb.frf"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("[band]\ntype = text\ntext = \xb9\xa4\xd7\xca\n");  // GB2312 bytes
  bad.close();
  EXPECT_EQ(engine.loadFromFile(bad.fileName()), ReportEngine::Invalid);
  EXPECT_TRUE(engine.errorText().contains("不是UTF-8文本")) << engine.errorText().toStdString();
}

TEST(ReportEngine, OneSlipPerMasterRowWithColumnWidths) {
  ReportEngine engine;
  ASSERT_TRUE(engine.loadFromText(kSlip));
  TableSource src = smallTable(3);
  engine.setSource(&src);
  engine.setColumnCount(4);
  engine.setVariable("org", "青禾木业");
  engine.setVariable("year", "2010");
  engine.setVariable("month", "4");
  ASSERT_TRUE(engine.prepare());
  EXPECT_EQ(engine.masterRowsPrinted(), 3);
  EXPECT_EQ(src.visited, (QList<int>{0, 1, 2}));
  ASSERT_EQ(engine.pages().size(), 1);
  const ReportPage& page = engine.pages()[0];
  const QStringList t = texts(page);
  EXPECT_EQ(t.count("青禾木业 2010年4月"), 3);
  EXPECT_EQ(t.count("基本工资"), 3);
  EXPECT_TRUE(t.contains("1500.00"));
  EXPECT_TRUE(t.contains("1502.00"));
  EXPECT_TRUE(t.contains("员工3"));
  EXPECT_EQ(t.count(""), 3);  // an empty value prints an empty cell, not 0.00
  EXPECT_EQ(cutLines(page), 2);  // between slips only

  // Each cell is as wide as its column: 70 pixels and 60 pixels.
  const double px = engine.layout().pixelMm;
  for (const ReportItem& it : page.items) {
    if (it.text == "员工1") EXPECT_NEAR(it.rect.width(), 70 * px, 1e-9);
    if (it.text == "基本工资") EXPECT_NEAR(it.rect.width(), 60 * px, 1e-9);
  }
}

TEST(ReportEngine, WideColumnsWrapOntoFurtherLinesAndNothingIsCut) {
  ReportEngine engine;
  ASSERT_TRUE(engine.loadFromText(kSlip));
  TableSource src;
  for (int c = 0; c < 11; ++c) {
    src.heads << QString("项目%1").arg(c + 1);
    src.widths << 200;  // 52.9 mm: three to a line of 190 mm
  }
  QVariantList row;
  for (int c = 0; c < 11; ++c) row << c * 10.0;
  src.rows = {row, row};
  engine.setSource(&src);
  engine.setColumnCount(11);
  ASSERT_TRUE(engine.prepare());
  const ReportPage& page = engine.pages()[0];
  QSet<double> headLines;
  for (const ReportItem& it : page.items) {
    EXPECT_GE(it.rect.left(), 10 - 1e-9);
    EXPECT_LE(it.rect.right(), 200 + 1e-9) << it.text.toStdString();
    if (it.text.startsWith("项目")) headLines.insert(it.rect.top());
  }
  EXPECT_EQ(headLines.size(), 8);  // four lines of heads per slip, two slips
  const QStringList t = texts(page);
  for (int c = 0; c < 11; ++c) EXPECT_EQ(t.count(QString("项目%1").arg(c + 1)), 2);
  EXPECT_EQ(t.count("100.00"), 2);
}

TEST(ReportEngine, SlipsAreNotSplitAcrossPages) {
  ReportEngine engine;
  ASSERT_TRUE(engine.loadFromText(QString(kSlip) + "[pagefooter]\ntext = 第{page}页 共{pages}页\nalign=center\n"));
  TableSource src = smallTable(30);
  engine.setSource(&src);
  engine.setColumnCount(4);
  ASSERT_TRUE(engine.prepare());
  const auto& pages = engine.pages();
  ASSERT_GT(pages.size(), 1);
  int slips = 0;
  for (int p = 0; p < pages.size(); ++p) {
    const QStringList t = texts(pages[p]);
    const int here = t.count("部门名称");
    EXPECT_EQ(t.count("生产部"), here) << "page " << p;  // head and value lines together
    EXPECT_EQ(cutLines(pages[p]), here - 1);
    EXPECT_TRUE(t.contains(QString("第%1页 共%2页").arg(p + 1).arg(pages.size())));
    for (const ReportItem& it : pages[p].items) EXPECT_LE(it.rect.bottom(), 297 - 10 + 1e-9);
    slips += here;
  }
  EXPECT_EQ(slips, 30);
}

TEST(ReportEngine, NoMasterRowsGiveOneBlankPage) {
  ReportEngine engine;
  ASSERT_TRUE(engine.loadFromText(kSlip));
  TableSource src = smallTable(0);
  engine.setSource(&src);
  engine.setColumnCount(4);
  ASSERT_TRUE(engine.prepare());
  EXPECT_EQ(engine.masterRowsPrinted(), 0);
  ASSERT_EQ(engine.pages().size(), 1);
  EXPECT_TRUE(engine.pages()[0].items.isEmpty());
}

TEST(ReportEngine, LongTitlesShrinkToTheirColumn) {
  ReportEngine engine;
  ASSERT_TRUE(engine.loadFromText(kSlip));
  TableSource src;
  src.heads = {"本月应发工资合计金额"};
  src.widths = {60};
  src.rows = {{5.555}};
  engine.setSource(&src);
  engine.setColumnCount(1);
  ASSERT_TRUE(engine.prepare());
  for (const ReportItem& it : engine.pages()[0].items) {
    if (it.text == "本月应发工资合计金额") {
      EXPECT_LT(it.font.pointSizeF(), 9);
      EXPECT_GE(it.font.pointSizeF(), 6);
    }
    if (it.text == "5.56" || it.text == "5.55") EXPECT_EQ(it.font.pointSizeF(), 9);
  }
}

TEST(ReportEngine, PdfCarriesTheText) {
  QTemporaryDir dir;
  ReportEngine engine;
  ASSERT_TRUE(engine.loadFromText(kSlip));
  TableSource src = smallTable(2);
  engine.setSource(&src);
  engine.setColumnCount(4);
  engine.setVariable("org", "青禾木业");
  engine.setVariable("year", "2010");
  engine.setVariable("month", "4");
  const QString pdf = dir.filePath("slips.pdf");
  ASSERT_TRUE(engine.exportPdf(pdf));
  const QString text = pdfText(pdf);
  EXPECT_TRUE(text.contains("青禾木业 2010年4月")) << text.toStdString();
  EXPECT_TRUE(text.contains("应发合计"));
  EXPECT_TRUE(text.contains("员工2"));
  EXPECT_TRUE(text.contains("1501.00"));
  EXPECT_FALSE(engine.exportPdf(dir.filePath("no/such/dir/x.pdf")));
}

TEST(ReportPreview, ZoomsSavesPdfAndCloses) {
  QTemporaryDir dir;
  ReportEngine engine;
  ASSERT_TRUE(engine.loadFromText(kSlip));
  TableSource src = smallTable(12);
  engine.setSource(&src);
  engine.setColumnCount(4);
  FileDialog::Script files;
  files.answer(dir.filePath("slips"));
  MsgBox::Recorder msgs;
  bool shown = false;
  whenModal("ReportPreview", [&](QWidget* w) {
    shown = true;
    auto* view = qobject_cast<ReportPreview*>(w)->view();
    const qreal before = view->zoomFactor();
    w->findChild<QAction*>("actZoomIn")->trigger();
    EXPECT_GT(view->zoomFactor(), before);
    w->findChild<QAction*>("actSavePdf")->trigger();
    w->findChild<QAction*>("actClose")->trigger();
  });
  engine.showReport(nullptr, "工资条");
  ASSERT_TRUE(shown);
  ASSERT_EQ(files.calls.size(), 1);
  EXPECT_EQ(files.calls[0].kind, "save");
  EXPECT_TRUE(pdfText(dir.filePath("slips.pdf")).contains("员工12"));
  EXPECT_TRUE(msgs.shown.isEmpty());
}

TEST(ReportPreview, NoPreviewWithoutALayout) {
  MsgBox::Recorder msgs;
  bool shown = false;
  whenModal([&](QWidget* w) {
    shown = true;
    w->close();
  }, 300);
  ReportEngine missing;
  missing.loadFromFile("/nonexistent/gzbar.frf");
  missing.showReport(nullptr);
  EXPECT_TRUE(msgs.shown.isEmpty());

  ReportEngine bad;
  bad.loadFromText("[band]\ntype = wide\n");
  bad.showReport(nullptr);
  ASSERT_EQ(msgs.shown.size(), 1);
  EXPECT_EQ(msgs.shown[0].icon, MsgBox::Icon::Error);
  EXPECT_TRUE(msgs.shown[0].text.contains("第2行")) << msgs.shown[0].text.toStdString();
  waitFor([] { return false; }, 400);
  EXPECT_FALSE(shown);
}
