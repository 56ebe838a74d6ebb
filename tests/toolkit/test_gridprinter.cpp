#include <gtest/gtest.h>

#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include "TestEnv.h"
#include "toolkit/Application.h"
#include "toolkit/DataGrid.h"
#include "toolkit/DataSet.h"
#include "toolkit/GridFind.h"
#include "toolkit/GridPrinter.h"
#include "toolkit/MsgBox.h"

namespace {
struct PieceGrid {
  DataSet ds;
  DataGrid grid;
  explicit PieceGrid(int rows) {
    ds.addField("dt", FieldType::String, 10);
    ds.addField("gzname", FieldType::String, 20);
    ds.addField("gxname", FieldType::String, 20);
    ds.addField("je", FieldType::Float);
    ds.addField("secret", FieldType::String, 10);
    ds.createTable();
    for (int i = 0; i < rows; ++i) {
      ds.append();
      ds.setValue("dt", QString("2010-04-%1").arg(i % 28 + 1, 2, 10, QChar('0')));
      ds.setValue("gzname", QStringLiteral("裁剪车间"));
      ds.setValue("gxname", QStringLiteral("工序%1").arg(i + 1));
      ds.setValue("je", 1234.5 + i);
      ds.setValue("secret", "HIDDENCOL");
      ds.post();
    }
    GridColumn je{"je", QStringLiteral("金额")};
    je.displayFormat = "#,##0.00";
    GridColumn secret{"secret", QStringLiteral("隐藏列")};
    secret.visible = false;
    grid.setColumns({{"dt", QStringLiteral("日期")}, {"gzname", QStringLiteral("工种")},
                     {"gxname", QStringLiteral("工序")}, je, secret});
    grid.setDataSet(&ds);
  }
};

GridPrintOptions options() {
  GridPrintOptions o;
  o.pageHeader = QStringLiteral("计件数据一览表");
  o.headerFont = QFont(songFamily(), 16, QFont::Bold);
  o.textBefore = QStringLiteral("数据月份：2010年04月");
  o.textFont = QFont(songFamily(), 10);
  return o;
}

QString pdfText(const QString& pdf) {
  QProcess p;
  p.start("pdftotext", {"-layout", pdf, "-"});
  p.waitForFinished(30000);
  return QString::fromUtf8(p.readAllStandardOutput());
}
}  // namespace

TEST(GridPrinter, PdfHoldsHeaderTextVisibleColumnsAndEveryRow) {
  TestProgram p;
  PieceGrid g(120);
  const QString pdf = p.dir() + "list.pdf";
  ASSERT_TRUE(GridPrinter::printToPdf(&g.grid, options(), pdf));
  const QString text = pdfText(pdf);
  ASSERT_FALSE(text.isEmpty());
  const QStringList pages = text.split('\f', Qt::SkipEmptyParts);
  ASSERT_GE(pages.size(), 2);  // 120 rows do not fit on one page
  for (const QString& page : pages) {
    EXPECT_TRUE(page.contains(QStringLiteral("计件数据一览表")));  // header on every page
    EXPECT_TRUE(page.contains(QStringLiteral("金额")));           // titles repeated
  }
  EXPECT_TRUE(pages[0].contains(QStringLiteral("数据月份：2010年04月")));
  EXPECT_FALSE(pages[1].contains(QStringLiteral("数据月份")));
  EXPECT_TRUE(text.contains("1,234.50"));  // formatted as the grid shows it
  EXPECT_TRUE(text.contains("1,353.50"));  // the last row
  for (int i = 1; i <= 120; ++i) EXPECT_TRUE(text.contains(QStringLiteral("工序%1 ").arg(i))) << i;
  EXPECT_FALSE(text.contains("HIDDENCOL"));
  EXPECT_FALSE(text.contains(QStringLiteral("隐藏列")));
}

TEST(GridPrinter, WideGridIsShrunkToThePageAndBadPathFails) {
  TestProgram p;
  PieceGrid g(3);
  QVector<GridColumn> many;
  for (int i = 0; i < 30; ++i) many << GridColumn{"gxname", QStringLiteral("很长的列标题%1").arg(i)};
  g.grid.setColumns(many);
  const QString pdf = p.dir() + "wide.pdf";
  ASSERT_TRUE(GridPrinter::printToPdf(&g.grid, options(), pdf));
  const QString text = pdfText(pdf);
  EXPECT_TRUE(text.contains(QStringLiteral("很长的列标题0")));
  EXPECT_TRUE(text.contains(QStringLiteral("很长的列标题29")));  // the last column is on the page
  EXPECT_FALSE(GridPrinter::printToPdf(&g.grid, options(), p.dir() + "no/such/dir/x.pdf"));
}

TEST(GridFind, FindsOnwardsAndGoesRound) {
  TestProgram p;
  PieceGrid g(5);
  g.grid.setCurrentCell(0, 0);
  EXPECT_TRUE(GridFind::findNext(&g.grid, QStringLiteral("工序4"), -1, false));
  EXPECT_EQ(g.grid.currentIndex().row(), 3);
  EXPECT_EQ(g.grid.currentIndex().column(), 2);
  EXPECT_TRUE(GridFind::findNext(&g.grid, QStringLiteral("工序"), 2, false));
  EXPECT_EQ(g.grid.currentIndex().row(), 4);
  EXPECT_TRUE(GridFind::findNext(&g.grid, QStringLiteral("工序"), 2, false));  // round to the top
  EXPECT_EQ(g.grid.currentIndex().row(), 0);
  EXPECT_FALSE(GridFind::findNext(&g.grid, QStringLiteral("工序"), 2, true));  // whole cell only
  EXPECT_FALSE(GridFind::findNext(&g.grid, "HIDDENCOL", -1, false));          // hidden columns are not searched
  EXPECT_TRUE(GridFind::findNext(&g.grid, "1,235.50", 3, true));
  EXPECT_EQ(g.grid.currentIndex().row(), 1);
}

TEST(GridFind, CtrlFOpensTheDialog) {
  TestProgram p;
  PieceGrid g(5);
  g.grid.show();
  g.grid.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&g.grid));
  g.grid.setCurrentCell(0, 0);
  g.grid.setFocus();
  QTest::keyClick(&g.grid, Qt::Key_F, Qt::ControlModifier);
  auto* dlg = g.grid.findChild<TfrmGridFind*>();
  ASSERT_TRUE(dlg);
  ASSERT_TRUE(waitFor([&] { return dlg->isVisible(); }));
  dlg->edtText->setText(QStringLiteral("工序3"));
  dlg->btnFind->click();
  EXPECT_EQ(g.grid.currentIndex().row(), 2);
  MsgBox::Recorder rec;
  dlg->edtText->setText(QStringLiteral("没有"));
  dlg->btnFind->click();
  EXPECT_EQ(rec.shown.size(), 1);
  EXPECT_EQ(g.grid.currentIndex().row(), 2);
}

TEST(GridPrinter, PreviewIsQtsPrintPreview) {
  TestProgram p;
  PieceGrid g(10);
  QString seen;
  whenModal([&](QWidget* dlg) {
    seen = dlg->objectName() + "|" + dlg->windowTitle();
    static_cast<QDialog*>(dlg)->reject();
  });
  GridPrinter::preview(nullptr, &g.grid, options());
  EXPECT_EQ(seen, QStringLiteral("GridPrintPreview|计件数据一览表"));
}
