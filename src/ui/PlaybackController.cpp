#include "ui/PlaybackController.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

#include "files/WriteFiles.h"
#include "midi/MidiMessage.h"
#include "midi/MidiSession.h"
#include "midi/SoundFont.h"
#include "music/DiagramConvert.h"
#include "output/MusicXml.h"
#include "output/PageExport.h"
#include "output/SessionTransport.h"
#include "render/BitmapDrawing.h"
#include "render/FretboardPainter.h"
#include "render/PlayPageBitmaps.h"
#include "render/PlayPageStaff.h"
#include "settings/Settings.h"
#include "state/Workbench.h"
#include "ui/BusyGuard.h"
#include "ui/FretboardPanel.h"
#include "ui/MainMenu.h"
#include "ui/PageViews.h"
#include "ui/Prompter.h"
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

void drawPlayImage(QImage& surface, PagePoint at, Bitmaps::PlayImage id) {
  PlayPageStaff::drawPiece(surface, at, id);
}

}  // namespace

PlaybackController::PlaybackController(Parts parts, MidiSession* session, QObject* parent)
    : QObject(parent), Use(std::move(parts)), Midi(session) {
  if (session) {
    Session = std::make_unique<SessionTransport>(*session);
    Engine = std::make_unique<PlaybackEngine>(*Session, *Session);
  } else {
    auto none = std::make_unique<NoMidi>();
    Engine = std::make_unique<PlaybackEngine>(*none, *none);
    NoOutput = std::move(none);
  }
  ToolBarPanel* bar = &Use.ToolBar;
  connect(bar, &ToolBarPanel::playClicked, this, &PlaybackController::sbtnPlayClick);
  connect(bar, &ToolBarPanel::pauseClicked, this, &PlaybackController::sbtnPauseClick);
  connect(bar, &ToolBarPanel::stopClicked, this, &PlaybackController::sbtnStopClick);
  connect(bar, &ToolBarPanel::stepClicked, this, &PlaybackController::sbtnStepClick);
  // Click may be switched while the page plays: the engine rewrites what is queued.
  connect(bar, &ToolBarPanel::clickToggled, this, [this] {
    syncOptions();
    Engine->OptionsChanged();
  });
}

PlaybackController::~PlaybackController() = default;

PlayTab PlaybackController::activeTab() const {
  return Use.Bench.activeTab();
}

void PlaybackController::syncOptions() {
  Engine->Settings = Use.Config.Player;
  Engine->Options = Use.ToolBar.playOptions();
  // Saved with the play page, so the state holds them, not the buttons.
  Engine->Options.Loop = Use.Bench.State.Play.Loop;
  Engine->Options.BassNote = Use.Bench.State.Play.BassNote;
  Engine->Options.StrumSpeed = Use.Bench.State.Play.StrumSpeed;
  Engine->Options.Capo = Use.Bench.State.Capo;
  Engine->StepMode = Use.ToolBar.isOn(ToolBarPanel::Toggle::Step);
}

void PlaybackController::apply(const PlayerUpdate& u) {
  Use.ToolBar.setPlayButtons(u.PlayDown, u.PauseDown);
  Use.Menus.setMenusEnabled(u.MenuEnabled);

  SurfaceView* page = &Use.PlaySurface;
  QImage& picture = page->image();
  if (u.RestoreStepBackground && !StepBackground.isNull()) {
    QPainter p(&picture);
    p.drawImage(QPointF(u.RestoreStepBackground->X, u.RestoreStepBackground->Y), StepBackground);
  }
  if (u.BlackSlash) drawPlayImage(picture, *u.BlackSlash, Bitmaps::PlayImage::BlackSlash);
  if (u.RedSlash) drawPlayImage(picture, *u.RedSlash, Bitmaps::PlayImage::RedSlash);
  if (u.StepArrow) {
    StepBackground =
        BitmapDrawing::copyLogical(picture, QRect(u.StepArrow->X, u.StepArrow->Y, 28, 33));
    drawPlayImage(picture, *u.StepArrow, Bitmaps::PlayImage::StepArrow);
  }
  if (u.ScrollY) Use.PlayScroll.verticalScrollBar()->setValue(*u.ScrollY);
  page->refresh();

  FretboardPanel* fretboard = &Use.Fretboard;
  if (u.ClearFretboard) fretboard->ClearFretboard();
  if (u.RestoreFretboard) fretboard->restoreCleanPicture();
  if (u.ShowScale) fretboard->ShowScaleOnFretboard(Use.Bench.State.CurrentScale);
  if (u.Finger) showFingerMark(*u.Finger);
}

