#include "piecework/JjDataMdy.h"

#include <QApplication>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/MainDM.h"
#include "app/Session.h"
#include "common/MyFun.h"
#include "toolkit/NumEdit.h"
#include "toolkit/WideCombo.h"
#include "reference/SelWorker.h"
#include "store/DBFun.h"
#include "toolkit/DataGrid.h"
#include "toolkit/DataNavigator.h"
#include "toolkit/EnterAsTab.h"
#include "toolkit/MsgBox.h"
#include "toolkit/FieldRow.h"

namespace {

const QString kError = QStringLiteral("错误");

// A "[code]name" text that really names a code: both brackets, and at least
// one character between the first "[" and the first "]".
bool hasCode(const QString& text) {
  int open = text.indexOf('['), close = text.indexOf(']');
  return open >= 0 && close > open + 1;
}

QString lineCode(const QString& text) { return MyFun::codeOf(text); }

}  // namespace

TfrmJjDataMdy::TfrmJjDataMdy(QWidget* parent) : QDialog(parent) {
  setObjectName("TfrmJjDataMdy");
  setWindowTitle(QStringLiteral("增加计件数据"));

  auto* header = new QGridLayout;
  int row = 0;
  auto addRow = [&](const QString& caption, QWidget* field, QWidget* after = nullptr) {
    addFieldRow(header, row, caption, field);
    if (after) header->addWidget(after, row, 2);
    ++row;
  };

  edtDt = new QDateEdit(this);
  edtDt->setObjectName("edtDt");
  edtDt->setDisplayFormat("yyyy-MM-dd");
  edtDt->setCalendarPopup(true);
  addRow(QStringLiteral("日  期"), edtDt);

  cboGz = new WideCombo(this);
  cboGz->setObjectName("cboGz");
  addRow(QStringLiteral("计件工种"), cboGz);
  cboGx = new WideCombo(this);
  cboGx->setObjectName("cboGx");
  addRow(QStringLiteral("计件工序"), cboGx);

  edtUnit = new QLineEdit(this);
  edtUnit->setObjectName("edtUnit");
  edtUnit->setReadOnly(true);
  addRow(QStringLiteral("计价单位"), edtUnit);

  edtPrice = new NumEdit(6, false, this);
  edtPrice->setObjectName("edtPrice");
  addRow(QStringLiteral("计件单价"), edtPrice, new QLabel(QStringLiteral("元"), this));
  edtRs = new NumEdit(6, false, this);
  edtRs->setObjectName("edtRs");
  addRow(QStringLiteral("工序人数"), edtRs);

  cboXs = new WideCombo(this);
  cboXs->setObjectName("cboXs");
  addRow(QStringLiteral("系数名称"), cboXs);
  edtXs = new NumEdit(2, true, this);
  edtXs->setObjectName("edtXs");
  addRow(QStringLiteral("系  数"), edtXs);
  edtSl = new NumEdit(2, true, this);
  edtSl->setObjectName("edtSl");
  addRow(QStringLiteral("计件数量"), edtSl);
  edtJe = new NumEdit(2, true, this);
  edtJe->setObjectName("edtJe");
  edtJe->setReadOnly(true);
  edtJe->setFocusPolicy(Qt::NoFocus);
  addRow(QStringLiteral("计件金额"), edtJe);
  header->setColumnStretch(1, 1);

  // the lines
  tmp.setObjectName("tmp");
  tmp.addField("worker", FieldType::String, 40);
  tmp.addField("workertp", FieldType::String, 30);
  tmp.addField("bl", FieldType::Float);
  tmp.addField("je", FieldType::Float);

  grid = new DataGrid(this);
  grid->setObjectName("grid");
  grid->setAutoAppend(true);

  QStringList positionList;
  {
    Query q(&db());
    q.open("select * from worker_tp order by tpcode");
    for (q.first(); !q.eof(); q.next()) {
      positionList << MyFun::codeName(q.str("tpcode"), q.str("tpname"));
      positions_.insert(q.str("tpcode"), q.str("tpname"));
    }
  }
  GridColumn cWorker{"worker", QStringLiteral("员工姓名"), 120};
  cWorker.ellipsis = true;
  GridColumn cTp{"workertp", QStringLiteral("职位名称"), 110};
  cTp.pickList = positionList;
  GridColumn cBl{"bl", QStringLiteral("分成比例"), 70, "0.00"};
  GridColumn cJe{"je", QStringLiteral("金额"), 80, "0.00"};
  cJe.readOnly = true;
  cJe.infoColor = true;
  grid->setColumns({cWorker, cTp, cBl, cJe});
  grid->setDataSet(&tmp);

  auto* nav = new DataNavigator(grid, this);
  nav->setDeleteQuestion(QStringLiteral("删除记录吗？"));

  auto* linesBox = new QGroupBox(QStringLiteral("员工分成"), this);
  auto* linesLayout = new QVBoxLayout(linesBox);
  linesLayout->addWidget(nav);
  linesLayout->addWidget(grid);

  btnSave = new QPushButton(QStringLiteral("保存"), this);
  btnSave->setObjectName("btnSave");
  btnCancel = new QPushButton(QStringLiteral("取消"), this);
  btnCancel->setObjectName("btnCancel");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnSave);
  buttons->addWidget(btnCancel);

  auto* top = new QHBoxLayout;
  top->addLayout(header, 2);
  top->addWidget(linesBox, 3);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);
  resize(820, 420);

  // FormCreate: the fill switch is off; the lists with their empty entries
  cboGz->addItem(QString());
  cboGz->addItems(DBFun::codeNames("jjgz", "gzcode", "gzname"));
  cboXs->addItem(QString());
  cboXs->addItems(DBFun::codeNames("jjxs", "xscode", "xsname"));
  edtDt->setDate(Session::bizQDate());

  // only the user's choices run the change handlers
  connect(cboGz, &QComboBox::activated, this, &TfrmJjDataMdy::cboGzChange);
  connect(cboGx, &QComboBox::activated, this, &TfrmJjDataMdy::cboGxChange);
  connect(cboXs, &QComboBox::activated, this, &TfrmJjDataMdy::cboXsChange);
  connect(edtPrice, &NumEdit::changed, this, &TfrmJjDataMdy::edtSlChange);
  connect(edtXs, &NumEdit::changed, this, &TfrmJjDataMdy::edtSlChange);
  connect(edtSl, &NumEdit::changed, this, &TfrmJjDataMdy::edtSlChange);
  connect(edtJe, &NumEdit::changed, this, &TfrmJjDataMdy::edtJeChange);

  tmp.onFieldChange = [this](DataSet&, const QString& field) {
    if (field == "workertp")
      tmpworkertpChange();
    else if (field == "bl")
      tmpblChange();
  };
  tmp.beforePost = [this](DataSet&) { return tmpBeforePost(); };
  connect(grid, &DataGrid::editButtonClicked, this, [this](int column) {
    if (column == 0) gridColumns0EditButtonClick();
  });

  connect(btnSave, &QPushButton::clicked, this, &TfrmJjDataMdy::btnYesClick);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  new EnterAsTab(this);
  qApp->installEventFilter(this);
}

