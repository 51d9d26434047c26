#include "ui/PlaybackController.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMenuBar>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>

#include "pages/render/Bitmaps.h"
#include "pages/render/FretboardPainter.h"
#include "play/midi/MidiMessage.h"
#include "play/output/PageExport.h"
#include "play/output/SessionTransport.h"
#include "settings/Settings.h"
#include "ui/ChordsTab.h"
#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"
#include "ui/PageIndex.h"
#include "ui/PlayPageTab.h"
#include "ui/ScalesTab.h"
#include "ui/SurfaceView.h"
#include "ui/ToolBarPanel.h"

namespace {

// What the players write to when there is no MIDI at all: nothing is taken.
class NoMidi : public MidiSink, public MidiTransport {
 public:
  bool put(const MidiEvent&) override { return false; }
  bool hasOutput() const override { return false; }
  void SetTempo(std::int32_t) override {}
  void StartSync() override {}
  void PauseSync() override {}
  void ReStartSync() override {}
  void StopSync() override {}
  void FlushMidiOut() override {}
};

// The busy pointer for the length of a stop or an end of playback, taken
// down on every way out.
class BusyPointer {
 public:
  BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyPointer() { QApplication::restoreOverrideCursor(); }
};

void drawPlayImage(QImage& surface, PagePoint at, const char* name) {
  QPainter p(&surface);
  p.drawImage(at.X, at.Y, Bitmaps::playImage(name));
}

}  // namespace

PlaybackController::PlaybackController(MainWindow& window, MidiSession* session)
    : QObject(&window), Window(window) {
  if (session) {
    Session = std::make_unique<SessionTransport>(*session);
    Engine = std::make_unique<PlaybackEngine>(*Session, *Session);
  } else {
    auto none = std::make_unique<NoMidi>();
    Engine = std::make_unique<PlaybackEngine>(*none, *none);
    NoOutput = std::move(none);
  }
  ToolBarPanel* bar = Window.toolBar();
  connect(bar->sbtnPlay, &QToolButton::clicked, this, &PlaybackController::sbtnPlayClick);
  connect(bar->sbtnPause, &QToolButton::clicked, this, &PlaybackController::sbtnPauseClick);
  connect(bar->sbtnStop, &QToolButton::clicked, this, &PlaybackController::sbtnStopClick);
  connect(bar->sbtnStep, &QToolButton::clicked, this, &PlaybackController::sbtnStepClick);
  connect(bar->sbtnLoop, &QToolButton::clicked, this, &PlaybackController::sbtnLoopClick);
  // Click may be switched while the page plays: the engine rewrites what is queued.
  connect(bar->sbtnClick, &QToolButton::toggled, this, [this] {
    syncOptions();
    Engine->OptionsChanged();
  });
}

PlaybackController::~PlaybackController() = default;

PlayTab PlaybackController::activeTab() const {
  return static_cast<PlayTab>(Window.pageControl()->currentIndex());
}

void PlaybackController::syncOptions() {
  const Settings& s = Window.settings();
  PlayerSettings& p = Engine->Settings;
  p.GuitarChannel = s.GuitarChannel;
  p.BassChannel = s.BassChannel;
  p.ClickChannel = s.ClickChannel;
  p.GuitarPatch = s.GuitarPatch;
  p.BassPatch = s.BassPatch;
  p.GuitarVolume = s.GuitarVolume;
  p.BassVolume = s.BassVolume;
  p.ClickVolume = s.ClickVolume;
  p.ClickNote = s.ClickNote;
  ToolBarPanel* bar = Window.toolBar();
  PlayOptions& o = Engine->Options;
  o.CountOff = bar->sbtnCount->isChecked();
  o.Click = bar->sbtnClick->isChecked();
  o.Loop = bar->sbtnLoop->isChecked();
  o.BassNote = bar->sbtnBassNote->isChecked();
  o.StrumSpeed = bar->sbStrumSpeed->value();
  Engine->StepMode = bar->sbtnStep->isChecked();
}

void PlaybackController::setButton(QAbstractButton* button, bool down) {
  QSignalBlocker block(button);
  button->setChecked(down);
}

