#pragma once

#include <QString>
#include <QWidget>

class QPushButton;
class QTextBrowser;

// The program's help: our own HTML pages from the program directory, shown
// at the section of a help context (the anchor "ctx" followed by its number).
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(const QString& helpFile, QWidget* parent = nullptr);

  // Shows the window at help context `context`; false when the help file is missing.
  bool showContext(int context);
  QString currentAnchor() const { return Anchor; }
  QTextBrowser* browser() const { return Browser; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPushButton* btnClose = nullptr;
  QString HelpFile;
  QString Anchor;
  QTextBrowser* Browser;
};
