#include "reference/WorkerType.h"

TfrmWorkerType::TfrmWorkerType(QWidget* parent)
    : TCodeTable({QStringLiteral("职位设置"), QStringLiteral("职位列表"), "worker_tp", "tpcode",
                  QStringLiteral("职位编码"), "tpname", QStringLiteral("职位名称"), QString(), QString(), 3},
                 parent) {
  setObjectName("TfrmWorkerType");
}
