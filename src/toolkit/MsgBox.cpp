#include "toolkit/MsgBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>

namespace MsgBox {
namespace {
Recorder*& recorder() {
  static Recorder* r = nullptr;
  return r;
}

QWidget* ownerOf(QWidget* parent) { return parent ? parent : QApplication::activeWindow(); }

Answer show(const Message& m, QMessageBox::StandardButtons buttons, QWidget* parent) {
  if (Recorder* r = recorder()) {
    r->shown.append(m);
    if (m.icon != Icon::Question) return Answer::Yes;
    return r->answers.isEmpty() ? r->defaultAnswer : r->answers.takeFirst();
  }
  QMessageBox box(ownerOf(parent));
  box.setWindowTitle(m.caption);
  box.setText(m.text);
  box.setIcon(m.icon == Icon::Question ? QMessageBox::Question
              : m.icon == Icon::Error  ? QMessageBox::Critical
                                       : QMessageBox::Information);
  box.setStandardButtons(buttons);
  int pressed = box.exec();
  if (pressed == QMessageBox::Yes || pressed == QMessageBox::Ok) return Answer::Yes;
  if (pressed == QMessageBox::No) return Answer::No;
  return Answer::Cancel;
}
}  // namespace

Recorder::Recorder() { recorder() = this; }
Recorder::~Recorder() {
  if (recorder() == this) recorder() = nullptr;
}

QStringList Recorder::texts() const {
  QStringList t;
  for (const Message& m : shown) t << m.text;
  return t;
}

bool ask(const QString& text, QWidget* parent) {
  return show({QStringLiteral("询问"), text, Icon::Question}, QMessageBox::Yes | QMessageBox::No, parent) ==
         Answer::Yes;
}

Answer askYesNoCancel(const QString& text, QWidget* parent) {
  return show({QStringLiteral("询问"), text, Icon::Question},
              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
}

void error(const QString& text, const QString& caption, QWidget* parent) {
  show({caption, text, Icon::Error}, QMessageBox::Ok, parent);
}

void info(const QString& text, const QString& caption, QWidget* parent) {
  show({caption, text, Icon::Information}, QMessageBox::Ok, parent);
}

}  // namespace MsgBox
