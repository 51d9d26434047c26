#include "ui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPalette>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "files/PosixFileLayer.h"
#include "midi/MidiComponent.h"
#include "midi/MidiSession.h"
#include "pages/ChordPro.h"
#include "settings/Settings.h"
#include "ui/AboutDialog.h"
#include "ui/ChordDesignTab.h"
#include "ui/ChordSearchController.h"
#include "ui/ChordsTab.h"
#include "ui/DesignGroupController.h"
#include "ui/FretboardPanel.h"
#include "ui/GuitarViewBar.h"
#include "ui/GuitarViewController.h"
#include "ui/HelpContext.h"
#include "ui/HelpWindow.h"
#include "ui/IntervalsController.h"
#include "ui/MainMenu.h"
#include "ui/PageCommands.h"
#include "ui/PageFilesController.h"
#include "ui/PlayPageTab.h"
#include "ui/PlaybackController.h"
#include "ui/PrintController.h"
#include "ui/PrintPageTab.h"
#include "ui/ScalesTab.h"
#include "ui/SurfaceView.h"
#include "ui/TempoDialog.h"
#include "ui/ToolBarController.h"
#include "ui/ToolBarPanel.h"

namespace {

QScrollArea* whiteScrollArea(const QString& name) {
  auto* scroll = new QScrollArea;
  scroll->setObjectName(name);
  QPalette pal = scroll->palette();
  pal.setColor(QPalette::Window, Qt::white);
  scroll->setPalette(pal);
  scroll->setBackgroundRole(QPalette::Window);
  scroll->setAutoFillBackground(true);
  scroll->viewport()->setAutoFillBackground(true);
  scroll->viewport()->setPalette(pal);
  return scroll;
}

}  // namespace

