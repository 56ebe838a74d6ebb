// Data initialisation, backup and restore, driven through their dialogs in a
// temporary program directory.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "TestEnv.h"
#include "app/Commands.h"
#include "app/MainDM.h"
#include "common/MyFun.h"
#include "maintenance/Archive.h"
#include "maintenance/Backup.h"
#include "maintenance/Init.h"
#include "maintenance/Restore.h"
#include "store/Password.h"
#include "toolkit/FileDialog.h"
#include "toolkit/MsgBox.h"

namespace {

void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
void toggle(QCheckBox* b) { QTest::keyClick(b, Qt::Key_Space); }

QByteArray readFile(const QString& p) {
  QFile f(p);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  p.waitForFinished(30000);
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  return p.readAllStandardOutput();
}

const QStringList kTables = {"operator", "rolelist", "roles",  "params", "jjgz",   "jjxs",     "worker_tp",
                             "depart",   "jjgx",     "jjgx_d", "worker", "jjdata", "jjdata_d", "gzxm",
                             "gzxm_m",   "gzgs",     "gzdata"};

class MaintenanceTest : public ::testing::Test {
 protected:
  // One row or more in every table, each referring to the others.
  void fill() {
    prog.exec("insert into operator(operno,opername,pwd,dept) values('02','张三',:p1,'')", {Password::hash("")});
    prog.exec("insert into rolelist(opername,roleid) values('张三',1001)");
    prog.exec("insert into rolelist(opername,roleid) values('张三',1003)");
    prog.exec("insert into depart(bmcode,bmname) values('01','车间')");
    prog.exec("insert into worker_tp(tpcode,tpname) values('01','组长')");
    prog.exec("insert into worker(wkcode,wkname,bmcode,sex,tpcode,gztp,state) values('0001','甲','01','男','01',0,0)");
    prog.exec("insert into jjgz(gzcode,gzname) values('01','缝纫')");
    prog.exec("insert into jjxs(xscode,xsname,xs) values('01','加急',1.2)");
    prog.exec("insert into jjgx(gzcode,gxcode,gxname,unit,price,rs) values('01','001','锁边','件',0.5,1)");
    prog.exec("insert into jjgx_d(gzcode,gxcode,tpcode,bl,price) values('01','001','01',1,0.5)");
    prog.exec("insert into jjdata(pid,dt,gzcode,gxcode,price,rs,xscode,xs,sl,je,opername) "
              "values(1,'2010-04-15','01','001',0.5,1,'01',1.2,100,60,'admin')");
    prog.exec("insert into jjdata_d(pid,wkcode,tpcode,bl,je) values(1,'0001','01',1,60)");
    prog.exec("insert into gzxm(xh,fname,xmname,ftype,fsize) values(1,'f1','基本工资',0,0)");
    prog.exec("alter table gzdata add f1 float default 0");
    prog.exec("insert into gzxm_m(xyear,xmonth,xh,fname,xmname,ftype,fsize) values(2010,4,1,'f1','基本工资',0,0)");
    prog.exec("insert into gzdata(xyear,xmonth,wkcode,f1) values(2010,4,'0001',1000)");
    prog.exec("insert into gzgs(xh,fname,gs,gsdesc,con,condesc) values(1,'f1','JJe','计件金额','','')");
  }
  QMap<QString, int> counts() {
    QMap<QString, int> m;
    for (const QString& t : kTables) m[t] = prog.scalar("select count(*) from " + t).toInt();
    return m;
  }
  void tickOnly(TfrmInit& dlg, std::initializer_list<QCheckBox*> boxes) {
    for (QCheckBox* b : dlg.findChildren<QCheckBox*>()) b->setChecked(false);
    for (QCheckBox* b : boxes) toggle(b);
  }

