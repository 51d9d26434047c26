#include "ui/MainWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

#include "library/MenuTables.h"
#include "library/RootField.h"
#include "play/midi/MidiComponent.h"
#include "play/midi/MidiSession.h"
#include "settings/ProfileFile.h"
#include "settings/Settings.h"
#include "ui/AboutDialog.h"
#include "ui/ChordDesignTab.h"
#include "ui/ChordsTab.h"
#include "ui/FretboardPanel.h"
#include "ui/HelpWindow.h"
#include "ui/MidiMessagePoster.h"
#include "ui/MidiSetupDialog.h"
#include "ui/PageIndex.h"
#include "ui/PlayPageTab.h"
#include "ui/PlaybackController.h"
#include "ui/ScalesTab.h"
#include "ui/SurfaceView.h"
#include "ui/TempoDialog.h"
#include "ui/ToolBarPanel.h"

namespace {

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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
      Ask(prompter ? prompter : OwnPrompter.get()),
      Config(std::make_unique<Settings>()),
      SettingsFile(services.SettingsFile),
      Midi(services.Midi) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Strumbo!"));
  State.ExeDir = exeDir;

  pnlTop = new ToolBarPanel;
  Guard.setButtons(pnlTop->sbtnPlay, pnlTop->sbtnPause);
  pnlBottom = new FretboardPanel(State, Guard);
  buildPages();
  pnlBottom->connectPanels(DesignPage, {[this] { return pnlTop->sbShowArp->isChecked(); },
                                        [this] { return pnlTop->sbtnPlay->isChecked(); },
                                        [this] { return PageControl1->currentIndex(); }});
  Chords = new ChordsTab(State, Guard, *Ask, Surfaces[PageChords], Scrolls[PageChords], pnlTop,
                         pnlBottom, this);
  Scales = new ScalesTab(State, Guard, *Ask, Surfaces[PageScales], Scrolls[PageScales], pnlTop,
                         pnlBottom, this);
  PlayTab = new PlayPageTab(State, Guard, *Ask, Surfaces[PagePlayPage], pnlTop, pnlBottom, this);
  Playback = new PlaybackController(*this, Midi);
  const struct {
    QMenu* menu;
    const char* item;
    std::function<void()> handler;
  } routes[] = {
      {Chords->popmenuChords, "pmenu1SendtoPlay", [this] { pmenu1SendtoPlayClick(); }},
      {Chords->popmenuChords, "pmenu1PlayChord", [this] { Playback->pmenu1PlayChordClick(); }},
      {PlayTab->popmenuPlayPage, "pmenu4PlayChord", [this] { Playback->pmenu4PlayChordClick(); }},
      {Scales->popmenuScales, "pmenu5PlayDiagram", [this] { Playback->pmenu5PlayDiagramClick(); }},
      {Scales->popmenuScales, "pmenu5PlayEntire", [this] { Playback->pmenu5PlayEntireClick(); }},
  };
  for (const auto& route : routes)
    for (QAction* a : route.menu->actions())
      if (a->objectName() == QLatin1String(route.item))
        connect(a, &QAction::triggered, this, route.handler);

  auto* central = new QWidget;
  Column = new QVBoxLayout(central);
  Column->setContentsMargins(0, 0, 0, 0);
  Column->setSpacing(0);
  placePanels();
  setCentralWidget(central);
  buildMenus();

  connect(pnlTop->btnShowChords, &QPushButton::clicked, this, &MainWindow::btnShowChordsClick);
  connect(pnlTop->editChordRoot, &QLineEdit::editingFinished, this, &MainWindow::editChordRootExit);
  connect(pnlTop->sbtnFlip, &QToolButton::clicked, this, &MainWindow::sbtnFlipClick);
  connect(pnlTop->sbtnBassNote, &QToolButton::clicked, this, &MainWindow::sbtnBassNoteClick);
  connect(pnlTop->sbtnLeftHanded, &QToolButton::clicked, this, &MainWindow::sbtnLeftHandedClick);