void PlaybackController::apply(const PlayerUpdate& u) {
  ToolBarPanel* bar = Window.toolBar();
  setButton(bar->sbtnPlay, u.PlayDown);
  setButton(bar->sbtnPause, u.PauseDown);
  // The hidden Window menu stays disabled whatever plays.
  for (QAction* menu : Window.menuBar()->actions())
    if (menu->isVisible()) menu->setEnabled(u.MenuEnabled);

  SurfaceView* page = Window.surface(PagePlayPage);
  QImage& picture = page->image();
  if (u.RestoreStepBackground && !StepBackground.isNull()) {
    QPainter p(&picture);
    p.drawImage(u.RestoreStepBackground->X, u.RestoreStepBackground->Y, StepBackground);
  }
  if (u.BlackSlash) drawPlayImage(picture, *u.BlackSlash, "BLAKSLAS");
  if (u.RedSlash) drawPlayImage(picture, *u.RedSlash, "REDSLASH");
  if (u.StepArrow) {
    StepBackground = picture.copy(u.StepArrow->X, u.StepArrow->Y, 28, 33);
    drawPlayImage(picture, *u.StepArrow, "STEPARRW");
  }
  if (u.ScrollY) Window.scroll(PagePlayPage)->verticalScrollBar()->setValue(*u.ScrollY);
  page->refresh();

  FretboardPanel* fretboard = Window.fretboard();
  if (u.ClearFretboard) fretboard->ClearFretboard();
  if (u.RestoreFretboard) fretboard->restoreCleanPicture();
  if (u.ShowScale) fretboard->ShowScaleOnFretboard(Window.state().CurrentScale);
  if (u.Finger) showFingerMark(*u.Finger);
}

void PlaybackController::showFingerMark(const FingerMark& m) {
  FretboardPanel* fretboard = Window.fretboard();
  if (m.Clear)
    fretboard->restoreFingerMark(m.String, m.Fret, m.RefillFromClean);
  else
    fretboard->showFingerMark(m.String, m.Fret, m.GlyphX);
}

void PlaybackController::sbtnPlayClick() {
  const QCursor* busy = QApplication::overrideCursor();
  if (busy && busy->shape() == Qt::WaitCursor) {
    setButton(Window.toolBar()->sbtnPlay, Engine->playDown());
    return;
  }
  syncOptions();
  const int position = Window.scalesPage()->selectedCell().x();
  apply(Engine->sbtnPlayClick(Window.state().playSources(), activeTab(),
                              position < 0 ? 0 : position, Window.state().Play.PlayPageTempo));
}

void PlaybackController::sbtnPauseClick() {
  apply(Engine->Pause(Window.toolBar()->sbtnPause->isChecked(), activeTab()));
}

void PlaybackController::sbtnStopClick() {
  if (!Engine->playDown()) {
    apply(Engine->state());
    return;
  }
  BusyPointer busy;
  apply(Engine->Stop(activeTab()));
}

void PlaybackController::sbtnStepClick() {
  ToolBarPanel* bar = Window.toolBar();
  if (Window.guard().active()) {
    setButton(bar->sbtnStep, !bar->sbtnStep->isChecked());
    return;
  }
  Engine->StepMode = bar->sbtnStep->isChecked();
}

void PlaybackController::sbtnLoopClick() {
  ToolBarPanel* bar = Window.toolBar();
  if (Window.guard().active()) {
    setButton(bar->sbtnLoop, !bar->sbtnLoop->isChecked());
    return;
  }
  Engine->Options.Loop = bar->sbtnLoop->isChecked();
  Window.playPage()->DrawRepeatMarks();
}

void PlaybackController::pmenu1PlayChordClick() {
  ChordsTab* chords = Window.chordsPage();
  const QPoint cell = chords->currentCell();
  if (cell != chords->framedCell()) chords->selectCell(cell.x(), cell.y());
  syncOptions();
  apply(Engine->PlayChord(Window.state().SelectedChord, activeTab()));
}

