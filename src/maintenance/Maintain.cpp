#include "maintenance/Maintain.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include "app/MainDM.h"

ConnectionPause::ConnectionPause() {
  TdmMain* dm = dmMain();
  dm->qryExec.close();
  dm->qryExec2.close();
  dm->qryExec3.close();
  dm->disconnect();
}

ConnectionPause::~ConnectionPause() { dmMain()->connect(); }

QWidget* makeHintPanel(QWidget* parent, const QStringList& lines) {
  auto* panel = new QFrame(parent);
  panel->setObjectName("pnlHint");
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setAutoFillBackground(true);
  QPalette pal = panel->palette();
  pal.setColor(QPalette::Window, Qt::white);
  panel->setPalette(pal);

  auto* icon = new QLabel(panel);
  icon->setPixmap(QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
  icon->setAlignment(Qt::AlignTop);
  auto* texts = new QVBoxLayout;
  for (const QString& line : lines) texts->addWidget(new QLabel(line, panel));
  auto* layout = new QHBoxLayout(panel);
  layout->addWidget(icon);
  layout->addLayout(texts, 1);
  return panel;
}
