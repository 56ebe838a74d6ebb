#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QRegularExpression>

#include "ReportFixture.h"
#include "TestEnv.h"
#include "app/Commands.h"
#include "app/MainDM.h"
#include "common/MyFun.h"
#include "common/Setup.h"
#include "payroll/GzReports.h"
#include "payroll/GzSum.h"
#include "toolkit/DataGrid.h"
#include "toolkit/DataSet.h"
#include "toolkit/FileDialog.h"
#include "toolkit/GridPrinter.h"
#include "toolkit/MonthPicker.h"
#include "toolkit/MsgBox.h"
#include "toolkit/ReportEngine.h"

using namespace reports;

namespace {

// The salary sheet as the salary window shows it: the month's rows in
// department, then employee-code order, the two hidden code columns, the
// fixed columns and the item columns.
struct SheetGrid {
  DataSet tmp;
  DataGrid grid;
  void load(int year, int month) {
    Query xm(&db());
    xm.setSql("select * from gzxm_m where xyear=:y and xmonth=:m order by xh");
    xm.bind("y", year).bind("m", month);
    xm.open();
    tmp.close();
    tmp.clearFields();
    for (const char* f : {"bmcode", "tpcode", "bmname", "tpname", "wkcode", "wkname", "sex"})
      tmp.addField(f, FieldType::String, 20);
    QStringList items;
    for (xm.first(); !xm.eof(); xm.next()) {
      items << xm.str("fname");
      tmp.addField(xm.str("fname"), FieldType::Float);
    }
    tmp.createTable();
    Query q(&db());
    q.setSql("select w.bmcode,w.tpcode,b.bmname,t.tpname,d.wkcode,wkname,sex" +
             (items.isEmpty() ? QString() : "," + items.join(",")) +
             " from gzdata d join worker w on d.wkcode=w.wkcode left join depart b on b.bmcode=w.bmcode"
             " left join worker_tp t on t.tpcode=w.tpcode where xyear=:y and xmonth=:m"
             " order by w.bmcode,w.wkcode");
    q.bind("y", year).bind("m", month);
    q.open();
    for (q.first(); !q.eof(); q.next()) {
      tmp.append();
      for (int c = 0; c < q.fieldCount(); ++c) tmp.setValue(tmp.fieldDef(c).name, q.field(c).value());
      tmp.post();
    }
    QVector<GridColumn> cols;
    const char* titles[] = {"", "", "部门名称", "职位名称", "员工代码", "员工姓名", "性别"};
    for (int i = 0; i < tmp.fieldCount(); ++i) {
      GridColumn c;
      c.field = tmp.fieldDef(i).name;
      if (i < 2) {
        c.visible = false;
        c.tag = 1;
      } else if (i < 7) {
        c.title = titles[i];
        c.width = i == 6 ? 40 : 70;
      } else {
        xm.moveTo(i - 7);
        c.title = xm.str("xmname");
        c.width = 60;
        c.displayFormat = "0.00";
      }
      cols << c;
    }
    grid.setDataSet(&tmp);
    grid.setColumns(cols);
  }
};

QStringList pageTexts(const ReportEngine* engine) {
  QStringList out;
  for (const ReportPage& page : engine->pages())
    for (const ReportItem& it : page.items)
      if (it.kind == ReportItem::Text) out << it.text;
  return out;
}

// Opens the payslip preview and hands its engine to fn before closing it.
void withPayslipPreview(DataGrid* grid, int year, int month, const std::function<void(ReportEngine*)>& fn) {
  bool shown = false;
  whenModal("ReportPreview", [&](QWidget* w) {
    shown = true;
    auto* preview = qobject_cast<ReportPreview*>(w);
    fn(preview->engine());
    if (!qEnvironmentVariable("QH_REPORT_PNG").isEmpty())
      preview->grab().save(qEnvironmentVariable("QH_REPORT_PNG") + "/preview.png");
    preview->findChild<QAction*>("actClose")->trigger();
  });
  GzReports::showPayslips(nullptr, grid, year, month);
  EXPECT_TRUE(shown);
}

}  // namespace