  // Key preview: the window sees keys before its controls, except while a
  // name is typed into the tuning name or chord name field.
  qApp->installEventFilter(this);
  connect(pnlBottom, &FretboardPanel::nameFieldEntered, this, &MainWindow::editTuningNameEnter);
  connect(pnlBottom, &FretboardPanel::nameFieldLeft, this, &MainWindow::editTuningNameExit);
  FormCreate();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::KeyPress && KeyPreview) {
    auto* widget = qobject_cast<QWidget*>(watched);
    // Only keys meant for this window (its own widgets), once each.
    if (widget && widget->window() == this && widget == QApplication::focusWidget() &&
        isActiveWindow())
      return FormKeyDown(static_cast<QKeyEvent*>(e)->key());
  }
  return QMainWindow::eventFilter(watched, e);
}

bool MainWindow::FormKeyDown(int key) {
  if (PageControl1->currentIndex() == PageChordDesign) {
    if (key >= Qt::Key_1 && key <= Qt::Key_4) {
      DesignPage->selectFinger(key - Qt::Key_0);
      return true;
    }
    if (key == Qt::Key_P) {
      DesignPage->selectFinger(6);
      return true;
    }
  }
  if (Playback->playbackKey(key)) return true;
  pnlTop->sbStrumSpeed->setFocus();
  return false;
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  // The clock thread posts to the poster, which dies with this window.
  if (Midi && !Closed) Midi->close();
}

void MainWindow::FormCreate() {
  State.Key = -1;
  State.ChordFamily = 0;
  if (SettingsFile) {
    Config->load(*SettingsFile, State.ExeDir);
  } else {
    for (std::size_t k = 0; k < Settings::DirectoryKeys.size(); ++k)
      Config->PageDirectory[k] = State.ExeDir + Settings::DirectoryKeys[k];
  }
  pnlTop->sbStrumSpeed->setValue(Config->StrumSpeed);
  DesignPage->setUserChordNames(Config->UserChordNames);
  State.Play.PlayPageTempo = 600000;
  State.EditChord = startFingering();
  State.Names.setSharps(false);
  State.CurrentTuning = StandardTuning;
  pnlBottom->refreshStringNames();

  if (Midi && Midi->component().GetNumOutDevices() > 0) {
    Poster = new MidiMessagePoster(
        Midi->component(), [this](const MidiMessage& m) { handleMidiMessage(m); }, this);
    // The players' program changes, so the synthesiser has them in before a note.
    Midi->open(Poster, Config->MidiOutDevice, Config->MidiInDevice,
               {{Config->GuitarChannel, Config->GuitarPatch},
                {Config->BassChannel, Config->BassPatch},
                {Config->ClickChannel, 0}});
  }

  State.BassNoteOption = Config->BassNoteOption;
  pnlTop->sbtnBassNote->setChecked(Config->BassNoteOption);
  DesignPage->showRootAndBass(0, State.Names.pitchName(0), 0, State.Names.pitchName(0));
  Help = new HelpWindow(QString::fromStdString(State.ExeDir + "help/index.html"), this);

  // The Chords tab is active at start, where the tuning cannot be changed.
  PageControl1->setCurrentIndex(PageChords);
  pnlBottom->setTuningEnabled(false);
  placeWindow();
}

void MainWindow::placeWindow() {
  move(0, 0);
  const QScreen* screen = QApplication::primaryScreen();
  if (screen && maximisedOn(screen->size()))
    setWindowState(windowState() | Qt::WindowMaximized);
  else
    resize(808, 608);
}

bool MainWindow::midiOpen() const {
  return Midi && Midi->out() != 0;
}

void MainWindow::handleMidiMessage(const MidiMessage& message) {
  Playback->handleMessage(message);
}

bool MainWindow::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) FormActivate();
  return QMainWindow::event(e);
}

void MainWindow::FormActivate() {
  pnlTop->sbStrumSpeed->setFocus();
}

void MainWindow::closeEvent(QCloseEvent* e) {
  if (Closed || FormClose())
    e->accept();
  else
    e->ignore();
}

