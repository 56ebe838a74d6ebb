#include "app/MainFrm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "app/Commands.h"
#include "app/Login.h"
#include "app/MainDM.h"
#include "app/MainFrmArt.h"
#include "app/Session.h"
#include "common/MyFun.h"
#include "store/DBFun.h"
#include "toolkit/ChildWindow.h"
#include "toolkit/MsgBox.h"

namespace {
constexpr int kRelogin = -1;
constexpr int kExit = -2;

void registerAllCommands() {
  static bool done = false;
  if (done) return;
  done = true;
  registerReferenceCommands();
  registerPieceworkCommands();
  registerPayrollCommands();
  registerOperatorCommands();
  registerMaintenanceCommands();
}
}  // namespace

TfrmMain::TfrmMain(QWidget* parent)
    : QMainWindow(parent), mdi_(new QMdiArea(this)), reloginTimer_(new QTimer(this)) {
  setObjectName("TfrmMain");
  setWindowTitle(QStringLiteral("青禾工资管理系统【V2010】(build20100721)"));
  setWindowState(Qt::WindowMaximized);
  QApplication::setWindowIcon(MainFrmArt::appIcon());

  mdi_->setObjectName("mdiArea");
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdi_);
  MyFun::setMdiArea(mdi_);
  mdi_->viewport()->installEventFilter(this);
  connect(mdi_, &QMdiArea::subWindowActivated, this, &TfrmMain::childActivated);

  registerAllCommands();
  buildMenus();
  buildToolBar();
  buildStatusBar();

  reloginTimer_->setSingleShot(true);
  connect(reloginTimer_, &QTimer::timeout, this, &TfrmMain::setUpFromSession);

  loadPicture();
  setUpFromSession();
}

TfrmMain::~TfrmMain() {
  // the children close after this object is gone as a TfrmMain
  disconnect(mdi_, nullptr, this, nullptr);
  mdi_->viewport()->removeEventFilter(this);
  if (MyFun::mdiArea() == mdi_) MyFun::setMdiArea(nullptr);
}

// ---------------------------------------------------------------- building

QAction* TfrmMain::addItem(QMenu* menu, const QString& name, const QString& caption, int tag) {
  QAction* a = menu->addAction(caption);
  a->setObjectName(name);
  a->setProperty("Tag", tag);
  connect(a, &QAction::triggered, this, [this, tag] { runCommand(tag); });
  return a;
}

QAction* TfrmMain::addButton(const QString& name, const QString& caption, int tag, const QString& picture) {
  QAction* a = ToolBar1->addAction(MainFrmArt::toolIcon(tag, picture), caption);
  a->setObjectName(name);
  a->setProperty("Tag", tag > 0 ? tag : 0);
  if (tag == kRelogin)
    connect(a, &QAction::triggered, this, &TfrmMain::relogin);
  else if (tag == kExit)
    connect(a, &QAction::triggered, this, &QWidget::close);
  else
    connect(a, &QAction::triggered, this, [this, tag] { runCommand(tag); });
  if (QWidget* button = ToolBar1->widgetForAction(a)) button->setObjectName(name);
  return a;
}

