#pragma once
#include <QDateEdit>

// An up-down month picker; the salary windows show "yyyy年MM月", the
// piece-work filter "yyyy-MM".
class MonthPicker : public QDateEdit {
  Q_OBJECT
 public:
  explicit MonthPicker(QWidget* parent = nullptr, const QString& format = QStringLiteral("yyyy年MM月"));
  int year() const { return date().year(); }
  int month() const { return date().month(); }
  void setYearMonth(int year, int month);
  // "yyyy年MM月" text of the chosen month
  QString monthText() const { return text(); }

 signals:
  void monthChanged(int year, int month);
};
