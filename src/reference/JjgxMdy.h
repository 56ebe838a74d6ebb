#pragma once
#include <QDialog>

class DataGrid;
class DataSet;
class QLabel;
class QLineEdit;
class QPushButton;
class DataNavigator;

// Adds (mode 1) or modifies (mode 2) one process of a trade together with
// the split of its pay between positions.
class TfrmJjgxMdy : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmJjgxMdy(QWidget* parent = nullptr);

  void setMode(int mode) { mode_ = mode; }
  int mode() const { return mode_; }
  void setGzcode(const QString& gzcode) { gzcode_ = gzcode; }
  QString gzcode() const { return gzcode_; }
  // Off only while the caller fills the boxes of a stored process, so that
  // loading it does not rewrite the stored split prices.
  void setRecalc(bool on) { recalc_ = on; }
  // The price as the price box shows it: six decimals.
  static QString priceText(double price);

  QLabel* lblGz;
  QLineEdit* edtCode;
  QLineEdit* edtName;
  QLineEdit* edtUnit;
  QLineEdit* edtPrice;
  QLineEdit* edtRs;
  DataGrid* grid;
  DataSet* tmpSplit;
  DataNavigator* nav;
  QPushButton* btnSave;
  QPushButton* btnCancel;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void loadSplit();
  double price() const;  // an empty box is 0
  void recalcPrices();
  bool checkSplitRow();
  void btnSaveClick();

  int mode_ = 1;
  QString gzcode_;
  bool recalc_ = true;
  bool loading_ = false;
  bool loaded_ = false;
  QString splitError_;  // the message of the last refused split row
};
