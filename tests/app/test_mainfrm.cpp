#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>

#include "TestEnv.h"
#include "app/Commands.h"
#include "app/MainFrm.h"
#include "app/Session.h"
#include "common/MyFun.h"
#include "store/Password.h"
#include "toolkit/ChildWindow.h"
#include "toolkit/MsgBox.h"

namespace {
QStringList captions(const QList<QAction*>& actions) {
  QStringList out;
  for (QAction* a : actions) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return out;
}

QList<QAction*> gated(const TfrmMain& w) {
  QList<QAction*> out;
  for (QAction* a : w.actionsWithTag(-1))
    if (TfrmMain::tagOf(a) > 0) out << a;
  return out;
}

QAction* byName(const TfrmMain& w, const char* name) { return w.findChild<QAction*>(QString::fromLatin1(name)); }

void addOperator(TestProgram& p, const QString& no, const QString& name, const QString& pwd,
                 const QList<int>& roles) {
  p.exec("insert into operator(operno,opername,pwd,dept) values(:p1,:p2,:p3,'')", {no, name, Password::hash(pwd)});
  for (int r : roles) p.exec("insert into rolelist(opername,roleid) values(:p1,:p2)", {name, r});
}

// A list window with a toolbar of its own.
class ListWindow : public TChildWindow {
 public:
  explicit ListWindow(const QString& title) {
    setWindowTitle(title);
    auto* bar = new QToolBar(this);
    bar->setObjectName("bar" + title);
    bar->addAction(QStringLiteral("新增"));
    setOwnToolBar(bar);
  }
};
}  // namespace

TEST(MainFrm, MenusAndToolbarInOrderWithTheirTags) {
  TestProgram p;
  TfrmMain w;
  EXPECT_EQ(w.objectName(), "TfrmMain");
  EXPECT_EQ(w.windowTitle(), QStringLiteral("青禾工资管理系统【V2010】(build20100721)"));
  EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);

  QStringList tops;
  for (QMenu* m : w.topMenus()) tops << m->title();
  EXPECT_EQ(tops, (QStringList{"【日常处理】", "【工资报表】", "【初始设置】", "【操作员】", "【系统维护】", "【系统帮助】"}));
  EXPECT_EQ(captions(w.topMenus()[2]->actions()),
            (QStringList{"计件工种设置", "计件工序设置", "计件系数设置", "-", "工资项目定义", "计算公式定义", "-",
                         "部门设置", "职位设置", "员工名册管理"}));
  EXPECT_EQ(TfrmMain::tagOf(w.topMenus()[2]->menuAction()), 1);
  EXPECT_EQ(captions(w.toolBar()->actions()),
            (QStringList{"计件录入", "工资录入", "-", "工资条", "发放表", "汇总表", "-", "计件工种", "计件工序",
                         "职工名册", "-", "重新登陆", "退出系统"}));
  EXPECT_EQ(w.toolBar()->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
  for (QAction* a : w.toolBar()->actions())
    if (!a->isSeparator()) EXPECT_FALSE(a->icon().isNull()) << a->text().toStdString();

  // each menu item has its permission id; the toolbar buttons share their menu item's
  const struct { int tag; const char* menu; const char* button; } same[] = {
      {1001, "计件数据录入", "计件录入"}, {1003, "工资数据录入", "工资录入"}, {1301, "打印工资条", "工资条"},
      {1303, "工资发放表", "发放表"},     {1305, "工资汇总表", "汇总表"},     {1503, "计件工种设置", "计件工种"},
      {1505, "计件工序设置", "计件工序"}, {1515, "员工名册管理", "职工名册"}};
  for (const auto& s : same) {
    ASSERT_TRUE(w.menuItem(s.tag));
    ASSERT_TRUE(w.toolButton(s.tag));
    EXPECT_EQ(w.menuItem(s.tag)->text(), QString::fromUtf8(s.menu));
    EXPECT_EQ(w.toolButton(s.tag)->text(), QString::fromUtf8(s.button));
  }
  for (int tag : {1005, 1507, 1509, 1511, 1512, 1513, 1701, 1703, 1705, 1901, 1903, 1905, 2101, 2105})
    EXPECT_TRUE(w.menuItem(tag)) << tag;
  EXPECT_EQ(TfrmMain::tagOf(byName(w, "tbRelogin")), 0);
  EXPECT_EQ(TfrmMain::tagOf(byName(w, "tbExit")), 0);
  EXPECT_EQ(MyFun::mdiArea(), w.mdiArea());
}

