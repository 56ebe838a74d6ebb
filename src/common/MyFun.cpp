#include "common/MyFun.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiSubWindow>
#include <QPointer>
#include <QSaveFile>
#include <QTextStream>
#include <cmath>

namespace {
QString& programDirOverride() {
  static QString dir;
  return dir;
}
QPointer<QMdiArea>& area() {
  static QPointer<QMdiArea> a;
  return a;
}

QStringList readLines(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  QString all = QString::fromUtf8(f.readAll());
  QStringList lines = all.split('\n');
  for (QString& l : lines)
    if (l.endsWith('\r')) l.chop(1);
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

bool isSection(const QString& line, QString* name) {
  QString t = line.trimmed();
  if (t.startsWith('[') && t.endsWith(']')) {
    *name = t.mid(1, t.size() - 2).trimmed();
    return true;
  }
  return false;
}

bool keyOf(const QString& line, QString* key, QString* value) {
  int eq = line.indexOf('=');
  if (eq <= 0) return false;
  *key = line.left(eq).trimmed();
  if (value) *value = line.mid(eq + 1);
  return true;
}
}  // namespace

namespace MyFun {

QString programDir() {
  QString d = programDirOverride();
  if (d.isEmpty()) d = QCoreApplication::applicationDirPath();
  if (!d.endsWith('/')) d += '/';
  return d;
}

void setProgramDir(const QString& dir) { programDirOverride() = dir; }

QString readIni(const QString& section, const QString& key, const QString& def) {
  QString current;
  for (const QString& line : readLines(programDir() + "config.ini")) {
    QString name, k, v;
    if (isSection(line, &name)) {
      current = name;
    } else if (current.compare(section, Qt::CaseInsensitive) == 0 && keyOf(line, &k, &v) &&
               k.compare(key, Qt::CaseInsensitive) == 0) {
      return v;
    }
  }
  return def;
}

void writeIni(const QString& section, const QString& key, const QString& value) {
  QString path = programDir() + "config.ini";
  QStringList lines = readLines(path);
  QString current;
  int sectionEnd = -1;  // line after the last line of the section
  bool found = false;
  for (int i = 0; i < lines.size(); ++i) {
    QString name, k;
    if (isSection(lines[i], &name)) {
      current = name;
      continue;
    }
    if (current.compare(section, Qt::CaseInsensitive) != 0) continue;
    if (!lines[i].trimmed().isEmpty()) sectionEnd = i + 1;
    if (keyOf(lines[i], &k, nullptr) && k.compare(key, Qt::CaseInsensitive) == 0) {
      lines[i] = key + "=" + value;
      found = true;
      break;
    }
  }
  if (!found) {
    if (sectionEnd < 0) {
      for (int i = 0; i < lines.size(); ++i) {
        QString name;
        if (isSection(lines[i], &name) && name.compare(section, Qt::CaseInsensitive) == 0) sectionEnd = i + 1;
      }
    }
    if (sectionEnd < 0) {
      lines << "[" + section + "]";
      sectionEnd = lines.size();
    }
    lines.insert(sectionEnd, key + "=" + value);
  }
  QSaveFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
    throw std::runtime_error(QStringLiteral("无法写入 %1 (%2)").arg(path, f.errorString()).toUtf8().constData());
  f.write((lines.join('\n') + '\n').toUtf8());
  if (!f.commit())
    throw std::runtime_error(QStringLiteral("无法写入 %1 (%2)").arg(path, f.errorString()).toUtf8().constData());
}

int strToInt(const QString& text) {
  QString t = text.trimmed();
  if (t.isEmpty()) return 0;
  bool ok = false;
  int n = t.toInt(&ok, 10);
  if (!ok) throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(t));
  return n;
}

QString padZero(qint64 number, int width) {
  QString s = QString::number(number);
  if (s.size() < width) s = QString(width - s.size(), '0') + s;
  return s;
}

double roundTo(int decimals, double value) {
  if (!std::isfinite(value)) return value;
  if (value == 0) return 0;
  // Fast path, same result: away from a half the scaled value's rounding
  // error cannot change the rounded digit, and n / 10^decimals is the double
  // nearest the decimal text that the slow path reads back.
  static const double kPow10[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
  if (decimals >= 0 && decimals <= 8) {
    double x = std::fabs(value) * kPow10[decimals];
    if (x < 1e9) {
      double whole = std::floor(x);
      double frac = x - whole;
      double n = frac > 0.5 ? whole + 1 : whole;
      if (std::fabs(frac - 0.5) > 1e-6 && n != 0) {
        double r = n / kPow10[decimals];
        return value < 0 ? -r : r;
      }
    }
  }
  // 18 significant digits: d.ddddddddddddddddde+XX
  QString e = QString::number(std::fabs(value), 'e', 17);
  int ePos = e.indexOf('e');
  int exponent = e.mid(ePos + 1).toInt();
  QString digits = e.left(ePos).remove('.');
  // digits[0] has weight 10^exponent; keep those with weight >= 10^-decimals
  int keep = exponent + decimals + 1;
  if (keep < 0) return 0;
  QString kept = digits.left(keep);
  bool roundUp = keep < digits.size() && digits[keep] >= '5';
  // integer made of the kept digits, in units of 10^-decimals
  QString number = kept.isEmpty() ? QStringLiteral("0") : kept;
  if (roundUp) {
    int i = number.size() - 1;
    for (; i >= 0; --i) {
      if (number[i] == '9') {
        number[i] = '0';
      } else {
        number[i] = QChar(number[i].unicode() + 1);
        break;
      }
    }
    if (i < 0) number.prepend('1');
  }
  while (number.size() <= decimals) number.prepend('0');
  QString text = decimals > 0 ? number.left(number.size() - decimals) + "." + number.right(decimals) : number;
  double r = text.toDouble();
  return value < 0 ? -r : r;
}

double toNumber(const QVariant& value) {
  if (value.isNull() || !value.isValid()) return 0;
  switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
      return value.toDouble();
    default: {
      QString t = value.toString().trimmed();
      if (t.isEmpty()) return 0;
      bool ok = false;
      double d = t.toDouble(&ok);
      if (!ok) throw ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(t));
      return d;
    }
  }
}