TEST(Payslips, BeforeAnyMonthIsLoadedTheEngineGetsNoMasterRow) {
  Workshop w;
  SheetGrid sheet;  // the salary window before "调出": no fields, no rows
  MsgBox::Recorder msgs;
  withPayslipPreview(&sheet.grid, 0, 0, [](ReportEngine* e) {
    EXPECT_EQ(e->masterRowsPrinted(), 0);
    EXPECT_EQ(e->columnCount(), 0);
    ASSERT_EQ(e->pages().size(), 1);
    EXPECT_TRUE(e->pages()[0].items.isEmpty());
  });
  EXPECT_TRUE(msgs.shown.isEmpty());
}

TEST(Payslips, OneSlipPerRowInSheetOrderWithTheSameTitles) {
  Workshop w;
  SheetGrid sheet;
  sheet.load(2010, 4);
  withPayslipPreview(&sheet.grid, 2010, 4, [](ReportEngine* e) {
    EXPECT_EQ(e->masterRowsPrinted(), 30);
    EXPECT_EQ(e->columnCount(), 9);  // every visible column, not only those in view
    const QStringList t = pageTexts(e);
    for (const char* title : {"部门名称", "职位名称", "员工代码", "员工姓名", "性别", "基本工资", "计件工资", "奖金",
                              "应发工资合计"})
      EXPECT_EQ(t.count(title), 30) << title;
    EXPECT_EQ(t.count("青禾木业有限公司　2010年4月工资条"), 30);
    // Department 01 holds the even codes, 02 the odd ones; each in code order.
    QStringList codes;
    for (const QString& s : t)
      if (QRegularExpression("^\\d{3}$").match(s).hasMatch()) codes << s;
    QStringList expected;
    for (int n = 2; n <= 30; n += 2) expected << MyFun::padZero(n, 3);
    for (int n = 1; n <= 29; n += 2) expected << MyFun::padZero(n, 3);
    EXPECT_EQ(codes, expected);
    EXPECT_TRUE(t.contains("1002.00"));  // f1 of employee 002, two decimals
    EXPECT_TRUE(t.contains("21.00"));    // f2 of employee 002
    EXPECT_FALSE(t.contains("bmcode"));
  });
}

TEST(Payslips, ColumnSettingsOfTheModeApply) {
  Workshop w;
  MyFun::writeIni("GzData1", "col3", "0");  // 职位名称 and 计件工资 hidden for payslips
  MyFun::writeIni("GzData1", "col8", "0");
  SheetGrid payslipMode, entryMode;
  payslipMode.load(2010, 4);
  Setup::loadColumns("GzData1", &payslipMode.grid);
  entryMode.load(2010, 4);
  Setup::loadColumns("GzData0", &entryMode.grid);
  withPayslipPreview(&payslipMode.grid, 2010, 4, [](ReportEngine* e) {
    EXPECT_EQ(e->columnCount(), 7);
    const QStringList t = pageTexts(e);
    EXPECT_FALSE(t.contains("计件工资"));
    EXPECT_FALSE(t.contains("职位名称"));
    EXPECT_FALSE(t.contains("木工"));
    EXPECT_EQ(t.count("基本工资"), 30);
  });
  withPayslipPreview(&entryMode.grid, 2010, 4, [](ReportEngine* e) {
    EXPECT_EQ(e->columnCount(), 9);
    EXPECT_EQ(pageTexts(e).count("计件工资"), 30);
  });
}

TEST(Payslips, TemplateMissingOrUnreadable) {
  Workshop w;
  SheetGrid sheet;
  sheet.load(2010, 4);
  MsgBox::Recorder msgs;
  bool shown = false;
  whenModal("ReportPreview", [&](QWidget* d) {
    shown = true;
    d->close();
  }, 300);

  QFile::remove(GzReports::payslipTemplatePath());
  GzReports::showPayslips(nullptr, &sheet.grid, 2010, 4);
  EXPECT_TRUE(msgs.shown.isEmpty());  // no layout, no report, no message
  EXPECT_FALSE(GzReports::writePayslipsPdf(&sheet.grid, 2010, 4, w.p.dir() + "x.pdf"));

  QFile f(GzReports::payslipTemplatePath());
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("[page]\nsize = A4\n[band]\ntype = columns\nvalue = cells\n");
  f.close();
  GzReports::showPayslips(nullptr, &sheet.grid, 2010, 4);
  ASSERT_EQ(msgs.shown.size(), 1);
  EXPECT_EQ(msgs.shown[0].caption, "提示");
  EXPECT_EQ(msgs.shown[0].icon, MsgBox::Icon::Error);
  EXPECT_TRUE(msgs.shown[0].text.contains("第5行")) << msgs.shown[0].text.toStdString();
  waitFor([] { return false; }, 400);
  EXPECT_FALSE(shown);
}

