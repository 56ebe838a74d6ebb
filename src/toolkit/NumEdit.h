#pragma once
#include <QLineEdit>
#include <QVariant>

// A number edit box. It holds the typed number at full precision and shows
// it in its display format while it does not have the focus: with fixed
// decimals ("0.00") or with up to that many decimals. Empty text is no value.
class NumEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit NumEdit(int decimals, bool fixed, QWidget* parent = nullptr);

  QVariant value() const { return value_; }  // null when empty
  double number() const { return value_.isNull() ? 0.0 : value_.toDouble(); }
  void setValue(const QVariant& value);

 signals:
  void changed();  // the value changed, typed or set

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  QString shown() const;
  void showValue(bool raw);
  void typed(const QString& text);

  int decimals_;
  bool fixed_;
  QVariant value_;
  bool updating_ = false;
};
