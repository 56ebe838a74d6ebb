#include "toolkit/DataNavigator.h"

#include <QHBoxLayout>
#include <QToolButton>

#include "toolkit/DataGrid.h"
#include "toolkit/MsgBox.h"

DataNavigator::DataNavigator(DataGrid* grid, QWidget* parent) : QWidget(parent), grid_(grid) {
  setObjectName("DBNavigator1");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto button = [&](const char* name, const QString& text, const QString& tip) {
    auto* b = new QToolButton(this);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(tip);
    // taking the focus on a click hands an open cell editor's text to the row first
    b->setFocusPolicy(Qt::ClickFocus);
    b->setFixedSize(26, 22);
    layout->addWidget(b);
    return b;
  };
  nbInsert = button("nbInsert", QStringLiteral("+"), QStringLiteral("插入"));
  nbDelete = button("nbDelete", QStringLiteral("−"), QStringLiteral("删除"));
  nbEdit = button("nbEdit", QStringLiteral("▲"), QStringLiteral("编辑"));
  nbPost = button("nbPost", QStringLiteral("✓"), QStringLiteral("保存"));
  nbCancel = button("nbCancel", QStringLiteral("✗"), QStringLiteral("取消"));
  layout->addStretch();

  DataSet* ds = grid->dataSet();
  connect(nbInsert, &QToolButton::clicked, this, [this, ds] {
    if (!ds->isActive()) return;
    ds->append();
    grid_->setFocus();
    QVector<int> visible = grid_->visibleColumns();
    grid_->setCurrentCell(ds->recNo(), visible.isEmpty() ? 0 : visible.first());
  });
  connect(nbDelete, &QToolButton::clicked, this, [this, ds] {
    if (!ds->isActive() || ds->isEmpty()) return;
    if (!deleteQuestion_.isEmpty() && !MsgBox::ask(deleteQuestion_, this)) return;
    ds->remove();
  });
  connect(nbEdit, &QToolButton::clicked, this, [ds] { ds->edit(); });
  connect(nbPost, &QToolButton::clicked, this, [ds] { ds->post(); });
  connect(nbCancel, &QToolButton::clicked, this, [ds] { ds->cancel(); });
  connect(ds, &DataSet::stateChanged, this, &DataNavigator::updateButtons);
  connect(ds, &DataSet::reset, this, &DataNavigator::updateButtons);
  connect(ds, &DataSet::rowRemoved, this, &DataNavigator::updateButtons);
  connect(ds, &DataSet::rowInserted, this, &DataNavigator::updateButtons);
  updateButtons();
}

void DataNavigator::updateButtons() {
  DataSet* ds = grid_->dataSet();
  bool browse = ds->state() == DataSet::Browse;
  nbInsert->setEnabled(ds->isActive());
  nbEdit->setEnabled(browse && !ds->isEmpty());
  nbDelete->setEnabled(ds->isActive() && !ds->isEmpty());
  nbPost->setEnabled(ds->isEditing());
  nbCancel->setEnabled(ds->isEditing());
}
