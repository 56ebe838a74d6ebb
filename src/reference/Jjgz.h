#pragma once
#include "reference/CodeTable.h"

// The piece-work trades.
class TfrmJjgz : public TCodeTable {
  Q_OBJECT
 public:
  explicit TfrmJjgz(QWidget* parent = nullptr);
};
