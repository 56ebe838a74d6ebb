#pragma once
#include <QDialog>
#include <QVector>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// Adds or changes one salary formula: its target item, the formula and the
// condition under which it applies, built from item names, JJe, JSl and the
// operator buttons, and stored with readable descriptions.
class TfrmGzgsMdy : public QDialog {
  Q_OBJECT
 public:
  enum Mode { Add = 1, Modify = 2 };

  explicit TfrmGzgsMdy(QWidget* parent = nullptr);
  void setMode(Mode mode, int xh = 0);

  // The text with the first occurrence of each item's field name (highest
  // number first, so f12 goes before f1) and of JJe and JSl replaced by names.
  QString describe(const QString& text) const;
  // Why the text would not compute, or empty text when it would.
  QString problemOf(const QString& text) const;

  QComboBox* cboDest;
  QLineEdit* edtGs;
  QLineEdit* edtCon;
  QListWidget* lstSrc;
  QGroupBox* rgOption;
  QRadioButton* rbGs;
  QRadioButton* rbCon;
  QVector<QPushButton*> operatorButtons;
  QPushButton* btnAddItem;
  QPushButton* btnClear;
  QPushButton* btnYes;
  QPushButton* btnCancel;

 private:
  struct Item {
    QString fname;
    QString xmname;
  };
  QLineEdit* activeBox() const;
  void applyOption();
  void appendText(const QString& piece);
  void save();

  QVector<Item> items_;  // ascending xh, read once
  QLabel* lblGs;
  QLabel* lblCon;
  Mode mode_ = Add;
  int xh_ = 0;
};
