#include "ui/HelpWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(const QString& helpFile, QWidget* parent)
    : QWidget(parent, Qt::Window), HelpFile(helpFile), Browser(new QTextBrowser(this)) {
  setObjectName(QStringLiteral("frmHelp"));
  setWindowTitle(QStringLiteral("Strumbo! Help"));
  Browser->setObjectName(QStringLiteral("helpBrowser"));
  Browser->setOpenExternalLinks(true);
  // Over a modal dialog the help is modal itself, and the window system may
  // give it no close box: this button and Escape always lead back.
  btnClose = new QPushButton(QStringLiteral("Close"), this);
  btnClose->setObjectName(QStringLiteral("btnHelpClose"));
  connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(6, 0, 6, 6);
  buttons->addStretch(1);
  buttons->addWidget(btnClose);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Browser);
  layout->addLayout(buttons);
  resize(560, 600);
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
  // The page passes Escape on; nothing else in the window uses it.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool HelpWindow::showContext(int context) {
  if (!QFileInfo::exists(HelpFile)) return false;
  Anchor = QStringLiteral("ctx%1").arg(context);
  QUrl url = QUrl::fromLocalFile(HelpFile);
  url.setFragment(Anchor);
  Browser->setSource(url);
  // Asked from a dialog that blocks the other windows, the help stacks
  // above it as a modal window of its own, so it can be read and scrolled
  // before going back; asked from the main window it stays beside it.
  QWidget* blocking = QApplication::activeModalWidget();
  const bool overDialog = blocking && blocking != this;
  const Qt::WindowModality wanted = overDialog ? Qt::ApplicationModal : Qt::NonModal;
  if (windowModality() != wanted) {
    hide();  // modality only changes while hidden
    setWindowModality(wanted);
  }
  show();
  raise();
  activateWindow();
  return true;
}
