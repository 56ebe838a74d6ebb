#pragma once
#include <QList>
#include <QString>

class QWidget;

// Every message of the program goes through here. Questions: caption "询问",
// question icon, Yes and No. Refusals and input errors: "提示" (or the caller's
// caption) with an error icon. Completion notices: "提示" with an
// information icon.
namespace MsgBox {

enum class Icon { Question, Error, Information };
enum class Answer { Yes, No, Cancel };

struct Message {
  QString caption;
  QString text;
  Icon icon;
};

bool ask(const QString& text, QWidget* parent = nullptr);  // true for Yes
Answer askYesNoCancel(const QString& text, QWidget* parent = nullptr);
void error(const QString& text, const QString& caption = QStringLiteral("提示"), QWidget* parent = nullptr);
void info(const QString& text, const QString& caption = QStringLiteral("提示"), QWidget* parent = nullptr);

// Test seam: while a Recorder lives, nothing is shown; every message is
// recorded and each question takes the next scripted answer (Yes when the
// script is empty).
class Recorder {
 public:
  Recorder();
  ~Recorder();
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  Recorder& answer(Answer a) {
    answers.append(a);
    return *this;
  }
  Recorder& answerNo() { return answer(Answer::No); }
  Recorder& answerYes() { return answer(Answer::Yes); }

  QStringList texts() const;
  bool saw(const QString& text) const { return texts().contains(text); }
  QString lastText() const { return shown.isEmpty() ? QString() : shown.last().text; }
  void clear() { shown.clear(); }

  QList<Message> shown;
  QList<Answer> answers;
  Answer defaultAnswer = Answer::Yes;
};

}  // namespace MsgBox
