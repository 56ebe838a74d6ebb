#pragma once
#include <QObject>
#include <QPointer>

class QWidget;

// Enter and Return in the window move the focus on as Tab does and never
// press a default button. Grids and multi-line editors keep their own Enter.
class EnterAsTab : public QObject {
  Q_OBJECT
 public:
  explicit EnterAsTab(QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> window_;
};
