#include "toolkit/Application.h"

#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>
#include <exception>

#include "toolkit/DataSet.h"
#include "toolkit/MsgBox.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  // The name alone is the title: an explicit display name would be appended
  // to every window caption on X11.
  setApplicationName(QStringLiteral("青禾工资管理系统"));
  setUpLook();
}

void Application::setUpLook() {
  static QTranslator* qtbase = nullptr;
  if (!qtbase) {
    qtbase = new QTranslator(qApp);
    if (qtbase->load(QLocale(QLocale::Chinese, QLocale::China), "qtbase", "_",
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
      QCoreApplication::installTranslator(qtbase);
  }
  QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
  QFont font(songFamily(), 10);
  QApplication::setFont(font);
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const Abort&) {
  } catch (const std::exception& e) {
    MsgBox::error(QString::fromUtf8(e.what()), QStringLiteral("错误"));
  } catch (...) {
    MsgBox::error(QStringLiteral("未知错误"), QStringLiteral("错误"));
  }
  return false;
}

QString songFamily() {
  static QString face;
  if (!face.isEmpty()) return face;
  const QStringList families = QFontDatabase::families();
  face = QStringLiteral("宋体");
  if (!families.contains(face)) {
    for (const QString& f : {QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"),
                             QStringLiteral("AR PL SungtiL GB"), QStringLiteral("Noto Serif CJK SC")}) {
      if (families.contains(f)) {
        face = f;
        break;
      }
    }
  }
  return face;
}