MainWindow::MainWindow(const std::string& exeDir, Prompter* prompter, Services services,
                       QWidget* parent)
    : QMainWindow(parent),
      OwnPrompter(prompter ? nullptr : new QtPrompter),
      Ask(prompter ? prompter : OwnPrompter.get()) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Strumbo!"));
  setHelpContext(this, MainWindowHelpContext);
  State.ExeDir = exeDir;

  pnlTop = new ToolBarPanel;
  pnlBottom = new FretboardPanel(Bench, Guard);
  buildPages();
  pnlBottom->connectPanels(DesignPage,
                           {[this] { return pnlTop->isOn(ToolBarPanel::Toggle::ShowArp); },
                            [this] { return currentTab(); }});
  const auto tabIs = [this] { return currentTab(); };
  const auto showTabFn = [this](PlayTab tab) { showTab(tab); };
  const auto bringTabFn = [this](PlayTab tab) { bringTabForward(tab); };
  Chords = new ChordsTab(Bench, Guard, *Ask, Surfaces[int(PlayTab::Chords)],
                         Scrolls[int(PlayTab::Chords)], pnlBottom, this);
  Scales = new ScalesTab(Bench, Guard, *Ask, Surfaces[int(PlayTab::Scales)],
                         Scrolls[int(PlayTab::Scales)], pnlBottom, this);
  PlayPage = new PlayPageTab(Bench, Guard, *Ask, Surfaces[int(PlayTab::PlayPage)], pnlTop,
                             pnlBottom, this);
  Session = std::make_unique<WindowSession>(
      WindowSession::Parts{State, Guard, *Ask, *pnlTop, *pnlBottom, *DesignPage, *this, bringTabFn,
                           [this](const MidiMessage& m) { Playback->handleMessage(m); }},
      services);
  auto* central = new QWidget;
  Column = new QVBoxLayout(central);
  Column->setContentsMargins(0, 0, 0, 0);
  Column->setSpacing(0);
  placePanels();
  setCentralWidget(central);
  Menus = new MainMenu(menuBar(), tabIs, this);
  Picker = new ToolBarController(State, Guard, *pnlTop, *Chords, *Scales, showTabFn, this);
  if (!services.PageFiles) OwnFiles = std::make_unique<PosixFileLayer>();
  FileLayer& files = services.PageFiles ? *services.PageFiles : *OwnFiles;
  Playback = new PlaybackController(
      PlaybackController::Parts{Bench, Guard, *Ask, Session->settings(), files, *pnlTop, *Menus,
                                *Surfaces[int(PlayTab::PlayPage)], *Scrolls[int(PlayTab::PlayPage)],
                                *pnlBottom, *this, this},
      Session->midi(), this);
  Guard.watch(&Playback->engine());

  routeCommands();

  // Key preview: the window sees keys before its controls, except while a
  // name is typed into the tuning name or chord name field.
  qApp->installEventFilter(this);
  connect(pnlBottom, &FretboardPanel::nameFieldEntered, this, &MainWindow::editTuningNameEnter);
  connect(pnlBottom, &FretboardPanel::nameFieldLeft, this, &MainWindow::editTuningNameExit);
  FormCreate();

  Group = new DesignGroupController(Bench, Guard, *Ask, DesignPage, pnlBottom, this);
  connect(Group, &DesignGroupController::playChordChosen, Playback,
          &PlaybackController::pmenu2PlayChordClick);
  connect(Group, &DesignGroupController::typingStarted, this, &MainWindow::editTuningNameEnter);
  connect(Group, &DesignGroupController::typingEnded, this, &MainWindow::editTuningNameExit);
  routePageCommands();
  // After the start-up has listed the user chord types.
  new IntervalsController(
      {State, Guard, *Ask, services.SettingsFile, *DesignPage, *pnlBottom, *pnlTop, *Chords, tabIs,
       [this](int context) { Session->showHelp(context); }, this},
      this);
  pnlBottom->useTuningStore(*Ask, services.SettingsFile);
  // Printing and PDF export of the active tab's page.
  Printing = new PrintController({Bench, Guard, *Ask, this, tabIs, files}, this);
  connect(pnlTop, &ToolBarPanel::printPageClicked, Printing, &PrintController::sbtnPrintPageClick);

  Files = new PageFilesController({Bench, Guard, *Ask, *this, Session->settings(),
                                   Session->settingsFile(), files, *Pages, bringTabFn},
                                  this);
  connect(pnlTop, &ToolBarPanel::openClicked, Files, &PageFilesController::sbtnOpenClick);
  connect(pnlTop, &ToolBarPanel::saveClicked, Files, &PageFilesController::sbtnSaveClick);
  Menus->setRecentFiles([this] { return Files->recentFiles(); });
  connect(Menus, &MainMenu::recentFileChosen, Files,
          [this](const QString& path) { Files->openFiles({path}); });
  setAcceptDrops(true);
  connect(Menus, &MainMenu::exportPdfChosen, Printing, &PrintController::exportPdf);
  connect(Menus, &MainMenu::exportChordProChosen, Files, &PageFilesController::exportChordPro);

  // Capo, names and hand as the settings left them.
  // Beside the page tabs, where the row has room to spare.
  auto* bar = new GuitarViewBar;
  PageControl1->setCornerWidget(bar, Qt::TopRightCorner);
  auto* guitar = new GuitarViewController(
      State, Guard, *bar, *pnlBottom, [this] { redrawInGuitarView(); }, this);
  guitar->show();
}

void MainWindow::redrawInGuitarView() {
  Chords->restyle();
  Scales->restyle();
  Print->restyle();
  PlayPage->redrawSlots();
  Group->restyle();
  BenchUpdate u;
  u.ShowContents = currentTab();
  Pages->apply(u);
}