bool MainWindow::FormClose() {
  if (Guard.active()) return false;
  if (State.Play.PlayPageChanged &&
      !Ask->ask(this, QStringLiteral("Do you want to close without saving changes to PlayPage?"),
                false))
    return false;
  if (State.DesignGroupChanged &&
      !Ask->ask(this,
                QStringLiteral("Do you want to close without saving changes to the Design Group?"),
                false))
    return false;
  if (Midi) Midi->close();
  Closed = true;
  Config->StrumSpeed = pnlTop->sbStrumSpeed->value();
  Config->BassNoteOption = pnlTop->sbtnBassNote->isChecked();
  if (SettingsFile) {
    try {
      Config->saveShutdown(*SettingsFile);
    } catch (const ProfileWriteError& error) {
      // The window still closes: only the strum speed, Bass Note and folders
      // are lost, and keeping the user in a program they asked to leave helps nobody.
      Ask->message(this, QString::fromStdString(error.what()));
    }
  }
  if (Help) Help->close();
  return true;
}

void MainWindow::mnuMidiSetupClick() {
  if (!Midi || !SettingsFile) {
    Ask->message(this, QStringLiteral("MIDI is not available."));
    return;
  }
  MidiSetupDialog dialog(*Config, *SettingsFile, *Midi, Poster, this);
  dialog.showError = [this](const QString& text) { Ask->message(this, text); };
  Ask->execDialog(dialog);
}

void MainWindow::mnuTempoClick() {
  TempoDialog dialog(State.Play.PlayPageTempo, State.Play.PlayPageChanged, this);
  Ask->execDialog(dialog);
}

void MainWindow::mnuTopicsClick() {
  if (!Help->showContext(10))
    Ask->message(this, QStringLiteral("The help pages are missing from the program folder."));
}

void MainWindow::mnuAboutClick() {
  AboutDialog about(Midi ? Midi->component().GetMaxMidiVersion() : MidiComponent::Version, this);
  Ask->execDialog(about);
}

SurfaceView* MainWindow::surface(int page) const {
  return page >= 0 && page < 5 ? Surfaces[page] : nullptr;
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
  } pages[] = {
      {"pageChords", "Chords", "scrollChordPage", "imgChordPage", {772, 800}},
      {"pageChordDesign", "Chord Design", "scrollChordDesign", nullptr, {456, 101}},
      {"pagePlayPage", "PlayPage", "scrollPlayPage", "imgPlayPage", {772, 833}},
      {"pagePrint", "Print", "scrollPrintPage", "imgPrintPage", {772, 800}},
      {"pageScales", "Scales", "scrollScales", "imgScales", {776, 800}},
  };
  for (int i = 0; i < 5; ++i) {
    const auto& p = pages[i];
    QScrollArea* scroll = whiteScrollArea(QLatin1String(p.scroll));
    if (i == PageChordDesign) {
      DesignPage = new ChordDesignTab;
      scroll->setWidget(DesignPage);
      scroll->setWidgetResizable(true);
      Surfaces[i] = DesignPage->imgChordDesign;
    } else {
      Surfaces[i] = new SurfaceView(QLatin1String(p.surface), p.size);
      scroll->setWidget(Surfaces[i]);
    }
    scroll->setProperty("tabName", QLatin1String(p.tab));
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
  pnlBottom->setTuningEnabled(index == PageChordDesign || index == PageScales);
}

