#pragma once
#include <QMdiArea>
#include <QString>
#include <QVariant>
#include <stdexcept>

class QMdiSubWindow;

// A text that should have been a number.
class ConvertError : public std::runtime_error {
 public:
  explicit ConvertError(const QString& message) : std::runtime_error(message.toUtf8().constData()) {}
};

namespace MyFun {

// The program's directory, with a trailing "/". It is the executable's
// directory; tests point it at a temporary one.
QString programDir();
void setProgramDir(const QString& dir);

// config.ini beside the program, read and written anew each time. Values are
// kept verbatim, so a hand-typed path with backslashes survives.
QString readIni(const QString& section, const QString& key, const QString& def = QString());
void writeIni(const QString& section, const QString& key, const QString& value);  // throws on failure

int strToInt(const QString& text);          // blanks trimmed, empty gives 0; throws ConvertError
QString padZero(qint64 number, int width);  // never cuts
// Fixed point with the given decimals from the value's decimal expansion cut
// to 18 significant digits, halves away from zero: 0.125 -> 0.13, 2.675 -> 2.67.
double roundTo(int decimals, double value);
double toNumber(const QVariant& value);     // null or empty text gives 0; throws ConvertError
QString replaceFirst(const QString& text, const QString& find, const QString& replacement);

// "[code]name" lists: the code is what stands between the leading "[" and the
// first "]"; a text without "]" has no code.
QString codeName(const QString& code, const QString& name);
QString codeOf(const QString& entry);
QString nameOf(const QString& entry);

// The main window's document area, where child windows live.
void setMdiArea(QMdiArea* area);
QMdiArea* mdiArea();
// Adds a new child window to the document area (a top-level window when
// there is none, as in tests) and shows it in the state its design gives.
QMdiSubWindow* showChild(QWidget* window);
// The open child of that class (compared ignoring case), shown normally for
// mode 1 and maximised otherwise and raised; nullptr when none is open.
QWidget* raiseChild(const char* className, int mode);

// At most one child window of a kind: raise the open one or create it.
template <class T>
T* openChild(int mode) {
  if (QWidget* w = raiseChild(T::staticMetaObject.className(), mode)) return static_cast<T*>(w);
  T* window = new T;
  showChild(window);
  return window;
}

}  // namespace MyFun