void MainWindow::routePageCommands() {
  Print = new PrintPageTab(Bench, Guard, *Ask, Surfaces[int(PlayTab::Print)],
                           Scrolls[int(PlayTab::Print)], pnlBottom, this);
  connect(Print, &PrintPageTab::playDiagramChosen, Playback,
          &PlaybackController::pmenu3PlayDiagramClick);
  Pages = new PageCommands({Bench,
                            Guard,
                            *Ask,
                            *this,
                            *pnlBottom,
                            {*Chords, *DesignPage, *Group, *PlayPage, *Print, *Scales},
                            Scrolls,
                            [this](PlayTab tab) { showTab(tab); }},
                           this);
  connect(Chords, &ChordsTab::sendToPlayChosen, Pages, &PageCommands::pmenu1SendtoPlayClick);
  connect(Group, &DesignGroupController::sendToPlayChosen, Pages,
          &PageCommands::pmenu1SendtoPlayClick);
  connect(Group, &DesignGroupController::sendToPrintChosen, Pages,
          &PageCommands::pmenu1SendtoPrintClick);
  for (QAction* send : findChildren<QAction*>(QStringLiteral("pmenu1SendtoDesign")))
    connect(send, &QAction::triggered, Pages, &PageCommands::pmenu1SendtoDesignClick);
  for (QAction* send : findChildren<QAction*>(QStringLiteral("pmenu1SendtoPrint")))
    connect(send, &QAction::triggered, Pages, &PageCommands::pmenu1SendtoPrintClick);
  connect(Print, &PrintPageTab::sendToPlayChosen, Pages, &PageCommands::pmenu1SendtoPlayClick);
  connect(Print, &PrintPageTab::sendToDesignChosen, Pages, &PageCommands::pmenu1SendtoDesignClick);
  connect(Print, &PrintPageTab::sendToScaleChosen, Pages, &PageCommands::pmenu3SendtoScaleClick);
  connect(Print, &PrintPageTab::pageEmptied, Pages, [this] {
    Pages->erasePage(PlayTab::Print);
    Bench.markSaved(PlayTab::Print);
  });
  connect(pnlTop, &ToolBarPanel::eraseClicked, Pages, &PageCommands::sbtnEraseClick);
  connect(Menus, &MainMenu::newChosen, Pages, &PageCommands::mnuNewClick);
  connect(Menus, &MainMenu::undoChosen, Pages, &PageCommands::undoClick);
  connect(Menus, &MainMenu::redoChosen, Pages, &PageCommands::redoClick);
  connect(Menus, &MainMenu::smoothChosen, Pages, &PageCommands::smoothClick);
  connect(Menus, &MainMenu::transposeChosen, Pages, &PageCommands::transposeClick);
  connect(Pages, &PageCommands::namingChosen, this, [this](bool sharps) {
    if (sharps != State.Names.sharps()) mnuFlatSharpClick();
  });
  connect(PlayPage, &PlayPageTab::smoothChosen, Pages, &PageCommands::smoothClick);
  connect(PlayPage, &PlayPageTab::transposeChosen, Pages, &PageCommands::transposeClick);
  connect(Print, &PrintPageTab::transposeChosen, Pages, &PageCommands::transposeClick);
  connect(Group, &DesignGroupController::transposeChosen, Pages, &PageCommands::transposeClick);
  Bench.HistoryChanged = [this] { showHistory(); };
}

void MainWindow::routeCommands() {
  connect(Chords, &ChordsTab::playChordChosen, Playback, &PlaybackController::pmenu1PlayChordClick);
  connect(PlayPage, &PlayPageTab::playChordChosen, Playback,
          &PlaybackController::pmenu4PlayChordClick);
  connect(Scales, &ScalesTab::playDiagramChosen, Playback,
          &PlaybackController::pmenu5PlayDiagramClick);
  connect(Scales, &ScalesTab::playEntireChosen, Playback,
          &PlaybackController::pmenu5PlayEntireClick);

  connect(Menus, &MainMenu::exportMidiChosen, Playback, &PlaybackController::exportMidiFile);
  connect(Menus, &MainMenu::exportAudioChosen, Playback, &PlaybackController::exportAudio);
  connect(Menus, &MainMenu::exportMusicXmlChosen, Playback, &PlaybackController::exportMusicXml);
  connect(Menus, &MainMenu::exitChosen, this, &QWidget::close);
  connect(Menus, &MainMenu::keyChosen, Picker, &ToolBarController::mnuCClick);
  connect(Menus, &MainMenu::chordTypeChosen, Picker, &ToolBarController::chooseChordType);
  connect(Menus, &MainMenu::scaleChosen, Picker, &ToolBarController::chooseScale);
  connect(Menus, &MainMenu::midiSetupChosen, this, [this] { Session->midiSetup(); });
  connect(Menus, &MainMenu::tempoChosen, this, &MainWindow::mnuTempoClick);
  connect(Menus, &MainMenu::flatSharpChosen, this, &MainWindow::mnuFlatSharpClick);
  connect(Menus, &MainMenu::flipChosen, this, &MainWindow::menuFlipClick);
  connect(Menus, &MainMenu::easiestFirstChosen, this,
          [this](bool on) { Bench.State.EasiestFirst = on; });
  connect(DesignPage, &ChordDesignTab::suggestClicked, this,
          [this](bool on) { Bench.State.SuggestFingerings = on; });
  connect(Menus, &MainMenu::topicsChosen, this, &MainWindow::mnuTopicsClick);
  connect(Menus, &MainMenu::aboutChosen, this, &MainWindow::mnuAboutClick);

  connect(pnlTop, &ToolBarPanel::flipClicked, this, &MainWindow::sbtnFlipClick);
  new ChordSearchController({State, Guard, *Ask, *DesignPage, *pnlBottom, *pnlTop}, this);
}

