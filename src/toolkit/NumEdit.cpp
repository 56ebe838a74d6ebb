#include "toolkit/NumEdit.h"

#include <QDoubleValidator>
#include <QLocale>

#include "common/MyFun.h"

NumEdit::NumEdit(int decimals, bool fixed, QWidget* parent) : QLineEdit(parent), decimals_(decimals), fixed_(fixed) {
  auto* v = new QDoubleValidator(this);
  v->setLocale(QLocale::c());
  v->setNotation(QDoubleValidator::StandardNotation);
  setValidator(v);
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  connect(this, &QLineEdit::textChanged, this, &NumEdit::typed);
}

QString NumEdit::shown() const {
  if (value_.isNull()) return QString();
  double r = MyFun::roundTo(decimals_, value_.toDouble());
  QString t = QString::number(r, 'f', decimals_);
  if (!fixed_ && t.contains('.')) {
    while (t.endsWith('0')) t.chop(1);
    if (t.endsWith('.')) t.chop(1);
  }
  return t;
}

void NumEdit::showValue(bool raw) {
  updating_ = true;
  setText(raw ? (value_.isNull() ? QString() : QString::number(value_.toDouble(), 'g', 15)) : shown());
  updating_ = false;
}

void NumEdit::setValue(const QVariant& value) {
  QVariant v = value.isNull() || !value.isValid() ? QVariant() : QVariant(MyFun::toNumber(value));
  bool same = v.isNull() == value_.isNull() && (v.isNull() || v.toDouble() == value_.toDouble());
  value_ = v;
  showValue(hasFocus());
  if (!same) emit changed();
}

void NumEdit::typed(const QString& text) {
  if (updating_) return;
  bool ok = false;
  double d = text.trimmed().toDouble(&ok);
  QVariant v = ok ? QVariant(d) : QVariant();
  bool same = v.isNull() == value_.isNull() && (v.isNull() || v.toDouble() == value_.toDouble());
  value_ = v;
  if (!same) emit changed();
}

void NumEdit::focusInEvent(QFocusEvent* event) {
  if (!isReadOnly()) showValue(true);
  QLineEdit::focusInEvent(event);
}

void NumEdit::focusOutEvent(QFocusEvent* event) {
  showValue(false);
  QLineEdit::focusOutEvent(event);
}
