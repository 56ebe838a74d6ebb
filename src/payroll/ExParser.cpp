#include "payroll/ExParser.h"

#include <QHash>
#include <cmath>
#include <cstdint>
#include <limits>
#include <mutex>
#include <vector>

#include "common/MyFun.h"

EvalError::EvalError(const QString& reason) : std::runtime_error(reason.toStdString()) {}

QString EvalError::reason() const { return QString::fromUtf8(what()); }

namespace {

enum class Op {
  Num, Var, Neg, Not,
  Add, Sub, Mul, Div,
  Eq, Ne, Lt, Gt, Le, Ge,
  And, Or,
  Round, Abs, Max, Min, Iif
};

struct Node {
  Op op;
  double num = 0;   // Num
  int slot = 0;     // Var: index into the distinct names
  std::vector<int> kids;
};

enum class Tok { End, Num, Name, LParen, RParen, Comma, Plus, Minus, Star, Slash, Eq, Ne, Lt, Gt, Le, Ge };

struct Token {
  Tok kind;
  int pos;  // 1-based character position, for messages
  QString text;
  double num = 0;
};

QString at(int pos) { return QStringLiteral("第%1个字符处").arg(pos); }

std::vector<Token> scan(const QString& s) {
  std::vector<Token> out;
  int i = 0;
  const int n = s.size();
  while (i < n) {
    const QChar c = s[i];
    const int pos = i + 1;
    if (c.isSpace()) {
      ++i;
      continue;
    }
    if (c.isDigit() || (c == '.' && i + 1 < n && s[i + 1].isDigit())) {
      int j = i;
      while (j < n && s[j].isDigit()) ++j;
      if (j < n && s[j] == '.') {
        ++j;
        while (j < n && s[j].isDigit()) ++j;
      }
      const QString lit = s.mid(i, j - i);
      if (j < n && (s[j].isLetter() || s[j] == '_' || s[j] == '.'))
        throw EvalError(QStringLiteral("%1的数字“%2%3”写法不对").arg(at(pos), lit, s[j]));
      bool ok = false;
      Token t{Tok::Num, pos, lit};
      t.num = lit.toDouble(&ok);
      if (!ok) throw EvalError(QStringLiteral("%1的数字“%2”写法不对").arg(at(pos), lit));
      out.push_back(t);
      i = j;
      continue;
    }
    if (c.isLetter() || c == '_') {
      int j = i;
      while (j < n && (s[j].isLetterOrNumber() || s[j] == '_')) ++j;
      out.push_back(Token{Tok::Name, pos, s.mid(i, j - i)});
      i = j;
      continue;
    }
    Tok k;
    int len = 1;
    const QChar d = i + 1 < n ? s[i + 1] : QChar();
    switch (c.unicode()) {
      case '(': k = Tok::LParen; break;
      case ')': k = Tok::RParen; break;
      case ',': k = Tok::Comma; break;
      case '+': k = Tok::Plus; break;
      case '-': k = Tok::Minus; break;
      case '*': k = Tok::Star; break;
      case '/': k = Tok::Slash; break;
      case '=': k = Tok::Eq; break;
      case '<':
        if (d == '>') { k = Tok::Ne; len = 2; }
        else if (d == '=') { k = Tok::Le; len = 2; }
        else k = Tok::Lt;
        break;
      case '>':
        if (d == '=') { k = Tok::Ge; len = 2; }
        else k = Tok::Gt;
        break;
      default:
        throw EvalError(QStringLiteral("%1有不认识的符号“%2”").arg(at(pos), c));
    }
    out.push_back(Token{k, pos, s.mid(i, len)});
    i += len;
  }
  out.push_back(Token{Tok::End, n + 1, QString()});
  return out;
}

bool isWord(const Token& t, const char* w) {
  return t.kind == Tok::Name && t.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
}

struct Function {
  const char* name;
  Op op;
  int minArgs;
  int maxArgs;  // -1: any number from minArgs on
};

const Function kFunctions[] = {
    {"ROUND", Op::Round, 2, 2}, {"ABS", Op::Abs, 1, 1}, {"MAX", Op::Max, 1, -1},
    {"MIN", Op::Min, 1, -1},    {"IIF", Op::Iif, 3, 3},
};

const Function* findFunction(const Token& t) {
  for (const Function& f : kFunctions)
    if (isWord(t, f.name)) return &f;
  return nullptr;
}

bool isKeyword(const Token& t) {
  return isWord(t, "AND") || isWord(t, "OR") || isWord(t, "NOT") || findFunction(t);
}

struct Program {
  std::vector<Node> nodes;
  int root = -1;
  QStringList names;
  QString error;  // set when the text does not parse
};

// Precedence, loosest first: OR; AND; NOT; comparisons; + -; * /; unary minus.
// AND and OR sit below the comparisons so that "f1>0 and f2>0" reads as meant.
class Parser {
 public:
  Parser(std::vector<Token> toks, Program& out) : t_(std::move(toks)), c_(out) {}