PlayTab MainWindow::currentTab() const {
  return static_cast<PlayTab>(PageControl1->currentIndex());
}

void MainWindow::showTab(PlayTab tab) {
  SwitchingTab = true;
  PageControl1->setCurrentIndex(static_cast<int>(tab));
  SwitchingTab = false;
}

void MainWindow::bringTabForward(PlayTab tab) {
  PageControl1->setCurrentIndex(static_cast<int>(tab));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
  // F1 is help everywhere, in dialogs and open menus too, and even while a
  // name is typed: it comes before the window's keyboard commands.
  if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_F1) {
    const int context = helpContextForKey(watched);
    if (context < 0) return QMainWindow::eventFilter(watched, e);
    // An open menu would keep the keyboard and the pointer from the help.
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    Session->showHelp(context);
    return true;
  }
  if (e->type() == QEvent::KeyPress && KeyPreview) {
    auto* widget = qobject_cast<QWidget*>(watched);
    // Only keys meant for this window (its own widgets), once each.
    const auto* key = static_cast<QKeyEvent*>(e);
    // A page picture reached with Tab takes its step keys itself, unless
    // the music is playing (then they step or stop the music).
    const auto* surface = qobject_cast<SurfaceView*>(widget);
    if (surface && surface->takesKey(key->key()) && key->modifiers() == Qt::NoModifier &&
        !Guard.active())
      return QMainWindow::eventFilter(watched, e);
    if (widget && widget->window() == this && widget == QApplication::focusWidget() &&
        isActiveWindow())
      return FormKeyDown(key->key());
  }
  return QMainWindow::eventFilter(watched, e);
}

bool MainWindow::FormKeyDown(int key) {
  if (currentTab() == PlayTab::ChordDesign && DesignPage->fingerKey(key)) return true;
  if (Playback->playbackKey(key)) return true;
  pnlTop->focusStrumSpeed();
  return false;
}

MainWindow::~MainWindow() {
  Bench.HistoryChanged = nullptr;
  qApp->removeEventFilter(this);
  // It watches the tab's controls, which go before the window's own children.
  delete Group;
}

void MainWindow::FormCreate() {
  Session->start();
  Menus->mnuEasiestFirst->setChecked(State.EasiestFirst);
}

bool MainWindow::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) FormActivate();
  return QMainWindow::event(e);
}

void MainWindow::FormActivate() {
  pnlTop->focusStrumSpeed();
}

void MainWindow::closeEvent(QCloseEvent* e) {
  if (Session->closed() || FormClose())
    e->accept();
  else
    e->ignore();
}

bool MainWindow::FormClose() {
  return Session->close();
}

void MainWindow::mnuTempoClick() {
  // The dialog works on a copy; its OK becomes one step of the page's history.
  std::int32_t tempo = State.Play.PlayPageTempo;
  bool accepted = false;
  TempoDialog dialog(tempo, accepted, this);
  dialog.setHelp([this](int context) { Session->showHelp(context); });
  Ask->execDialog(dialog);
  if (accepted) PlayPage->setTempo(tempo);
}

void MainWindow::mnuTopicsClick() {
  Session->showHelp(10);
}

void MainWindow::mnuAboutClick() {
  MidiSession* midi = Session->midi();
  AboutDialog about(midi ? midi->component().GetMaxMidiVersion() : MidiComponent::Version, this);
  Ask->execDialog(about);
}

