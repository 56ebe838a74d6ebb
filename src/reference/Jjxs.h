#pragma once
#include "reference/CodeTable.h"

// The piece-work coefficients, each with its value.
class TfrmJjxs : public TCodeTable {
  Q_OBJECT
 public:
  explicit TfrmJjxs(QWidget* parent = nullptr);
};