TfrmJjDataMdy::~TfrmJjDataMdy() {
  qApp->removeEventFilter(this);
  tmp.onFieldChange = nullptr;
  tmp.beforePost = nullptr;
}

void TfrmJjDataMdy::prepareAdd() {
  mode_ = Add;
  setWindowTitle(QStringLiteral("增加计件数据"));
}

void TfrmJjDataMdy::prepareModify(const JjRecord& r) {
  mode_ = Modify;
  pid_ = r.pid;
  setWindowTitle(QStringLiteral("修改计件数据"));
  filling_ = true;
  edtDt->setDate(r.dt);
  cboGz->setCurrentIndex(cboGz->findText(r.gzText));
  fillProcesses();
  cboGx->setCurrentIndex(cboGx->findText(r.gxText));
  edtPrice->setValue(r.price);
  edtRs->setValue(r.rs);
  cboXs->setCurrentIndex(cboXs->findText(r.xsText));
  edtXs->setValue(r.xs);
  edtSl->setValue(r.sl);
  edtJe->setValue(r.je);
  filling_ = false;
}

void TfrmJjDataMdy::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shown_) return;
  shown_ = true;
  tmp.createTable();
  if (mode_ == Modify) loadLines();
}

// ---------------------------------------------------------------- header

void TfrmJjDataMdy::fillProcesses() {
  if (cboGz->currentText().isEmpty()) {
    cboGx->clear();
    return;
  }
  cboGx->clear();
  cboGx->addItem(QString());
  cboGx->addItems(DBFun::processNames(MyFun::codeOf(cboGz->currentText())));
  cboGx->setCurrentIndex(0);
}