TEST(MainFrm, StatusBarShowsOperatorDateAndOrganisation) {
  TestProgram p;
  p.exec("insert or replace into params(pid,pvalue,pdesc) values(8,'青禾服装厂','使用单位')");
  p.login("admin", "01", "2010-04-05");
  TfrmMain w;
  EXPECT_EQ(w.statusText(0), QStringLiteral("操作员：admin"));
  EXPECT_EQ(w.statusText(1), QStringLiteral("业务日期：2010-04-05"));
  EXPECT_EQ(w.statusText(2), QStringLiteral("使用单位：青禾服装厂"));
}

TEST(MainFrm, AdministratorInAnyLetterCaseHasEveryCommand) {
  TestProgram p;
  p.exec("delete from rolelist");
  for (const char* name : {"admin", "ADMIN"}) {
    p.login(QString::fromLatin1(name));
    TfrmMain w;
    for (QAction* a : gated(w)) EXPECT_TRUE(a->isEnabled()) << name << " " << a->text().toStdString();
    EXPECT_TRUE(w.topMenus()[2]->menuAction()->isEnabled());
  }
}

TEST(MainFrm, OperatorGetsOnlyWhatTheRoleListGrants) {
  TestProgram p;
  addOperator(p, "02", QStringLiteral("张三"), "", {1505});
  addOperator(p, "03", QStringLiteral("李四"), "", {});
  {
    p.login(QStringLiteral("张三"), "02");
    TfrmMain w;
    for (QAction* a : gated(w)) {
      const bool granted = TfrmMain::tagOf(a) == 1505;
      EXPECT_EQ(a->isEnabled(), granted) << a->text().toStdString();
    }
    EXPECT_TRUE(byName(w, "miJjgx")->isEnabled());
    EXPECT_TRUE(byName(w, "tbJjgx")->isEnabled());
    EXPECT_FALSE(w.topMenus()[2]->menuAction()->isEnabled());  // no roleid 1
    EXPECT_TRUE(byName(w, "tbRelogin")->isEnabled());
    EXPECT_TRUE(byName(w, "tbExit")->isEnabled());
    EXPECT_TRUE(w.topMenus()[0]->menuAction()->isEnabled());
    EXPECT_TRUE(w.topMenus()[0]->menuAction()->isVisible());
  }
  {
    p.login(QStringLiteral("李四"), "03");
    TfrmMain w;
    for (QAction* a : gated(w)) EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
  }
  {
    p.exec("insert into rolelist values(:p1,1)", {QStringLiteral("张三")});
    p.login(QStringLiteral("张三"), "02");
    TfrmMain w;
    EXPECT_TRUE(w.topMenus()[2]->menuAction()->isEnabled());
    EXPECT_FALSE(byName(w, "miJjgz")->isEnabled());
  }
}

TEST(MainFrm, SwitchedOffCommandsAreHiddenForEverybodyAndMenusTidied) {
  TestProgram p;
  p.exec("update roles set flag=1 where roleid in (1301,1303,1305,1701)");
  addOperator(p, "02", QStringLiteral("张三"), "", {1301, 1703});
  for (const QString& who : {QStringLiteral("admin"), QStringLiteral("张三")}) {
    p.login(who);
    TfrmMain w;
    EXPECT_FALSE(w.topMenus()[1]->menuAction()->isVisible()) << who.toStdString();
    for (int tag : {1301, 1303, 1305}) {
      EXPECT_FALSE(w.menuItem(tag)->isVisible());
      EXPECT_FALSE(w.toolButton(tag)->isVisible());
    }
    EXPECT_FALSE(w.menuItem(1701)->isVisible());
    EXPECT_TRUE(w.topMenus()[3]->menuAction()->isVisible());
    EXPECT_TRUE(w.menuItem(1005)->isVisible());
  }
}

