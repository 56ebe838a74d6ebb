#include "app/Login.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>

#include "app/MainDM.h"
#include "app/Session.h"
#include "store/Password.h"
#include "toolkit/EnterAsTab.h"
#include "toolkit/MsgBox.h"
#include "toolkit/FieldRow.h"

namespace {
// "[" + operno + "]" + opername: the number ends at the first "]", the name
// is everything after it (a name may itself contain "]").
void splitEntry(const QString& entry, QString* no, QString* name) {
  int p = entry.indexOf(']');
  *no = p < 0 ? QString() : entry.mid(1, p - 1);
  *name = p < 0 ? QString() : entry.mid(p + 1);
}

QPixmap loginPicture() {
  QPixmap pm(150, 190);
  QPainter p(&pm);
  QLinearGradient g(0, 0, 0, 190);
  g.setColorAt(0, QColor(0x3a, 0x8d, 0x5b));
  g.setColorAt(1, QColor(0xc8, 0xe6, 0xc9));
  p.fillRect(pm.rect(), g);
  p.setPen(Qt::white);
  QFont f = p.font();
  f.setPointSize(28);
  f.setBold(true);
  p.setFont(f);
  p.drawText(QRect(0, 30, 150, 60), Qt::AlignCenter, QStringLiteral("青禾"));
  f.setPointSize(11);
  f.setBold(false);
  p.setFont(f);
  p.drawText(QRect(0, 100, 150, 40), Qt::AlignCenter, QStringLiteral("工资管理系统"));
  return pm;
}
}  // namespace

TfrmLogin::TfrmLogin(QWidget* parent) : QDialog(parent) {
  setObjectName("TfrmLogin");
  setWindowTitle(QStringLiteral("系统登陆"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

  auto* group = new QGroupBox(QStringLiteral("操作员选择"), this);
  cboName = new QComboBox(group);
  cboName->setObjectName("cboName");
  cboName->setEditable(false);
  edtPwd = new QLineEdit(group);
  edtPwd->setObjectName("edtPwd");
  edtPwd->setEchoMode(QLineEdit::Password);
  edtDt = new QDateEdit(group);
  edtDt->setObjectName("edtDt");
  edtDt->setDisplayFormat("yyyy-MM-dd");
  edtDt->setCalendarPopup(true);
  edtDt->setDate(QDate::currentDate());

  auto* grid = new QGridLayout(group);
  const struct {
    const char* caption;
    QWidget* field;
  } rows[] = {{"操作员名称", cboName}, {"密    码", edtPwd}, {"业务日期", edtDt}};
  for (int i = 0; i < 3; ++i) {
    addFieldRow(grid, i, QString::fromUtf8(rows[i].caption), rows[i].field);
  }
  cboName->setMinimumWidth(180);

  btnLogin = new QPushButton(QStringLiteral("登陆"), this);
  btnLogin->setObjectName("btnLogin");
  btnCancel = new QPushButton(QStringLiteral("取消"), this);
  btnCancel->setObjectName("btnCancel");
  connect(btnLogin, &QPushButton::clicked, this, &TfrmLogin::login);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* picture = new QLabel(this);
  picture->setPixmap(loginPicture());

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnLogin);
  buttons->addWidget(btnCancel);
  auto* left = new QVBoxLayout;
  left->addWidget(group);
  left->addLayout(buttons);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addWidget(picture);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  new EnterAsTab(this);

  Query& q = dmMain()->qryExec;
  q.open("select * from operator order by operno");
  for (q.first(); !q.eof(); q.next()) cboName->addItem("[" + q.str("operno") + "]" + q.str("opername"));
  q.close();
  if (cboName->count() > 0) cboName->setCurrentIndex(0);
}

void TfrmLogin::login() {
  QString no, name;
  splitEntry(cboName->currentText(), &no, &name);
  Query& q = dmMain()->qryExec;
  q.setSql("select * from operator where operno=:operno");
  q.bind("operno", no);
  q.open();
  bool ok = !q.isEmpty() && Password::verify(edtPwd->text(), q.str("pwd"));
  q.close();
  if (!ok) {
    MsgBox::error(QStringLiteral("密码不正确"), QStringLiteral("提示"), this);
    return;
  }
  accept();
}

void TfrmLogin::takeSession() const {
  QString no, name;
  splitEntry(cboName->currentText(), &no, &name);
  Session::set(no, name, edtDt->date().toString("yyyy-MM-dd"));
}