void MainWindow::buildPages() {
  PageControl1 = new QTabWidget;
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  PageControl1->setFocusPolicy(Qt::NoFocus);

  const struct {
    const char* tab;
    const char* caption;
    const char* scroll;
    const char* surface;
    QSize size;
    int helpContext;
  } pages[] = {
      {"pageChords", "Chords", "scrollChordPage", "imgChordPage", {772, 800}, 210},
      {"pageChordDesign", "Chord Design", "scrollChordDesign", nullptr, {456, 101}, 220},
      {"pagePlayPage", "PlayPage", "scrollPlayPage", "imgPlayPage", {772, 833}, 230},
      {"pagePrint", "Print", "scrollPrintPage", "imgPrintPage", {772, 800}, 240},
      {"pageScales", "Scales", "scrollScales", "imgScales", {776, 800}, 250},
  };
  for (int i = 0; i < 5; ++i) {
    const auto& p = pages[i];
    QScrollArea* scroll = whiteScrollArea(QLatin1String(p.scroll));
    if (i == int(PlayTab::ChordDesign)) {
      DesignPage = new ChordDesignTab;
      scroll->setWidget(DesignPage);
      scroll->setWidgetResizable(true);
      Surfaces[i] = DesignPage->surface();
    } else {
      Surfaces[i] = new SurfaceView(QLatin1String(p.surface), p.size);
      scroll->setWidget(Surfaces[i]);
    }
    scroll->setProperty("tabName", QLatin1String(p.tab));
    scroll->setAccessibleName(QLatin1String(p.caption) + QStringLiteral(" page"));
    if (i != int(PlayTab::ChordDesign))
      Surfaces[i]->setAccessibleName(QLatin1String(p.caption) + QStringLiteral(" diagrams"));
    setHelpContext(scroll, p.helpContext);
    Scrolls[i] = scroll;
    PageControl1->addTab(scroll, QLatin1String(p.caption));
  }
  connect(PageControl1, &QTabWidget::currentChanged, this, &MainWindow::pageChanged);
}

void MainWindow::pageChanged(int index) {
  if (Guard.active() && index != ShownPage) {
    // Tabs do not change while playing or busy.
    QSignalBlocker block(PageControl1);
    PageControl1->setCurrentIndex(ShownPage);
    return;
  }
  ShownPage = index;
  if (Pages) Pages->PageControl1Change(static_cast<PlayTab>(index), !SwitchingTab);
  if (Menus) showHistory();
}

void MainWindow::showHistory() {
  const PageHistory& history = Bench.history(currentTab());
  Menus->showUndoRedo(history.undoLabel(), history.redoLabel());
}

void MainWindow::placePanels() {
  Column->removeWidget(pnlTop);
  Column->removeWidget(PageControl1);
  Column->removeWidget(pnlBottom);
  Column->addWidget(FretboardOnTop ? static_cast<QWidget*>(pnlBottom) : pnlTop);
  Column->addWidget(PageControl1, 1);
  Column->addWidget(FretboardOnTop ? static_cast<QWidget*>(pnlTop) : pnlBottom);
}

void MainWindow::mnuFlatSharpClick() {
  State.Names.toggle();
  Menus->showNaming(State.Names);
  pnlBottom->refreshStringNames();
  Picker->namingChanged();
  // The root and bass of the fingering being designed are names, not pictures.
  const int root = DesignPage->rootPosition(), bass = DesignPage->bassPosition();
  DesignPage->showRootAndBass(root, State.Names.pitchName(root), bass, State.Names.pitchName(bass));
}

void MainWindow::sbtnFlipClick() {
  if (Guard.active()) {
    pnlTop->undoClick(ToolBarPanel::Toggle::Flip);
    return;
  }
  FretboardOnTop = !FretboardOnTop;
  placePanels();
}

void MainWindow::menuFlipClick() {
  if (Guard.active()) return;
  FretboardOnTop = !FretboardOnTop;
  placePanels();
  pnlTop->setOn(ToolBarPanel::Toggle::Flip, FretboardOnTop);
}

void MainWindow::openFiles(const QStringList& paths) {
  Files->openFiles(paths);
}

namespace {

// The local files of a drag that name page files.
QStringList pageFilesOf(const QMimeData* data) {
  QStringList paths;
  if (!data) return paths;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile() && (pageKindOfPath(url.toLocalFile().toStdString()) ||
                              ChordPro::isSheetPath(url.toLocalFile().toStdString())))
      paths << url.toLocalFile();
  return paths;
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* e) {
  if (!Guard.active() && !pageFilesOf(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* e) {
  const QStringList paths = pageFilesOf(e->mimeData());
  if (paths.isEmpty()) return;
  e->acceptProposedAction();
  openFiles(paths);
}

void MainWindow::apply(const BenchUpdate& u) {
  Pages->apply(u);
}

void MainWindow::pageLoaded(PageKind kind, const PageContents& page,
                            const std::optional<TRepeatSet>& companion, const std::string& path) {
  Pages->pageLoaded(kind, page, companion, path);
}

void MainWindow::pageSaved(PageKind kind, const std::string& path) {
  Pages->pageSaved(kind, path);
}

void MainWindow::selectPressed(PlayTab tab) {
  Pages->selectPressed(tab);
}
