#include "reference/Depart.h"

TfrmDepart::TfrmDepart(QWidget* parent)
    : TCodeTable({QStringLiteral("部门设置"), QStringLiteral("部门列表"), "depart", "bmcode",
                  QStringLiteral("部门编码"), "bmname", QStringLiteral("部门名称"), QString(), QString(), 5},
                 parent) {
  setObjectName("TfrmDepart");
}
