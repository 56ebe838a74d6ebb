#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <stdexcept>

// A failed evaluation: syntax error, division by zero, a name whose value
// could not be given, or an operand that is not a number. what() is a reason
// fit to show to a user.
class EvalError : public std::runtime_error {
 public:
  explicit EvalError(const QString& reason);
  QString reason() const;
};

// Evaluates formula and condition texts over names whose values are asked
// for through onVariable on every evaluation (once per distinct name).
// The callback signals a failure by throwing; the evaluation then fails.
class TExParser {
 public:
  using VariableFn = std::function<double(const QString& name)>;

  TExParser();
  ~TExParser();

  void setExpression(const QString& text);
  QString expression() const;

  double evaluate();  // throws EvalError

  // The distinct names of the current expression in order of appearance;
  // throws EvalError when the text does not parse.
  QStringList names();

  VariableFn onVariable;

 private:
  struct Compiled;
  QString text_;
  std::shared_ptr<const Compiled> compiled_;
};
