#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <ostream>

#include "TestEnv.h"
#include "app/MainDM.h"
#include "app/MainFrm.h"
#include "app/Session.h"
#include "reference/Jjgx.h"
#include "reference/Worker.h"
#include "reference/CodeTable.h"
#include "store/Schema.h"
#include "toolkit/ChildWindow.h"
#include "toolkit/DataGrid.h"
#include "toolkit/DataSet.h"
#include "toolkit/FileDialog.h"
#include "toolkit/MonthPicker.h"
#include "toolkit/MsgBox.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {
// Stands in for the desktop: records the files it is asked to open.
class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  UrlRecorder() { QDesktopServices::setUrlHandler("file", this, "open"); }
  ~UrlRecorder() override { QDesktopServices::unsetUrlHandler("file"); }
  QStringList opened;
 public slots:
  void open(const QUrl& url) { opened << url.toLocalFile(); }
};

void touch(const QString& path) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("x");
}
}  // namespace

// 帮助主题 opens the office document when there is one, else the shipped web
// page, and does nothing at all when neither is there.
TEST(Road, HelpOpensTheManual) {
  TestProgram p;
  TfrmMain w;
  UrlRecorder desktop;
  QAction* help = w.findChild<QAction*>("miHelp");
  ASSERT_TRUE(help);
  const QString doc = p.dir() + QStringLiteral("青禾工资管理系统说明书.doc");
  const QString html = p.dir() + QStringLiteral("青禾工资管理系统说明书.html");

  help->trigger();
  EXPECT_TRUE(desktop.opened.isEmpty());

  touch(html);
  help->trigger();
  EXPECT_EQ(desktop.opened, QStringList{html});

  touch(doc);
  desktop.opened.clear();
  help->trigger();
  EXPECT_EQ(desktop.opened, QStringList{doc});
}


// ------------------------------------------------------------------ the road

namespace {

inline bool ascii(const QString& s) {
  for (QChar c : s)
    if (c.unicode() >= 128) return false;
  return true;
}

// Keys for Latin text; Chinese text arrives whole, as from an input method.
void typeInto(QWidget* w, const QString& text) {
  w->setFocus();
  if (ascii(text))
    QTest::keyClicks(w, text);
  else if (auto* e = qobject_cast<QLineEdit*>(w))
    e->insert(text);
}

void fill(QLineEdit* e, const QString& text) {
  ASSERT_NE(e, nullptr);
  e->setFocus();
  e->selectAll();
  QTest::keyClick(e, Qt::Key_Delete);
  typeInto(e, text);
}

void fill(QWidget* w, const char* name, const QString& text) { fill(w->findChild<QLineEdit*>(name), text); }

void choose(QComboBox* combo, const QString& text) {
  ASSERT_NE(combo, nullptr);
  const int i = combo->findText(text);
  ASSERT_GE(i, 0) << text.toStdString() << " is not offered by " << combo->objectName().toStdString();
  combo->setCurrentIndex(i);
  emit combo->activated(i);
}

void choose(QWidget* w, const char* name, const QString& text) { choose(w->findChild<QComboBox*>(name), text); }

// A button of a window or of its own toolbar (which stands in the main
// window's tool area): clicked with the mouse, so the focus moves first and
// an open cell editor hands its text over as it does for a user.
void press(QWidget* w, const char* name) {
  ASSERT_NE(w, nullptr);
  // a child window's toolbar shows while it is the active one, as after a click into it
  if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget())) sub->mdiArea()->setActiveSubWindow(sub);
  QList<QObject*> places{w};
  if (auto* child = qobject_cast<TChildWindow*>(w); child && child->ownToolBar()) places << child->ownToolBar();
  for (QObject* place : places)
    if (auto* b = place->findChild<QAbstractButton*>(QString::fromLatin1(name)); b && b->isVisible()) {
      ASSERT_TRUE(b->isEnabled()) << name << " is disabled";
      QTest::mouseClick(b, Qt::LeftButton);
      return;
    }
  // a toolbar too narrow for all its buttons offers the rest behind its extension arrow
  for (QObject* place : places)
    if (auto* b = place->findChild<QToolButton*>(QString::fromLatin1(name)); b && b->defaultAction()) {
      ASSERT_TRUE(b->isEnabled()) << name << " is disabled";
      b->defaultAction()->trigger();
      return;
    }
  for (QObject* place : places)
    if (auto* a = place->findChild<QAction*>(QString::fromLatin1(name))) {
      ASSERT_TRUE(a->isEnabled()) << name << " is disabled";
      a->trigger();
      return;
    }
  ADD_FAILURE() << "no button " << name << " in " << w->objectName().toStdString();
}

