#include "maintenance/Backup.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/MainDM.h"
#include "common/MyFun.h"
#include "maintenance/Archive.h"
#include "maintenance/Maintain.h"
#include "toolkit/FileDialog.h"
#include "toolkit/MsgBox.h"

namespace {
const char* const kChooseCaption = "请选择备份文件存放的目录";

QString withSlash(QString dir) {
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  return dir;
}
}  // namespace

TfrmBackup::TfrmBackup(QWidget* parent) : QDialog(parent) {
  setObjectName("TfrmBackup");
  setWindowTitle(QStringLiteral("数据备份"));

  auto* group = new QGroupBox(QStringLiteral("提示"), this);
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(makeHintPanel(group, {QStringLiteral("为安全起见，建议每天备份数据！"),
                                               QStringLiteral("备份文件的后缀为 .bak，压缩格式，支持winzip，winrar解压"),
                                               QStringLiteral("备份文件名份格式为：jjgzyyyyMMdd_HHmmss.bak。")}));

  edtDir = new QLineEdit(this);
  edtDir->setObjectName("edtDir");
  btnDir = new QToolButton(this);
  btnDir->setObjectName("btnDir");
  btnDir->setText(QStringLiteral("..."));
  btnDir->setToolTip(QString::fromUtf8(kChooseCaption));
  pbBackup = new QProgressBar(this);
  pbBackup->setObjectName("pbBackup");
  pbBackup->setRange(0, 100);
  pbBackup->setValue(0);
  auto* dirLabel = new QLabel(QStringLiteral("备份至->"), this);
  dirLabel->setBuddy(edtDir);
  auto* barLabel = new QLabel(QStringLiteral("备份进度"), this);
  barLabel->setBuddy(pbBackup);

  auto* dirRow = new QHBoxLayout;
  dirRow->setSpacing(0);
  dirRow->addWidget(edtDir);
  dirRow->addWidget(btnDir);
  auto* form = new QGridLayout;
  form->addWidget(dirLabel, 0, 0);
  form->addLayout(dirRow, 0, 1);
  form->addWidget(barLabel, 1, 0);
  form->addWidget(pbBackup, 1, 1);

  btnBackup = new QPushButton(QStringLiteral("备份(&B)"), this);
  btnBackup->setObjectName("btnBackup");
  btnBackup->setDefault(true);
  btnCancel = new QPushButton(QStringLiteral("取消(&C)"), this);
  btnCancel->setObjectName("btnCancel");
  btnCancel->setAutoDefault(false);
  connect(btnDir, &QToolButton::clicked, this, &TfrmBackup::chooseDir);
  connect(btnBackup, &QPushButton::clicked, this, &TfrmBackup::backup);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnBackup);
  buttons->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(form);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  // There are no drive letters here; the home directory is the natural start.
  edtDir->setText(MyFun::readIni("Backup", "BkDir", withSlash(QDir::homePath())));
}

void TfrmBackup::chooseDir() {
  QString dir = FileDialog::getExistingDirectory(this, QString::fromUtf8(kChooseCaption), edtDir->text());
  if (dir.isEmpty()) return;
  dir = withSlash(dir);
  edtDir->setText(dir);
  edtDir->setCursorPosition(dir.size());
  MyFun::writeIni("Backup", "BkDir", dir);
}

void TfrmBackup::backup() {
  QString dir = edtDir->text();
  if (dir.isEmpty()) {
    MsgBox::error(QString::fromUtf8(kChooseCaption), QStringLiteral("提示"), this);
    return;
  }
  if (!QFileInfo(dir).isDir()) {
    MsgBox::error(QStringLiteral("目录不正确"), QStringLiteral("提示"), this);
    return;
  }
  dir = withSlash(dir);
  const QString name = Archive::backupFileName(QDateTime::currentDateTime());
  pbBackup->setValue(0);
  Archive::Result r;
  {
    ConnectionPause pause;
    r = Archive::writeBackup(TdmMain::databasePath(), dir + name, [this](int percent) {
      pbBackup->setValue(percent);
      pbBackup->repaint();
    });
  }
  if (r.ok && r.files > 0)
    MsgBox::info(QStringLiteral("备份成功，文件名为：") + "\n" + name, QStringLiteral("提示"), this);
  else
    MsgBox::error(QStringLiteral("备份失败(") + r.error + ")", QStringLiteral("错误"), this);
}