void PlaybackController::showFingerMark(const FingerMark& m) {
  FretboardPanel* fretboard = &Use.Fretboard;
  if (m.Clear)
    fretboard->restoreFingerMark(m.String, m.Fret, m.RefillFromClean);
  else
    fretboard->showFingerMark(m.String, m.Fret, m.GlyphX);
}

void PlaybackController::tellFontPassedOver(const std::string& note) {
  if (FontNoteTold) return;
  FontNoteTold = true;
  Use.Ask.error(Use.Window, QString::fromStdString(note));
}

void PlaybackController::tellIfSilent() {
  // The built-in synthesiser passed the user's soundfont over for another.
  // The choice stays the same for the whole run, so it is looked at once.
  if (!FontChecked && Midi && Use.Config.MidiOutDevice == 0) {
    const SoundFont::Choice font = SoundFont::chooseGeneralMidi();
    if (!font.Unusable.empty() && !font.Path.empty())
      tellFontPassedOver(PageExport::fontPassedOverNote(font.Unusable, font.Path));
    FontChecked = true;
  }
  if (SilenceTold || !Midi || !Midi->soundMissing()) return;
  SilenceTold = true;
  Use.Ask.error(Use.Window,
                QStringLiteral("The built-in synthesiser found no General MIDI soundfont, so "
                               "nothing can be heard. Install the package fluid-soundfont-gm "
                               "for sound, or choose a MIDI port in Options, MIDI Setup."));
}

void PlaybackController::sbtnPlayClick() {
  if (BusyPointer::showing()) {
    Use.ToolBar.setOn(ToolBarPanel::Toggle::Play, Engine->playDown());
    return;
  }
  tellIfSilent();
  syncOptions();
  const int position = Use.Bench.Scales.selected().Column;
  apply(Engine->sbtnPlayClick(Use.Bench.State.playSources(), activeTab(),
                              position < 0 ? 0 : position, Use.Bench.State.Play.PlayPageTempo));
}

void PlaybackController::sbtnPauseClick() {
  apply(Engine->Pause(Use.ToolBar.isOn(ToolBarPanel::Toggle::Pause), activeTab()));
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
  if (Use.Guard.active()) {
    Use.ToolBar.undoClick(ToolBarPanel::Toggle::Step);
    return;
  }
  Engine->StepMode = Use.ToolBar.isOn(ToolBarPanel::Toggle::Step);
}

void PlaybackController::pmenu1PlayChordClick() {
  tellIfSilent();
  Use.Views.selectPressed(PlayTab::Chords);
  syncOptions();
  apply(Engine->PlayChord(Use.Bench.State.SelectedChord, activeTab()));
}

void PlaybackController::pmenu4PlayChordClick() {
  const AppState& st = Use.Bench.State;
  const int c = st.Play.PlaySelColumn, r = st.Play.PlaySelRow;
  if (c < 0 || c >= PlayPageColumns || r < 0 || r >= PlayPageRows) return;
  tellIfSilent();
  syncOptions();
  apply(Engine->PlayPageChord(st.PlayPage[c][r]));
}

void PlaybackController::pmenu5PlayDiagramClick() {
  tellIfSilent();
  Use.Views.selectPressed(PlayTab::Scales);
  syncOptions();
  apply(Engine->PlayScale(Use.Bench.State.CurrentScale, Use.Bench.Scales.selected().Column, false));
}

void PlaybackController::pmenu5PlayEntireClick() {
  tellIfSilent();
  syncOptions();
  apply(Engine->PlayScale(Use.Bench.State.CurrentScale, 0, true));
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
  AppState& st = Use.Bench.State;
  auto page = PageExport::pageFrom(st.PlayPage, st.Play, Engine->Settings, Engine->Options,
                                   st.Play.PlayPageTempo);
  page.Names = st.shownNames();
  if (refuseEmpty(page)) return;
  const QString path = Use.Ask.saveFileName(Use.Window, QStringLiteral("Export MIDI File"),
                                            QString(), QStringLiteral("MIDI files (*.mid)"));
  if (path.isEmpty()) return;
  reportExport(PageExport::exportMidi(Use.Files, QFile::encodeName(path).toStdString(), page),
               path);
}

