#include "payroll/GzgsMdy.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "app/MainDM.h"
#include "common/MyFun.h"
#include "payroll/ExParser.h"
#include "store/DBFun.h"
#include "toolkit/EnterAsTab.h"
#include "toolkit/MsgBox.h"

TfrmGzgsMdy::TfrmGzgsMdy(QWidget* parent) : QDialog(parent) {
  setObjectName("TfrmGzgsMdy");
  setWindowTitle("工资项目修改");

  Query q(&db());
  q.open("select * from gzxm order by xh");
  for (q.first(); !q.eof(); q.next()) items_.append({q.str("fname"), q.str("xmname")});

  cboDest = new QComboBox(this);
  cboDest->setObjectName("cboDest");
  lstSrc = new QListWidget(this);
  lstSrc->setObjectName("lstSrc");
  for (const Item& it : items_) {
    cboDest->addItem(MyFun::codeName(it.fname, it.xmname));
    lstSrc->addItem(MyFun::codeName(it.fname, it.xmname));
  }
  lstSrc->addItem("[JJe]计件金额");
  lstSrc->addItem("[JSl]计件数量");
  cboDest->setCurrentIndex(0);
  lstSrc->setCurrentRow(0);

  edtGs = new QLineEdit(this);
  edtGs->setObjectName("edtGs");
  edtCon = new QLineEdit(this);
  edtCon->setObjectName("edtCon");

  rgOption = new QGroupBox("编辑选项", this);
  rgOption->setObjectName("rgOption");
  rbGs = new QRadioButton("公式", rgOption);
  rbGs->setObjectName("rbGs");
  rbCon = new QRadioButton("条件", rgOption);
  rbCon->setObjectName("rbCon");
  rbGs->setChecked(true);
  auto* optLayout = new QHBoxLayout(rgOption);
  optLayout->addWidget(rbGs);
  optLayout->addWidget(rbCon);
  connect(rbGs, &QRadioButton::toggled, this, &TfrmGzgsMdy::applyOption);

  auto label = [this](const QString& caption, QWidget* buddy) {
    auto* l = new QLabel(caption, this);
    l->setBuddy(buddy);
    return l;
  };
  auto* fields = new QGridLayout;
  fields->addWidget(label("工资项目", cboDest), 0, 0);
  fields->addWidget(cboDest, 0, 1);
  lblGs = label("计算公式", edtGs);
  fields->addWidget(lblGs, 1, 0);
  fields->addWidget(edtGs, 1, 1);
  lblCon = label("采用条件", edtCon);
  fields->addWidget(lblCon, 2, 0);
  fields->addWidget(edtCon, 2, 1);
  fields->setColumnStretch(1, 1);

  auto button = [this](const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
  };
  static const struct {
    const char* name;
    const char* text;
  } ops[] = {{"btnPlus", "+"}, {"btnMinus", "-"}, {"btnMul", "*"}, {"btnDiv", "/"},
             {"btnLeft", "("}, {"btnRight", ")"}, {"btnGt", ">"},  {"btnLt", "<"},
             {"btnEq", "="},   {"btnGe", ">="},   {"btnLe", "<="}, {"btnNe", "<>"}};
  auto* opGrid = new QGridLayout;
  int i = 0;
  for (const auto& op : ops) {
    QPushButton* b = button(op.name, QString::fromLatin1(op.text));
    b->setFixedWidth(44);
    QFont f = b->font();
    f.setPointSize(f.pointSize() + 2);
    f.setBold(true);
    b->setFont(f);
    b->setFocusPolicy(Qt::NoFocus);  // the caret stays in the box being edited
    connect(b, &QPushButton::clicked, this, [this, b] { appendText(b->text()); });
    opGrid->addWidget(b, i / 6, i % 6);
    operatorButtons.append(b);
    ++i;
  }

  btnAddItem = button("btnAddItem", "添加项目");
  btnClear = button("btnClear", "清除公式");
  btnYes = button("btnYes", "确定");
  btnCancel = button("btnCancel", "取消");
  connect(btnAddItem, &QPushButton::clicked, this, [this] {
    if (QListWidgetItem* it = lstSrc->currentItem()) appendText(MyFun::codeOf(it->text()));
  });
  connect(lstSrc, &QListWidget::itemDoubleClicked, btnAddItem, &QPushButton::click);
  connect(btnClear, &QPushButton::clicked, this, [this] {
    QLineEdit* box = activeBox();
    box->clear();
    box->setFocus();
  });
  connect(btnYes, &QPushButton::clicked, this, &TfrmGzgsMdy::save);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* left = new QVBoxLayout;
  left->addLayout(fields);
  left->addWidget(rgOption);
  left->addLayout(opGrid);
  auto* edits = new QHBoxLayout;
  edits->addWidget(btnAddItem);
  edits->addWidget(btnClear);
  edits->addStretch();
  left->addLayout(edits);
  left->addStretch();

  auto* right = new QVBoxLayout;
  right->addWidget(label("来源项目", lstSrc));
  right->addWidget(lstSrc, 1);

  auto* body = new QHBoxLayout;
  body->addLayout(left, 3);
  body->addLayout(right, 2);

  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(btnYes);
  bottom->addWidget(btnCancel);

  auto* top = new QVBoxLayout(this);
  top->addLayout(body, 1);
  top->addLayout(bottom);
  resize(600, 340);

  // the fields in their reading order, though the source list sits apart
  setTabOrder(cboDest, edtGs);
  setTabOrder(edtGs, edtCon);
  setTabOrder(edtCon, lstSrc);
  setTabOrder(lstSrc, rbGs);
  setTabOrder(rbGs, rbCon);
  setTabOrder(rbCon, btnAddItem);
  setTabOrder(btnAddItem, btnClear);
  setTabOrder(btnClear, btnYes);
  setTabOrder(btnYes, btnCancel);

  applyOption();
  new EnterAsTab(this);
}

