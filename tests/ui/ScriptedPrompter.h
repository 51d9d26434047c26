#pragma once

#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>

#include "ui/Prompter.h"

// Answers the program's questions from a script and records what was shown.
// A question or file dialog that has no scripted answer fails the test
// instead of blocking on a modal box.
class ScriptedPrompter : public Prompter {
 public:
  std::deque<bool> answers;
  std::deque<QString> files;
  // Answers to text questions, and the questions asked.
  std::deque<QString> texts;
  QStringList textQuestions;
  // Every box shown, errors too; `errors` holds those shown as errors.
  QStringList messages;
  QStringList errors;
  QStringList questions;
  // The default button of each question: true for Yes.
  QList<bool> defaults;
  // Each dialog shown takes the next handler, which fills it in and returns
  // whether it was accepted (usually by pressing its OK handler).
  std::deque<std::function<bool(QDialog&)>> dialogs;
  int unanswered = 0;
  // Each print dialog takes the next handler, which may set the printer up
  // and returns whether the user chose to print.
  std::deque<std::function<bool(QPrinter&)>> printDialogs;
  int printDialogsShown = 0;

  void message(QWidget*, const QString& text) override { messages << text; }
  void error(QWidget*, const QString& text) override {
    messages << text;
    errors << text;
  }
  bool ask(QWidget*, const QString& question, bool defaultYes) override {
    questions << question;
    defaults << defaultYes;
    if (answers.empty()) {
      ++unanswered;
      return defaultYes;
    }
    const bool a = answers.front();
    answers.pop_front();
    return a;
  }
  QString askText(QWidget*, const QString& question, const QString&) override {
    textQuestions << question;
    if (texts.empty()) {
      ++unanswered;
      return {};
    }
    QString t = texts.front();
    texts.pop_front();
    return t;
  }
  QString openFileName(QWidget*, const QString&, const QString&, const QString&) override {
    return nextFile();
  }
  QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override {
    return nextFile();
  }

  bool printDialog(QWidget*, QPrinter& printer) override {
    ++printDialogsShown;
    if (printDialogs.empty()) {
      ++unanswered;
      return false;
    }
    auto handler = std::move(printDialogs.front());
    printDialogs.pop_front();
    return handler(printer);
  }

  bool execDialog(QDialog& dialog) override {
    if (dialogs.empty()) {
      ++unanswered;
      return false;
    }
    auto handler = std::move(dialogs.front());
    dialogs.pop_front();
    dialog.show();
    const bool accepted = handler(dialog);
    dialog.hide();
    return accepted;
  }

 private:
  QString nextFile() {
    if (files.empty()) {
      ++unanswered;
      return {};
    }
    QString f = files.front();
    files.pop_front();
    return f;
  }
};