void PlaybackController::exportAudio() {
  syncOptions();
  AppState& st = Use.Bench.State;
  const auto page = PageExport::pageFrom(st.PlayPage, st.Play, Engine->Settings, Engine->Options,
                                         st.Play.PlayPageTempo);
  if (refuseEmpty(page)) return;
  const QString path = Use.Ask.saveFileName(Use.Window, QStringLiteral("Export Audio"), QString(),
                                            QStringLiteral("WAV audio (*.wav)"));
  if (path.isEmpty()) return;
  PageExport::Outcome outcome;
  {
    BusyPointer busy;
    outcome = PageExport::exportAudio(Use.Files, QFile::encodeName(path).toStdString(), page);
  }
  reportExport(outcome, path);
}

void PlaybackController::exportMusicXml() {
  const AppState& st = Use.Bench.State;
  MusicXml::Page score;
  score.Slots = playListFrom(st.PlayPage);
  score.ThreeFour = st.Play.ThreeFour;
  score.Marks = st.Play.savedSet();
  score.Loop = st.Play.Loop;
  score.TempoBpm = st.Play.PlayPageTempo > 0 ? 60'000'000 / st.Play.PlayPageTempo : 120;
  score.Title = QFileInfo(QFile::decodeName(QByteArray::fromStdString(
                              st.LastPageFile[static_cast<std::size_t>(PlayTab::PlayPage)])))
                    .completeBaseName()
                    .toStdString();
  score.Names = st.shownNames();
  score.Capo = st.Capo;
  MusicXml::Outcome empty;
  empty.Status = MusicXml::Result::Empty;
  if (std::all_of(score.Slots.begin(), score.Slots.end(),
                  [](const TChordDiagram& d) { return isEmpty(d); })) {
    Use.Ask.message(Use.Window, QString::fromStdString(MusicXml::message(empty, {})));
    return;
  }
  QString path = Use.Ask.saveFileName(Use.Window, QStringLiteral("Export MusicXML"), QString(),
                                      QStringLiteral("MusicXML files (*.musicxml)"));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".musicxml");
  const std::string out = QFile::encodeName(path).toStdString();
  const MusicXml::Outcome outcome = MusicXml::exportFile(Use.Files, out, score);
  if (outcome.Status != MusicXml::Result::Written)
    Use.Ask.error(Use.Window, QString::fromStdString(MusicXml::message(outcome, out)));
}

bool PlaybackController::refuseEmpty(const PageExport::Page& page) {
  if (!PageExport::empty(page)) return false;
  PageExport::Outcome empty;
  empty.Status = PageExport::Result::Empty;
  Use.Ask.message(Use.Window, QString::fromStdString(PageExport::message(empty, {})));
  return true;
}

void PlaybackController::reportExport(const PageExport::Outcome& outcome, const QString& path) {
  if (outcome.Status == PageExport::Result::Written) {
    if (const std::string note = PageExport::note(outcome); !note.empty()) tellFontPassedOver(note);
    return;
  }
  if (outcome.Status == PageExport::Result::WriteFailed) {
    Use.Ask.error(Use.Window, QString::fromStdString(couldNotWrite(
                                  QFile::encodeName(path).toStdString(), outcome.Reason)));
    return;
  }
  if (outcome.Status == PageExport::Result::NoSoundFont && !outcome.FontPassedOver.empty())
    FontNoteTold = true;  // the message names it
  Use.Ask.error(Use.Window, QString::fromStdString(PageExport::message(outcome, {})));
}

void PlaybackController::pmenu2PlayChordClick() {
  tellIfSilent();
  syncOptions();
  apply(Engine->PlayChord(Use.Bench.State.EditChord, activeTab()));
}

void PlaybackController::pmenu3PlayDiagramClick() {
  const TPrintDiagram& item = Use.Bench.State.SelectedPrintItem;
  if (isEmpty(item)) return;
  tellIfSilent();
  syncOptions();
  Use.Fretboard.showPrintItem(item);
  if (item.IsChord) {
    TChordDiagram chord{};
    printItemToChord(item, chord);
    apply(Engine->PlayChord(chord, PlayTab::Print));
  } else {
    // A scale item is one position: its start fret is the item's BaseFret.
    TScaleDiagram scale{};
    printItemToScale(item, scale);
    apply(Engine->PlayScale(scale, 0, false));
  }
}
