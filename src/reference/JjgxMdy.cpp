#include "reference/JjgxMdy.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/MainDM.h"
#include "common/MyFun.h"
#include "store/DBFun.h"
#include "toolkit/DataGrid.h"
#include "toolkit/DataNavigator.h"
#include "toolkit/DataSet.h"
#include "toolkit/EnterAsTab.h"
#include "toolkit/MsgBox.h"
#include "toolkit/FieldRow.h"

namespace {
QVariant numberOrNull(const QLineEdit* edit) {
  QString t = edit->text().trimmed();
  if (t.isEmpty()) return QVariant();
  return MyFun::toNumber(t);
}
}  // namespace

TfrmJjgxMdy::TfrmJjgxMdy(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName("TfrmJjgxMdy");
  setWindowTitle(QStringLiteral("计件工序修改"));

  lblGz = new QLabel(QStringLiteral("所属工种："), this);
  lblGz->setObjectName("lblGz");
  QFont bold = lblGz->font();
  bold.setBold(true);
  lblGz->setFont(bold);

  auto edit = [this](const char* name) {
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    return e;
  };
  edtCode = edit("edtCode");
  edtName = edit("edtName");
  edtUnit = edit("edtUnit");
  edtPrice = edit("edtPrice");
  edtRs = edit("edtRs");
  edtCode->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edtCode));
  edtCode->installEventFilter(this);
  edtPrice->setValidator(new QRegularExpressionValidator(QRegularExpression("-?[0-9]*(\\.[0-9]{0,6})?"), edtPrice));
  edtPrice->setAlignment(Qt::AlignRight);
  edtRs->setValidator(new QRegularExpressionValidator(QRegularExpression("-?[0-9]*(\\.[0-9]*)?"), edtRs));
  edtRs->setAlignment(Qt::AlignRight);

  auto* fields = new QGridLayout;
  int row = 0;
  auto place = [&](const QString& caption, QLineEdit* control, QWidget* after = nullptr) {
    addFieldRow(fields, row, caption, control, Qt::AlignRight);
    if (after) fields->addWidget(after, row, 2);
    ++row;
  };
  place(QStringLiteral("工序代码"), edtCode);
  place(QStringLiteral("工序名称"), edtName);
  place(QStringLiteral("计价单位"), edtUnit);
  place(QStringLiteral("计件单价"), edtPrice, new QLabel(QStringLiteral("元"), this));
  place(QStringLiteral("工序人数"), edtRs);
  fields->setColumnMinimumWidth(1, 220);

  tmpSplit = new DataSet(this);
  tmpSplit->setObjectName("tmpSplit");
  tmpSplit->addField("workertp", FieldType::String, 30);
  tmpSplit->addField("bl", FieldType::Float);
  tmpSplit->addField("price", FieldType::Float);
  tmpSplit->createTable();

  QStringList positions;
  Query& q = dmMain()->qryExec;
  q.open("select * from worker_tp order by tpcode");
  for (q.first(); !q.eof(); q.next()) positions << MyFun::codeName(q.str("tpcode"), q.str("tpname"));
  q.close();

  auto* group = new QGroupBox(QStringLiteral("职位分成"), this);
  group->setObjectName("GroupBox1");
  grid = new DataGrid(group);
  grid->setObjectName("grid");
  grid->setAutoAppend(true);
  GridColumn tp{"workertp", QStringLiteral("职位名称"), 170};
  tp.pickList = positions;
  GridColumn bl{"bl", QStringLiteral("分成比例"), 90};
  GridColumn pr{"price", QStringLiteral("单价"), 90};
  pr.readOnly = true;
  pr.infoColor = true;
  pr.displayFormat = "0.0000";
  grid->setColumns({tp, bl, pr});
  grid->setDataSet(tmpSplit);

  nav = new DataNavigator(grid, group);
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(nav);
  groupLayout->addWidget(grid);

  btnSave = new QPushButton(QStringLiteral("保存"), this);
  btnSave->setObjectName("btnSave");
  btnCancel = new QPushButton(QStringLiteral("取消"), this);
  btnCancel->setObjectName("btnCancel");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnSave);
  buttons->addWidget(btnCancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblGz);
  layout->addLayout(fields);
  layout->addWidget(group, 1);
  layout->addLayout(buttons);
  resize(420, 480);

  new EnterAsTab(this);
  connect(btnSave, &QPushButton::clicked, this, &TfrmJjgxMdy::btnSaveClick);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  tmpSplit->beforePost = [this](DataSet&) { return loading_ || checkSplitRow(); };
  tmpSplit->onFieldChange = [this](DataSet& ds, const QString& field) {
    if (loading_ || field.compare("bl", Qt::CaseInsensitive) != 0) return;
    ds.setValue("price", MyFun::roundTo(4, price() * ds.num("bl")));
  };
  connect(edtPrice, &QLineEdit::textChanged, this, [this] {
    if (recalc_) recalcPrices();
  });
  // showing the typed price with six decimals changes no value, so the split
  // is not recomputed for it
  connect(edtPrice, &QLineEdit::editingFinished, this, [this] {
    if (edtPrice->text().trimmed().isEmpty()) return;
    QSignalBlocker quiet(edtPrice);
    edtPrice->setText(priceText(price()));
  });
}

