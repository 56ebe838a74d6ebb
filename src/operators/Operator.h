#pragma once
#include <QDialog>

class DataGrid;
class DataSet;
class QPushButton;

// The operator list: create and delete operators.
class TfrmOperator : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmOperator(QWidget* parent = nullptr);

  DataGrid* grid;
  DataSet* qryOperator;
  QPushButton* btnAppend;
  QPushButton* btnDel;
  QPushButton* btnClose;

 protected:
  void done(int r) override;

 private:
  void reload();
  void append();
  void remove();
};
