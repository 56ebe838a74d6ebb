#include "common/Input.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QString Input(const QString& caption, const QString& prompt) {
  QDialog dlg;
  dlg.setObjectName("TfrmInput");
  dlg.setWindowTitle(caption);
  auto* label = new QLabel(prompt, &dlg);
  auto* edit = new QLineEdit(&dlg);
  edit->setObjectName("edtInput");
  label->setBuddy(edit);
  auto* ok = new QPushButton(QStringLiteral("确定"), &dlg);
  ok->setObjectName("btnOk");
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("取消"), &dlg);
  cancel->setObjectName("btnCancel");
  QObject::connect(ok, &QPushButton::clicked, &dlg, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, &dlg, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(&dlg);
  layout->addWidget(label);
  layout->addWidget(edit);
  layout->addLayout(buttons);
  dlg.setMinimumWidth(300);
  return dlg.exec() == QDialog::Accepted ? edit->text() : QString();
}