QString TfrmJjgxMdy::priceText(double price) { return QString::number(price, 'f', 6); }

// Only digits and backspace reach the code box; Enter has already moved the
// focus on by then and is dropped like every other key.
bool TfrmJjgxMdy::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edtCode && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    QString text = key->text();
    bool digit = text.size() == 1 && text[0] >= '0' && text[0] <= '9';
    if (!text.isEmpty() && !digit && key->key() != Qt::Key_Backspace && key->key() != Qt::Key_Tab &&
        key->key() != Qt::Key_Backtab)
      return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TfrmJjgxMdy::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (loaded_) return;
  loaded_ = true;
  if (mode_ == 2) loadSplit();
}

void TfrmJjgxMdy::loadSplit() {
  tmpSplit->createTable();
  Query& q = dmMain()->qryExec;
  q.close();
  q.setSql(
      "select '['||a.tpcode||']'||tpname as workertp,bl,price from jjgx_d a,worker_tp b "
      "where a.tpcode=b.tpcode and gzcode=:gzcode and gxcode=:gxcode  order by a.tpcode");
  q.bind("gzcode", gzcode_).bind("gxcode", edtCode->text());
  q.open();
  loading_ = true;
  tmpSplit->disableControls();
  for (q.first(); !q.eof(); q.next()) {
    tmpSplit->append();
    tmpSplit->setValue("workertp", q.str("workertp"));
    tmpSplit->setValue("bl", q.field("bl").value());
    tmpSplit->setValue("price", q.field("price").value());
    tmpSplit->post();
  }
  q.close();
  tmpSplit->enableControls();
  loading_ = false;
  if (!tmpSplit->isEmpty()) tmpSplit->first();
}

double TfrmJjgxMdy::price() const {
  try {
    return MyFun::toNumber(edtPrice->text());
  } catch (const ConvertError&) {
    return 0;  // a sign or a point typed on its own so far
  }
}

void TfrmJjgxMdy::recalcPrices() {
  if (tmpSplit->isEmpty()) return;
  double p = price();
  int current = tmpSplit->recNo();
  tmpSplit->disableControls();
  try {
    for (tmpSplit->first(); !tmpSplit->eof(); tmpSplit->next()) {
      tmpSplit->edit();
      tmpSplit->setValue("price", MyFun::roundTo(4, p * tmpSplit->num("bl")));
      if (!tmpSplit->post()) break;
    }
  } catch (const Abort&) {
  }
  if (tmpSplit->state() == DataSet::Browse && !tmpSplit->isEmpty()) tmpSplit->moveTo(current);
  tmpSplit->enableControls();
}

