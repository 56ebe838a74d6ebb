#pragma once
#include "reference/CodeTable.h"

// The departments employees are filed under.
class TfrmDepart : public TCodeTable {
  Q_OBJECT
 public:
  explicit TfrmDepart(QWidget* parent = nullptr);
};
