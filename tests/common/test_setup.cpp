#include <gtest/gtest.h>
#include <zip.h>

#include <QFile>
#include <QListWidget>
#include <QTest>

#include "TestEnv.h"
#include "common/MyFun.h"
#include "common/Setup.h"
#include "toolkit/DataGrid.h"
#include "toolkit/DataSet.h"
#include "toolkit/FileDialog.h"
#include "toolkit/MsgBox.h"

namespace {
// A list window's grid: a fixed hidden code column, then ordinary ones.
struct ListGrid {
  DataSet ds;
  DataGrid grid;
  explicit ListGrid(int rows = 3) {
    ds.addField("wkcode", FieldType::String, 10);
    ds.addField("wkname", FieldType::String, 20);
    ds.addField("je", FieldType::Float);
    ds.addField("sl", FieldType::Integer);
    ds.addField("memo", FieldType::String, 20);
    ds.createTable();
    for (int i = 0; i < rows; ++i) {
      ds.append();
      ds.setValue("wkcode", QString("00%1").arg(i + 1));
      ds.setValue("wkname", QStringLiteral("员工%1").arg(i + 1));
      ds.setValue("je", 12.5 * (i + 1));
      ds.setValue("sl", i + 10);
      ds.setValue("memo", i == 1 ? QVariant() : QVariant(QStringLiteral("备注<&>")));
      ds.post();
    }
    GridColumn code{"wkcode", QStringLiteral("代码")};
    code.tag = 1;
    code.visible = false;
    GridColumn amount{"je", QStringLiteral("金额")};
    amount.displayFormat = "0.00";
    grid.setColumns({code, {"wkname", QStringLiteral("姓名")}, amount, {"sl", QStringLiteral("数量")},
                     {"memo", QStringLiteral("备注")}});
    grid.setDataSet(&ds);
  }
  QList<bool> shown() const {
    QList<bool> out;
    for (int i = 0; i < grid.columnCount(); ++i) out << grid.isColumnVisible(i);
    return out;
  }
};

QByteArray zipEntry(const QString& path, const char* entry) {
  int err = 0;
  zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err);
  if (!z) return {};
  QByteArray out;
  if (zip_file_t* f = zip_fopen(z, entry, 0)) {
    char buf[4096];
    zip_int64_t n;
    while ((n = zip_fread(f, buf, sizeof buf)) > 0) out.append(buf, int(n));
    zip_fclose(f);
  }
  zip_close(z);
  return out;
}
}  // namespace

TEST(Setup, LoaderShowsExactlyOneAndLeavesFixedColumns) {
  TestProgram p;
  ListGrid g;
  g.grid.setColumnVisible(0, false);
  MyFun::writeIni("Worker", "col0", "1");    // fixed: not the loader's business
  MyFun::writeIni("Worker", "col1", "0");
  MyFun::writeIni("Worker", "col2", "yes");  // anything but "1" hides
  MyFun::writeIni("Worker", "col4", "1");
  MyFun::writeIni("GzData1", "col3", "0");   // another section, another choice
  Setup::loadColumns("Worker", &g.grid);
  EXPECT_EQ(g.shown(), (QList<bool>{false, false, false, true, true}));
  EXPECT_TRUE(g.grid.isColumnHidden(1));

  ListGrid fresh;
  Setup::loadColumns("GzData0", &fresh.grid);  // no keys: every ordinary column shows
  EXPECT_EQ(fresh.shown(), (QList<bool>{false, true, true, true, true}));
}

TEST(Setup, DialogAppliesAndWritesEveryClickAndTheChoiceSurvivesReopening) {
  TestProgram p;
  {
    ListGrid g;
    Setup::loadColumns("JjData", &g.grid);
    bool seen = false;
    whenModal([&](QWidget* w) {
      auto* dlg = qobject_cast<TfrmSetup*>(w);
      ASSERT_TRUE(dlg);
      seen = true;
      EXPECT_EQ(dlg->windowTitle(), QStringLiteral("项目显示设置"));
      QListWidget* list = dlg->chkList;
      ASSERT_EQ(list->count(), 5);  // fixed columns are listed too
      EXPECT_EQ(list->item(0)->text(), QStringLiteral("代码"));
      EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);  // no key reads "1"
      EXPECT_TRUE(list->item(2)->font().bold());
      EXPECT_EQ(list->item(2)->foreground().color(), QColor(Qt::blue));
      waitFor([&] { return list->visualItemRect(list->item(1)).left() > 0; }, 1000);
      EXPECT_EQ(list->visualItemRect(list->item(1)).top(), list->visualItemRect(list->item(0)).top());  // two columns
      EXPECT_GT(list->visualItemRect(list->item(1)).left(), list->visualItemRect(list->item(0)).right() - 2);

      list->item(2)->setCheckState(Qt::Unchecked);
      EXPECT_FALSE(g.grid.isColumnVisible(2));  // at once, nothing to confirm
      EXPECT_EQ(MyFun::readIni("JjData", "col2"), "0");
      EXPECT_EQ(MyFun::readIni("JjData", "col1"), "1");

      list->item(0)->setCheckState(Qt::Unchecked);  // fixed: nothing changes, nothing written
      list->item(0)->setCheckState(Qt::Checked);
      EXPECT_FALSE(g.grid.isColumnVisible(0));
      EXPECT_EQ(MyFun::readIni("JjData", "col0", "none"), "none");
      QTest::keyClick(dlg, Qt::Key_Escape);
    });
    Setup::showDialog(nullptr, "JjData", &g.grid);
    EXPECT_TRUE(seen);
  }
  // the window opens again: the loader restores the choice, the dialog shows it
  ListGrid again;
  Setup::loadColumns("JjData", &again.grid);
  EXPECT_EQ(again.shown(), (QList<bool>{false, true, false, true, true}));
  whenModal([](QWidget* w) {
    auto* dlg = static_cast<TfrmSetup*>(w);
    EXPECT_EQ(dlg->chkList->item(2)->checkState(), Qt::Unchecked);
    dlg->reject();
  });
  Setup::showDialog(nullptr, "JjData", &again.grid);
}