void TfrmGzgsMdy::setMode(Mode mode, int xh) {
  mode_ = mode;
  xh_ = xh;
}

QLineEdit* TfrmGzgsMdy::activeBox() const { return rbCon->isChecked() ? edtCon : edtGs; }

void TfrmGzgsMdy::applyOption() {
  const bool gs = rbGs->isChecked();
  edtGs->setEnabled(gs);
  lblGs->setEnabled(gs);
  edtCon->setEnabled(!gs);
  lblCon->setEnabled(!gs);
}

void TfrmGzgsMdy::appendText(const QString& piece) {
  QLineEdit* box = activeBox();
  box->setText(box->text() + piece);
  box->setCursorPosition(box->text().size());
  box->setFocus();
}

QString TfrmGzgsMdy::describe(const QString& text) const {
  QString s = text;
  for (int i = items_.size() - 1; i >= 0; --i) s = MyFun::replaceFirst(s, items_[i].fname, items_[i].xmname);
  s = MyFun::replaceFirst(s, "JJe", "计件金额");
  return MyFun::replaceFirst(s, "JSl", "计件数量");
}

QString TfrmGzgsMdy::problemOf(const QString& text) const {
  TExParser p;
  p.setExpression(text);
  QStringList names;
  try {
    names = p.names();
  } catch (const EvalError& e) {
    return e.reason();
  }
  // The salary sheet gives values to item names beginning with a lower-case
  // "f" and to exactly JJe and JSl.
  for (const QString& n : names) {
    if (n == "JJe" || n == "JSl") continue;
    bool known = false;
    if (n.startsWith('f'))
      for (const Item& it : items_)
        if (it.fname.compare(n, Qt::CaseInsensitive) == 0) known = true;
    if (!known) return QString("“%1”不是工资项目，也不是JJe或JSl").arg(n);
  }
  return {};
}

void TfrmGzgsMdy::save() {
  const QString gs = edtGs->text();
  const QString con = edtCon->text();
  if (gs.isEmpty()) {
    MsgBox::error("公式不能为空", "提示", this);
    return;
  }
  QString problem = problemOf(gs);
  if (problem.isEmpty() && !con.isEmpty()) {
    problem = problemOf(con);
    if (!problem.isEmpty()) problem = "采用条件中" + problem;
  }
  if (!problem.isEmpty() && !MsgBox::ask("公式有误：" + problem + "，仍要保存吗？", this)) return;

  try {
    Query q(&db());
    if (mode_ == Add) {
      q.setSql("insert into gzgs(xh,fname,gs,gsdesc,con,condesc) values(:xh,:fname,:gs,:gsdesc,:con,:condesc)");
      q.bind(":xh", DBFun::nextFormulaNumber());
    } else {
      q.setSql("update gzgs set fname=:fname,gs=:gs,gsdesc=:gsdesc,con=:con,condesc=:condesc where xh=:xh");
      q.bind(":xh", xh_);
    }
    q.bind(":fname", MyFun::codeOf(cboDest->currentText()));
    q.bind(":gs", gs).bind(":gsdesc", describe(gs));
    q.bind(":con", con).bind(":condesc", describe(con));
    q.exec();
  } catch (const std::exception& e) {
    MsgBox::error("保存失败(" + QString::fromUtf8(e.what()) + ")", "错误", this);
    return;
  }
  MsgBox::info("保存成功", "提示", this);
  accept();
}
