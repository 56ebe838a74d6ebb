#pragma once
#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QPushButton;

// Ticks the permissions of one operator; the administrator is not listed.
class TfrmOperatorRole : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmOperatorRole(QWidget* parent = nullptr);

  QComboBox* cboName;
  QPushButton* btnAll;
  QPushButton* btnClear;
  QPushButton* btnSave;
  QPushButton* btnClose;
  // One box per offered permission, in roleid order; each carries its
  // "roleid" and whether it was ticked when loaded ("loaded").
  QList<QCheckBox*> roleBoxes;

 private:
  void loadTicks();
  void tickAll(bool on);
  void save();

  QGridLayout* roleGrid_;
};
