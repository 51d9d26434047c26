#include "ui/MainMenu.h"

#include <QAction>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "library/MenuTables.h"
#include "music/NameTables.h"
#include "ui/HelpContext.h"
#include "ui/RecordText.h"

namespace {

QAction* namedAction(QMenu* menu, const QString& caption, const char* name) {
  QAction* a = menu->addAction(caption);
  a->setObjectName(QLatin1String(name));
  return a;
}

}  // namespace

MainMenu::MainMenu(QMenuBar* bar, std::function<PlayTab()> activeTab, QObject* parent)
    : QObject(parent), Bar(bar) {
  QMenu* file = bar->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("menuFile"));
  setHelpContext(file, 260);
  QAction* mnuNew = namedAction(file, QStringLiteral("&New"), "mnuNew");
  connect(mnuNew, &QAction::triggered, this, &MainMenu::newChosen);
  // Writing the play page as it plays, to a MIDI file or to audio.
  QAction* mnuExportMidi =
      namedAction(file, QStringLiteral("Export MIDI File..."), "mnuExportMidi");
  connect(mnuExportMidi, &QAction::triggered, this, &MainMenu::exportMidiChosen);
  QAction* mnuExportAudio = namedAction(file, QStringLiteral("Export Audio..."), "mnuExportAudio");
  connect(mnuExportAudio, &QAction::triggered, this, &MainMenu::exportAudioChosen);
  // The play page as a lead sheet for notation programs.
  QAction* mnuExportMusicXml =
      namedAction(file, QStringLiteral("Export MusicXML..."), "mnuExportMusicXml");
  connect(mnuExportMusicXml, &QAction::triggered, this, &MainMenu::exportMusicXmlChosen);
  connect(file, &QMenu::aboutToShow, this, [mnuExportMusicXml, activeTab] {
    mnuExportMusicXml->setVisible(activeTab() == PlayTab::PlayPage);
  });
  connect(file, &QMenu::aboutToShow, this, [mnuNew, mnuExportMidi, mnuExportAudio, activeTab] {
    // New names the page it empties.
    static const char* const pages[] = {"&New Chord Page", "&New Design Page", "&New Play Page",
                                        "&New Print Page", "&New Scale Page"};
    mnuNew->setText(QLatin1String(pages[static_cast<int>(activeTab())]));
    const bool onPlayPage = activeTab() == PlayTab::PlayPage;
    mnuExportMidi->setVisible(onPlayPage);
    mnuExportAudio->setVisible(onPlayPage);
  });
  // Every page that prints can be written as a PDF sheet; the Chord Design
  // tab prints nothing.
  QAction* mnuExportPdf = namedAction(file, QStringLiteral("Export PDF..."), "mnuExportPdf");
  connect(mnuExportPdf, &QAction::triggered, this, &MainMenu::exportPdfChosen);
  connect(file, &QMenu::aboutToShow, this, [mnuExportPdf, activeTab] {
    mnuExportPdf->setVisible(activeTab() != PlayTab::ChordDesign);
  });
  // The chords of a page, for chord-sheet programs; the Scales tab has none.
  QAction* mnuExportChordPro =
      namedAction(file, QStringLiteral("Export ChordPro..."), "mnuExportChordPro");
  connect(mnuExportChordPro, &QAction::triggered, this, &MainMenu::exportChordProChosen);
  connect(file, &QMenu::aboutToShow, this, [mnuExportChordPro, activeTab] {
    mnuExportChordPro->setVisible(activeTab() != PlayTab::Scales);
  });
  // The files last opened or saved on the active tab's kind, newest first.
  QAction* recentLine = file->addSeparator();
  recentLine->setVisible(false);
  QList<QAction*> recent;
  for (int i = 1; i <= 5; ++i) {
    const QByteArray name = QStringLiteral("mnuRecent%1").arg(i).toLatin1();
    QAction* a = namedAction(file, QString(), name.constData());
    a->setVisible(false);
    connect(a, &QAction::triggered, this,
            [this, a] { emit recentFileChosen(a->data().toString()); });
    recent << a;
  }
  connect(file, &QMenu::aboutToShow, this, [this, recentLine, recent] {
    const QStringList paths = RecentList ? RecentList() : QStringList();
    for (int i = 0; i < recent.size(); ++i) {
      const bool shown = i < paths.size();
      recent[i]->setVisible(shown);
      if (!shown) continue;
      recent[i]->setData(paths[i]);
      QString name = QFileInfo(paths[i]).fileName();
      recent[i]->setText(QStringLiteral("&%1 ").arg(i + 1) +
                         name.replace(QLatin1Char('&'), QStringLiteral("&&")));
    }
    recentLine->setVisible(!paths.isEmpty());
  });
  file->addSeparator();
  connect(namedAction(file, QStringLiteral("E&xit"), "mnuExit"), &QAction::triggered, this,
          &MainMenu::exitChosen);

  // Undo and Redo act on the page of the active tab; each page keeps its
  // own history.
  QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
  edit->setObjectName(QStringLiteral("menuEdit"));
  setHelpContext(edit, 265);
  mnuUndo = namedAction(edit, QStringLiteral("&Undo"), "mnuUndo");
  mnuUndo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
  connect(mnuUndo, &QAction::triggered, this, &MainMenu::undoChosen);
  mnuRedo = namedAction(edit, QStringLiteral("&Redo"), "mnuRedo");
  mnuRedo->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  connect(mnuRedo, &QAction::triggered, this, &MainMenu::redoChosen);
  showUndoRedo({}, {});
  edit->addSeparator();
  connect(namedAction(edit, QStringLiteral("Smooth &Fingerings..."), "mnuSmooth"),
          &QAction::triggered, this, &MainMenu::smoothChosen);
  connect(namedAction(edit, QStringLiteral("&Transpose..."), "mnuTranspose"), &QAction::triggered,
          this, &MainMenu::transposeChosen);

  menuKey = bar->addMenu(QStringLiteral("&Key"));
  menuKey->setObjectName(QStringLiteral("menuKey"));
  setHelpContext(menuKey, 270);
  for (int k = 0; k < 12; ++k) {
    QAction* a = menuKey->addAction(qs(FlatPitchNames[k]));
    a->setObjectName(QStringLiteral("mnuKey%1").arg(k));
    connect(a, &QAction::triggered, this, [this, k] { emit keyChosen(k); });
  }

  for (int family = 0; family < 3; ++family) {
    const ChordFamilyMenu& f = ChordFamilies[family];
    QMenu* menu = bar->addMenu(qs(f.title));
    menu->setObjectName(QStringLiteral("menuFamily%1").arg(family + 1));
    // Major, Minor and Dominant have sections 280, 290 and 300.
    setHelpContext(menu, 280 + 10 * family);
    QMenu* more = menu->addMenu(QStringLiteral("More Chords..."));
    for (int t = 0; t < f.typeCount; ++t) {
      QMenu* into = t < f.mainCount ? menu : more;
      QAction* a = into->addAction(qs(f.types[t]));
      connect(a, &QAction::triggered, this,
              [this, family, t] { emit chordTypeChosen(family + 1, t); });
    }
  }

  QMenu* scale = bar->addMenu(QStringLiteral("&Scale"));
  scale->setObjectName(QStringLiteral("menuScale"));
  setHelpContext(scale, 310);
  QMenu* moreScales = scale->addMenu(QStringLiteral("More Scales..."));
  for (int k = 0; k < static_cast<int>(ScaleMenuNames.size()); ++k) {
    QAction* a = (k < MainScaleCount ? scale : moreScales)->addAction(qs(ScaleMenuNames[k]));
    connect(a, &QAction::triggered, this, [this, k] { emit scaleChosen(k); });
  }

  QMenu* options = bar->addMenu(QStringLiteral("&Options"));
  options->setObjectName(QStringLiteral("menuOptions"));
  setHelpContext(options, 320);
  connect(namedAction(options, QStringLiteral("MIDI Setup..."), "mnuMidiSetup"),
          &QAction::triggered, this, &MainMenu::midiSetupChosen);
  connect(namedAction(options, QStringLiteral("Tempo..."), "mnuTempo"), &QAction::triggered, this,
          &MainMenu::tempoChosen);
  mnuFlatSharp = namedAction(options, QStringLiteral("Flats"), "mnuFlatSharp");
  mnuFlatSharp->setCheckable(true);
  mnuFlatSharp->setChecked(true);
  connect(mnuFlatSharp, &QAction::triggered, this, [this] {
    // The tick mark stays as it was; only the caption tells the mode.
    mnuFlatSharp->setChecked(true);
    emit flatSharpChosen();
  });
  connect(namedAction(options, QStringLiteral("Flip"), "menuFlip"), &QAction::triggered, this,
          &MainMenu::flipChosen);
  mnuEasiestFirst = namedAction(options, QStringLiteral("Easiest First"), "mnuEasiestFirst");
  mnuEasiestFirst->setCheckable(true);
  connect(mnuEasiestFirst, &QAction::toggled, this, &MainMenu::easiestFirstChosen);

  QMenu* window = bar->addMenu(QStringLiteral("&Window"));
  setHelpContext(window, 330);
  window->menuAction()->setVisible(false);
  window->setEnabled(false);

  QMenu* help = bar->addMenu(QStringLiteral("&Help"));
  help->setObjectName(QStringLiteral("menuHelp"));
  setHelpContext(help, 340);
  connect(namedAction(help, QStringLiteral("&Help Topics"), "mnuTopics"), &QAction::triggered, this,
          &MainMenu::topicsChosen);
  help->addSeparator();
  connect(namedAction(help, QStringLiteral("&About..."), "mnuAbout"), &QAction::triggered, this,
          &MainMenu::aboutChosen);
}

void MainMenu::showNaming(const NameTables& names) {
  mnuFlatSharp->setText(names.sharps() ? QStringLiteral("Sharps") : QStringLiteral("Flats"));
  const QList<QAction*> keys = menuKey->actions();
  for (int k = 0; k < 12 && k < keys.size(); ++k) keys[k]->setText(qs(names.pitchName(k)));
}

void MainMenu::showUndoRedo(std::string_view undoLabel, std::string_view redoLabel) {
  mnuUndo->setText(QStringLiteral("&Undo ") + qs(undoLabel));
  mnuUndo->setEnabled(!undoLabel.empty());
  mnuRedo->setText(QStringLiteral("&Redo ") + qs(redoLabel));
  mnuRedo->setEnabled(!redoLabel.empty());
  if (undoLabel.empty()) mnuUndo->setText(QStringLiteral("&Undo"));
  if (redoLabel.empty()) mnuRedo->setText(QStringLiteral("&Redo"));
}

void MainMenu::setMenusEnabled(bool enabled) {
  for (QAction* menu : Bar->actions())
    if (menu->isVisible()) menu->setEnabled(enabled);
}