QString replaceFirst(const QString& text, const QString& find, const QString& replacement) {
  if (find.isEmpty()) return text;
  int i = text.indexOf(find, 0, Qt::CaseSensitive);
  if (i < 0) return text;
  return text.left(i) + replacement + text.mid(i + find.size());
}

QString codeName(const QString& code, const QString& name) { return "[" + code + "]" + name; }

QString codeOf(const QString& entry) {
  int close = entry.indexOf(']');
  if (close < 0) return QString();
  int start = entry.startsWith('[') ? 1 : 0;
  return entry.mid(start, close - start);
}

QString nameOf(const QString& entry) {
  int close = entry.indexOf(']');
  return close < 0 ? entry : entry.mid(close + 1);
}

void setMdiArea(QMdiArea* a) { area() = a; }
QMdiArea* mdiArea() { return area().data(); }

QMdiSubWindow* showChild(QWidget* window) {
  QMdiArea* a = mdiArea();
  if (!a) {
    window->show();
    return nullptr;
  }
  QMdiSubWindow* sub = a->addSubWindow(window);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  // A window that closes itself ("退出") takes its frame with it. Queued, so
  // that a frame being destroyed (and its window with it) is left alone.
  QObject::connect(window, &QObject::destroyed, sub, &QWidget::close, Qt::QueuedConnection);
  sub->setWindowIcon(window->windowIcon());
  if (window->windowState() & Qt::WindowMaximized)
    sub->showMaximized();
  else
    sub->show();
  window->show();
  return sub;
}

QWidget* raiseChild(const char* className, int mode) {
  QString wanted = QString::fromLatin1(className);
  auto matches = [&](QWidget* w) {
    return w && wanted.compare(QString::fromLatin1(w->metaObject()->className()), Qt::CaseInsensitive) == 0;
  };
  if (QMdiArea* a = mdiArea()) {
    for (QMdiSubWindow* sub : a->subWindowList(QMdiArea::CreationOrder)) {
      if (!matches(sub->widget())) continue;
      if (mode == 1)
        sub->showNormal();
      else
        sub->showMaximized();
      a->setActiveSubWindow(sub);
      sub->raise();
      return sub->widget();
    }
    return nullptr;
  }
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (!matches(w) || !w->isVisible()) continue;
    if (mode == 1)
      w->showNormal();
    else
      w->showMaximized();
    w->raise();
    w->activateWindow();
    return w;
  }
  return nullptr;
}

}  // namespace MyFun
