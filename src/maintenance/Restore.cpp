#include "maintenance/Restore.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/MainDM.h"
#include "common/MyFun.h"
#include "maintenance/Archive.h"
#include "maintenance/Maintain.h"
#include "toolkit/FileDialog.h"
#include "toolkit/MsgBox.h"

TfrmRestore::TfrmRestore(QWidget* parent) : QDialog(parent) {
  setObjectName("TfrmRestore");
  setWindowTitle(QStringLiteral("数据恢复"));

  auto* group = new QGroupBox(QStringLiteral("提示"), this);
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(makeHintPanel(group, {QStringLiteral("恢复数据之前要慎重！"),
                                               QStringLiteral("恢复数据后，系统当前的数据将被取代"),
                                               QStringLiteral("恢复数据时，应选择最后一次生成的最新备份文件")}));

  pbRestore = new QProgressBar(this);
  pbRestore->setObjectName("pbRestore");
  pbRestore->setRange(0, 100);
  pbRestore->setValue(0);
  auto* barLabel = new QLabel(QStringLiteral("恢复进度"), this);
  barLabel->setBuddy(pbRestore);
  auto* form = new QHBoxLayout;
  form->addWidget(barLabel);
  form->addWidget(pbRestore, 1);

  btnRestore = new QPushButton(QStringLiteral("恢复(&R)"), this);
  btnRestore->setObjectName("btnRestore");
  btnRestore->setDefault(true);
  btnCancel = new QPushButton(QStringLiteral("取消(&C)"), this);
  btnCancel->setObjectName("btnCancel");
  btnCancel->setAutoDefault(false);
  connect(btnRestore, &QPushButton::clicked, this, &TfrmRestore::restore);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnRestore);
  buttons->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(form);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmRestore::restore() {
  const QString file = FileDialog::getOpenFileName(this, QString(), MyFun::readIni("Backup", "BkDir", QDir::homePath()),
                                                   QStringLiteral("backup files(*.bak)"));
  if (file.isEmpty()) return;
  if (!QFileInfo(file).isFile()) {
    MsgBox::error(QStringLiteral("文件不存在"), QStringLiteral("提示"), this);
    return;
  }
  if (!MsgBox::ask(QStringLiteral("确认要把文件") + "\n" + file + "\n" + QStringLiteral("恢复到系统中吗？"), this)) return;
  pbRestore->setValue(0);
  Archive::Result r;
  {
    ConnectionPause pause;
    r = Archive::restore(file, TdmMain::databasePath(), [this](int percent) {
      pbRestore->setValue(percent);
      pbRestore->repaint();
    });
  }
  if (r.ok && r.files > 0)
    MsgBox::info(QStringLiteral("恢复完毕"), QStringLiteral("提示"), this);
  else
    MsgBox::error(QStringLiteral("恢复失败(") + r.error + ")", QStringLiteral("错误"), this);
}