  TestProgram prog;
  MsgBox::Recorder msgs;
};

// ---- initialisation

TEST_F(MaintenanceTest, InitDefaultsAndNothingTicked) {
  fill();
  TfrmInit dlg;
  dlg.show();
  EXPECT_EQ(dlg.windowTitle(), "数据初始化");
  const std::pair<QCheckBox*, bool> defaults[] = {{dlg.chkGzData, true},   {dlg.chkJjData, true}, {dlg.chkWorker, true},
                                                  {dlg.chkDepart, false},  {dlg.chkGzxm, false},  {dlg.chkJjgz, false},
                                                  {dlg.chkOperator, false}};
  for (const auto& [box, on] : defaults) EXPECT_EQ(box->isChecked(), on) << box->text().toStdString();
  // Two columns: the operator group heads the left one, the employees the right.
  EXPECT_LT(dlg.chkOperator->x(), dlg.chkWorker->x());
  EXPECT_EQ(dlg.chkOperator->y(), dlg.chkWorker->y());
  EXPECT_LT(dlg.chkJjgz->y(), dlg.chkDepart->y());

  const auto before = counts();
  tickOnly(dlg, {});
  click(dlg.btnYes);
  EXPECT_EQ(msgs.texts(), QStringList{"请选择数据项目"});
  EXPECT_EQ(msgs.shown[0].icon, MsgBox::Icon::Error);
  EXPECT_EQ(counts(), before);
}

struct InitCase {
  const char* what;
  std::function<void(TfrmInit&)> pick;  // ticks the groups, in any order
  QStringList emptied;                  // every other table keeps its rows
};

TEST_F(MaintenanceTest, InitEmptiesExactlyTheChosenGroups) {
  const InitCase cases[] = {
      {"员工档案", [](TfrmInit& d) { toggle(d.chkWorker); }, {"worker"}},
      {"工资项目及公式", [](TfrmInit& d) { toggle(d.chkGzxm); }, {"gzxm", "gzxm_m"}},
      {"工资数据", [](TfrmInit& d) { toggle(d.chkGzData); }, {"gzxm_m", "gzdata"}},
      {"操作员、权限", [](TfrmInit& d) { toggle(d.chkOperator); }, {"rolelist"}},
      // Ticked backwards: the groups still run referring tables first.
      {"all",
       [](TfrmInit& d) {
         for (QCheckBox* b : {d.chkOperator, d.chkJjgz, d.chkGzxm, d.chkDepart, d.chkWorker, d.chkJjData, d.chkGzData})
           toggle(b);
       },
       {"rolelist", "jjgz", "jjxs", "worker_tp", "depart", "jjgx", "jjgx_d", "worker", "jjdata", "jjdata_d", "gzxm",
        "gzxm_m", "gzdata"}},
  };
  for (const InitCase& c : cases) {
    SCOPED_TRACE(c.what);
    prog.exec("delete from gzxm_m");
    for (const QString& t : {"gzdata", "jjdata_d", "jjdata", "worker", "jjgx_d", "jjgx", "jjxs", "jjgz", "depart",
                             "worker_tp", "gzxm", "gzgs", "rolelist"})
      prog.exec("delete from " + t);
    prog.exec("delete from operator where opername<>'admin'");
    if (prog.scalar("select count(*) from pragma_table_info('gzdata') where name='f1'").toInt())
      prog.exec("alter table gzdata drop f1");
    fill();
    const auto before = counts();

    TfrmInit dlg;
    dlg.show();
    tickOnly(dlg, {});
    c.pick(dlg);
    msgs.clear();
    click(dlg.btnYes);
    EXPECT_EQ(msgs.texts(), QStringList{"数据初始化成功"});
    EXPECT_TRUE(dlg.isVisible());
    const auto after = counts();
    for (const QString& t : kTables) {
      if (c.emptied.contains(t))
        EXPECT_EQ(after[t], 0) << t.toStdString();
      else if (t != "operator")
        EXPECT_EQ(after[t], before[t]) << t.toStdString();
    }
    // Never touched: the administrator, permissions known, parameters,
    // formulas and the item columns of the salary table.
    EXPECT_EQ(prog.rows("select opername from operator order by operno").first(), "admin");
    EXPECT_EQ(after["gzgs"], 1);
    EXPECT_EQ(after["roles"], before["roles"]);
    EXPECT_EQ(after["params"], before["params"]);
    EXPECT_EQ(prog.scalar("select count(*) from pragma_table_info('gzdata') where name='f1'").toInt(), 1);
    EXPECT_EQ(after["operator"], QString(c.what) == "操作员、权限" || QString(c.what) == "all" ? 1 : 2);
  }
}

TEST_F(MaintenanceTest, InitRefusedByTheStoreChangesNothing) {
  fill();
  const auto before = counts();
  TfrmInit dlg;
  dlg.show();
  // Positions and departments still used by the employees, who stay.
  tickOnly(dlg, {dlg.chkJjData, dlg.chkDepart});
  click(dlg.btnYes);
  ASSERT_EQ(msgs.shown.size(), 1);
  EXPECT_NE(msgs.lastText(), "数据初始化成功");
  EXPECT_TRUE(msgs.lastText().contains("FOREIGN KEY", Qt::CaseInsensitive)) << msgs.lastText().toStdString();
  EXPECT_EQ(counts(), before);
}

// ---- backup

class BackupTest : public MaintenanceTest {
 protected:
  QString bkDir() {
    QDir(prog.dir()).mkpath("bk");
    return prog.dir() + "bk/";
  }
};

TEST_F(BackupTest, DirectoryDefaultsAndTheChooser) {
  {
    TfrmBackup dlg;
    EXPECT_EQ(dlg.edtDir->text(), QDir::homePath() + "/");
  }
  const QString dir = bkDir();
  FileDialog::Script chooser;
  chooser.answer(dir.chopped(1)).answer("");
  TfrmBackup dlg;
  dlg.show();
  click(dlg.btnDir);
  ASSERT_EQ(chooser.calls.size(), 1);
  EXPECT_EQ(chooser.calls[0].kind, "folder");
  EXPECT_EQ(chooser.calls[0].caption, "请选择备份文件存放的目录");
  EXPECT_EQ(dlg.edtDir->text(), dir);
  EXPECT_EQ(dlg.edtDir->cursorPosition(), dir.size());
  EXPECT_EQ(MyFun::readIni("Backup", "BkDir"), dir);
  click(dlg.btnDir);  // cancelled: nothing changes
  EXPECT_EQ(dlg.edtDir->text(), dir);

  // A typed directory is used but not remembered.
  dlg.edtDir->setText(prog.dir() + "data");
  click(dlg.btnBackup);
  EXPECT_EQ(MyFun::readIni("Backup", "BkDir"), dir);
  TfrmBackup again;
  EXPECT_EQ(again.edtDir->text(), dir);
}

TEST_F(BackupTest, RefusesAnEmptyOrMissingDirectory) {
  TfrmBackup dlg;
  dlg.show();
  const std::pair<QString, QString> cases[] = {{"", "请选择备份文件存放的目录"},
                                               {prog.dir() + "nowhere/", "目录不正确"},
                                               {"d:\\", "目录不正确"}};
  for (const auto& [dir, message] : cases) {
    msgs.clear();
    dlg.edtDir->setText(dir);
    click(dlg.btnBackup);
    EXPECT_EQ(msgs.texts(), QStringList{message});
    EXPECT_EQ(msgs.shown[0].icon, MsgBox::Icon::Error);
  }
  EXPECT_TRUE(db().isOpen());
}

TEST_F(BackupTest, WritesAZipThatTheDialogRestoresByteIdentical) {
  fill();
  TfrmBackup dlg;
  dlg.show();
  dlg.edtDir->setText(bkDir().chopped(1));  // typed without the trailing "/"
  const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
  click(dlg.btnBackup);
  const QStringList made = QDir(bkDir()).entryList(QDir::Files | QDir::Hidden);
  ASSERT_EQ(made.size(), 1) << made.join(' ').toStdString();
  const QString name = made[0];
  EXPECT_TRUE(QRegularExpression("^jjgz\\d{8}_\\d{6}\\.bak$").match(name).hasMatch());
  EXPECT_GE(QDateTime::fromString(name.mid(4, 15), "yyyyMMdd_HHmmss"), started.addMSecs(-started.time().msec()));
  EXPECT_EQ(msgs.texts(), QStringList{"备份成功，文件名为：\n" + name});
  EXPECT_EQ(msgs.shown[0].icon, MsgBox::Icon::Information);
  EXPECT_EQ(dlg.pbBackup->value(), 100);
  EXPECT_EQ(QString(run("unzip", {"-Z1", bkDir() + name})).split('\n', Qt::SkipEmptyParts), QStringList{"zt000.mdb"});
  const QByteArray archived = run("unzip", {"-p", bkDir() + name, "zt000.mdb"});
  EXPECT_EQ(archived, readFile(prog.databasePath()));

  // The connection is back and the program goes on working.
  ASSERT_TRUE(db().isOpen());
  prog.exec("delete from gzdata");
  prog.exec("delete from worker where wkcode='0001'");

  msgs.clear();
  FileDialog::Script chooser;
  chooser.answer(bkDir() + name);
  TfrmRestore restore;
  restore.show();
  bool openWhileRestoring = true;
  Archive::setFreeSpaceProbe([&](const QString&) {
    openWhileRestoring = db().isOpen();
    return qint64(-1);
  });
  click(restore.btnRestore);
  Archive::setFreeSpaceProbe({});
  EXPECT_FALSE(openWhileRestoring);
  ASSERT_EQ(chooser.calls.size(), 1);
  EXPECT_EQ(chooser.calls[0].kind, "open");
  EXPECT_EQ(chooser.calls[0].filter, "backup files(*.bak)");
  EXPECT_EQ(msgs.texts(),
            (QStringList{"确认要把文件\n" + bkDir() + name + "\n恢复到系统中吗？", "恢复完毕"}));
  EXPECT_EQ(msgs.shown[0].icon, MsgBox::Icon::Question);
  EXPECT_EQ(msgs.shown[1].icon, MsgBox::Icon::Information);
  EXPECT_EQ(restore.pbRestore->value(), 100);
  EXPECT_EQ(readFile(prog.databasePath()), archived);
  ASSERT_TRUE(db().isOpen());
  EXPECT_EQ(prog.scalar("select count(*) from gzdata").toInt(), 1);
  EXPECT_EQ(prog.scalar("select wkname from worker where wkcode='0001'").toString(), "甲");
  // The replaced data was kept beside it.
  EXPECT_EQ(QDir(prog.dir() + "data").entryList({"zt000.mdb.bak-*"}, QDir::Files).size(), 1);
}

// ---- restore

TEST_F(MaintenanceTest, RestoreStopsWithoutTouchingAnything) {
  const QByteArray before = readFile(prog.databasePath());
  QFile text(prog.dir() + "text.bak");
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("not an archive");
  text.close();

  struct Case {
    QString file;
    MsgBox::Answer answer;
    QStringList messages;
  };
  const QString q = "确认要把文件\n" + prog.dir() + "text.bak\n恢复到系统中吗？";
  const Case cases[] = {
      {"", MsgBox::Answer::Yes, {}},
      {prog.dir() + "missing.bak", MsgBox::Answer::Yes, {"文件不存在"}},
      {prog.dir() + "text.bak", MsgBox::Answer::No, {q}},
  };
  for (const Case& c : cases) {
    msgs.clear();
    msgs.answers = {c.answer};
    FileDialog::Script chooser;
    chooser.answer(c.file);
    TfrmRestore dlg;
    dlg.show();
    click(dlg.btnRestore);
    EXPECT_EQ(msgs.texts(), c.messages);
    EXPECT_EQ(readFile(prog.databasePath()), before);
    EXPECT_TRUE(db().isOpen());
  }
}

TEST_F(MaintenanceTest, RefusedArchiveLeavesTheProgramWorking) {
  fill();
  const QByteArray before = readFile(prog.databasePath());
  QDir(prog.dir()).mkpath("src");
  QFile fake(prog.dir() + "src/zt000.mdb");
  ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
  fake.write("hello\n");
  fake.close();
  run("zip", {"-q", "-j", prog.dir() + "fake.bak", prog.dir() + "src/zt000.mdb"});

  FileDialog::Script chooser;
  chooser.answer(prog.dir() + "fake.bak");
  TfrmRestore dlg;
  dlg.show();
  click(dlg.btnRestore);
  ASSERT_EQ(msgs.shown.size(), 2);
  EXPECT_TRUE(msgs.shown[1].text.startsWith("恢复失败(")) << msgs.shown[1].text.toStdString();
  EXPECT_TRUE(msgs.shown[1].text.endsWith(")"));
  EXPECT_EQ(msgs.shown[1].caption, "错误");
  EXPECT_EQ(msgs.shown[1].icon, MsgBox::Icon::Error);
  EXPECT_EQ(readFile(prog.databasePath()), before);
  EXPECT_EQ(QDir(prog.dir() + "data").entryList(QDir::Files | QDir::Hidden), QStringList{"zt000.mdb"});
  ASSERT_TRUE(db().isOpen());
  prog.exec("insert into depart(bmcode,bmname) values('02','仓库')");
  EXPECT_EQ(prog.scalar("select count(*) from depart").toInt(), 2);
}

// ---- commands

TEST_F(MaintenanceTest, CommandsOpenTheirDialogsModally) {
  registerMaintenanceCommands();
  const std::pair<int, const char*> commands[] = {{1901, "TfrmInit|数据初始化"},
                                                  {1903, "TfrmBackup|数据备份"},
                                                  {1905, "TfrmRestore|数据恢复"}};
  for (const auto& [tag, expected] : commands) {
    QString seen;
    whenModal([&seen](QWidget* w) {
      seen = w->objectName() + "|" + w->windowTitle();
      static_cast<QDialog*>(w)->reject();
    });
    ASSERT_TRUE(Commands::run(tag));
    EXPECT_EQ(seen, QString::fromUtf8(expected));
  }
}

}  // namespace
