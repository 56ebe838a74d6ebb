#pragma once
#include "reference/CodeTable.h"

// The positions employees work in.
class TfrmWorkerType : public TCodeTable {
  Q_OBJECT
 public:
  explicit TfrmWorkerType(QWidget* parent = nullptr);
};
