#pragma once
#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

// File and folder choosers. Filters are Qt's form: "Excel Files(*.xlsx)".
namespace FileDialog {

QString getSaveFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter);
QString getOpenFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter);
QString getExistingDirectory(QWidget* parent, const QString& caption, const QString& dir);

// Test seam: while a Script lives, no chooser is shown; each call is recorded
// and answered with the next scripted path (empty = cancelled).
class Script {
 public:
  struct Call {
    QString kind;  // "save", "open" or "folder"
    QString caption, dir, filter;
  };
  Script();
  ~Script();
  Script(const Script&) = delete;
  Script& operator=(const Script&) = delete;
  Script& answer(const QString& path) {
    answers.append(path);
    return *this;
  }
  QStringList answers;
  QList<Call> calls;
};

}  // namespace FileDialog
