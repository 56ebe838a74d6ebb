#include <gtest/gtest.h>

#include <QMap>
#include <limits>
#include <optional>
#include <stdexcept>

#include "payroll/ExParser.h"

namespace {

struct Case {
  const char* text;
  QMap<QString, double> vars;
  std::optional<double> value;  // empty: the evaluation must fail
  const char* reason = "";      // part of the failure's reason
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.text; }

class ExParserCases : public ::testing::TestWithParam<Case> {};

TEST_P(ExParserCases, Evaluates) {
  const Case& c = GetParam();
  TExParser p;
  p.onVariable = [&](const QString& name) {
    if (!c.vars.contains(name)) throw EvalError(QStringLiteral("未知项目") + name);
    return c.vars.value(name);
  };
  p.setExpression(QString::fromUtf8(c.text));
  if (c.value) {
    EXPECT_DOUBLE_EQ(p.evaluate(), *c.value);
  } else {
    try {
      const double v = p.evaluate();
      ADD_FAILURE() << "expected a failure, got " << v;
    } catch (const EvalError& e) {
      EXPECT_FALSE(e.reason().isEmpty());
      EXPECT_TRUE(e.reason().contains(QString::fromUtf8(c.reason))) << e.reason().toStdString();
    }
  }
}

const QMap<QString, double> k13{{"f1", 1}, {"f2", 3}};

INSTANTIATE_TEST_SUITE_P(
    Table, ExParserCases,
    ::testing::Values(
        Case{"f1 + f2 * 2", k13, 7}, Case{"(f1 + f2) * 2", k13, 8}, Case{"f1+f2*2", k13, 7},
        Case{"f1 - f2 - 1", k13, -3}, Case{"12/2/3", {}, 2}, Case{"7/2", {}, 3.5},
        Case{"-f2 * -2", k13, 6}, Case{"-(f1+f2)", k13, -4}, Case{"0.05*100", {}, 5},
        Case{"  1 +\t2 ", {}, 3}, Case{".5+1", {}, 1.5},
        Case{"1/0", {}, std::nullopt, "除数为零"}, Case{"0/0", {}, std::nullopt, "除数为零"},
        Case{"f1/(f2-3)", k13, std::nullopt, "除数为零"},
        // comparisons yield 1 or 0 and bind more loosely than arithmetic
        Case{"f3>0", {{"f3", 0.01}}, 1}, Case{"f3>0", {{"f3", 0}}, 0}, Case{"f3>0", {{"f3", -1}}, 0},
        Case{"(f3>0)*100", {{"f3", 0.01}}, 100}, Case{"(f3>0)*100", {{"f3", -1}}, 0},
        Case{"f1+f2>3", k13, 1}, Case{"f1+f2>=4", k13, 1}, Case{"f1+f2<=3", k13, 0},
        Case{"f1=1", k13, 1}, Case{"f1<>1", k13, 0}, Case{"f1<f2", k13, 1},
        // AND / OR in any case, bit by bit on whole numbers
        Case{"(f3>0) AND (f4>0)", {{"f3", 1}, {"f4", 2}}, 1},
        Case{"(f3>0) AND (f4>0)", {{"f3", 1}, {"f4", 0}}, 0},
        Case{"(f3>0) OR (f4>0)", {{"f3", 0}, {"f4", 2}}, 1},
        Case{"(f3>0) or (f4>0)", {{"f3", 0}, {"f4", 0}}, 0},
        Case{"f3>0 and f4>0", {{"f3", 1}, {"f4", 1}}, 1}, Case{"6 And 3", {}, 2}, Case{"6 oR 3", {}, 7},
        Case{"1.5 AND 1", {}, std::nullopt, "整数"},
        Case{"NOT (f3>0)", {{"f3", 0}}, 1}, Case{"not f3>0", {{"f3", 5}}, 0},
        // functions
        Case{"ROUND(2.675,2)", {}, 2.67}, Case{"round(0.125,2)", {}, 0.13}, Case{"ROUND(-0.125,2)", {}, -0.13},
        Case{"ABS(-f2)", k13, 3}, Case{"MAX(f1,f2,2)", k13, 3}, Case{"min(f1,f2)", k13, 1},
        Case{"IIF(f2>f1, f2, f1)", k13, 3}, Case{"IIF(f1-1, 1/(f1-1), 0)", k13, 0},
        Case{"ROUND(1,2,3)", {}, std::nullopt, "ROUND"}, Case{"ABS 3", {}, std::nullopt, "ABS"},
        // malformed texts
        Case{"(f1+f2", k13, std::nullopt, "括号"}, Case{"f1+f2)", k13, std::nullopt, ")"},
        Case{"f1+", k13, std::nullopt, "缺少运算对象"}, Case{"*f1", k13, std::nullopt, "缺少运算对象"},
        Case{"f1 f2", k13, std::nullopt, "缺少运算符"}, Case{"", {}, std::nullopt, "为空"},
        Case{"f1 # 2", k13, std::nullopt, "#"}, Case{"1.2.3", {}, std::nullopt, "1.2"},
        // a name the callback cannot give
        Case{"f9+1", k13, std::nullopt, "未知项目f9"}));

TEST(ExParser, NameAskedOncePerEvaluationAndAfreshEachTime) {
  TExParser p;
  QStringList asked;
  double f3 = 2;
  p.onVariable = [&](const QString& name) {
    asked << name;
    return f3;
  };
  p.setExpression("f3*f3+f3");
  EXPECT_DOUBLE_EQ(p.evaluate(), 6);
  EXPECT_EQ(asked, QStringList{"f3"});
  f3 = 3;
  EXPECT_DOUBLE_EQ(p.evaluate(), 12);
  EXPECT_EQ(asked, (QStringList{"f3", "f3"}));
  // the same text again through another evaluator uses the shared compiled form
  TExParser q;
  q.onVariable = p.onVariable;
  q.setExpression("f3*f3+f3");
  EXPECT_DOUBLE_EQ(q.evaluate(), 12);
  EXPECT_EQ(asked.size(), 3);
}

TEST(ExParser, NamesKeepTheirCaseAndOrder) {
  TExParser p;
  QStringList asked;
  p.onVariable = [&](const QString& name) {
    asked << name;
    return 1.0;
  };
  p.setExpression("JJe + jje*JSl + IIF(JJe>0, f12, f1)");
  EXPECT_EQ(p.names(), (QStringList{"JJe", "jje", "JSl", "f12", "f1"}));
  p.evaluate();
  EXPECT_EQ(asked, (QStringList{"JJe", "jje", "JSl", "f12", "f1"}));
}

TEST(ExParser, CallbackFailuresBecomeEvalErrors) {
  TExParser p;
  p.setExpression("f1+1");
  EXPECT_THROW(p.evaluate(), EvalError);  // no callback at all
  p.onVariable = [](const QString&) -> double { throw std::runtime_error("数据库已断开"); };
  try {
    p.evaluate();
    ADD_FAILURE();
  } catch (const EvalError& e) {
    EXPECT_EQ(e.reason(), QStringLiteral("数据库已断开"));
  }
  p.onVariable = [](const QString&) { return std::numeric_limits<double>::quiet_NaN(); };
  EXPECT_THROW(p.evaluate(), EvalError);
}

TEST(ExParser, KeepsTheExpressionUntilReplaced) {
  TExParser p;
  p.onVariable = [](const QString&) { return 4.0; };
  p.setExpression("f1/2");
  EXPECT_EQ(p.expression(), QStringLiteral("f1/2"));
  EXPECT_DOUBLE_EQ(p.evaluate(), 2);
  p.setExpression("(f1");
  EXPECT_THROW(p.evaluate(), EvalError);
  EXPECT_THROW(p.names(), EvalError);
  p.setExpression("f1*2");
  EXPECT_DOUBLE_EQ(p.evaluate(), 8);
}

}  // namespace
