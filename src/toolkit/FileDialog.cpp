#include "toolkit/FileDialog.h"

#include <QFileDialog>

namespace FileDialog {
namespace {
Script*& script() {
  static Script* s = nullptr;
  return s;
}
bool scripted(const QString& kind, const QString& caption, const QString& dir, const QString& filter,
              QString* result) {
  Script* s = script();
  if (!s) return false;
  s->calls.append({kind, caption, dir, filter});
  *result = s->answers.isEmpty() ? QString() : s->answers.takeFirst();
  return true;
}
}  // namespace

Script::Script() { script() = this; }
Script::~Script() {
  if (script() == this) script() = nullptr;
}

QString getSaveFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter) {
  QString r;
  if (scripted("save", caption, dir, filter, &r)) return r;
  return QFileDialog::getSaveFileName(parent, caption, dir, filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

QString getOpenFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter) {
  QString r;
  if (scripted("open", caption, dir, filter, &r)) return r;
  return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString getExistingDirectory(QWidget* parent, const QString& caption, const QString& dir) {
  QString r;
  if (scripted("folder", caption, dir, QString(), &r)) return r;
  return QFileDialog::getExistingDirectory(parent, caption, dir);
}

}  // namespace FileDialog