void TfrmMain::buildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("MainMenu1");
  auto top = [&](const QString& name, const QString& caption) {
    QMenu* m = bar->addMenu(caption);
    m->setObjectName(name);
    m->menuAction()->setObjectName(name);
    m->menuAction()->setProperty("Tag", 0);
    topMenus_ << m;
    return m;
  };

  mnuDaily_ = top("mnuDaily", QStringLiteral("【日常处理】"));
  addItem(mnuDaily_, "miJjData", QStringLiteral("计件数据录入"), 1001);
  addItem(mnuDaily_, "miGzData", QStringLiteral("工资数据录入"), 1003);
  addItem(mnuDaily_, "miJzNext", QStringLiteral("结转下月"), 1005);

  mnuReport_ = top("mnuReport", QStringLiteral("【工资报表】"));
  addItem(mnuReport_, "miGzBar", QStringLiteral("打印工资条"), 1301);
  addItem(mnuReport_, "miGzFf", QStringLiteral("工资发放表"), 1303);
  addItem(mnuReport_, "miGzSum", QStringLiteral("工资汇总表"), 1305);

  mnuSetup_ = top("mnuSetup", QStringLiteral("【初始设置】"));
  mnuSetup_->menuAction()->setProperty("Tag", 1);
  addItem(mnuSetup_, "miJjgz", QStringLiteral("计件工种设置"), 1503);
  addItem(mnuSetup_, "miJjgx", QStringLiteral("计件工序设置"), 1505);
  addItem(mnuSetup_, "miJjxs", QStringLiteral("计件系数设置"), 1507);
  mnuSetup_->addSeparator()->setProperty("Tag", 0);
  addItem(mnuSetup_, "miGzxm", QStringLiteral("工资项目定义"), 1509);
  addItem(mnuSetup_, "miGzgs", QStringLiteral("计算公式定义"), 1511);
  mnuSetup_->addSeparator()->setProperty("Tag", 0);
  addItem(mnuSetup_, "miDepart", QStringLiteral("部门设置"), 1512);
  addItem(mnuSetup_, "miWorkerType", QStringLiteral("职位设置"), 1513);
  addItem(mnuSetup_, "miWorker", QStringLiteral("员工名册管理"), 1515);

  mnuOperator_ = top("mnuOperator", QStringLiteral("【操作员】"));
  addItem(mnuOperator_, "miOperator", QStringLiteral("操作员管理"), 1701);
  addItem(mnuOperator_, "miOperatorRole", QStringLiteral("设定权限"), 1703);
  addItem(mnuOperator_, "miOperatorPwd", QStringLiteral("修改密码"), 1705);

  mnuMaint_ = top("mnuMaint", QStringLiteral("【系统维护】"));
  addItem(mnuMaint_, "miInit", QStringLiteral("数据初始化"), 1901);
  addItem(mnuMaint_, "miBackup", QStringLiteral("数据备份"), 1903);
  addItem(mnuMaint_, "miRestore", QStringLiteral("数据恢复"), 1905);

  mnuHelp_ = top("mnuHelp", QStringLiteral("【系统帮助】"));
  addItem(mnuHelp_, "miHelp", QStringLiteral("帮助主题"), 2101);
  addItem(mnuHelp_, "miAbout", QStringLiteral("关于..."), 2105);
  connect(mnuHelp_, &QMenu::aboutToShow, this, &TfrmMain::fillWindowList);
}

void TfrmMain::buildToolBar() {
  ToolBar1 = new QToolBar(QStringLiteral("ToolBar1"), this);
  ToolBar1->setObjectName("ToolBar1");
  ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  ToolBar1->setIconSize(QSize(32, 32));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  addToolBar(Qt::TopToolBarArea, ToolBar1);

  addButton("tbJjData", QStringLiteral("计件录入"), 1001);
  addButton("tbGzData", QStringLiteral("工资录入"), 1003);
  ToolBar1->addSeparator();
  addButton("tbGzBar", QStringLiteral("工资条"), 1301);
  addButton("tbGzFf", QStringLiteral("发放表"), 1303);
  addButton("tbGzSum", QStringLiteral("汇总表"), 1305);
  ToolBar1->addSeparator();
  addButton("tbJjgz", QStringLiteral("计件工种"), 1503);
  addButton("tbJjgx", QStringLiteral("计件工序"), 1505);
  addButton("tbWorker", QStringLiteral("职工名册"), 1515);
  ToolBar1->addSeparator();
  addButton("tbRelogin", QStringLiteral("重新登陆"), kRelogin, "relogin");
  addButton("tbExit", QStringLiteral("退出系统"), kExit, "exit");
}

void TfrmMain::buildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("StatusBar1");
  bar->setSizeGripEnabled(false);
  bar->setStyleSheet(QStringLiteral("QStatusBar::item { border: none; }"));
  const int widths[3] = {200, 200, 50};
  for (int i = 0; i < 3; ++i) {
    panels_[i] = new QLabel(bar);
    panels_[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
    panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panels_[i]->setContentsMargins(4, 0, 4, 0);
    if (i < 2)
      panels_[i]->setFixedWidth(widths[i]);
    else
      panels_[i]->setMinimumWidth(widths[i]);
    // the last panel takes the rest of the bar so a long organisation name shows whole
    bar->addWidget(panels_[i], i == 2 ? 1 : 0);
  }
}

