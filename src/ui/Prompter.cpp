#include "ui/Prompter.h"

#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QRegularExpression>

void QtPrompter::message(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, QStringLiteral("Strumbo!"), text);
}

void QtPrompter::error(QWidget* parent, const QString& text) {
  QMessageBox::warning(parent, QStringLiteral("Strumbo!"), text);
}

bool QtPrompter::ask(QWidget* parent, const QString& question, bool defaultYes) {
  const auto answer = QMessageBox::question(parent, QStringLiteral("Plectrix"), question,
                                            QMessageBox::Yes | QMessageBox::No,
                                            defaultYes ? QMessageBox::Yes : QMessageBox::No);
  return answer == QMessageBox::Yes;
}

QString QtPrompter::askText(QWidget* parent, const QString& question, const QString& text) {
  QInputDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("TextQuestion"));
  dialog.setWindowTitle(QStringLiteral("Strumbo!"));
  dialog.setLabelText(question);
  dialog.setTextValue(text);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.textValue();
}

QString QtPrompter::openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) {
  return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString QtPrompter::saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) {
  QFileDialog dialog(parent, caption, dir, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // The filter's extension is added to a name typed without one before the
  // dialog asks about replacing, so it asks about the file really written.
  const QRegularExpressionMatch suffix =
      QRegularExpression(QStringLiteral("\\(\\*\\.(\\w+)\\)")).match(filter);
  if (suffix.hasMatch()) dialog.setDefaultSuffix(suffix.captured(1));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

bool QtPrompter::execDialog(QDialog& dialog) {
  return dialog.exec() == QDialog::Accepted;
}

bool QtPrompter::printDialog(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  dialog.setObjectName(QStringLiteral("PrintDialog1"));
  return dialog.exec() == QDialog::Accepted;
}