void MainWindow::buildMenus() {
  QMenuBar* bar = menuBar();

  QMenu* file = bar->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("menuFile"));
  QAction* mnuNew = file->addAction(QStringLiteral("&New"));
  mnuNew->setObjectName(QStringLiteral("mnuNew"));
  // Writing the play page as it plays, to a MIDI file or to audio.
  mnuExportMidi = file->addAction(QStringLiteral("Export MIDI File..."));
  mnuExportMidi->setObjectName(QStringLiteral("mnuExportMidi"));
  connect(mnuExportMidi, &QAction::triggered, this, [this] { Playback->exportMidiFile(); });
  mnuExportAudio = file->addAction(QStringLiteral("Export Audio..."));
  mnuExportAudio->setObjectName(QStringLiteral("mnuExportAudio"));
  connect(mnuExportAudio, &QAction::triggered, this, [this] { Playback->exportAudio(); });
  connect(file, &QMenu::aboutToShow, this, [this] {
    const bool onPlayPage = PageControl1->currentIndex() == PagePlayPage;
    mnuExportMidi->setVisible(onPlayPage);
    mnuExportAudio->setVisible(onPlayPage);
  });
  file->addSeparator();
  QAction* mnuExit = file->addAction(QStringLiteral("E&xit"));
  mnuExit->setObjectName(QStringLiteral("mnuExit"));
  connect(mnuExit, &QAction::triggered, this, &QWidget::close);

  menuKey = bar->addMenu(QStringLiteral("&Key"));
  menuKey->setObjectName(QStringLiteral("menuKey"));
  for (int k = 0; k < 12; ++k) {
    QAction* a = menuKey->addAction(qs(FlatPitchNames[k]));
    a->setObjectName(QStringLiteral("mnuKey%1").arg(k));
    connect(a, &QAction::triggered, this, [this, k] { mnuCClick(k); });
  }

  for (int family = 0; family < 3; ++family) {
    const ChordFamilyMenu& f = ChordFamilies[family];
    QMenu* menu = bar->addMenu(qs(f.title));
    menu->setObjectName(QStringLiteral("menuFamily%1").arg(family + 1));
    QMenu* more = menu->addMenu(QStringLiteral("More Chords..."));
    for (int t = 0; t < f.typeCount; ++t) {
      QMenu* into = t < f.mainCount ? menu : more;
      QAction* a = into->addAction(qs(f.types[t]));
      connect(a, &QAction::triggered, this, [this, family, t] { chooseChordType(family + 1, t); });
    }
  }

  QMenu* scale = bar->addMenu(QStringLiteral("&Scale"));
  scale->setObjectName(QStringLiteral("menuScale"));
  QMenu* moreScales = scale->addMenu(QStringLiteral("More Scales..."));
  for (int k = 0; k < static_cast<int>(ScaleMenuNames.size()); ++k) {
    QAction* a = (k < MainScaleCount ? scale : moreScales)->addAction(qs(ScaleMenuNames[k]));
    connect(a, &QAction::triggered, this, [this, k] { chooseScale(k); });
  }

  QMenu* options = bar->addMenu(QStringLiteral("&Options"));
  options->setObjectName(QStringLiteral("menuOptions"));
  QAction* mnuMidiSetup = options->addAction(QStringLiteral("MIDI Setup..."));
  mnuMidiSetup->setObjectName(QStringLiteral("mnuMidiSetup"));
  connect(mnuMidiSetup, &QAction::triggered, this, &MainWindow::mnuMidiSetupClick);
  QAction* mnuTempo = options->addAction(QStringLiteral("Tempo..."));
  mnuTempo->setObjectName(QStringLiteral("mnuTempo"));
  connect(mnuTempo, &QAction::triggered, this, &MainWindow::mnuTempoClick);
  mnuFlatSharp = options->addAction(QStringLiteral("Flats"));
  mnuFlatSharp->setObjectName(QStringLiteral("mnuFlatSharp"));
  mnuFlatSharp->setCheckable(true);
  mnuFlatSharp->setChecked(true);
  connect(mnuFlatSharp, &QAction::triggered, this, [this] {
    // The tick mark stays as it was; only the caption tells the mode.
    mnuFlatSharp->setChecked(true);
    mnuFlatSharpClick();
  });
  menuFlip = options->addAction(QStringLiteral("Flip"));
  menuFlip->setObjectName(QStringLiteral("menuFlip"));
  connect(menuFlip, &QAction::triggered, this, &MainWindow::menuFlipClick);

  QMenu* window = bar->addMenu(QStringLiteral("&Window"));
  window->menuAction()->setVisible(false);
  window->setEnabled(false);

  QMenu* help = bar->addMenu(QStringLiteral("&Help"));
  help->setObjectName(QStringLiteral("menuHelp"));
  QAction* mnuTopics = help->addAction(QStringLiteral("&Help Topics"));
  mnuTopics->setObjectName(QStringLiteral("mnuTopics"));
  connect(mnuTopics, &QAction::triggered, this, &MainWindow::mnuTopicsClick);
  help->addSeparator();
  QAction* mnuAbout = help->addAction(QStringLiteral("&About..."));
  mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
  connect(mnuAbout, &QAction::triggered, this, &MainWindow::mnuAboutClick);
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
  const bool sharps = State.Names.toggle();
  mnuFlatSharp->setText(sharps ? QStringLiteral("Sharps") : QStringLiteral("Flats"));
  const QList<QAction*> keys = menuKey->actions();
  for (int k = 0; k < 12 && k < keys.size(); ++k) keys[k]->setText(qs(State.Names.pitchName(k)));
  pnlBottom->refreshStringNames();
  if (State.Key >= 0 && State.Key < 12 && !pnlTop->editChordRoot->text().isEmpty())
    pnlTop->editChordRoot->setText(qs(State.Names.pitchName(State.Key)));
}