// ---------------------------------------------------------------- session

// Creation and every confirmed re-login: background, status bar, gating,
// then the switched-off commands. A store error stops the steps where it
// happens and is shown with the store's own text.
void TfrmMain::setUpFromSession() {
  placePicture();
  try {
    showStatus();
    gate();
    hideSwitchedOff();
  } catch (const StoreError& e) {
    MsgBox::error(e.message(), QStringLiteral("提示"), this);
  }
}

void TfrmMain::showStatus() {
  panels_[0]->setText(QStringLiteral("操作员：") + Session::operName());
  panels_[1]->setText(QStringLiteral("业务日期：") + Session::bizQDate().toString("yyyy-MM-dd"));
  panels_[2]->setText(QStringLiteral("使用单位：") + DBFun::getParam(8));
}

QString TfrmMain::statusText(int panel) const {
  return panel >= 0 && panel < 3 ? panels_[panel]->text() : QString();
}

void TfrmMain::gate() {
  const QList<QAction*> all = actionsWithTag(-1);
  if (Session::isAdmin()) {
    for (QAction* a : all)
      if (tagOf(a) > 0) a->setEnabled(true);
    return;
  }
  for (QAction* a : all)
    if (tagOf(a) > 0) a->setEnabled(false);
  Query& q = dmMain()->qryExec;
  q.close();
  q.setSql("select * from rolelist where opername=:opername order by roleid");
  q.bind("opername", Session::operName());
  q.open();
  QList<int> held;
  for (q.first(); !q.eof(); q.next()) held << int(q.integer("roleid"));
  q.close();
  for (QAction* a : all)
    if (tagOf(a) > 0 && held.contains(tagOf(a))) a->setEnabled(true);
}

void TfrmMain::hideSwitchedOff() {
  Query& q = dmMain()->qryExec;
  q.close();
  q.open("select * from roles where flag=1");
  QList<int> off;
  for (q.first(); !q.eof(); q.next()) off << int(q.integer("roleid"));
  q.close();
  for (QAction* a : actionsWithTag(-1))
    if (tagOf(a) > 0 && off.contains(tagOf(a))) a->setVisible(false);
  for (QMenu* m : {mnuDaily_, mnuReport_, mnuSetup_, mnuOperator_}) tidyMenu(m);
}

// Separators at the top, right after another one or at the bottom go, and a
// menu left without a visible command goes with them. A menu whose own Tag
// is 1 is gated as a whole and left as it is.
void TfrmMain::tidyMenu(QMenu* menu) {
  if (tagOf(menu->menuAction()) == 1) return;
  QAction* last = nullptr;
  bool anyCommand = false;
  for (QAction* a : menu->actions()) {
    if (a->isVisible() && !a->isSeparator()) anyCommand = true;
    if (a->isSeparator() && (!last || last->isSeparator())) a->setVisible(false);
    if (a->isVisible()) last = a;
  }
  if (last && last->isSeparator()) last->setVisible(false);
  menu->menuAction()->setVisible(anyCommand);
}

int TfrmMain::tagOf(const QAction* action) { return action ? action->property("Tag").toInt() : 0; }

QList<QAction*> TfrmMain::actionsWithTag(int tag) const {
  QList<QAction*> out;
  auto take = [&](QAction* a) {
    if (a->property("Tag").isValid() && (tag < 0 || tagOf(a) == tag)) out << a;
  };
  for (QMenu* m : topMenus_) {
    take(m->menuAction());
    for (QAction* a : m->actions()) take(a);
  }
  for (QAction* a : ToolBar1->actions()) take(a);
  return out;
}

QAction* TfrmMain::menuItem(int tag) const {
  for (QMenu* m : topMenus_) {
    if (tagOf(m->menuAction()) == tag) return m->menuAction();
    for (QAction* a : m->actions())
      if (!a->isSeparator() && tagOf(a) == tag) return a;
  }
  return nullptr;
}

QAction* TfrmMain::toolButton(int tag) const {
  for (QAction* a : ToolBar1->actions())
    if (!a->isSeparator() && tagOf(a) == tag) return a;
  return nullptr;
}

