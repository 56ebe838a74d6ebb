#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include "Drive.h"
#include "reference/Jjgx.h"
#include "reference/JjgxMdy.h"
#include "reference/Jjxs.h"
#include "reference/Worker.h"
#include "support/TestEnv.h"
#include "toolkit/DataSet.h"

// Pictures of the windows for a person to look at; written only when
// QH_SHOTS names a directory.
TEST(Screens, RosterAndProcessDialog) {
  QString dir = qEnvironmentVariable("QH_SHOTS");
  if (dir.isEmpty()) GTEST_SKIP() << "QH_SHOTS not set";
  QDir().mkpath(dir);
  TestProgram prog;
  prog.exec("insert into depart(bmcode,bmname) values('01','一车间'),('02','二车间'),('03','仓库')");
  prog.exec("insert into worker_tp(tpcode,tpname) values('01','组长'),('02','工人'),('03','学徒')");
  prog.exec(
      "insert into worker(wkcode,wkname,bmcode,sex,tpcode,sfid,xl,addr,phone,indate,bankacc,gztp,state,mm) values"
      "('0001','张三','01','男','01','330102198001011234','高中','东城路12号','13800000001','2008-05-01','"
      "6222020000000001',0,0,''),"
      "('0002','李四','01','女','02','330102198502021234','初中','西街3号','13800000002','2009-03-15','"
      "6222020000000002',1,0,'兼职'),"
      "('0003','王五','01','男',null,'','大专','','','2010-01-10','',0,1,'已离职')");
  prog.exec("insert into jjgz(gzcode,gzname) values('01','车工')");
  prog.exec("insert into jjgx(gzcode,gxcode,gxname,unit,price,rs) values('01','001','粗车外圆','件',2,2)");
  prog.exec(
      "insert into jjgx_d(gzcode,gxcode,tpcode,bl,price) values('01','001','01',0.6,1.2),('01','001','02',0.4,0.8)");

  TfrmWorker roster;
  roster.setWindowState(Qt::WindowNoState);
  roster.resize(1100, 420);
  drive::show(&roster);
  QTest::qWait(50);
  roster.grab().save(dir + "/roster.png");

  TfrmJjgx processes;
  processes.setWindowState(Qt::WindowNoState);
  processes.resize(900, 360);
  drive::show(&processes);
  processes.grab().save(dir + "/processes.png");

  TfrmJjgxMdy dlg;
  dlg.setMode(2);
  dlg.setGzcode("01");
  dlg.setWindowTitle(QStringLiteral("修改工序"));
  dlg.lblGz->setText(QStringLiteral("所属工种：01-车工"));
  dlg.setRecalc(false);
  dlg.edtCode->setText("001");
  dlg.edtCode->setEnabled(false);
  dlg.edtName->setText(QStringLiteral("粗车外圆"));
  dlg.edtUnit->setText(QStringLiteral("件"));
  dlg.edtPrice->setText(TfrmJjgxMdy::priceText(2));
  dlg.edtRs->setText("2");
  dlg.setRecalc(true);
  drive::show(&dlg);
  QTest::qWait(50);
  dlg.grab().save(dir + "/jjgxmdy.png");

  TfrmJjxs xs;
  drive::show(&xs);
  xs.grab().save(dir + "/jjxs.png");

  whenModal("TfrmWorkerMdy", [&](QWidget* w) {
    QTest::qWait(50);
    w->grab().save(dir + "/workermdy.png");
    w->close();
  });
  roster.btnMdy->trigger();
}