bool TfrmJjgxMdy::checkSplitRow() {
  QString tp = tmpSplit->str("workertp");
  int open = tp.indexOf('['), close = tp.indexOf(']');
  if (tp.isEmpty())
    splitError_ = QStringLiteral("请选择职位");
  else if (open < 0 || close < 0 || close <= open + 1)
    splitError_ = QStringLiteral("职位输入错误");
  else if (!DBFun::positionExists(tp.mid(1, close - 1)))
    splitError_ = QStringLiteral("职位不存在");
  else
    return true;
  MsgBox::error(splitError_, QStringLiteral("错误"), this);
  return false;
}

void TfrmJjgxMdy::btnSaveClick() {
  QString code = edtCode->text();
  if (code.isEmpty() || edtName->text().isEmpty()) {
    MsgBox::error(QStringLiteral("请填写工序代码和名称"), QStringLiteral("提示"), this);
    return;
  }
  if (mode_ == 1 && DBFun::processExists(gzcode_, code)) {
    MsgBox::error(QStringLiteral("工序代码已存在"), QStringLiteral("提示"), this);
    return;
  }
  try {
    Transaction t(db());
    if (tmpSplit->state() == DataSet::Insert && !tmpSplit->modified())
      tmpSplit->cancel();
    else if (tmpSplit->isEditing() && !tmpSplit->post())
      throw StoreError(splitError_);

    Query& q = dmMain()->qryExec;
    q.close();
    if (mode_ == 1)
      q.setSql("insert into jjgx(gzcode,gxcode,gxname,unit,price,rs) values(:gzcode,:gxcode,:gxname,:unit,:price,:rs)");
    else
      q.setSql(
          "update jjgx set gzcode=:gzcode,gxcode=:gxcode,gxname=:gxname,unit=:unit,price=:price,rs=:rs "
          "where gzcode=:trade and gxcode=:code");
    q.bind("gzcode", gzcode_)
        .bind("gxcode", code)
        .bind("gxname", edtName->text())
        .bind("unit", edtUnit->text())
        .bind("price", numberOrNull(edtPrice))
        .bind("rs", numberOrNull(edtRs));
    if (mode_ != 1) q.bind("trade", gzcode_).bind("code", code);
    q.exec();

    q.setSql("delete from jjgx_d where gzcode=:gzcode and gxcode=:gxcode");
    q.bind("gzcode", gzcode_).bind("gxcode", code);
    q.exec();
    const int tp = tmpSplit->fieldIndex("workertp"), bl = tmpSplit->fieldIndex("bl"),
              pr = tmpSplit->fieldIndex("price");
    for (int row = 0; row < tmpSplit->recordCount(); ++row) {
      QString workertp = tmpSplit->valueAt(row, tp).toString();
      q.setSql("insert into jjgx_d(gzcode,gxcode,tpcode,bl,price) values(:gzcode,:gxcode,:tpcode,:bl,:price)");
      q.bind("gzcode", gzcode_)
          .bind("gxcode", code)
          .bind("tpcode", workertp.mid(1, workertp.indexOf(']') - 1))
          .bind("bl", MyFun::toNumber(tmpSplit->valueAt(row, bl)))
          .bind("price", MyFun::toNumber(tmpSplit->valueAt(row, pr)));
      q.exec();
    }
    t.commit();
  } catch (const std::exception& e) {
    MsgBox::error(QStringLiteral("保存失败(") + QString::fromUtf8(e.what()) + ")", QStringLiteral("错误"), this);
    return;
  }
  MsgBox::info(QStringLiteral("保存成功"), QStringLiteral("提示"), this);
  if (mode_ != 1) {
    accept();
    return;
  }
  edtCode->setText(DBFun::nextProcessCode(gzcode_));
  tmpSplit->emptyTable();
  edtPrice->setText(priceText(0));
  edtCode->setFocus();
}