void TfrmJjDataMdy::cboGzChange() { fillProcesses(); }

void TfrmJjDataMdy::cboGxChange() {
  if (cboGx->currentText().isEmpty()) {
    edtUnit->clear();
    edtPrice->setValue(0);
    edtRs->setValue(0);
  } else {
    Query q(&db());
    q.setSql("select * from jjgx where gzcode=:gzcode and gxcode=:gxcode");
    q.bind("gzcode", MyFun::codeOf(cboGz->currentText()));
    q.bind("gxcode", MyFun::codeOf(cboGx->currentText()));
    q.open();
    if (q.isEmpty()) return;
    edtUnit->setText(q.str("unit"));
    edtPrice->setValue(q.field("price").value());
    edtRs->setValue(q.field("rs").value());
  }
  // the amount follows the price even when its text did not change
  edtSlChange();
}

void TfrmJjDataMdy::cboXsChange() {
  if (cboXs->currentIndex() <= 0) {
    edtXs->setValue(0);
  } else {
    Query q(&db());
    q.setSql("select * from jjxs where xscode=:xscode");
    q.bind("xscode", MyFun::codeOf(cboXs->currentText()));
    q.open();
    if (!q.isEmpty()) edtXs->setValue(q.field("xs").value());
  }
  // choosing or leaving a coefficient changes the amount even when the
  // coefficient value stays the same
  edtSlChange();
}

void TfrmJjDataMdy::edtSlChange() {
  if (filling_) return;
  double t = edtPrice->number() * edtSl->number();
  if (cboXs->currentIndex() > 0) t = edtXs->number() * t;
  edtJe->setValue(MyFun::roundTo(2, t));
}

double TfrmJjDataMdy::amount() const { return edtJe->number(); }

void TfrmJjDataMdy::edtJeChange() {
  if (filling_ || !tmp.isActive() || tmp.isEmpty()) return;
  // A line the user is still editing is set aside and put back in edit
  // afterwards, so that its checks still run before it is posted.
  const QStringList names{"worker", "workertp", "bl"};
  int current = tmp.recNo();
  bool pending = tmp.isEditing() && tmp.modified();
  bool pendingNew = pending && tmp.state() == DataSet::Insert;
  QVariantList typed;
  if (pending)
    for (const QString& n : names) typed << tmp.value(n);
  tmp.disableControls();
  lineSwitch_ = true;
  try {
    if (tmp.isEditing()) tmp.cancel();
    for (int r = 0; r < tmp.recordCount(); ++r) {
      tmp.moveTo(r);
      tmp.edit();
      tmp.setValue("je", MyFun::roundTo(2, amount() * MyFun::toNumber(tmp.value("bl"))));
      tmp.post();
    }
    if (pending) {
      if (pendingNew) {
        tmp.append();
      } else {
        tmp.moveTo(current);
        tmp.edit();
      }
      for (int i = 0; i < names.size(); ++i) tmp.setValue(names[i], typed[i]);  // the ratio sets the amount
    } else if (!tmp.isEmpty()) {
      tmp.moveTo(qMin(current, tmp.recordCount() - 1));
    }
  } catch (...) {
    lineSwitch_ = false;
    tmp.enableControls();
    throw;
  }
  lineSwitch_ = false;
  tmp.enableControls();
}

// ---------------------------------------------------------------- lines

void TfrmJjDataMdy::tmpblChange() {
  tmp.setValue("je", MyFun::roundTo(2, amount() * MyFun::toNumber(tmp.value("bl"))));
}

