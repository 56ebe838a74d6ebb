#include <gtest/gtest.h>

#include <QFile>

#include "TestEnv.h"
#include "common/MyFun.h"

TEST(MyFun, Rounding) {
  struct {
    int decimals;
    double value, expected;
  } cases[] = {
      {2, 0.125, 0.13}, {2, -0.125, -0.13}, {2, 2.675, 2.67},  {2, 1.005, 1.0},  {2, 0.005, 0.01},
      {2, 37.5, 37.5},  {2, 99.999, 100},   {4, 0.66666, 0.6667}, {2, 0, 0},      {2, 0.0049, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_DOUBLE_EQ(MyFun::roundTo(c.decimals, c.value), c.expected);
  }
}

TEST(MyFun, TextHelpers) {
  EXPECT_EQ(MyFun::padZero(7, 3), "007");
  EXPECT_EQ(MyFun::padZero(1234, 3), "1234");
  EXPECT_EQ(MyFun::padZero(5, 0), "5");
  EXPECT_EQ(MyFun::strToInt(""), 0);
  EXPECT_EQ(MyFun::strToInt("   "), 0);
  EXPECT_EQ(MyFun::strToInt(" 12 "), 12);
  EXPECT_THROW(MyFun::strToInt("1a"), ConvertError);
  EXPECT_EQ(MyFun::replaceFirst("f1+f12", "f1", "基本"), "基本+f12");
  EXPECT_EQ(MyFun::replaceFirst("abc", "x", "y"), "abc");
  EXPECT_EQ(MyFun::codeOf("[01]裁剪"), "01");
  EXPECT_EQ(MyFun::codeOf("裁剪"), "");
  EXPECT_EQ(MyFun::nameOf("[01]a]b"), "a]b");
  EXPECT_EQ(MyFun::toNumber(QVariant()), 0);
  EXPECT_EQ(MyFun::toNumber(QString("")), 0);
  EXPECT_EQ(MyFun::toNumber(QString("2.5")), 2.5);
  EXPECT_THROW(MyFun::toNumber(QString("x")), ConvertError);
}

TEST(MyFun, IniFile) {
  TestProgram p(false);
  EXPECT_EQ(MyFun::readIni("Backup", "BkDir", "d:\\"), "d:\\");
  MyFun::writeIni("Backup", "BkDir", "C:\\data\\bak\\");
  MyFun::writeIni("Worker", "col3", "0");
  MyFun::writeIni("Backup", "BkDir", "/home/x/");
  MyFun::writeIni("Worker", "col4", "1");
  EXPECT_EQ(MyFun::readIni("Backup", "BkDir"), "/home/x/");
  EXPECT_EQ(MyFun::readIni("worker", "COL3"), "0");
  EXPECT_EQ(MyFun::readIni("Worker", "col4"), "1");
  MyFun::writeIni("System", "Picture", "d:\\pics\\bk.jpg");
  EXPECT_EQ(MyFun::readIni("System", "Picture"), "d:\\pics\\bk.jpg");
  QFile f(p.dir() + "config.ini");
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(f.readAll()).count("[Worker]"), 1);
}
