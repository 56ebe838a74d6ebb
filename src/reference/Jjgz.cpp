#include "reference/Jjgz.h"

TfrmJjgz::TfrmJjgz(QWidget* parent)
    : TCodeTable({QStringLiteral("计件工种设置"), QStringLiteral("工种列表"), "jjgz", "gzcode",
                  QStringLiteral("工种编码"), "gzname", QStringLiteral("工种名称"), QString(), QString(), 1},
                 parent) {
  setObjectName("TfrmJjgz");
}