void TfrmJjDataMdy::tmpworkertpChange() {
  if (lineSwitch_) return;
  QString text = tmp.str("workertp");
  if (text.isEmpty() || cboGx->currentText().isEmpty()) return;
  if (!hasCode(text)) {
    MsgBox::error(QStringLiteral("职位输入错误"), kError, this);
    return;
  }
  Query q(&db());
  q.setSql("select * from jjgx_d where gzcode=:gzcode and gxcode=:gxcode and tpcode=:tpcode");
  q.bind("gzcode", MyFun::codeOf(cboGz->currentText()));
  q.bind("gxcode", MyFun::codeOf(cboGx->currentText()));
  q.bind("tpcode", lineCode(text));
  q.open();
  if (!q.isEmpty()) tmp.setValue("bl", q.field("bl").value());
}

bool TfrmJjDataMdy::tmpBeforePost() {
  if (lineSwitch_) return true;
  QString worker = tmp.str("worker");
  QString position = tmp.str("workertp");
  QString refusal;
  if (worker.isEmpty())
    refusal = QStringLiteral("请选择员工");
  else if (!hasCode(worker))
    refusal = QStringLiteral("员工输入错误");
  else if (!DBFun::workerExists(lineCode(worker)))
    refusal = QStringLiteral("员工不存在");
  else if (position.isEmpty())
    return true;
  else if (!hasCode(position))
    refusal = QStringLiteral("职位输入错误");
  else if (!DBFun::positionExists(lineCode(position)))
    refusal = QStringLiteral("职位不存在");
  if (refusal.isEmpty()) return true;
  MsgBox::error(refusal, kError, this);
  return false;
}

void TfrmJjDataMdy::setWorker(const QString& code, const QString& name) {
  if (tmp.isEmpty())
    tmp.append();
  else
    tmp.edit();
  tmp.setValue("worker", MyFun::codeName(code, name));
  tmp.setValue("workertp", DBFun::workerPosition(code));
  syncEditor();
}

// An editor left open over the employee cell would write its old text back.
void TfrmJjDataMdy::syncEditor() {
  if (auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex())))
    editor->setText(grid->cellValue(tmp.recNo(), grid->currentColumn()).toString());
}

void TfrmJjDataMdy::gridColumns0EditButtonClick() {
  TfrmSelWorker picker(this);
  if (picker.exec() == QDialog::Accepted) setWorker(picker.wkcode(), picker.wkname());
}

bool TfrmJjDataMdy::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
  if (key->modifiers() & Qt::ControlModifier) return false;
  auto* w = qobject_cast<QWidget*>(watched);
  if (!w || (w != grid && !grid->isAncestorOf(w))) return false;
  // the key reaches the grid and, while a cell is edited, the cell's editor
  QWidget* editor = grid->indexWidget(grid->currentIndex());
  if (editor ? w != editor : w != grid) return false;
  return gridKeyDown();
}