// A radio button or check box is clicked on its indicator.
void clickRadio(QWidget* w, const char* name) {
  auto* b = w->findChild<QAbstractButton*>(QString::fromLatin1(name));
  ASSERT_NE(b, nullptr) << name;
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
  EXPECT_TRUE(b->isChecked()) << name;
}

// Opens a dialog with open(), lets fn work in it and closes it if fn left it open.
void withDialog(const QString& name, const std::function<void()>& open, const std::function<void(QWidget*)>& fn) {
  bool seen = false;
  whenModal(name, [&](QWidget* d) {
    seen = true;
    fn(d);
    if (d->isVisible()) d->close();
  });
  open();
  EXPECT_TRUE(seen) << "no dialog " << name.toStdString();
}

// Types into a grid cell; with enter, Enter takes it in and moves on.
void typeCell(DataGrid* grid, int row, int column, const QString& text, bool enter = true) {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  grid->setFocus();
  grid->setCurrentCell(row, column);
  grid->edit(grid->model()->index(row, column));
  QWidget* editor = nullptr;
  if (auto* combo = grid->findChild<QComboBox*>("gridPickList")) {
    combo->setEditText(text);
    editor = combo;
  } else if (auto* e = grid->findChild<QLineEdit*>("gridEditor")) {
    e->selectAll();
    e->del();
    if (ascii(text))
      QTest::keyClicks(e, text);
    else
      e->insert(text);
    editor = e;
  }
  ASSERT_NE(editor, nullptr) << "no editor on " << row << "," << column;
  if (enter) QTest::keyClick(editor, Qt::Key_Return);
}

int rowOf(DataGrid* grid, const QString& field, const QString& value) {
  const int c = grid->columnOfField(field);
  for (int r = 0; r < grid->model()->rowCount(); ++r)
    if (grid->cellText(r, c) == value) return r;
  ADD_FAILURE() << "no row with " << field.toStdString() << " " << value.toStdString();
  return -1;
}

// Row lists compared as text, so a difference reads plainly.
std::string text(const QStringList& rows) { return rows.join("\n").toStdString(); }

// The shipped payslip layout in the source tree; __FILE__ may be relative to
// the folder the test program was compiled in, which is where it lives.
QString shippedTemplate() {
  QString src = QString::fromUtf8(__FILE__);
  if (QFileInfo(src).isRelative()) src = QDir(QCoreApplication::applicationDirPath()).filePath(src);
  return QFileInfo(src).dir().absoluteFilePath("../../rep/gzbar.frf");
}

