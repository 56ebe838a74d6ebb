#include <gtest/gtest.h>

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QUrl>

#include "TestEnv.h"
#include "app/MainFrm.h"

namespace {
// Stands in for the desktop: records the files it is asked to open.
class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  UrlRecorder() { QDesktopServices::setUrlHandler("file", this, "open"); }
  ~UrlRecorder() override { QDesktopServices::unsetUrlHandler("file"); }
  QStringList opened;
 public slots:
  void open(const QUrl& url) { opened << url.toLocalFile(); }
};

void touch(const QString& path) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("x");
}
}  // namespace

// 帮助主题 opens the office document when there is one, else the shipped web
// page, and does nothing at all when neither is there.
TEST(Road, HelpOpensTheManual) {
  TestProgram p;
  TfrmMain w;
  UrlRecorder desktop;
  QAction* help = w.findChild<QAction*>("miHelp");
  ASSERT_TRUE(help);
  const QString doc = p.dir() + QStringLiteral("青禾工资管理系统说明书.doc");
  const QString html = p.dir() + QStringLiteral("青禾工资管理系统说明书.html");

  help->trigger();
  EXPECT_TRUE(desktop.opened.isEmpty());

  touch(html);
  help->trigger();
  EXPECT_EQ(desktop.opened, QStringList{html});

  touch(doc);
  desktop.opened.clear();
  help->trigger();
  EXPECT_EQ(desktop.opened, QStringList{doc});
}

#include "test_road.moc"