  void run() {
    if (t_.front().kind == Tok::End) throw EvalError(QStringLiteral("表达式为空"));
    c_.root = parseOr();
    const Token& rest = peek();
    if (rest.kind == Tok::RParen) throw EvalError(QStringLiteral("%1多了一个右括号“)”").arg(at(rest.pos)));
    if (rest.kind != Tok::End) throw EvalError(QStringLiteral("%1的“%2”前缺少运算符").arg(at(rest.pos), rest.text));
  }

 private:
  const Token& peek() const { return t_[i_]; }
  const Token& next() { return t_[i_++]; }

  int add(Node n) {
    c_.nodes.push_back(std::move(n));
    return int(c_.nodes.size()) - 1;
  }
  int binary(Op op, int a, int b) { return add(Node{op, 0, 0, {a, b}}); }

  int parseOr() {
    int a = parseAnd();
    while (isWord(peek(), "OR")) {
      next();
      a = binary(Op::Or, a, parseAnd());
    }
    return a;
  }
  int parseAnd() {
    int a = parseNot();
    while (isWord(peek(), "AND")) {
      next();
      a = binary(Op::And, a, parseNot());
    }
    return a;
  }
  int parseNot() {
    if (isWord(peek(), "NOT")) {
      next();
      return add(Node{Op::Not, 0, 0, {parseNot()}});
    }
    return parseCompare();
  }
  int parseCompare() {
    int a = parseSum();
    for (;;) {
      Op op;
      switch (peek().kind) {
        case Tok::Eq: op = Op::Eq; break;
        case Tok::Ne: op = Op::Ne; break;
        case Tok::Lt: op = Op::Lt; break;
        case Tok::Gt: op = Op::Gt; break;
        case Tok::Le: op = Op::Le; break;
        case Tok::Ge: op = Op::Ge; break;
        default: return a;
      }
      next();
      a = binary(op, a, parseSum());
    }
  }
  int parseSum() {
    int a = parseProduct();
    for (;;) {
      const Tok k = peek().kind;
      if (k != Tok::Plus && k != Tok::Minus) return a;
      next();
      a = binary(k == Tok::Plus ? Op::Add : Op::Sub, a, parseProduct());
    }
  }
  int parseProduct() {
    int a = parseUnary();
    for (;;) {
      const Tok k = peek().kind;
      if (k != Tok::Star && k != Tok::Slash) return a;
      next();
      a = binary(k == Tok::Star ? Op::Mul : Op::Div, a, parseUnary());
    }
  }
  int parseUnary() {
    if (peek().kind == Tok::Minus) {
      next();
      return add(Node{Op::Neg, 0, 0, {parseUnary()}});
    }
    if (peek().kind == Tok::Plus) {
      next();
      return parseUnary();
    }
    return parsePrimary();
  }
  int parsePrimary() {
    const Token& t = next();
    switch (t.kind) {
      case Tok::Num: return add(Node{Op::Num, t.num, 0, {}});
      case Tok::LParen: {
        const int e = parseOr();
        const Token& close = next();
        if (close.kind != Tok::RParen) throw missingClose(close, t);
        return e;
      }
      case Tok::Name: return parseName(t);
      case Tok::End: throw EvalError(QStringLiteral("表达式在结尾处不完整，缺少运算对象"));
      default:
        throw EvalError(QStringLiteral("%1的“%2”前缺少运算对象").arg(at(t.pos), t.text));
    }
  }
  EvalError missingClose(const Token& got, const Token& open) {
    if (got.kind == Tok::End)
      return EvalError(QStringLiteral("括号不配对：%1的“(”缺少对应的“)”").arg(at(open.pos)));
    return EvalError(QStringLiteral("%1的“%2”前缺少运算符或“)”").arg(at(got.pos), got.text));
  }
  int parseName(const Token& t) {
    if (const Function* f = findFunction(t)) {
      const Token& open = next();
      if (open.kind != Tok::LParen)
        throw EvalError(QStringLiteral("%1的函数 %2 后面缺少“(”").arg(at(t.pos), t.text));
      Node n{f->op, 0, 0, {}};
      if (peek().kind != Tok::RParen) {
        for (;;) {
          n.kids.push_back(parseOr());
          if (peek().kind != Tok::Comma) break;
          next();
        }
      }
      const Token& close = next();
      if (close.kind != Tok::RParen) throw missingClose(close, open);
      const int count = int(n.kids.size());
      if (count < f->minArgs || (f->maxArgs >= 0 && count > f->maxArgs)) {
        const QString want = f->maxArgs < 0 ? QStringLiteral("至少%1个").arg(f->minArgs)
                                             : QStringLiteral("%1个").arg(f->minArgs);
        throw EvalError(QStringLiteral("%1的函数 %2 需要%3参数，写了%4个").arg(at(t.pos), t.text, want).arg(count));
      }
      return add(std::move(n));
    }
    if (isKeyword(t))
      throw EvalError(QStringLiteral("%1的“%2”前缺少运算对象").arg(at(t.pos), t.text));
    int slot = c_.names.indexOf(t.text);
    if (slot < 0) {
      slot = int(c_.names.size());
      c_.names.append(t.text);
    }
    return add(Node{Op::Var, 0, slot, {}});
  }

