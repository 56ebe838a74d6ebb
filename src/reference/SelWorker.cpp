#include "reference/SelWorker.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/MainDM.h"
#include "common/MyFun.h"

namespace {
enum { CodeRole = Qt::UserRole, NameRole };
}

struct TfrmSelWorker::Private {
  QString code, name;
  QTreeWidget* tv = nullptr;
};

TfrmSelWorker::TfrmSelWorker(QWidget* parent) : QDialog(parent), d(new Private) {
  setObjectName("TfrmSelWorker");
  setWindowTitle(QStringLiteral("请选择员工"));

  auto* group = new QGroupBox(QStringLiteral("员工列表"), this);
  group->setObjectName("GroupBox1");
  d->tv = new QTreeWidget(group);
  d->tv->setObjectName("tvWorker");
  d->tv->setHeaderHidden(true);
  d->tv->setEditTriggers(QAbstractItemView::NoEditTriggers);
  d->tv->setExpandsOnDoubleClick(false);
  (new QVBoxLayout(group))->addWidget(d->tv);

  auto* btnLocate = new QPushButton(QStringLiteral("定位"), this);
  btnLocate->setObjectName("btnLocate");
  btnLocate->setAutoDefault(false);
  auto* btnSelect = new QPushButton(QStringLiteral("选中"), this);
  btnSelect->setObjectName("btnSelect");
  btnSelect->setDefault(true);
  auto* btnCancel = new QPushButton(QStringLiteral("取消"), this);
  btnCancel->setObjectName("btnCancel");
  btnCancel->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnLocate);
  buttons->addWidget(btnSelect);
  buttons->addWidget(btnCancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group, 1);
  layout->addLayout(buttons);
  resize(320, 460);

  // a department with employees opens onto its first one; an employee is the
  // choice; a department without employees is no choice at all
  auto choose = [this] {
    QTreeWidgetItem* node = d->tv->currentItem();
    if (!node) return;
    if (node->childCount() > 0) {
      node->setExpanded(true);
      d->tv->setCurrentItem(node->child(0));
      return;
    }
    if (!node->parent()) return;
    d->code = node->data(0, CodeRole).toString();
    d->name = node->data(0, NameRole).toString();
    accept();
  };
  connect(btnLocate, &QPushButton::clicked, this, choose);
  connect(btnSelect, &QPushButton::clicked, this, choose);
  connect(d->tv, &QTreeWidget::itemDoubleClicked, this, choose);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  // a result set of its own: the caller may be walking the shared queries
  Query q(&db());
  q.open("select * from depart a left join worker b on a.bmcode=b.bmcode order by a.bmcode,wkcode");
  QTreeWidgetItem* department = nullptr;
  QString lastDepartment;
  for (q.first(); !q.eof(); q.next()) {
    QString bmcode = q.str("a.bmcode");
    if (!department || bmcode != lastDepartment) {
      department = new QTreeWidgetItem(d->tv, {MyFun::codeName(bmcode, q.str("bmname"))});
      lastDepartment = bmcode;
    }
    QString wkcode = q.str("wkcode");
    if (wkcode.isEmpty()) continue;
    auto* employee = new QTreeWidgetItem(department, {MyFun::codeName(wkcode, q.str("wkname"))});
    employee->setData(0, CodeRole, wkcode);
    employee->setData(0, NameRole, q.str("wkname"));
  }
}

TfrmSelWorker::~TfrmSelWorker() { delete d; }
QString TfrmSelWorker::wkcode() const { return d->code; }
QString TfrmSelWorker::wkname() const { return d->name; }