TEST(MainFrm, TidyingHidesStraySeparatorsAndEmptyMenus) {
  // captions; a leading "!" marks a hidden command
  const struct { QStringList items; QStringList visibleAfter; bool menuShown; } cases[] = {
      {{"-", "a", "-", "-", "b", "-"}, {"a", "-", "b"}, true},
      {{"!x", "-", "a", "-", "!y"}, {"a"}, true},
      {{"a", "-", "!b", "-", "c"}, {"a", "-", "c"}, true},
      {{"!a", "-", "!b"}, {}, false},
  };
  for (const auto& c : cases) {
    QMenu m;
    for (const QString& item : c.items) {
      QAction* a = item == "-" ? m.addSeparator() : m.addAction(QString(item).remove('!'));
      if (item.startsWith('!')) a->setVisible(false);
    }
    TfrmMain::tidyMenu(&m);
    QStringList shown;
    for (QAction* a : m.actions())
      if (a->isVisible()) shown << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(shown, c.visibleAfter) << c.items.join(' ').toStdString();
    EXPECT_EQ(m.menuAction()->isVisible(), c.menuShown);
  }
  QMenu gatedWhole;
  gatedWhole.menuAction()->setProperty("Tag", 1);
  gatedWhole.addSeparator();
  TfrmMain::tidyMenu(&gatedWhole);
  EXPECT_TRUE(gatedWhole.actions()[0]->isVisible());
}

TEST(MainFrm, StoreErrorDuringGatingIsShown) {
  TestProgram p;
  addOperator(p, "02", QStringLiteral("张三"), "", {});
  p.exec("drop table rolelist");
  p.login(QStringLiteral("张三"), "02");
  MsgBox::Recorder rec;
  TfrmMain w;
  ASSERT_EQ(rec.shown.size(), 1);
  EXPECT_TRUE(rec.lastText().contains("rolelist")) << rec.lastText().toStdString();
  EXPECT_FALSE(w.menuItem(1001)->isEnabled());
}

TEST(MainFrm, CommandsRunTheirRegisteredHandlers) {
  TestProgram p;
  TfrmMain w;
  QList<int> ran;
  // the real commands come back afterwards: the handlers below die with this test
  struct RealCommands {
    ~RealCommands() {
      registerReferenceCommands();
      registerPayrollCommands();
    }
  } realCommands;
  Commands::add(1503, [&] { ran << 1503; });
  Commands::add(1003, [&] { ran << 1003; });
  byName(w, "miJjgz")->trigger();
  byName(w, "tbJjgz")->trigger();
  byName(w, "miGzData")->trigger();
  byName(w, "tbGzData")->trigger();
  EXPECT_EQ(ran, (QList<int>{1503, 1503, 1003, 1003}));

  MsgBox::Recorder rec;
  byName(w, "miHelp")->trigger();  // no manual beside the program: nothing at all
  EXPECT_TRUE(rec.shown.isEmpty());
  byName(w, "miAbout")->trigger();  // gated, but no action
  EXPECT_TRUE(rec.shown.isEmpty());
  EXPECT_TRUE(w.mdiArea()->subWindowList().isEmpty());
}

TEST(MainFrm, ActiveChildBringsItsToolbarIntoTheToolArea) {
  TestProgram p;
  TfrmMain w;
  w.show();
  auto* a = new ListWindow("A");
  auto* b = new ListWindow("B");
  auto* plain = new TChildWindow;
  plain->setWindowTitle("plain");
  QMdiSubWindow* sa = MyFun::showChild(a);
  QMdiSubWindow* sb = MyFun::showChild(b);
  QMdiSubWindow* sp = MyFun::showChild(plain);
  QPointer<QToolBar> barA = a->ownToolBar(), barB = b->ownToolBar();

  w.mdiArea()->setActiveSubWindow(sa);
  QApplication::processEvents();
  EXPECT_EQ(barA->parentWidget(), &w);
  EXPECT_TRUE(barA->isVisible());
  EXPECT_FALSE(barB->isVisible());
  EXPECT_TRUE(sa->isMaximized());
  EXPECT_EQ(w.toolBarArea(barA), Qt::TopToolBarArea);
  EXPECT_GT(barA->geometry().left(), w.toolBar()->geometry().left());  // after the main toolbar

  w.mdiArea()->setActiveSubWindow(sb);
  QApplication::processEvents();
  EXPECT_FALSE(barA->isVisible());
  EXPECT_TRUE(barB->isVisible());

  w.mdiArea()->setActiveSubWindow(sp);
  QApplication::processEvents();
  EXPECT_FALSE(barA->isVisible());
  EXPECT_FALSE(barB->isVisible());
  EXPECT_TRUE(w.toolBar()->isVisible());

  // the window list at the end of the help menu names every open child
  emit w.topMenus()[5]->aboutToShow();
  QStringList list = captions(w.topMenus()[5]->actions());
  EXPECT_EQ(list.mid(0, 2), (QStringList{"帮助主题", "关于..."}));
  EXPECT_EQ(list.mid(3), (QStringList{"&1 A", "&2 B", "&3 plain"}));

  sb->close();
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(barB.isNull());  // the toolbar went with its window
  EXPECT_FALSE(barA.isNull());
}