void PlaybackController::pmenu4PlayChordClick() {
  const AppState& st = Window.state();
  const int c = st.Play.PlaySelColumn, r = st.Play.PlaySelRow;
  if (c < 0 || c >= PlayPageColumns || r < 0 || r >= PlayPageRows) return;
  syncOptions();
  apply(Engine->PlayPageChord(st.PlayPage[c][r]));
}

void PlaybackController::pmenu5PlayDiagramClick() {
  ScalesTab* scales = Window.scalesPage();
  if (scales->pressedCell() != scales->selectedCell()) scales->selectPressedCell();
  syncOptions();
  apply(Engine->PlayScale(Window.state().CurrentScale, scales->selectedCell().x(), false));
}

void PlaybackController::pmenu5PlayEntireClick() {
  syncOptions();
  apply(Engine->PlayScale(Window.state().CurrentScale, 0, true));
}

bool PlaybackController::playbackKey(int key) {
  PlaybackEngine::Key k = PlaybackEngine::Key::Other;
  if (key == Qt::Key_Space) k = PlaybackEngine::Key::Space;
  if (key == Qt::Key_Right) k = PlaybackEngine::Key::Right;
  if (key == Qt::Key_Left) k = PlaybackEngine::Key::Left;
  if (k == PlaybackEngine::Key::Other) return false;
  syncOptions();
  switch (Engine->keyAction(k, activeTab())) {
    case PlaybackEngine::KeyAction::Play:
      sbtnPlayClick();
      return true;
    case PlaybackEngine::KeyAction::Stop:
      sbtnStopClick();
      return true;
    case PlaybackEngine::KeyAction::StepForward:
      apply(Engine->StepKey(true, activeTab()));
      return true;
    case PlaybackEngine::KeyAction::StepBackward:
      apply(Engine->StepKey(false, activeTab()));
      return true;
    case PlaybackEngine::KeyAction::None:
    case PlaybackEngine::KeyAction::FocusStrumSpeed:
      break;
  }
  return false;
}

void PlaybackController::handleMessage(const MidiMessage& message) {
  if (message.code == MidiMessageCode::AllPlayed && activeTab() == PlayTab::PlayPage &&
      !(Engine->StepMode && !Engine->SingleChordMode)) {
    BusyPointer busy;
    apply(Engine->handleMessage(message.code, message.param, activeTab()));
    return;
  }
  apply(Engine->handleMessage(message.code, message.param, activeTab()));
}

void PlaybackController::exportMidiFile() {
  syncOptions();
  AppState& st = Window.state();
  const QString path = Window.prompter().saveFileName(
      &Window, QStringLiteral("Export MIDI File"), QString(), QStringLiteral("MIDI files (*.mid)"));
  if (path.isEmpty()) return;
  const auto page = PageExport::pageFrom(st.PlayPage, st.Play, Engine->Settings, Engine->Options,
                                         st.Play.PlayPageTempo);
  const auto result = PageExport::exportMidi(path.toStdString(), page);
  if (result == PageExport::Result::TooLong)
    Window.prompter().message(&Window, QStringLiteral("The page plays too long to export."));
  else if (result != PageExport::Result::Written)
    Window.prompter().message(&Window, QStringLiteral("Could not write ") + path);
}

void PlaybackController::exportAudio() {
  syncOptions();
  AppState& st = Window.state();
  const QString path = Window.prompter().saveFileName(
      &Window, QStringLiteral("Export Audio"), QString(), QStringLiteral("WAV audio (*.wav)"));
  if (path.isEmpty()) return;
  const auto page = PageExport::pageFrom(st.PlayPage, st.Play, Engine->Settings, Engine->Options,
                                         st.Play.PlayPageTempo);
  PageExport::Result result;
  {
    BusyPointer busy;
    result = PageExport::exportAudio(path.toStdString(), page);
  }
  if (result == PageExport::Result::TooLong)
    Window.prompter().message(&Window, QStringLiteral("The page plays too long to export."));
  else if (result == PageExport::Result::NoSoundFont)
    Window.prompter().message(&Window, QStringLiteral("No General MIDI soundfont is installed."));
  else if (result != PageExport::Result::Written)
    Window.prompter().message(&Window, QStringLiteral("Could not write ") + path);
}
