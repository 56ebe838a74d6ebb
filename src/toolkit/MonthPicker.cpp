#include "toolkit/MonthPicker.h"

MonthPicker::MonthPicker(QWidget* parent, const QString& format) : QDateEdit(parent) {
  setDisplayFormat(format);
  setCalendarPopup(false);
  setDate(QDate(QDate::currentDate().year(), QDate::currentDate().month(), 1));
  setCurrentSection(QDateTimeEdit::MonthSection);
  connect(this, &QDateEdit::dateChanged, this, [this](const QDate& d) { emit monthChanged(d.year(), d.month()); });
}

void MonthPicker::setYearMonth(int year, int month) { setDate(QDate(year, month, 1)); }