  std::vector<Token> t_;
  size_t i_ = 0;
  Program& c_;
};

std::shared_ptr<const Program> compile(const QString& text) {
  // Formulas are few and evaluated once per salary row: keep each text's
  // compiled form for the life of the program, bounded against odd callers.
  static std::mutex mutex;
  static QHash<QString, std::shared_ptr<const Program>> cache;
  std::lock_guard<std::mutex> lock(mutex);
  auto it = cache.constFind(text);
  if (it != cache.constEnd()) return it.value();
  auto c = std::make_shared<Program>();
  try {
    Parser(scan(text), *c).run();
  } catch (const EvalError& e) {
    c->nodes.clear();
    c->names.clear();
    c->error = e.reason();
  }
  if (cache.size() >= 4096) cache.clear();
  cache.insert(text, c);
  return c;
}

std::int64_t whole(double v, const char* op) {
  if (v != std::floor(v) || std::fabs(v) > 9.007199254740992e15)
    throw EvalError(QStringLiteral("%1 只能用于整数，%2 不是整数").arg(QLatin1String(op)).arg(v, 0, 'g', 15));
  return static_cast<std::int64_t>(v);
}

double checked(double v) {
  if (!std::isfinite(v)) throw EvalError(QStringLiteral("计算结果超出数值范围"));
  return v;
}

class Machine {
 public:
  Machine(const Program& c, const std::vector<double>& values) : c_(c), v_(values) {}

  double eval(int i) const {
    const Node& n = c_.nodes[i];
    auto k = [&](int j) { return eval(n.kids[j]); };
    switch (n.op) {
      case Op::Num: return n.num;
      case Op::Var: return v_[n.slot];
      case Op::Neg: return -k(0);
      case Op::Not: return k(0) == 0 ? 1 : 0;
      case Op::Add: return checked(k(0) + k(1));
      case Op::Sub: return checked(k(0) - k(1));
      case Op::Mul: return checked(k(0) * k(1));
      case Op::Div: {
        const double a = k(0), b = k(1);
        if (b == 0) throw EvalError(QStringLiteral("除数为零"));
        return checked(a / b);
      }
      case Op::Eq: return k(0) == k(1) ? 1 : 0;
      case Op::Ne: return k(0) != k(1) ? 1 : 0;
      case Op::Lt: return k(0) < k(1) ? 1 : 0;
      case Op::Gt: return k(0) > k(1) ? 1 : 0;
      case Op::Le: return k(0) <= k(1) ? 1 : 0;
      case Op::Ge: return k(0) >= k(1) ? 1 : 0;
      case Op::And: return double(whole(k(0), "AND") & whole(k(1), "AND"));
      case Op::Or: return double(whole(k(0), "OR") | whole(k(1), "OR"));
      case Op::Round: {
        const double x = k(0), d = k(1);
        if (d != std::floor(d) || d < 0 || d > 10)
          throw EvalError(QStringLiteral("ROUND 的小数位数应为 0 到 10 的整数"));
        return MyFun::roundTo(int(d), x);
      }
      case Op::Abs: return std::fabs(k(0));
      case Op::Max:
      case Op::Min: {
        double r = k(0);
        for (size_t j = 1; j < n.kids.size(); ++j) {
          const double x = eval(n.kids[j]);
          r = n.op == Op::Max ? std::max(r, x) : std::min(r, x);
        }
        return r;
      }
      case Op::Iif: return k(0) != 0 ? k(1) : k(2);  // only the chosen branch is computed
    }
    return 0;
  }

 private:
  const Program& c_;
  const std::vector<double>& v_;
};

}  // namespace

struct TExParser::Compiled {
  std::shared_ptr<const Program> program;
};

TExParser::TExParser() = default;
TExParser::~TExParser() = default;

void TExParser::setExpression(const QString& text) {
  if (compiled_ && text == text_) return;
  text_ = text;
  compiled_.reset();
}

QString TExParser::expression() const { return text_; }

QStringList TExParser::names() {
  if (!compiled_) compiled_ = std::make_shared<const Compiled>(Compiled{compile(text_)});
  const Program& p = *compiled_->program;
  if (!p.error.isEmpty()) throw EvalError(p.error);
  return p.names;
}

double TExParser::evaluate() {
  const QStringList& list = names();
  std::vector<double> values;
  values.reserve(list.size());
  for (const QString& name : list) {
    if (!onVariable) throw EvalError(QStringLiteral("无法取得“%1”的值").arg(name));
    double v;
    try {
      v = onVariable(name);
    } catch (const EvalError&) {
      throw;
    } catch (const std::exception& e) {
      throw EvalError(QString::fromUtf8(e.what()));
    } catch (...) {
      throw EvalError(QStringLiteral("无法取得“%1”的值").arg(name));
    }
    if (!std::isfinite(v)) throw EvalError(QStringLiteral("“%1”的值不是数字").arg(name));
    values.push_back(v);
  }
  const Program& p = *compiled_->program;
  return Machine(p, values).eval(p.root);
}