TEST(Payslips, PdfOfTheMonth) {
  Workshop w;
  SheetGrid sheet;
  sheet.load(2010, 4);
  const QString pdf = w.p.dir() + "payslips.pdf";
  ASSERT_TRUE(GzReports::writePayslipsPdf(&sheet.grid, 2010, 4, pdf));
  keepPages(pdf, "payslips");
  const QString text = pdfText(pdf);
  EXPECT_EQ(text.count("2010年4月工资条"), 30) << text.toStdString();
  EXPECT_EQ(text.count("应发工资合计"), 30);
  EXPECT_TRUE(text.contains("员工017"));
  EXPECT_TRUE(text.contains("生产二车间"));
  EXPECT_TRUE(text.contains("1375.00"));  // f4 of employee 030
}

TEST(PaymentSheet, PdfOfTheMonth) {
  Workshop w;
  SheetGrid sheet;
  sheet.load(2010, 4);
  const GridPrintOptions o = GzReports::sheetPrintOptions("工资发放表", 2010, 4);
  EXPECT_EQ(o.textBefore, "   工资月份：2010年4月");
  EXPECT_EQ(o.textFont.pointSize(), 11);
  EXPECT_DOUBLE_EQ(o.headerFont.pointSizeF(), 15.75);  // 21 screen pixels
  EXPECT_TRUE(o.headerFont.bold());
  const QString pdf = w.p.dir() + "sheet.pdf";
  ASSERT_TRUE(GzReports::writePaymentSheetPdf(&sheet.grid, 2010, 4, pdf));
  keepPages(pdf, "paymentsheet");
  const QString text = pdfText(pdf);
  EXPECT_TRUE(text.contains("工资发放表")) << text.toStdString();
  EXPECT_TRUE(text.contains("工资月份：2010年4月"));
  EXPECT_TRUE(text.contains("应发工资合计"));
  EXPECT_TRUE(text.contains("员工030"));
  EXPECT_TRUE(text.contains("1002.00"));
}