// ---------------------------------------------------------------- background

void TfrmMain::loadPicture() {
  picture_ = MainFrmArt::background();
  QString path = MyFun::readIni("System", "Picture", QString()).trimmed();
  if (path.isEmpty()) return;
  QFileInfo fi(path);
  if (!fi.exists()) fi.setFile(MyFun::programDir() + path);
  if (!fi.isFile()) return;
  QPixmap own(fi.absoluteFilePath());
  if (!own.isNull()) picture_ = own;
}

// The picture covers the document area (the client area less the tool area
// and the status bar), stretched to its size.
void TfrmMain::placePicture() {
  const QSize size = mdi_->viewport()->size();
  if (size.isEmpty() || picture_.isNull()) return;
  mdi_->setBackground(QBrush(picture_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == mdi_->viewport() && event->type() == QEvent::Resize) placePicture();
  return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- commands

void TfrmMain::runCommand(int tag) {
  switch (tag) {
    case 2101:
      showManual();
      return;
    case 2105:  // "关于..." is gated like the others but opens nothing
      return;
    default:
      Commands::run(tag);
  }
}

// The manual ships as a web page; an office document of the same name put
// beside it by the user is preferred.
void TfrmMain::showManual() {
  for (const char* ext : {".doc", ".html"}) {
    const QString path = MyFun::programDir() + QStringLiteral("青禾工资管理系统说明书") + QLatin1String(ext);
    if (QFileInfo(path).isFile()) {
      QDesktopServices::openUrl(QUrl::fromLocalFile(path));
      return;
    }
  }
}

// The login dialog proposes today's date. On confirmation the session values
// are replaced at once; status bar, gating and hiding follow after a pause,
// during which the window stays responsive. Open children stay as they are.
void TfrmMain::relogin() {
  TfrmLogin login(this);
  if (login.exec() != QDialog::Accepted) return;
  login.takeSession();
  reloginTimer_->start(reloginDelayMs_);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  if (MsgBox::ask(QStringLiteral("确认要退出吗？"), this))
    event->accept();
  else
    event->ignore();
}

// ---------------------------------------------------------------- children

void TfrmMain::fillWindowList() {
  for (QAction* a : windowListItems_) {
    mnuHelp_->removeAction(a);
    a->deleteLater();
  }
  windowListItems_.clear();
  const QList<QMdiSubWindow*> subs = mdi_->subWindowList(QMdiArea::CreationOrder);
  if (!windowListSeparator_) {
    windowListSeparator_ = mnuHelp_->addSeparator();
    windowListSeparator_->setObjectName("miWindowList");
  }
  windowListSeparator_->setVisible(!subs.isEmpty());
  int n = 0;
  for (QMdiSubWindow* sub : subs) {
    QAction* a = mnuHelp_->addAction(QStringLiteral("&%1 %2").arg(++n).arg(sub->windowTitle()));
    a->setCheckable(true);
    a->setChecked(sub == mdi_->activeSubWindow());
    QPointer<QMdiSubWindow> target(sub);
    connect(a, &QAction::triggered, this, [this, target] {
      if (target) mdi_->setActiveSubWindow(target);
    });
    windowListItems_ << a;
  }
}

// The active child's own toolbar stands in the tool area after the main
// toolbar; the others' are hidden. A null activation only means the frame
// lost the focus (a dialog opened), so the tool area stays as it is.
void TfrmMain::childActivated(QMdiSubWindow* sub) {
  childBars_.removeAll(QPointer<QToolBar>());
  if (!sub) return;
  auto* child = qobject_cast<TChildWindow*>(sub->widget());
  QToolBar* own = child ? child->ownToolBar() : nullptr;
  for (const QPointer<QToolBar>& bar : childBars_)
    if (bar && bar != own) bar->hide();
  if (!own) return;
  if (!childBars_.contains(own)) {
    own->setMovable(false);
    own->setIconSize(ToolBar1->iconSize());
    addToolBar(Qt::TopToolBarArea, own);
    childBars_ << own;
  }
  own->show();
  if (child->maximiseWhenActive() && !sub->isMaximized()) sub->showMaximized();
}
