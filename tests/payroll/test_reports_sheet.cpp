#include <gtest/gtest.h>

#include <QAction>
#include <QPrintPreviewDialog>
#include <QToolBar>
#include <QToolButton>

#include "ReportFixture.h"
#include "payroll/GzData.h"
#include "payroll/GzReports.h"
#include "toolkit/DataGrid.h"
#include "toolkit/MonthPicker.h"
#include "toolkit/MsgBox.h"
#include "toolkit/ReportEngine.h"

using namespace reports;

namespace {
// The salary window in a print mode with the fixture month loaded.
std::unique_ptr<TfrmGzData> openSheet(int mode) {
  auto w = std::make_unique<TfrmGzData>();
  w->setMode(mode);
  w->resize(500, 400);  // narrower than the columns: payslips still get them all
  w->show();
  w->monthPicker()->setYearMonth(2010, 4);
  w->ownToolBar()->findChild<QToolButton*>("btnLoad")->click();
  return w;
}
}  // namespace

TEST(SheetReports, PayslipButtonOfThePayslipWindow) {
  Workshop f;
  auto w = openSheet(1);
  bool shown = false;
  whenModal("ReportPreview", [&](QWidget* d) {
    shown = true;
    ReportEngine* e = qobject_cast<ReportPreview*>(d)->engine();
    EXPECT_EQ(e->masterRowsPrinted(), 30);
    EXPECT_EQ(e->columnCount(), w->dataGrid()->visibleColumns().size());
    EXPECT_EQ(e->columnCount(), 9);
    d->findChild<QAction*>("actClose")->trigger();
  });
  w->ownToolBar()->findChild<QToolButton*>("btnPayslip")->click();
  EXPECT_TRUE(shown);
}

TEST(SheetReports, PaymentSheetButtonOfThePaymentWindow) {
  Workshop f;
  auto w = openSheet(2);
  bool shown = false;
  whenModal([&](QWidget* d) {
    shown = true;
    d->close();
  });
  w->ownToolBar()->findChild<QToolButton*>("btnPaySheet")->click();
  EXPECT_TRUE(shown);
  const QString pdf = f.p.dir() + "sheet.pdf";
  ASSERT_TRUE(GzReports::writePaymentSheetPdf(w->dataGrid(), w->loadedYear(), w->loadedMonth(), pdf));
  const QString text = pdfText(pdf);
  EXPECT_TRUE(text.contains("工资月份：2010年4月"));
  EXPECT_TRUE(text.contains("员工029"));
}
