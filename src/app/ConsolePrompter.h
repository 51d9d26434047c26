#pragma once

#include "ui/Prompter.h"

// The prompter of a run without anyone at the screen (--screenshot): messages
// go to standard error, questions take their default answer, text questions and file dialogs
// are cancelled and dialogs rejected, so nothing can wait for a click that never
// comes.
class ConsolePrompter : public Prompter {
 public:
  void message(QWidget* parent, const QString& text) override;
  bool ask(QWidget* parent, const QString& question, bool defaultYes) override;
  QString askText(QWidget* parent, const QString& question, const QString& text) override;
  QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                       const QString& filter) override;
  QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                       const QString& filter) override;
  bool execDialog(QDialog& dialog) override;
  bool printDialog(QWidget* parent, QPrinter& printer) override;
};
