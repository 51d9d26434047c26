#pragma once

#include <QString>

class QDialog;
class QPrinter;
class QWidget;

// Every message box, question and file dialog of the program goes through a
// Prompter, so tests can answer them without a modal box ever showing.
class Prompter {
 public:
  virtual ~Prompter() = default;

  // A notice with an OK button, titled "Strumbo!".
  virtual void message(QWidget* parent, const QString& text) = 0;
  // The same box for something that failed (a file not read or written, no
  // sound, missing data), with a warning icon so it is not taken for news.
  virtual void error(QWidget* parent, const QString& text) { message(parent, text); }
  // A Yes/No question with a question icon, titled "Plectrix"; true for Yes.
  virtual bool ask(QWidget* parent, const QString& question, bool defaultYes) = 0;
  // A line of text asked for, titled "Strumbo!", its field holding `text` at
  // first; an empty result means the user cancelled.
  virtual QString askText(QWidget* parent, const QString& question, const QString& text) = 0;
  // File dialogs; an empty result means the user cancelled.
  virtual QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                               const QString& filter) = 0;
  virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                               const QString& filter) = 0;
  // Runs one of the program's own dialogs modally; true when it was accepted.
  virtual bool execDialog(QDialog& dialog) = 0;
  // The print dialog over `printer`; true when the user chose to print.
  virtual bool printDialog(QWidget* parent, QPrinter& printer) = 0;
};

// The real dialogs.
class QtPrompter : public Prompter {
 public:
  void message(QWidget* parent, const QString& text) override;
  void error(QWidget* parent, const QString& text) override;
  bool ask(QWidget* parent, const QString& question, bool defaultYes) override;
  QString askText(QWidget* parent, const QString& question, const QString& text) override;
  QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                       const QString& filter) override;
  QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                       const QString& filter) override;
  bool execDialog(QDialog& dialog) override;
  bool printDialog(QWidget* parent, QPrinter& printer) override;
};
