#include "reference/CodeTable.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/MainDM.h"
#include "store/DBFun.h"
#include "toolkit/DataGrid.h"
#include "toolkit/DataSet.h"
#include "toolkit/MsgBox.h"

TCodeTable::TCodeTable(const CodeTableMember& member, QWidget* parent)
    : TChildWindow(parent), member_(member), ds_(new DataSet(this)) {
  setWindowTitle(member_.caption);

  group_ = new QGroupBox(member_.groupCaption, this);
  group_->setObjectName("GroupBox1");
  grid_ = new DataGrid(group_);
  grid_->setObjectName("grid");
  grid_->setAutoAppend(true);
  QVector<GridColumn> columns;
  columns.append({member_.codeField, member_.codeTitle, 100});
  columns.append({member_.nameField, member_.nameTitle, 170});
  if (!member_.extraField.isEmpty()) columns.append({member_.extraField, member_.extraTitle, 80});
  grid_->setColumns(columns);
  auto* groupLayout = new QVBoxLayout(group_);
  groupLayout->addWidget(grid_);

  auto makeButton = [this](const char* name, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
  };
  btnAppend_ = makeButton("btnAppend", QStringLiteral("添加"));
  btnMdy_ = makeButton("btnMdy", QStringLiteral("修改"));
  btnDel_ = makeButton("btnDel", QStringLiteral("删除"));
  btnSave_ = makeButton("btnSave", QStringLiteral("保存"));
  btnCancel_ = makeButton("btnCancel", QStringLiteral("取消"));
  btnClose_ = makeButton("btnClose", QStringLiteral("退出"));
  auto* buttons = new QVBoxLayout;
  buttons->addSpacing(12);
  for (QPushButton* b : {btnAppend_, btnMdy_, btnDel_, btnSave_, btnCancel_, btnClose_}) buttons->addWidget(b);
  buttons->addStretch();

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(group_, 1);
  layout->addLayout(buttons);

  int gridWidth = 24;
  for (const GridColumn& c : columns) gridWidth += c.width;
  group_->setMinimumSize(gridWidth + 24, 300);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(btnAppend_, &QPushButton::clicked, this, &TCodeTable::btnAppendClick);
  connect(btnMdy_, &QPushButton::clicked, this, &TCodeTable::btnMdyClick);
  connect(btnDel_, &QPushButton::clicked, this, &TCodeTable::btnDelClick);
  connect(btnSave_, &QPushButton::clicked, this, &TCodeTable::btnSaveClick);
  connect(btnCancel_, &QPushButton::clicked, this, &TCodeTable::btnCancelClick);
  connect(btnClose_, &QPushButton::clicked, this, &TCodeTable::close);

  ds_->setConnection(&db());
  ds_->setTable(member_.table, {member_.codeField});
  ds_->onNewRecord = [this](DataSet&) { newRecord(); };
  ds_->beforePost = [this](DataSet&) { return beforePost(); };
  connect(ds_, &DataSet::stateChanged, this, &TCodeTable::stateChanged);
  grid_->setDataSet(ds_);

  ds_->close();
  ds_->setSql("select * from " + member_.table + " order by " + member_.codeField);
  ds_->open();
  stateChanged();
}

TCodeTable::~TCodeTable() = default;

// The window sits at the top left of the main window's client area, can be
// minimised but neither maximised nor resized, and comes back in normal size
// whenever it is activated.
void TCodeTable::showEvent(QShowEvent* event) {
  TChildWindow::showEvent(event);
  if (placed_) return;
  placed_ = true;
  auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
  if (!sub) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    return;
  }
  QTimer::singleShot(0, sub, [sub] {
    sub->setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                        Qt::WindowCloseButtonHint);
    sub->move(0, 0);
    sub->show();
  });
  if (QMdiArea* area = sub->mdiArea())
    connect(area, &QMdiArea::subWindowActivated, this, [this, sub](QMdiSubWindow* active) {
      if (active == sub) activated();
    });
}

void TCodeTable::activated() {
  auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
  if (sub && (sub->isMaximized() || sub->isMinimized())) sub->showNormal();
}

void TCodeTable::stateChanged() {
  bool browse = ds_->state() == DataSet::Browse;
  bool editing = ds_->isEditing();
  btnAppend_->setEnabled(browse);
  btnMdy_->setEnabled(browse);
  btnSave_->setEnabled(editing);
  btnCancel_->setEnabled(editing);
}

void TCodeTable::newRecord() {
  QString code;
  try {
    code = DBFun::nextCode(member_.table, member_.codeField, member_.widthPid);
  } catch (...) {
    // no half-made row stays behind when no code can be proposed
    ds_->cancel();
    throw;
  }
  ds_->setValue(member_.codeField, code);
}

bool TCodeTable::beforePost() {
  QString code = ds_->str(member_.codeField);
  if (code.isEmpty()) {
    MsgBox::error(QStringLiteral("编码不能为空"), QStringLiteral("提示"), this);
    return false;
  }
  if (ds_->str(member_.nameField).isEmpty()) {
    MsgBox::error(QStringLiteral("名称不能为空"), QStringLiteral("提示"), this);
    return false;
  }
  bool check = ds_->state() == DataSet::Insert ||
               (ds_->state() == DataSet::Edit && code != FieldValue(ds_->oldValue(member_.codeField)).asString());
  if (check) {
    Query& q = dmMain()->qryExec;
    q.close();
    q.setSql("select * from " + member_.table + " where " + member_.codeField + "=:code");
    q.bind("code", code);
    q.open();
    bool taken = !q.isEmpty();
    q.close();
    if (taken) {
      MsgBox::error(QStringLiteral("编码已存在"), QStringLiteral("提示"), this);
      return false;
    }
  }
  return true;
}

void TCodeTable::btnAppendClick() {
  ds_->append();
  grid_->setFocus();
  grid_->setCurrentCell(ds_->recNo(), 0);
}

void TCodeTable::btnMdyClick() { ds_->edit(); }

void TCodeTable::btnDelClick() {
  if (ds_->isEmpty()) return;
  if (!MsgBox::ask(QStringLiteral("确定要删除吗？"), this)) return;
  try {
    ds_->remove();
  } catch (const StoreError&) {
    MsgBox::error(QStringLiteral("删除失败，正在使用！"), QStringLiteral("提示"), this);
  }
}

void TCodeTable::btnSaveClick() { ds_->post(); }

void TCodeTable::btnCancelClick() { ds_->cancel(); }

void TCodeTable::closeEvent(QCloseEvent* event) {
  // an open cell editor hands its text to the row when it loses the focus
  if (QWidget* f = QApplication::focusWidget(); f && grid_->isAncestorOf(f)) btnClose_->setFocus();
  if (ds_->modified() && MsgBox::ask(QStringLiteral("数据已修改，是否保存？"), this)) {
    bool posted = false;
    try {
      posted = ds_->post();
    } catch (const std::exception& e) {
      MsgBox::error(QString::fromUtf8(e.what()), QStringLiteral("错误"), this);
    }
    if (!posted) {
      event->ignore();
      return;
    }
  }
  ds_->close();
  TChildWindow::closeEvent(event);
}