QString pdfText(const QString& path) {
  QProcess p;
  p.start("pdftotext", {"-layout", path, "-"});
  p.waitForFinished(30000);
  return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

// The clerk's view of the program: the main window and what is open in it.
struct Clerk {
  TfrmMain& w;
  MsgBox::Recorder& msgs;

  QAction* command(const char* name) const { return w.findChild<QAction*>(QString::fromLatin1(name)); }
  void run(const char* name) {
    QAction* a = command(name);
    ASSERT_NE(a, nullptr) << name;
    ASSERT_TRUE(a->isEnabled()) << name << " is disabled";
    a->trigger();
  }
  template <class T = QWidget>
  T* child(const char* className) const {
    QWidget* found = nullptr;
    for (QMdiSubWindow* sub : w.mdiArea()->subWindowList(QMdiArea::CreationOrder))
      if (sub->widget() && sub->widget()->objectName() == QLatin1String(className)) found = sub->widget();
    EXPECT_NE(found, nullptr) << "no open " << className;
    return static_cast<T*>(found);
  }
  // Opens a child window by its command and returns it.
  template <class T = QWidget>
  T* open(const char* command, const char* className) {
    run(command);
    return child<T>(className);
  }
  void close(QWidget* child) {
    ASSERT_NE(child, nullptr);
    QPointer<QWidget> gone(child);
    for (const char* name : {"btnClose", "btnExit"})
      if (child->findChild<QObject*>(QString::fromLatin1(name)) ||
          (qobject_cast<TChildWindow*>(child) && qobject_cast<TChildWindow*>(child)->ownToolBar() &&
           qobject_cast<TChildWindow*>(child)->ownToolBar()->findChild<QObject*>(QString::fromLatin1(name)))) {
        press(child, name);
        break;
      }
    EXPECT_TRUE(waitFor([&] { return gone.isNull() || !gone->isVisible(); })) << "window stays open";
  }

  // A code table: one new row per name (and value), the code proposed.
  void addCodes(const char* command, const char* className, const QList<QStringList>& rows) {
    auto* t = open<TCodeTable>(command, className);
    ASSERT_NE(t, nullptr);
    for (const QStringList& row : rows) {
      press(t, "btnAppend");
      for (int c = 0; c < row.size(); ++c)
        typeCell(t->grid(), t->dataSet()->recNo(), c + 1, row[c], c + 1 < row.size());
      press(t, "btnSave");
    }
    close(t);
  }

  // Logs in through the login dialog that open() brings up.
  void login(const std::function<void()>& open, const QString& who, const QString& password, const QDate& date) {
    withDialog("TfrmLogin", open, [&](QWidget* d) {
      choose(d, "cboName", who);
      fill(d, "edtPwd", password);
      d->findChild<QDateEdit*>("edtDt")->setDate(date);
      press(d, "btnLogin");
    });
  }
};

}  // namespace

