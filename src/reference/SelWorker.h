#pragma once
#include <QDialog>

// The worker picker: a tree of departments with their employees. exec()
// returns Accepted when an employee was chosen; wkcode() and wkname() then
// give the choice.
class TfrmSelWorker : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmSelWorker(QWidget* parent = nullptr);
  ~TfrmSelWorker() override;

  QString wkcode() const;
  QString wkname() const;

 private:
  struct Private;
  Private* d;
};