void MainWindow::mnuCClick(int key) {
  State.Key = key;
  pnlTop->editChordRoot->setText(menuKey->actions().value(key)->text());
}

void MainWindow::chooseChordType(int family, int type) {
  State.ChordFamily = static_cast<std::uint8_t>(family);
  State.ChordType = type;
  pnlTop->editChordName->setText(qs(ChordFamilies[family - 1].types[type]));
  pnlTop->btnShowChords->setText(QStringLiteral("Show Chords"));
  pnlTop->Label4->setText(QStringLiteral("Chord Name"));
}

void MainWindow::chooseScale(int index) {
  State.ScaleChoice = index;
  State.ChordFamily = 0;
  pnlTop->editChordName->setText(qs(ScaleMenuNames[index]));
  pnlTop->editChordName->setCursorPosition(0);
  pnlTop->btnShowChords->setText(QStringLiteral("Show Scale"));
  pnlTop->Label4->setText(QStringLiteral("Scale Name"));
}

void MainWindow::btnShowChordsClick() {
  pnlTop->sbStrumSpeed->setFocus();
  if (pnlTop->editChordRoot->text().isEmpty() || pnlTop->editChordName->text().isEmpty() ||
      Guard.active())
    return;
  if (pnlTop->btnShowChords->text() == QStringLiteral("Show Scale")) {
    PageControl1->setCurrentIndex(PageScales);
    Scales->showScale();
    return;
  }
  PageControl1->setCurrentIndex(PageChords);
  Chords->showChords();
}

void MainWindow::editChordRootExit() {
  QLineEdit* field = pnlTop->editChordRoot;
  field->setText(qs(tidyRootText(field->text().toStdString())));
}

void MainWindow::pmenu1SendtoPlayClick() {
  const int tab = PageControl1->currentIndex();
  if (tab == PageChords) {
    const QPoint cell = Chords->currentCell();
    if (cell.x() < 0 || cell.x() >= ChordPageColumns || cell.y() < 0 || cell.y() >= ChordPageRows)
      return;
    const TChordDiagram& d = State.ChordPage[cell.x()][cell.y()];
    if (isEmpty(d)) return;
    PlayTab->takeInHand(d);
  } else {
    return;  // the other pages send with their own commands
  }
  PageControl1->setCurrentIndex(PagePlayPage);
  pnlBottom->setTuningEnabled(false);
  pnlBottom->ShowDiagram(State.SelectedPlayChord);
}

void MainWindow::undoToggle(QAbstractButton* button) {
  QSignalBlocker block(button);
  button->setChecked(!button->isChecked());
}

void MainWindow::sbtnFlipClick() {
  if (Guard.active()) {
    undoToggle(pnlTop->sbtnFlip);
    return;
  }
  FretboardOnTop = !FretboardOnTop;
  placePanels();
}

void MainWindow::menuFlipClick() {
  if (Guard.active()) return;
  FretboardOnTop = !FretboardOnTop;
  placePanels();
  pnlTop->sbtnFlip->setChecked(FretboardOnTop);
}

void MainWindow::sbtnBassNoteClick() {
  if (Guard.active()) {
    undoToggle(pnlTop->sbtnBassNote);
    return;
  }
  State.BassNoteOption = pnlTop->sbtnBassNote->isChecked();
}

void MainWindow::sbtnLeftHandedClick() {
  if (Guard.active()) undoToggle(pnlTop->sbtnLeftHanded);
}