bool TfrmJjDataMdy::gridKeyDown() {
  if (!tmp.isActive()) return false;
  if (!tmp.isEmpty() && grid->currentColumn() != 0) return false;
  auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
  bool editing = editor != nullptr;
  QString typed = editing ? editor->text() : QString();
  if (editing) {
    // the editor goes first so that what follows writes the cell itself
    emit grid->itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
  auto done = [&] {
    if (!editing) return false;
    grid->moveNext();
    return true;
  };

  if (editing ? typed.isEmpty() : tmp.str("worker").isEmpty()) {
    gridColumns0EditButtonClick();
    return done();
  }
  if (!editing) return false;
  if (typed != tmp.str("worker")) tmp.setValue("worker", typed);
  if (!(typed.at(0) >= '0' && typed.at(0) <= '9')) return done();

  Query q(&db());
  q.setSql("select * from worker where wkcode=:wkcode");
  q.bind("wkcode", typed);
  q.open();
  if (q.isEmpty()) {
    MsgBox::error(QStringLiteral("员工代码不存在"), QStringLiteral("提示"), this);
    return done();
  }
  setWorker(q.str("wkcode"), q.str("wkname"));
  return done();
}

// ---------------------------------------------------------------- save

void TfrmJjDataMdy::btnYesClick() {
  if (cboGz->currentText().isEmpty() || cboGx->currentText().isEmpty()) {
    MsgBox::error(QStringLiteral("请选择工种和工序"), QStringLiteral("提示"), this);
    return;
  }
  if (QWidget* editor = grid->indexWidget(grid->currentIndex())) {
    emit grid->itemDelegate()->commitData(editor);
    emit grid->itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
  if (tmp.isEditing()) {
    if (tmp.modified()) {
      if (!tmp.post()) return;
    } else {
      tmp.cancel();
    }
  }

  try {
    int pid = mode_ == Add ? DBFun::nextRecordNumber() : pid_;
    Transaction t(db());
    Query q(&db());
    if (mode_ == Add) {
      q.setSql(
          "insert into jjdata(pid,dt,gzcode,gxcode,price,rs,xscode,xs,sl,je,opername) "
          "values(:pid,:dt,:gzcode,:gxcode,:price,:rs,:xscode,:xs,:sl,:je,:opername)");
      q.bind("opername", Session::operName());
    } else {
      q.setSql(
          "update jjdata set dt=:dt,gzcode=:gzcode,gxcode=:gxcode,price=:price,rs=:rs,xscode=:xscode,"
          "xs=:xs,sl=:sl,je=:je where pid=:pid");
    }
    q.bind("pid", pid);
    q.bind("dt", edtDt->date());
    q.bind("gzcode", MyFun::codeOf(cboGz->currentText()));
    q.bind("gxcode", MyFun::codeOf(cboGx->currentText()));
    q.bind("price", edtPrice->value());
    q.bind("rs", edtRs->value());
    q.bind("xscode", cboXs->currentText().isEmpty() ? QVariant() : QVariant(MyFun::codeOf(cboXs->currentText())));
    q.bind("xs", edtXs->value());
    q.bind("sl", edtSl->value());
    q.bind("je", edtJe->value());
    q.exec();

    q.setSql("delete from jjdata_d where pid=:pid");
    q.bind("pid", pid);
    q.exec();
    int fWorker = tmp.fieldIndex("worker"), fTp = tmp.fieldIndex("workertp");
    int fBl = tmp.fieldIndex("bl"), fJe = tmp.fieldIndex("je");
    for (int r = 0; r < tmp.recordCount(); ++r) {
      q.setSql("insert into jjdata_d(pid,wkcode,tpcode,bl,je) values(:pid,:wkcode,:tpcode,:bl,:je)");
      q.bind("pid", pid);
      q.bind("wkcode", lineCode(tmp.valueAt(r, fWorker).toString()));
      q.bind("tpcode", lineCode(tmp.valueAt(r, fTp).toString()));
      q.bind("bl", MyFun::toNumber(tmp.valueAt(r, fBl)));
      q.bind("je", MyFun::toNumber(tmp.valueAt(r, fJe)));
      q.exec();
    }
    t.commit();
    pid_ = pid;
  } catch (const std::exception& e) {
    MsgBox::error(QStringLiteral("保存失败(") + QString::fromUtf8(e.what()) + ")", kError, this);
    return;
  }

  MsgBox::info(QStringLiteral("保存成功"), QStringLiteral("提示"), this);
  if (mode_ == Modify) {
    accept();
    return;
  }
  tmp.emptyTable();
  cboGx->setCurrentIndex(cboGx->count() > 0 ? 0 : -1);
  cboXs->setCurrentIndex(0);
}

// ---------------------------------------------------------------- loading

void TfrmJjDataMdy::loadLines() {
  lineSwitch_ = true;
  tmp.disableControls();
  try {
    Query q(&db());
    q.setSql("select * from jjdata_d d,worker w where d.wkcode=w.wkcode and pid=:pid");
    q.bind("pid", pid_);
    q.open();
    for (q.first(); !q.eof(); q.next()) {
      tmp.append();
      tmp.setValue("worker", MyFun::codeName(q.str("d.wkcode"), q.str("wkname")));
      tmp.setValue("workertp", q.str("d.tpcode"));
      tmp.setValue("bl", q.field("bl").value());
      tmp.setValue("je", q.field("je").value());
      tmp.post();
    }
    for (int r = 0; r < tmp.recordCount(); ++r) {
      tmp.moveTo(r);
      QString code = tmp.str("workertp");
      if (code.isEmpty() || !positions_.contains(code)) continue;
      tmp.setValue("workertp", MyFun::codeName(code, positions_.value(code)));
      tmp.post();
    }
    if (!tmp.isEmpty()) tmp.first();
  } catch (...) {
    lineSwitch_ = false;
    tmp.enableControls();
    throw;
  }
  lineSwitch_ = false;
  tmp.enableControls();
}