TEST(Setup, ExportWritesTheVisibleColumnsAndEveryRowAsAWorkbook) {
  TestProgram p;
  ListGrid g(250);
  g.grid.setColumnVisible(3, false);
  QFile old(p.dir() + "report.XLSX.xlsx");  // an existing file is replaced without a question
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old contents");
  old.close();

  FileDialog::Script chooser;
  chooser.answer(p.dir() + "report.XLSX");
  MsgBox::Recorder rec;
  Setup::exportGrid(&g.grid);
  ASSERT_EQ(chooser.calls.size(), 1);
  EXPECT_EQ(chooser.calls[0].kind, "save");
  EXPECT_EQ(chooser.calls[0].filter, "Excel Files(*.xlsx)");
  EXPECT_EQ(chooser.calls[0].dir, MyFun::programDir());
  EXPECT_TRUE(rec.shown.isEmpty());
  EXPECT_FALSE(QFile::exists(p.dir() + "report.XLSX"));

  const QString file = p.dir() + "report.XLSX.xlsx";
  const QString strings = QString::fromUtf8(zipEntry(file, "xl/sharedStrings.xml"));
  const QString sheet = QString::fromUtf8(zipEntry(file, "xl/worksheets/sheet1.xml"));
  ASSERT_FALSE(sheet.isEmpty());
  for (const char* title : {"姓名", "金额", "备注"}) EXPECT_TRUE(strings.contains(QString::fromUtf8(title))) << title;
  EXPECT_FALSE(strings.contains(QStringLiteral("数量")));  // hidden column
  EXPECT_FALSE(strings.contains(QStringLiteral("代码")));
  EXPECT_TRUE(strings.contains(QStringLiteral("员工250")));
  EXPECT_TRUE(strings.contains(QStringLiteral("备注&lt;&amp;&gt;")));
  EXPECT_TRUE(sheet.contains("<row r=\"251\""));  // title row and 250 rows
  EXPECT_FALSE(sheet.contains("<row r=\"252\""));
  // amounts stay numbers: a plain value cell, not a shared string
  EXPECT_TRUE(sheet.contains(QRegularExpression("<c r=\"B2\"[^>]*><v>12.5</v></c>"))) << sheet.left(1500).toStdString();
  EXPECT_FALSE(sheet.contains(QRegularExpression("<c r=\"B2\"[^>]*t=\"s\"")));
  EXPECT_TRUE(sheet.contains(QRegularExpression("<c r=\"B251\"[^>]*><v>3125</v></c>")));
}

TEST(Setup, ExportFailuresAndCancels) {
  TestProgram p;
  ListGrid g;
  {
    FileDialog::Script chooser;
    chooser.answer(p.dir() + "no/such/dir/x");
    MsgBox::Recorder rec;
    Setup::exportGrid(&g.grid);
    ASSERT_EQ(rec.shown.size(), 1);  // never a silent success
    EXPECT_TRUE(rec.lastText().startsWith(QStringLiteral("导出失败("))) << rec.lastText().toStdString();
    EXPECT_EQ(rec.shown[0].icon, MsgBox::Icon::Error);
  }
  {
    FileDialog::Script chooser;  // cancelled: nothing written, nothing said
    MsgBox::Recorder rec;
    Setup::exportGrid(&g.grid);
    EXPECT_EQ(chooser.calls.size(), 1);
    EXPECT_TRUE(rec.shown.isEmpty());
  }
  {
    FileDialog::Script chooser;  // a closed data set: no chooser at all
    chooser.answer(p.dir() + "x.xlsx");
    g.ds.close();
    Setup::exportGrid(&g.grid);
    EXPECT_TRUE(chooser.calls.isEmpty());
    EXPECT_FALSE(QFile::exists(p.dir() + "x.xlsx"));
  }
}