TEST(MainFrm, BackgroundPictureFromConfigOrBuiltIn) {
  TestProgram p;
  const QString own = p.dir() + "bk.png";
  QImage red(16, 16, QImage::Format_RGB32);
  red.fill(Qt::red);
  ASSERT_TRUE(red.save(own));

  auto topLeft = [](TfrmMain& w) {
    w.show();
    QApplication::processEvents();
    const QBrush b = w.mdiArea()->background();
    EXPECT_EQ(b.texture().size(), w.mdiArea()->viewport()->size());
    return b.texture().toImage().pixelColor(0, 0);
  };
  {
    TfrmMain w;
    EXPECT_NE(topLeft(w), QColor(Qt::red));
  }
  MyFun::writeIni("System", "Picture", p.dir() + "missing.png");
  {
    TfrmMain w;
    EXPECT_NE(topLeft(w), QColor(Qt::red));
  }
  MyFun::writeIni("System", "Picture", own);
  {
    TfrmMain w;
    EXPECT_EQ(topLeft(w), QColor(Qt::red));
    w.resize(700, 500);  // redone on resize, stretched to the new size
    QApplication::processEvents();
    EXPECT_EQ(w.mdiArea()->background().texture().size(), w.mdiArea()->viewport()->size());
  }
}

TEST(MainFrm, ReloginReplacesTheSessionAndRegatesAfterAPause) {
  TestProgram p;
  addOperator(p, "02", QStringLiteral("张三"), "abc", {1505});
  TfrmMain w;
  w.show();
  auto* child = new TChildWindow;
  MyFun::showChild(child);
  QPointer<TChildWindow> stays(child);

  // cancelled: nothing changes
  whenModal([](QWidget* dlg) { dlg->findChild<QPushButton*>("btnCancel")->click(); });
  byName(w, "tbRelogin")->trigger();
  EXPECT_EQ(Session::operName(), "admin");
  EXPECT_EQ(Session::bizDate(), "2010-04-15");

  whenModal([](QWidget* dlg) {
    auto* names = dlg->findChild<QComboBox*>("cboName");
    names->setCurrentIndex(names->findText(QStringLiteral("[02]张三")));
    dlg->findChild<QLineEdit*>("edtPwd")->setText("abc");
    dlg->findChild<QPushButton*>("btnLogin")->click();
  });
  byName(w, "tbRelogin")->trigger();
  const QString today = QDate::currentDate().toString("yyyy-MM-dd");
  EXPECT_EQ(Session::operName(), QStringLiteral("张三"));
  EXPECT_EQ(Session::bizDate(), today);  // the dialog proposed today
  // the window stays responsive during the pause and shows the old state
  QApplication::processEvents();
  EXPECT_EQ(w.statusText(0), QStringLiteral("操作员：admin"));
  EXPECT_TRUE(w.menuItem(1001)->isEnabled());

  ASSERT_TRUE(waitFor([&] { return w.statusText(0) == QStringLiteral("操作员：张三"); }, 4000));
  EXPECT_EQ(w.statusText(1), QStringLiteral("业务日期：") + today);
  EXPECT_FALSE(w.menuItem(1001)->isEnabled());
  EXPECT_TRUE(w.menuItem(1505)->isEnabled());
  EXPECT_TRUE(w.toolButton(1505)->isEnabled());
  EXPECT_FALSE(stays.isNull());
  EXPECT_EQ(w.mdiArea()->subWindowList().size(), 1);
}

TEST(MainFrm, ExitAsksFirst) {
  TestProgram p;
  TfrmMain w;
  w.show();
  MsgBox::Recorder rec;
  rec.answerNo();
  byName(w, "tbExit")->trigger();
  EXPECT_EQ(rec.texts(), QStringList{QStringLiteral("确认要退出吗？")});
  EXPECT_EQ(rec.shown[0].caption, QStringLiteral("询问"));
  EXPECT_TRUE(w.isVisible());
  rec.answerYes();
  EXPECT_TRUE(w.close());
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(rec.shown.size(), 2);
}
