#pragma once
#include <QDialog>
#include <QPair>
#include <QVariant>
#include <QVector>

class QCheckBox;
class QLineEdit;
class QPushButton;
class MonthPicker;
class WideCombo;

// What the filter hands to a list window: the statement with its bound
// values, the view (true: one row per line) and the month title.
struct JjFilter {
  QString sql;
  QVector<QPair<QString, QVariant>> params;
  bool detail = false;
  QString monthTitle;  // "2010年04月"
};

// The piece-work filter. One is created at its first use and kept for the
// rest of the run, so it shows the last choices again.
class TfrmJjDataSel : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmJjDataSel(QWidget* parent = nullptr);

  static TfrmJjDataSel* shared();
  static void discardShared();  // the next use creates a new one

  const JjFilter& filter() const { return filter_; }
  // Builds the statement from the fields as they stand.
  JjFilter buildFilter() const;

 private:
  void cboGzChange();
  void btnYesClick();

  MonthPicker* edtMonth;
  WideCombo* cboGz;
  WideCombo* cboGx;
  WideCombo* cboDepart;
  QLineEdit* edtCode;
  QLineEdit* edtName;
  QCheckBox* chkDetail;
  QPushButton* btnYes;
  QPushButton* btnCancel;
  JjFilter filter_;
};