// One month's pay in a small garment workshop, from an empty database to
// the next month, as the clerk does it: only through the main window's
// menus and toolbar, the windows' buttons, dialog fields and grid cells.
TEST(Road, AMonthsPay) {
  TestProgram prog(false);
  // the program directory as installed: the shipped database and payslip layout
  Schema::createDatabase(prog.databasePath());
  QDir(prog.dir()).mkpath("rep");
  ASSERT_TRUE(QFile::copy(shippedTemplate(), prog.dir() + "rep/gzbar.frf"));
  MsgBox::Recorder msgs;
  FileDialog::Script files;
  QTemporaryDir out;

  // ---- 0. The program starts: admin logs in with the empty password and
  // picks the business date 2010-04-15.
  bool started = false;
  whenModal("TfrmLogin", [&](QWidget* d) {
    d->findChild<QDateEdit*>("edtDt")->setDate(QDate(2010, 4, 15));
    press(d, "btnLogin");
  });
  started = dmMain()->start();
  ASSERT_TRUE(started);
  ASSERT_EQ(Session::operName(), "admin");

  TfrmMain w;
  w.setReloginDelay(0);
  w.show();
  QApplication::setActiveWindow(&w);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  Clerk clerk{w, msgs};
  EXPECT_EQ(w.statusText(1), QStringLiteral("业务日期：2010-04-15"));

  // ---- 1. Reference data: trades, a coefficient, departments, positions.
  clerk.addCodes("miJjgz", "TfrmJjgz", {{"裁剪"}, {"缝制"}});
  clerk.addCodes("miJjxs", "TfrmJjxs", {{"加急", "1.2"}});
  clerk.addCodes("miDepart", "TfrmDepart", {{"裁剪车间"}, {"缝纫车间"}});
  clerk.addCodes("miWorkerType", "TfrmWorkerType", {{"裁剪工"}, {"车工"}, {"质检员"}});
  EXPECT_EQ(text(prog.rows("select gzcode,gzname from jjgz order by gzcode")),
            text(QStringList({"01|裁剪", "02|缝制"})));
  EXPECT_EQ(text(prog.rows("select xscode,xsname,xs from jjxs")),
            text(QStringList({"01|加急|1.2"})));
  EXPECT_EQ(text(prog.rows("select * from depart order by bmcode")),
            text(QStringList({"01|裁剪车间", "02|缝纫车间"})));
  EXPECT_EQ(text(prog.rows("select * from worker_tp order by tpcode")),
            text(QStringList({"01|裁剪工", "02|车工", "03|质检员"})));
  EXPECT_TRUE(msgs.shown.isEmpty()) << msgs.lastText().toStdString();

  // Processes with their prices and the split between positions: cutting a
  // shirt pays 0.80 a piece, 60% to the cutter and 40% to the inspector;
  // sewing one pays 2.50, all to the sewer.
  auto* jjgx = clerk.open<TfrmJjgx>("tbJjgx", "TfrmJjgx");
  ASSERT_NE(jjgx, nullptr);
  auto addProcess = [&](int trade, const QString& name, const QString& price, const QString& workers,
                        const QList<QPair<QString, QString>>& split) {
    jjgx->tvGz->setCurrentItem(jjgx->tvGz->topLevelItem(trade));
    withDialog("TfrmJjgxMdy", [&] { press(jjgx, "btnAppend"); }, [&](QWidget* d) {
      fill(d, "edtName", name);
      fill(d, "edtUnit", QStringLiteral("件"));
      fill(d, "edtPrice", price);
      fill(d, "edtRs", workers);
      auto* grid = d->findChild<DataGrid*>("grid");
      for (const auto& [position, ratio] : split) {
        press(d, "nbInsert");
        const int row = grid->dataSet()->recNo();
        typeCell(grid, row, 0, position);
        typeCell(grid, row, 1, ratio);
      }
      press(d, "btnSave");
      EXPECT_EQ(msgs.lastText(), QStringLiteral("保存成功"));
      press(d, "btnCancel");
    });
  };
  addProcess(0, "裁衬衫", "0.8", "2", {{"[01]裁剪工", "0.6"}, {"[03]质检员", "0.4"}});
  addProcess(1, "缝衬衫", "2.5", "1", {{"[02]车工", "1"}});
  clerk.close(jjgx);
  EXPECT_EQ(text(prog.rows("select gzcode,gxcode,gxname,unit,price,rs from jjgx order by gzcode,gxcode")),
            text(QStringList({"01|001|裁衬衫|件|0.8|2", "02|001|缝衬衫|件|2.5|1"})));
  EXPECT_EQ(text(prog.rows("select gzcode,gxcode,tpcode,bl,price from jjgx_d order by gzcode,tpcode")),
            text(QStringList({"01|001|01|0.6|0.48", "01|001|03|0.4|0.32", "02|001|02|1|2.5"})));

  // Employees: two in the cutting room, two in the sewing room, of whom
  // 马文 has left.
  auto* roster = clerk.open<TfrmWorker>("tbWorker", "TfrmWorker");
  ASSERT_NE(roster, nullptr);
  struct Employee {
    int department;
    QString name, sex, position, state;
  };
  const QList<Employee> employees = {
      {0, "陈秀英", "女", "[01]裁剪工", "在职"},
      {0, "赵敏", "女", "[03]质检员", "在职"},
      {1, "周红梅", "女", "[02]车工", "在职"},
      {1, "马文", "男", "[02]车工", "离职"},
  };
  for (const Employee& e : employees) {
    roster->tvBm->setCurrentItem(roster->tvBm->topLevelItem(e.department));
    withDialog("TfrmWorkerMdy", [&] { press(roster, "btnAppend"); }, [&](QWidget* d) {
      fill(d, "edtName", e.name);
      choose(d, "cboSex", e.sex);
      choose(d, "cboTp", e.position);
      choose(d, "cboState", e.state);
      fill(d, "edtBankacc", "6222");
      press(d, "btnSave");
      EXPECT_EQ(msgs.lastText(), QStringLiteral("保存成功"));
      press(d, "btnCancel");
    });
  }
  clerk.close(roster);
  EXPECT_EQ(text(prog.rows("select wkcode,wkname,bmcode,sex,tpcode,state from worker order by wkcode")),
            text(QStringList({"0001|陈秀英|01|女|01|0", "0002|赵敏|01|女|03|0", "0003|周红梅|02|女|02|0",
                         "0004|马文|02|男|02|1"})));

  // ---- 2. An operator for the office with a few permissions: after
  // "重新登陆" she can enter piece-work and salaries and print payslips, and
  // nothing else that is gated.
  withDialog("TfrmOperator", [&] { clerk.run("miOperator"); }, [&](QWidget* ops) {
    withDialog("TfrmOperatorAdd", [&] { press(ops, "btnAppend"); }, [&](QWidget* d) {
      fill(d, "edtOperNo", "02");
      fill(d, "edtOperName", "王会计");
      fill(d, "edtPwd", "123");
      fill(d, "edtPwd2", "123");
      press(d, "btnSave");
    });
    press(ops, "btnClose");
  });
  withDialog("TfrmOperatorRole", [&] { clerk.run("miOperatorRole"); }, [&](QWidget* d) {
    choose(d, "cboName", "王会计");
    for (const char* box : {"chkRole1001", "chkRole1003", "chkRole1301"}) {
      clickRadio(d, box);
    }
    press(d, "btnSave");
  });
  EXPECT_EQ(text(prog.rows("select roleid from rolelist where opername='王会计' order by roleid")),
            text(QStringList({"1001", "1003", "1301"})));

  msgs.clear();
  clerk.login([&] { clerk.run("tbRelogin"); }, "[02]王会计", "123", QDate(2010, 4, 15));
  ASSERT_TRUE(waitFor([&] { return w.statusText(0) == QStringLiteral("操作员：王会计"); }));
  for (const char* open : {"miJjData", "miGzData", "miGzBar", "tbJjData", "tbGzData", "tbGzBar", "tbRelogin"})
    EXPECT_TRUE(clerk.command(open)->isEnabled()) << open;
  for (const char* shut : {"miJzNext", "miGzFf", "miGzSum", "miOperator", "miBackup", "miRestore", "tbJjgx", "tbGzSum"})
    EXPECT_FALSE(clerk.command(shut)->isEnabled()) << shut;
  EXPECT_FALSE(w.topMenus()[2]->menuAction()->isEnabled()) << "【初始设置】 needs a permission of its own";
  const int before = w.mdiArea()->subWindowList().size();
  clerk.command("tbJjgx")->trigger();  // a disabled button does nothing
  EXPECT_EQ(w.mdiArea()->subWindowList().size(), before);
  QWidget* hers = clerk.open("miGzBar", "TfrmGzData");
  ASSERT_NE(hers, nullptr);
  EXPECT_EQ(hers->windowTitle(), QStringLiteral("打印工资条"));
  clerk.close(hers);

  clerk.login([&] { clerk.run("tbRelogin"); }, "[01]admin", "", QDate(2010, 4, 15));
  ASSERT_TRUE(waitFor([&] { return w.statusText(0) == QStringLiteral("操作员：admin"); }));

  // ---- 3. A month of piece-work. On 2 April 400 shirts are cut by 陈秀英 and
  // checked by 赵敏: 0.80 x 400 = 320.00, shared 192.00 and 128.00. On 10
  // April 300 more, urgent (x 1.2): 288.00, all 陈秀英's line at 0.6: 172.80.
  // On 12 April 周红梅 sews 260: 650.00. A record on 3 May is not April's.
  msgs.clear();
  withDialog("TfrmJjDataSel", [&] { clerk.run("tbJjData"); }, [&](QWidget* d) {
    d->findChild<MonthPicker*>("edtMonth")->setYearMonth(2010, 4);
    press(d, "btnYes");
  });
  QWidget* list = clerk.child("TfrmJjData");
  ASSERT_NE(list, nullptr);
  struct Record {
    QDate date;
    QString trade, process, coefficient, quantity;
    QStringList workers;
    QString amount;
  };
  const QList<Record> records = {
      {QDate(2010, 4, 2), "[01]裁剪", "[001]裁衬衫", "", "400", {"0001", "0002"}, "320.00"},
      {QDate(2010, 4, 10), "[01]裁剪", "[001]裁衬衫", "[01]加急", "300", {"0001"}, "288.00"},
      {QDate(2010, 4, 12), "[02]缝制", "[001]缝衬衫", "", "260", {"0003"}, "650.00"},
      {QDate(2010, 5, 3), "[01]裁剪", "[001]裁衬衫", "", "100", {"0001"}, "80.00"},
  };
  withDialog("TfrmJjDataMdy", [&] { press(list, "btnAppend"); }, [&](QWidget* d) {
    auto* grid = d->findChild<DataGrid*>("grid");
    for (const Record& r : records) {
      d->findChild<QDateEdit*>("edtDt")->setDate(r.date);
      choose(d, "cboGz", r.trade);
      choose(d, "cboGx", r.process);
      choose(d, "cboXs", r.coefficient);
      fill(d, "edtSl", r.quantity);
      EXPECT_EQ(d->findChild<QLineEdit*>("edtJe")->text(), r.amount);
      for (const QString& code : r.workers) {
        // a new line at the bottom; the code and Enter bring name and position
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Down);
        grid->setCurrentCell(grid->dataSet()->recNo(), 0);
        QTest::keyClicks(grid, code.left(1));
        QWidget* editor = grid->indexWidget(grid->currentIndex());
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, code.mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
      }
      press(d, "btnSave");
      EXPECT_EQ(msgs.lastText(), QStringLiteral("保存成功"));
    }
    press(d, "btnCancel");
  });
  EXPECT_EQ(text(prog.rows("select pid,date(dt),gzcode,gxcode,price,xscode,xs,sl,je,opername from jjdata order by pid")),
            text(QStringList({"1|2010-04-02|01|001|0.8||0|400|320|admin", "2|2010-04-10|01|001|0.8|01|1.2|300|288|admin",
                         "3|2010-04-12|02|001|2.5||0|260|650|admin", "4|2010-05-03|01|001|0.8||0|100|80|admin"})));
  EXPECT_EQ(text(prog.rows("select pid,wkcode,tpcode,bl,je from jjdata_d order by pid,wkcode")),
            text(QStringList({"1|0001|01|0.6|192", "1|0002|03|0.4|128", "2|0001|01|0.6|172.8", "3|0003|02|1|650",
                         "4|0001|01|0.6|48"})));
  EXPECT_EQ(list->findChild<DataGrid*>("grid")->model()->rowCount(), 3) << "the list shows April's records";
  clerk.close(list);

  // ---- 4. Salary items and formulas. 超产奖 is a tenth of the piece-work
  // pay above 300, 全勤奖 100 for 600 pieces or more.
  withDialog("TfrmGzxm", [&] { clerk.run("miGzxm"); }, [&](QWidget* items) {
    withDialog("TfrmGzxmMdy", [&] { press(items, "btnAppend"); }, [&](QWidget* d) {
      for (const QString& name : {"基本工资", "计件工资", "超产奖", "全勤奖", "应发合计", "扣款", "实发工资"}) {
        fill(d, "edtName", name);
        choose(d, "cboTp", QStringLiteral("数值型"));
        press(d, "btnSave");
      }
      fill(d, "edtName", QStringLiteral("备注"));
      choose(d, "cboTp", QStringLiteral("文本型"));
      fill(d, "edtSize", "20");
      press(d, "btnSave");
      press(d, "btnCancel");
    });
    press(items, "btnExit");
  });
  EXPECT_EQ(text(prog.rows("select xh,fname,xmname,ftype from gzxm order by xh")),
            text(QStringList({"1|f1|基本工资|0", "2|f2|计件工资|0", "3|f3|超产奖|0", "4|f4|全勤奖|0", "5|f5|应发合计|0",
                         "6|f6|扣款|0", "7|f7|实发工资|0", "8|f8|备注|1"})));

  auto* formulas = clerk.open("miGzgs", "TfrmGzgs");
  ASSERT_NE(formulas, nullptr);
  const QList<QStringList> rules = {
      {"[f2]计件工资", "JJe", ""},
      {"[f3]超产奖", "ROUND((JJe-300)*0.1,2)", "JJe>300"},
      {"[f4]全勤奖", "100", "JSl>=600"},
      {"[f5]应发合计", "f1+f2+f3+f4", ""},
      {"[f7]实发工资", "f5-f6", ""},
  };
  for (const QStringList& rule : rules)
    withDialog("TfrmGzgsMdy", [&] { press(formulas, "btnAppend"); }, [&](QWidget* d) {
      choose(d, "cboDest", rule[0]);
      clickRadio(d, "rbGs");
      fill(d, "edtGs", rule[1]);
      if (!rule[2].isEmpty()) {
        clickRadio(d, "rbCon");
        fill(d, "edtCon", rule[2]);
      }
      press(d, "btnYes");
    });
  clerk.close(formulas);
  EXPECT_EQ(text(prog.rows("select fname,gs,con from gzgs order by xh")),
            text(QStringList({"f2|JJe|", "f3|ROUND((JJe-300)*0.1,2)|JJe>300", "f4|100|JSl>=600", "f5|f1+f2+f3+f4|",
                         "f7|f5-f6|"})));

  // ---- 5. April's salary sheet: one row for each employee in service, the
  // basic pay and a deduction typed, then "计算".
  msgs.clear();
  auto* sheet = clerk.open("tbGzData", "TfrmGzData");
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(sheet->findChild<MonthPicker*>("edtMonth")->monthText(), QStringLiteral("2010年04月"));
  press(sheet, "btnLoad");
  auto* grid = sheet->findChild<DataGrid*>("grid");
  ASSERT_EQ(grid->model()->rowCount(), 3) << "马文 has left";
  const int f1 = grid->columnOfField("f1"), f6 = grid->columnOfField("f6");
  typeCell(grid, rowOf(grid, "wkcode", "0001"), f1, "1500");
  typeCell(grid, rowOf(grid, "wkcode", "0001"), f6, "50");
  typeCell(grid, rowOf(grid, "wkcode", "0002"), f1, "1800");
  typeCell(grid, rowOf(grid, "wkcode", "0003"), f1, "1200");
  press(sheet, "btnCalc");
  EXPECT_EQ(msgs.texts(), QStringList({"确认要计算2010-04月份工资并保存吗？", "计算完毕"}));

  // Worked out by hand:
  // 陈秀英: JJe 192.00 + 172.80 = 364.80, JSl 400 + 300 = 700; 超产奖 6.48,
  //         全勤奖 100; 应发 1500 + 364.80 + 6.48 + 100 = 1971.28; 实发 1921.28.
  // 赵敏:   JJe 128.00, JSl 400: neither condition holds, both stay 0;
  //         应发 1928.00, 实发 1928.00.
  // 周红梅: JJe 650.00, JSl 260: 超产奖 35.00, no 全勤奖; 应发 1885.00.
  const QStringList april = {
      "0001|1500|364.8|6.48|100|1971.28|50|1921.28|", "0002|1800|128|0|0|1928|0|1928|",
      "0003|1200|650|35|0|1885|0|1885|"};
  const QString items = "wkcode,f1,f2,f3,f4,f5,f6,f7,f8";
  EXPECT_EQ(text(prog.rows("select " + items + " from gzdata where xyear=2010 and xmonth=4 order by wkcode")), text(april));
  EXPECT_TRUE(prog.scalar("select f8 from gzdata where wkcode='0001' and xmonth=4").isNull());

  // ---- 6. Payslips and the payment sheet from the sheet, saved as PDF.
  const QString payslips = out.filePath("payslips.pdf"), paysheet = out.filePath("paysheet.pdf"),
                summary = out.filePath("summary.pdf");
  files.answer(payslips);
  withDialog("ReportPreview", [&] { press(sheet, "btnPayslip"); }, [&](QWidget* d) {
    d->findChild<QAction*>("actSavePdf")->trigger();
  });
  const QString slips = pdfText(payslips);
  for (const QString& text : {"2010年4月工资条", "陈秀英", "1921.28", "赵敏", "1928.00", "周红梅", "1885.00"})
    EXPECT_TRUE(slips.contains(text)) << text.toStdString() << " not in: " << slips.toStdString();
  EXPECT_FALSE(slips.contains(QStringLiteral("马文")));

  // Qt's print preview prints to a PDF file as the print dialog's "print to file" does.
  auto printToFile = [](const QString& path) {
    return [path](QWidget* d) {
      auto* preview = qobject_cast<QPrintPreviewDialog*>(d);
      ASSERT_NE(preview, nullptr);
      preview->printer()->setOutputFormat(QPrinter::PdfFormat);
      preview->printer()->setOutputFileName(path);
      preview->findChild<QPrintPreviewWidget*>()->print();
    };
  };
  withDialog("GridPrintPreview", [&] { press(sheet, "btnPaySheet"); }, printToFile(paysheet));
  const QString payment = pdfText(paysheet);
  for (const QString& text : {"工资发放表", "工资月份：2010年4月", "陈秀英", "1971.28", "1921.28", "1885.00"})
    EXPECT_TRUE(payment.contains(text)) << text.toStdString() << " not in: " << payment.toStdString();
  clerk.close(sheet);

  // The summary: 裁剪车间 1500 + 1800 basic, 1921.28 + 1928.00 paid out;
  // 缝纫车间 1885.00.
  auto* sum = clerk.open("tbGzSum", "TfrmGzSum");
  ASSERT_NE(sum, nullptr);
  sum->findChild<MonthPicker*>("edtMonth")->setYearMonth(2010, 4);
  press(sum, "btnQuery");
  withDialog("GridPrintPreview", [&] { press(sum, "btnPrint"); }, printToFile(summary));
  const QString totals = pdfText(summary);
  for (const QString& text : {"工资汇总表", "裁剪车间", "3300.00", "3849.28", "缝纫车间", "1885.00"})
    EXPECT_TRUE(totals.contains(text)) << text.toStdString() << " not in: " << totals.toStdString();
  clerk.close(sum);

  // ---- 7. April carried into May: May starts from April's values.
  msgs.clear();
  withDialog("TfrmJzNext", [&] { clerk.run("miJzNext"); }, [&](QWidget* d) {
    EXPECT_EQ(d->findChild<MonthPicker*>("edtFrom")->monthText(), QStringLiteral("2010年04月"));
    EXPECT_EQ(d->findChild<MonthPicker*>("edtTo")->monthText(), QStringLiteral("2010年05月"));
    press(d, "btnYes");
    press(d, "btnCancel");
  });
  EXPECT_EQ(msgs.lastText(), QStringLiteral("结转成功"));
  EXPECT_EQ(text(prog.rows("select " + items + " from gzdata where xyear=2010 and xmonth=5 order by wkcode")), text(april));

  // ---- 8. A backup, a change, a restore: the change is gone again.
  msgs.clear();
  withDialog("TfrmBackup", [&] { clerk.run("miBackup"); }, [&](QWidget* d) {
    fill(d, "edtDir", QDir::toNativeSeparators(out.path() + "/"));
    press(d, "btnBackup");
    press(d, "btnCancel");
  });
  const QStringList archives = QDir(out.path()).entryList({"jjgz*.bak"}, QDir::Files);
  ASSERT_EQ(archives.size(), 1) << msgs.lastText().toStdString();

  // In May 陈秀英 gets a rise, and "计算" stores it.
  auto* may = clerk.open("tbGzData", "TfrmGzData");
  ASSERT_NE(may, nullptr);
  may->findChild<MonthPicker*>("edtMonth")->setYearMonth(2010, 5);
  press(may, "btnLoad");
  grid = may->findChild<DataGrid*>("grid");
  typeCell(grid, rowOf(grid, "wkcode", "0001"), grid->columnOfField("f1"), "1600");
  press(may, "btnCalc");
  clerk.close(may);
  // May's piece-work is her record of 3 May alone: 48.00 for 100 pieces.
  // Neither condition holds, so 超产奖 and 全勤奖 keep April's carried values:
  // 1600 + 48 + 6.48 + 100 = 1754.48, less 50.
  EXPECT_EQ(text(prog.rows("select " + items + " from gzdata where xyear=2010 and xmonth=5 and wkcode='0001'")),
            "0001|1600|48|6.48|100|1754.48|50|1704.48|");

  msgs.clear();
  files.answer(out.filePath(archives[0]));
  withDialog("TfrmRestore", [&] { clerk.run("miRestore"); }, [&](QWidget* d) {
    press(d, "btnRestore");
    press(d, "btnCancel");
  });
  EXPECT_EQ(msgs.lastText().toStdString(), "恢复完毕");
  auto* again = clerk.open("tbGzData", "TfrmGzData");
  ASSERT_NE(again, nullptr);
  again->findChild<MonthPicker*>("edtMonth")->setYearMonth(2010, 5);
  press(again, "btnLoad");
  grid = again->findChild<DataGrid*>("grid");
  EXPECT_EQ(grid->cellText(rowOf(grid, "wkcode", "0001"), grid->columnOfField("f1")).toStdString(), "1500.00");
  EXPECT_EQ(text(prog.rows("select " + items + " from gzdata where xyear=2010 and xmonth=5 order by wkcode")), text(april));
  clerk.close(again);

  msgs.answerNo();
  w.close();
  EXPECT_TRUE(w.isVisible()) << "No keeps the program open";
  EXPECT_EQ(msgs.lastText(), QStringLiteral("确认要退出吗？"));
}

#include "test_road.moc"
