#pragma once
#include <QAbstractItemView>
#include <QComboBox>

// A pick-only list whose drop-down is as wide as its longest entry (plus room
// for the scroll bar) when that entry does not fit the list itself.
class WideCombo : public QComboBox {
  Q_OBJECT
 public:
  explicit WideCombo(QWidget* parent = nullptr) : QComboBox(parent) {}

  int popupWidth() const {
    int widest = 0;
    for (int i = 0; i < count(); ++i) widest = qMax(widest, fontMetrics().horizontalAdvance(itemText(i)));
    return widest > width() ? widest + 80 : width();
  }

  void showPopup() override {
    view()->setMinimumWidth(popupWidth());
    QComboBox::showPopup();
  }
};
