#include "ui/TfrmMain.h"

#include <QLabel>
#include <QPalette>
#include <QScrollArea>
#include <QTabWidget>

namespace {

struct PageLayout {
  const char* tabName;
  const char* caption;
  const char* scrollName;
  const char* surfaceName;
  int width, height;
};

constexpr PageLayout Pages[] = {
    {"pageChords", "Chords", "scrollChordPage", "imgChordPage", 772, 800},
    {"pageChordDesign", "Chord Design", "scrollChordDesign", "imgChordDesign", 456, 101},
    {"pagePlayPage", "PlayPage", "scrollPlayPage", "imgPlayPage", 772, 833},
    {"pagePrint", "Print", "scrollPrintPage", "imgPrintPage", 772, 800},
    {"pageScales", "Scales", "scrollScales", "imgScales", 776, 800},
};

}  // namespace

TfrmMain::TfrmMain(const std::string& exeDir, QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Strumbo!"));
  State.ExeDir = exeDir;
  buildPages();
  move(0, 0);
  resize(808, 608);
}

void TfrmMain::buildPages() {
  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  for (const auto& p : Pages) {
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QLatin1String(p.scrollName));
    scroll->setBackgroundRole(QPalette::Base);
    auto* surface = new QLabel;
    surface->setObjectName(QLatin1String(p.surfaceName));
    surface->setFixedSize(p.width, p.height);
    surface->setAutoFillBackground(true);
    QPalette pal = surface->palette();
    pal.setColor(QPalette::Window, Qt::white);
    surface->setPalette(pal);
    scroll->setWidget(surface);
    PageControl1->addTab(scroll, QLatin1String(p.caption));
    scroll->setProperty("tabName", QLatin1String(p.tabName));
  }
  setCentralWidget(PageControl1);
}
