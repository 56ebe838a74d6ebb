#include "reference/Jjxs.h"

TfrmJjxs::TfrmJjxs(QWidget* parent)
    : TCodeTable({QStringLiteral("计件系数设置"), QStringLiteral("系数列表"), "jjxs", "xscode",
                  QStringLiteral("系数编码"), "xsname", QStringLiteral("系数名称"), "xs", QStringLiteral("系数"), 2},
                 parent) {
  setObjectName("TfrmJjxs");
}
