#include "ui/HelpWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(const QString& helpFile, QWidget* parent)
    : QWidget(parent, Qt::Window), HelpFile(helpFile), Browser(new QTextBrowser(this)) {
  setObjectName(QStringLiteral("frmHelp"));
  setWindowTitle(QStringLiteral("Strumbo! Help"));
  Browser->setObjectName(QStringLiteral("helpBrowser"));
  Browser->setOpenExternalLinks(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Browser);
  resize(560, 600);
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
