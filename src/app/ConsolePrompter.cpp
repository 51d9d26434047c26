#include "app/ConsolePrompter.h"

#include <cstdio>

void ConsolePrompter::message(QWidget*, const QString& text) {
  std::fprintf(stderr, "strumbo: %s\n", qPrintable(text));
}

bool ConsolePrompter::ask(QWidget*, const QString& question, bool defaultYes) {
  std::fprintf(stderr, "strumbo: %s %s\n", qPrintable(question), defaultYes ? "Yes" : "No");
  return defaultYes;
}

QString ConsolePrompter::askText(QWidget*, const QString& question, const QString&) {
  std::fprintf(stderr, "strumbo: %s (cancelled)\n", qPrintable(question));
  return {};
}

QString ConsolePrompter::openFileName(QWidget*, const QString&, const QString&, const QString&) {
  return {};
}

QString ConsolePrompter::saveFileName(QWidget*, const QString&, const QString&, const QString&) {
  return {};
}

bool ConsolePrompter::execDialog(QDialog&) {
  return false;
}

bool ConsolePrompter::printDialog(QWidget*, QPrinter&) {
  return false;
}
