#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSet>
#include <QTextEdit>
#include <functional>
#include <memory>

#include "app/Login.h"
#include "maintenance/Backup.h"
#include "maintenance/Init.h"
#include "maintenance/Restore.h"
#include "operators/Operator.h"
#include "operators/OperatorAdd.h"
#include "operators/OperatorPwd.h"
#include "operators/OperatorRole.h"
#include "payroll/GzData.h"
#include "payroll/GzSum.h"
#include "payroll/Gzgs.h"
#include "payroll/GzgsMdy.h"
#include "payroll/Gzxm.h"
#include "payroll/GzxmMdy.h"
#include "payroll/JzNext.h"
#include "piecework/JjData.h"
#include "piecework/JjDataMdy.h"
#include "piecework/JjDataSel.h"
#include "reference/Jjgx.h"
#include "reference/JjgxMdy.h"
#include "reference/SelWorker.h"
#include "reference/Worker.h"
#include "reference/WorkerMdy.h"
#include "support/TestEnv.h"
#include "toolkit/MsgBox.h"

namespace {

bool insideGrid(const QWidget* w, const QWidget* window) {
  for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
    if (qobject_cast<const QAbstractItemView*>(p)) return true;
  return false;
}

// The edit boxes, lists and pickers a user sees, without the line edits
// that combo boxes and spin boxes are built of and without grid editors.
QList<QWidget*> fields(QWidget* window) {
  QList<QWidget*> out;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window) || insideGrid(w, window)) continue;
    if (qobject_cast<QLineEdit*>(w)) {
      QWidget* p = w->parentWidget();
      if (qobject_cast<QComboBox*>(p) || qobject_cast<QAbstractSpinBox*>(p)) continue;
      out << w;
    } else if (qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
               qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w)) {
      out << w;
    }
  }
  return out;
}

QStringList fieldsWithoutCaption(QWidget* window) {
  QSet<QWidget*> buddies;
  for (QLabel* l : window->findChildren<QLabel*>())
    if (l->buddy()) buddies << l->buddy();
  QStringList missing;
  for (QWidget* w : fields(window))
    if (!buddies.contains(w))
      missing << QStringLiteral("%1(%2)").arg(w->objectName(), w->metaObject()->className());
  return missing;
}

struct Window {
  const char* name;
  const char* field;  // one field the window is known to have, so the search is seen to work
  std::function<QWidget*()> make;
};

template <class T>
Window of(const char* name, const char* field = nullptr) {
  return {name, field, [] { return static_cast<QWidget*>(new T); }};
}

}  // namespace

TEST(Buddies, EveryFieldHasItsCaptionLabel) {
  TestProgram prog;
  prog.exec("insert into depart(bmcode,bmname) values('01','一车间')");
  prog.exec("insert into worker_tp(tpcode,tpname) values('01','工人')");
  prog.exec(
      "insert into worker(wkcode,wkname,bmcode,sex,tpcode,indate,gztp,state) values"
      "('0001','张三','01','男','01','2008-05-01',0,0)");
  prog.exec("insert into jjgz(gzcode,gzname) values('01','车工')");
  prog.exec("insert into jjgx(gzcode,gxcode,gxname,unit,price,rs) values('01','001','粗车外圆','件',2,1)");
  MsgBox::Recorder rec;

  const Window windows[] = {
      of<TfrmLogin>("TfrmLogin", "edtDt"),
      of<TfrmWorker>("TfrmWorker"),
      of<TfrmWorkerMdy>("TfrmWorkerMdy", "dtpIndate"),
      of<TfrmSelWorker>("TfrmSelWorker"),
      of<TfrmJjgx>("TfrmJjgx"),
      of<TfrmJjgxMdy>("TfrmJjgxMdy", "edtPrice"),
      of<TfrmJjData>("TfrmJjData"),
      of<TfrmJjDataMdy>("TfrmJjDataMdy", "cboGx"),
      of<TfrmJjDataSel>("TfrmJjDataSel", "edtMonth"),
      of<TfrmGzxm>("TfrmGzxm"),
      of<TfrmGzxmMdy>("TfrmGzxmMdy", "cboTp"),
      of<TfrmGzgs>("TfrmGzgs"),
      of<TfrmGzgsMdy>("TfrmGzgsMdy", "edtGs"),
      of<TfrmGzData>("TfrmGzData", "edtMonth"),
      of<TfrmGzSum>("TfrmGzSum", "edtMonth"),
      of<TfrmJzNext>("TfrmJzNext", "edtTo"),
      of<TfrmOperator>("TfrmOperator"),
      of<TfrmOperatorAdd>("TfrmOperatorAdd", "edtPwd2"),
      of<TfrmOperatorPwd>("TfrmOperatorPwd", "edtNewPwd2"),
      of<TfrmOperatorRole>("TfrmOperatorRole", "cboName"),
      of<TfrmInit>("TfrmInit"),
      of<TfrmBackup>("TfrmBackup", "edtDir"),
      of<TfrmRestore>("TfrmRestore"),
  };
  for (const Window& w : windows) {
    std::unique_ptr<QWidget> window(w.make());
    EXPECT_EQ(window->objectName(), QString::fromLatin1(w.name));
    EXPECT_EQ(fieldsWithoutCaption(window.get()).join(", ").toStdString(), "") << w.name;
    if (w.field) {
      QStringList seen;
      for (QWidget* f : fields(window.get())) seen << f->objectName();
      EXPECT_TRUE(seen.contains(QString::fromLatin1(w.field))) << w.name << ": " << qPrintable(seen.join(" "));
    }
  }
}
