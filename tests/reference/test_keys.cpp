#include <gtest/gtest.h>

#include <QApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QTest>

#include "Drive.h"
#include "reference/JjgxMdy.h"
#include "reference/WorkerMdy.h"
#include "support/TestEnv.h"
#include "toolkit/MsgBox.h"

namespace {
// The named control that holds the focus, or the one whose inner editor does.
QString focusedName(QWidget* window) {
  for (QWidget* w = QApplication::focusWidget(); w && w != window; w = w->parentWidget())
    if (!w->objectName().isEmpty() && w->objectName() != "qt_spinbox_lineedit") return w->objectName();
  return QString();
}
}  // namespace

// The employee dialog's fields follow one another in the order of the form,
// by Tab and by Enter alike; Enter never saves, not even on "保存".
TEST(DialogKeys, EmployeeDialogTabOrderAndEnter) {
  TestProgram prog;
  MsgBox::Recorder rec;
  TfrmWorkerMdy dlg;
  drive::show(&dlg);
  const QStringList order = {"edtCode",    "edtName", "cboSex",   "cboTp", "edtSfid", "edtXl",
                             "edtAddr",    "edtPhone", "dtpIndate", "edtBankacc", "cboGztp", "cboState",
                             "edtMm",      "btnSave", "btnCancel"};
  // the focus chain, as Tab walks it from control to control
  QStringList chain;
  for (QWidget* w = dlg.edtCode; chain.size() < order.size(); w = w->nextInFocusChain())
    if (w->focusPolicy() & Qt::TabFocus && !w->objectName().isEmpty() && !w->objectName().startsWith("qt_"))
      chain << w->objectName();
  EXPECT_EQ(chain, order);
  // Enter goes the same way, a date picker included, up to the buttons
  dlg.edtCode->setFocus();
  QStringList seen{focusedName(&dlg)};
  for (int i = 1; i < order.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    seen << focusedName(&dlg);
  }
  EXPECT_EQ(seen, order);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_TRUE(rec.shown.isEmpty());
}

// The process code takes digits and backspace only; Enter moves on and
// leaves no trace in the box.
TEST(DialogKeys, ProcessCodeTakesDigitsOnly) {
  TestProgram prog;
  TfrmJjgxMdy dlg;
  drive::show(&dlg);
  dlg.edtCode->setFocus();
  QTest::keyClicks(dlg.edtCode, "0a1-2 ");
  EXPECT_EQ(dlg.edtCode->text(), "012");
  QTest::keyClick(dlg.edtCode, Qt::Key_Backspace);
  EXPECT_EQ(dlg.edtCode->text(), "01");
  QTest::keyClick(dlg.edtCode, Qt::Key_Return);
  EXPECT_EQ(dlg.edtCode->text(), "01");
  EXPECT_EQ(focusedName(&dlg), "edtName");
  EXPECT_TRUE(dlg.isVisible());
  QTest::keyClick(dlg.edtName, Qt::Key_Escape);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
}