TEST(GzSum, SumsPerDepartmentOfTheMonth) {
  Workshop w;
  QMdiArea area;
  area.resize(1000, 700);
  area.show();
  MyFun::setMdiArea(&area);
  Commands::clear();
  registerPayrollCommands();
  ASSERT_TRUE(Commands::run(1305));
  ASSERT_EQ(area.subWindowList().size(), 1);
  auto* win = qobject_cast<TfrmGzSum*>(area.subWindowList()[0]->widget());
  ASSERT_TRUE(win);
  EXPECT_TRUE(area.subWindowList()[0]->isMaximized());
  EXPECT_EQ(win->objectName(), "TfrmGzSum");
  EXPECT_EQ(win->windowTitle(), "工资汇总表");
  EXPECT_EQ(win->edtMonth->year(), 2010);  // the business month
  EXPECT_EQ(win->edtMonth->month(), 4);

  win->btnQuery->trigger();
  EXPECT_EQ(win->loadedYear(), 2010);
  EXPECT_EQ(win->loadedMonth(), 4);
  DataGrid* g = win->grid;
  ASSERT_EQ(g->columnCount(), 6);
  EXPECT_FALSE(g->isColumnVisible(0));
  EXPECT_EQ(g->column(0).tag, 1);
  EXPECT_EQ(g->column(1).title, "部门名称");
  EXPECT_EQ(g->column(1).width, 70);
  EXPECT_EQ(g->column(5).title, "应发工资合计");
  EXPECT_EQ(g->column(5).width, 60);
  EXPECT_EQ(g->column(5).displayFormat, "0.00");
  // 办公室 has nobody; even codes are in 01, odd ones in 02.
  ASSERT_EQ(win->tmp->recordCount(), 2);
  double even = 0, odd = 0, evenF2 = 0, evenF3 = 0;
  for (int n = 1; n <= 30; ++n) {
    (n % 2 ? odd : even) += 1000 + n;
    if (n % 2 == 0) evenF2 += n * 10.5, evenF3 += n;
  }
  EXPECT_EQ(g->cellText(0, 1), "生产一车间");
  EXPECT_EQ(g->cellText(1, 1), "生产二车间");
  EXPECT_EQ(g->cellText(0, 2), QString::number(even, 'f', 2));
  EXPECT_EQ(g->cellText(1, 2), QString::number(odd, 'f', 2));
  EXPECT_EQ(g->cellText(0, 3), QString::number(evenF2, 'f', 2));
  EXPECT_EQ(g->cellText(0, 4), QString::number(evenF3, 'f', 2));  // the text item sums too

  // A month whose items were never prepared: only the department column.
  w.p.exec("insert into gzdata(xyear,xmonth,wkcode) values(2010,5,'001')");
  win->edtMonth->setYearMonth(2010, 5);
  win->btnQuery->trigger();
  ASSERT_EQ(g->columnCount(), 2);
  EXPECT_EQ(g->visibleColumns(), (QVector<int>{1}));
  ASSERT_EQ(win->tmp->recordCount(), 1);
  EXPECT_EQ(g->cellText(0, 1), "生产二车间");

  // The command again brings the same window back, maximised.
  area.subWindowList()[0]->showNormal();
  ASSERT_TRUE(Commands::run(1305));
  ASSERT_EQ(area.subWindowList().size(), 1);
  EXPECT_EQ(area.subWindowList()[0]->widget(), win);
  EXPECT_TRUE(area.subWindowList()[0]->isMaximized());
  win->btnExit->trigger();
  EXPECT_TRUE(waitFor([&] {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return area.subWindowList().isEmpty();
  }));
  MyFun::setMdiArea(nullptr);
}

TEST(GzSum, PrintsTheSummaryToPdf) {
  Workshop w;
  auto* win = new TfrmGzSum;
  EXPECT_FALSE(win->printToPdf(w.p.dir() + "none.pdf"));  // nothing queried yet
  win->btnQuery->trigger();
  const QString pdf = w.p.dir() + "sum.pdf";
  ASSERT_TRUE(win->printToPdf(pdf));
  keepPages(pdf, "summary");
  const QString text = pdfText(pdf);
  EXPECT_TRUE(text.contains("工资汇总表")) << text.toStdString();
  EXPECT_TRUE(text.contains("工资月份：2010年4月"));
  EXPECT_TRUE(text.contains("生产一车间"));
  EXPECT_TRUE(text.contains("计件工资"));
  EXPECT_FALSE(text.contains("办公室"));
  delete win;
}

TEST(GzSum, SettingsAndExport) {
  Workshop w;
  MyFun::writeIni("GzSum", "col3", "0");  // 计件工资
  MyFun::writeIni("GzSum", "col0", "1");  // the fixed code column stays hidden
  auto* win = new TfrmGzSum;
  bool dialog = false;
  whenModal([&](QWidget* d) {
    dialog = true;
    d->close();
  }, 300);
  win->btnSetup->trigger();  // nothing loaded yet: no dialog
  waitFor([] { return false; }, 400);
  EXPECT_FALSE(dialog);

  win->btnQuery->trigger();
  EXPECT_EQ(win->grid->visibleColumns(), (QVector<int>{1, 2, 4, 5}));
  whenModal("TfrmSetup", [&](QWidget* d) {
    dialog = true;
    d->close();
  });
  win->btnSetup->trigger();
  EXPECT_TRUE(dialog);

  FileDialog::Script files;
  files.answer(w.p.dir() + "sum");
  win->btnExport->trigger();
  EXPECT_TRUE(QFileInfo::exists(w.p.dir() + "sum.xlsx"));

  if (!qEnvironmentVariable("QH_REPORT_PNG").isEmpty()) {
    win->resize(900, 300);
    win->grab().save(qEnvironmentVariable("QH_REPORT_PNG") + "/gzsum.png");
  }
  delete win;
}
