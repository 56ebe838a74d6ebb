#pragma once
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <functional>

#include "store/Store.h"

class QWidget;

// A temporary program directory with a fresh database (schema and shipped
// rows), connected through the data module, and an admin session on
// 2010-04-15. Everything goes when the object does.
class TestProgram {
 public:
  explicit TestProgram(bool withDatabase = true);
  ~TestProgram();

  QString dir() const;         // with trailing "/"
  QString databasePath() const;
  Connection& db();

  // Runs a statement on the shared connection; values bind to :p1, :p2, ...
  void exec(const QString& sql, const QVariantList& values = {});
  // First column of the first row.
  QVariant scalar(const QString& sql, const QVariantList& values = {});
  // All rows, each as its columns' texts joined by "|".
  QStringList rows(const QString& sql, const QVariantList& values = {});

  void login(const QString& operName, const QString& operNo = "01", const QString& date = "2010-04-15");

 private:
  QTemporaryDir tmp_;
};

// Runs fn on the next modal dialog once it is shown (polled with a timer,
// so the caller may then start the code that opens it). With an object name,
// waits for the modal dialog of that name (a dialog opened from a dialog).
void whenModal(std::function<void(QWidget*)> fn, int timeoutMs = 5000);
void whenModal(const QString& objectName, std::function<void(QWidget*)> fn, int timeoutMs = 5000);
// Processes events until cond holds or the time is up.
bool waitFor(const std::function<bool()>& cond, int timeoutMs = 5000);
