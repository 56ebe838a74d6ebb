#pragma once
#include <QDialog>

class MonthPicker;

// Carries every salary row of one month into another month, so that the
// target month starts from the source month's values.
class TfrmJzNext : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmJzNext(QWidget* parent = nullptr);

  MonthPicker* sourcePicker() const { return edtFrom; }
  MonthPicker* targetPicker() const { return edtTo; }

 private:
  void btnYesClick();
  void carry(int y1, int m1, int y2, int m2, bool replace);

  MonthPicker* edtFrom;
  MonthPicker* edtTo;
};
