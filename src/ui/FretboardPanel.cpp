#include "ui/FretboardPanel.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "design/IntervalDisplay.h"
#include "music/ChordAnalysis.h"
#include "music/DiagramConvert.h"
#include "pages/DiagramText.h"
#include "render/BitmapDrawing.h"
#include "render/FretboardBitmaps.h"
#include "render/FretboardPainter.h"
#include "settings/UserTuningStore.h"
#include "ui/BusyGuard.h"
#include "ui/ChordDesignTab.h"
#include "ui/Prompter.h"
#include "ui/RecordText.h"
#include "ui/SurfaceView.h"
#include "ui/TypedTextValidator.h"
#include "ui/UpDown.h"

namespace {

const QColor ArpeggioColours[7] = {
    QColor(255, 0, 0),   QColor(0, 255, 255),   QColor(0, 255, 0), QColor(255, 255, 255),
    QColor(255, 255, 0), QColor(192, 192, 192), QColor(128, 0, 0)};

QLineEdit* field(QWidget* parent, const QString& name, int width, bool readOnly) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setReadOnly(readOnly);
  if (width > 0) e->setFixedWidth(width);
  if (readOnly) e->setFocusPolicy(Qt::NoFocus);
  return e;
}

// The glyph place of string s at fret f, in the picture's logical pixels.
QRect glyphPlace(int s, int f) {
  return {FretX[f], StringY[s], GlyphSize, GlyphSize};
}

// Item data of the tuning list's two commands; tunings carry their entry
// number (presets from 0, the player's own after them).
constexpr int SaveTuningCommand = -1;
constexpr int DeleteTuningCommand = -2;

QLabel* readout(QWidget* parent, const char* name) {
  auto* l = new QLabel(parent);
  l->setObjectName(QLatin1String(name));
  l->setFrameShape(QFrame::Panel);
  l->setFrameShadow(QFrame::Sunken);
  l->setAlignment(Qt::AlignCenter);
  l->setFixedSize(70, 26);
  QFont f = l->font();
  f.setPointSize(f.pointSize() + 3);
  f.setBold(true);
  l->setFont(f);
  return l;
}

}  // namespace

FretboardPanel::FretboardPanel(Workbench& bench, const BusyGuard& guard, QWidget* parent)
    : QFrame(parent),
      Bench(bench),
      State(bench.State),
      Guard(guard),
      Editor(bench.State.EditChord, bench.State.ExtensionFlags, bench.State.Names) {
  setObjectName(QStringLiteral("pnlBottom"));
  setFrameShape(QFrame::StyledPanel);

  imgGuitar = new SurfaceView(QStringLiteral("imgGuitar"), QSize(748, 123), this);
  imgGuitar->setAccessibleName(QStringLiteral("Fretboard"));
  // The neck and its glyphs are drawn for the screen's density; every place
  // on them stays in logical pixels.
  imgGuitar->setImage(Bitmaps::fretboard(false, imgGuitar->pixelRatio()));
  imgGuitarCopy = imgGuitar->image();
  imgFinger = Bitmaps::fingerStrip(imgGuitar->pixelRatio());

  // Tuning controls, one row per string beside the strings of the picture.
  auto* tuning = TuningColumn = new QWidget(this);
  tuning->setFixedSize(46, 123);
  for (int s = 0; s < 6; ++s) {
    editString[s] = field(tuning, QStringLiteral("editString%1").arg(s), 28, true);
    editString[s]->setMaxLength(3);
    editString[s]->setAlignment(Qt::AlignCenter);
    editString[s]->setFixedHeight(16);
    editString[s]->setFrame(false);
    editString[s]->move(0, StringY[s] - 2);
    UpDowns[s] =
        new UpDown(QStringLiteral("UpDown%1").arg(s), 33, 69, StandardTuning[s], true, tuning);
    UpDowns[s]->move(29, StringY[s] - 2);
    editString[s]->setAccessibleName(QStringLiteral("String %1 tuning").arg(s + 1));
    UpDowns[s]->nameFor(QStringLiteral("String %1 tuning").arg(s + 1));
    showStringName(s, StandardTuning[s]);
    connect(UpDowns[s], &UpDown::stepped, this, [this, s] { UpDown0Click(s); });
    connect(UpDowns[s], &UpDown::committed, this, &FretboardPanel::UpDown0MouseUp);
  }

  editTuningName = field(this, QStringLiteral("editTuningName"), 110, false);
  editTuningName->setValidator(new TypedTextValidator(15, editTuningName));
  editTuningName->setAccessibleName(QStringLiteral("Tuning name"));
  showTuningName("Standard");
  // What the user types is the tuning name from then on; the field only shows it.
  connect(editTuningName, &QLineEdit::textChanged, this,
          [this](const QString& text) { Editor.showTuningName(recordText(text)); });
  Label2 = new QLabel(QStringLiteral("Chord Name:"), this);
  Label2->setObjectName(QStringLiteral("Label2"));
  editChordNameUser = field(this, QStringLiteral("editChordNameUser"), 170, false);
  editChordNameUser->setValidator(new TypedTextValidator(25, editChordNameUser));
  editChordNameUser->setAccessibleName(QStringLiteral("Chord or scale name"));
  for (QLineEdit* typed : {editTuningName, editChordNameUser}) typed->installEventFilter(this);
  cbTuningPreset = new QComboBox(this);
  cbTuningPreset->setObjectName(QStringLiteral("cbTuningPreset"));
  cbTuningPreset->setPlaceholderText(QStringLiteral("Custom"));
  cbTuningPreset->setAccessibleName(QStringLiteral("Tuning"));
  cbTuningPreset->setToolTip(QStringLiteral("Tune the strings to a tuning by its name"));
  fillTuningList();
  // As wide as the longest preset name; the commands and longer names of the
  // player's own show in the wider list that drops down.
  int widestName = 0;
  for (const TuningPreset& p : TuningPresets)
    widestName = std::max(widestName, cbTuningPreset->fontMetrics().horizontalAdvance(qs(p.Name)));
  cbTuningPreset->setFixedWidth(widestName + 30);
  cbTuningPreset->view()->setMinimumWidth(widestName + 70);
  followTuning();
  // Only a choice of the player's: the list following the strings is no edit.
  connect(cbTuningPreset, &QComboBox::activated, this, &FretboardPanel::cbTuningPresetSelect);
  pnlNote = readout(this, "pnlNote");
  // A pitch name is two letters at most; the room goes to the tuning list.
  pnlNote->setFixedWidth(56);
  pnlNote->setAccessibleName(QStringLiteral("Note under the pointer"));
  pnlInterval = readout(this, "pnlInterval");
  // Wide enough for the longest read-out ("#5 / b13") in the panel's font.
  int widest = 0;
  for (int i = 0; i < 12; ++i)
    widest = std::max(
        widest, pnlInterval->fontMetrics().horizontalAdvance(qs(FretboardHit::intervalReadout(i))));
  pnlInterval->setFixedWidth(std::max(pnlInterval->width(), widest + 16));
  pnlInterval->setAccessibleName(QStringLiteral("Interval under the pointer"));
  editNotes = field(this, QStringLiteral("editNotes"), 0, true);
  editNotes->setMinimumWidth(110);
  editNotes->setAccessibleName(QStringLiteral("Notes"));
  for (int i = 0; i < 8; ++i) {
    editIntervals[i] = field(this, QStringLiteral("editIntervals%1").arg(i), 30, true);
    editIntervals[i]->setAlignment(Qt::AlignCenter);
    editIntervals[i]->setAccessibleName(QStringLiteral("Interval %1").arg(i + 1));
    editIntervals[i]->setProperty("tag", 0);
    if (i < 7) editIntervals[i]->installEventFilter(this);
  }
  bitbtnDrag = new QPushButton(QStringLiteral("Drag to add chord to set"), this);
  bitbtnDrag->setObjectName(QStringLiteral("bitbtnDrag"));
  bitbtnDrag->setFocusPolicy(Qt::NoFocus);

  auto* picture = PictureRow = new QHBoxLayout;
  picture->setSpacing(2);
  picture->addWidget(tuning);
  picture->addWidget(imgGuitar);
  picture->addStretch(1);

  auto* names = new QHBoxLayout;
  names->setSpacing(4);
  names->addWidget(new QLabel(QStringLiteral("Tuning:"), this));
  names->addWidget(cbTuningPreset);
  names->addWidget(editTuningName);
  names->addWidget(Label2);
  names->addWidget(editChordNameUser);
  names->addStretch(1);
  names->addWidget(new QLabel(QStringLiteral("Note:"), this));
  names->addWidget(pnlNote);
  names->addWidget(new QLabel(QStringLiteral("Interval:"), this));
  names->addWidget(pnlInterval);

  auto* notes = new QHBoxLayout;
  notes->setSpacing(2);
  notes->addWidget(new QLabel(QStringLiteral("Notes:"), this));
  notes->addWidget(editNotes, 1);
  for (auto* label : editIntervals) notes->addWidget(label);
  notes->addSpacing(6);
  notes->addWidget(bitbtnDrag);

  auto* rows = new QVBoxLayout(this);
  rows->setContentsMargins(2, 2, 2, 2);
  rows->setSpacing(2);
  rows->addLayout(picture);
  rows->addLayout(names);
  rows->addLayout(notes);

  connect(imgGuitar, &SurfaceView::moved, this,
          [this](QPoint at, Qt::MouseButtons) { imgGuitarMouseMove(at); });
  connect(imgGuitar, &SurfaceView::pressed, this, &FretboardPanel::imgGuitarMouseDown);
  setMouseTracking(true);
}

void FretboardPanel::connectPanels(ChordDesignTab* design, FretboardQueries queries) {
  Design = design;
  Queries = std::move(queries);
  connect(Design, &ChordDesignTab::rootStepped, this, &FretboardPanel::udRootClick);
  connect(Design, &ChordDesignTab::rootCommitted, this, &FretboardPanel::udRootMouseUp);
  connect(Design, &ChordDesignTab::bassStepped, this, &FretboardPanel::udBassClick);
}

void FretboardPanel::useTuningStore(Prompter& ask, ProfileFile* settingsFile) {
  Ask = &ask;
  SettingsFile = settingsFile;
  OwnTunings = settingsFile ? UserTuningStore::read(settingsFile->read()) : OwnTunings;
  fillTuningList();
  followTuning();
}

bool FretboardPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == editTuningName || watched == editChordNameUser) {
    if (event->type() == QEvent::FocusIn) emit nameFieldEntered();
    if (event->type() == QEvent::FocusOut) emit nameFieldLeft();
    if (watched == editChordNameUser && event->type() == QEvent::KeyRelease)
      emit chordNameKeyReleased(editChordNameUser->text());
  }
  for (int i = 0; i < 7; ++i)
    if (watched == editIntervals[i] && event->type() == QEvent::MouseButtonRelease)
      emit intervalLabelClicked(editIntervals[i]->property("tag").toInt());
  return QFrame::eventFilter(watched, event);
}

bool FretboardPanel::chordDesignActive() const {
  return Queries.activeTab && Queries.activeTab() == PlayTab::ChordDesign;
}

const TChordFormula* FretboardPanel::comparedFormula() const {
  return Design && State.IntervalsShown ? &State.ChosenFormula : nullptr;
}

void FretboardPanel::showTuningName(std::string_view name) {
  Editor.showTuningName(name);
  editTuningName->setText(qs(name));
}

void FretboardPanel::showStringName(int s, int note) {
  Editor.showString(s, note);
  editString[s]->setText(qs(State.Names.noteName(note)));
}

template <class Change>
void FretboardPanel::editInHand(std::string_view label, Change&& change, bool merge) {
  Bench.apply(PlayTab::ChordDesign, [&] {
    std::forward<Change>(change)();
    return PageEdit{label, merge};
  });
}

void FretboardPanel::setTextColour(QLineEdit* f, QColor colour) {
  QPalette p = f->palette();
  p.setColor(QPalette::Text, colour);
  f->setPalette(p);
}

void FretboardPanel::setIntervalLabel(int i, const QString& text, int tag, QColor textColour,
                                      QColor background) {
  QLineEdit* label = editIntervals[i];
  label->setText(text);
  label->setProperty("tag", tag);
  QPalette p = label->palette();
  p.setColor(QPalette::Text, textColour);
  p.setColor(QPalette::Base, background);
  label->setPalette(p);
}

void FretboardPanel::ClearFretboard() {
  imgGuitar->setImage(imgGuitarCopy);
  imgGuitar->setSpokenText(QStringLiteral("Nothing shown"));
  editChordNameUser->clear();
  showTuningName({});
  editNotes->clear();
  for (int i = 0; i < 8; ++i) setIntervalLabel(i, QString(), 0, Qt::black, Qt::white);
  clearHoverReadout();
}

void FretboardPanel::ShowDiagram(TChordDiagram chord) {
  showDiagram(chord, Queries.arpeggioShown && Queries.arpeggioShown());
}

void FretboardPanel::showDiagram(const TChordDiagram& chord, bool withArpeggio) {
  imgGuitar->image() = imgGuitarCopy;
  if (isEmpty(chord)) {
    ClearFretboard();
    return;
  }
  const int root = pitchClass(chord.Root);
  setTextColour(editChordNameUser, Qt::black);
  setTextColour(editNotes, Qt::black);
  Label2->setText(QStringLiteral("Chord Name:"));
  showTuningName(chord.TuningName.view());
  // The same name as the play page's caption: root, type and a slash bass.
  editChordNameUser->setText(qs(DiagramText::playPageCaption(chord, State.shownNames())));
  editNotes->clear();
  setIntervalLabel(7, QString(), 0, Qt::black, Qt::white);

  QString notes;
  for (int i = 0; i < 7; ++i) {
    const int entry = chord.Intervals[i];
    // The end marker, or a value no interval has (a damaged record).
    if (entry == ChordIntervalEnd || entry < 0 || entry > 23) {
      setIntervalLabel(i, QString(), 0, Qt::black, Qt::white);
      continue;
    }
    const std::string_view name = intervalName(entry);
    setIntervalLabel(i, qs(name), pitchClass(entry), Qt::black, Qt::white);
    notes += QLatin1Char(' ') + qs(State.shownNames().pitchName(root + entry));
  }
  editNotes->setText(notes);

  bool rootSounded = false;
  for (int s = 0; s < 6; ++s) {
    const int open = chord.Tuning[s];
    showString(s, open);
    const int fret = std::min<int>(chord.Strings[s].Fret, HighestFret);
    const int finger = chord.Strings[s].Finger;
    const bool isRoot = pitchClass(open + fret) == root;
    if (isRoot && finger != FingerCode::Muted) rootSounded = true;
    drawFretboardGlyph(imgGuitar->image(), imgFinger, chordGlyphCell(finger, isRoot), s, fret);
  }
  followTuning();
  State.LastRoot = root;
  showHoverReadout();
  imgGuitar->setSpokenText(editChordNameUser->text().trimmed() + QStringLiteral(": ") +
                           qs(DiagramText::stringByString(chord, State.shownNames())));

  if (withArpeggio) {
    TChordFormula f{};
    std::copy(std::begin(chord.Intervals), std::end(chord.Intervals), f.Intervals);
    f.Name = chord.ChordName;
    f.Formula = chord.Formula;
    ShowArpeggio(f, root, Qt::black);
  }

  const QColor inactive = palette().color(QPalette::Disabled, QPalette::WindowText);
  setTextColour(editIntervals[0], rootSounded ? QColor(Qt::black) : inactive);
  imgGuitar->refresh();
}

void FretboardPanel::ShowArpeggio(const TChordFormula& formula, int root, QColor textColour) {
  root = pitchClass(root);
  setTextColour(editChordNameUser, textColour);
  setTextColour(editNotes, textColour);
  editChordNameUser->setText(qs(State.shownNames().pitchName(root)) + QLatin1Char(' ') +
                             qs(formula.Name.view()));
  editNotes->clear();
  setIntervalLabel(7, QString(), 0, textColour, Qt::white);

  const bool colouredLabels = chordDesignActive() && Design && State.IntervalsShown;
  QString notes;
  for (int i = 0; i < 7; ++i) {
    const int entry = formula.Intervals[i];
    if (entry == ChordIntervalEnd) {
      setIntervalLabel(i, QString(), 0, textColour, Qt::white);
      continue;
    }
    setIntervalLabel(i, qs(intervalCaption(entry)), pitchClass(entry), textColour,
                     colouredLabels ? ArpeggioColours[i] : QColor(Qt::white));
    notes += QLatin1Char(' ') + qs(State.shownNames().pitchName(root + entry));
  }
  editNotes->setText(notes);

  Tuning strings;
  for (int s = 0; s < 6; ++s) strings[s] = static_cast<std::uint8_t>(UpDowns[s]->position());
  for (const ArpeggioCell& cell : arpeggioCells(strings, formula.Intervals, root, colouredLabels)) {
    const QColor pen = cell.Pen == RootPen        ? QColor(255, 0, 0)
                       : cell.Pen == ChordTonePen ? QColor(0, 255, 0)
                                                  : ArpeggioColours[cell.Pen];
    drawArpeggioBox(imgGuitar->image(), cell.String, cell.Fret, pen);
  }
  imgGuitar->refresh();
}

void FretboardPanel::ShowScaleOnFretboard(const TScaleDiagram& scale) {
  imgGuitar->image() = imgGuitarCopy;
  if (isEmpty(scale)) {
    ClearFretboard();
    return;
  }
  const int root = pitchClass(scale.Root);
  Label2->setText(QStringLiteral("Scale Name:"));
  showTuningName(scale.TuningName.view());
  editChordNameUser->setText(qs(State.shownNames().pitchName(root)) + QLatin1Char(' ') +
                             qs(scale.ScaleName.view()));
  imgGuitar->setSpokenText(qs(DiagramText::spokenScale(scale, State.shownNames())));
  setTextColour(editChordNameUser, Qt::black);
  setTextColour(editNotes, Qt::black);
  QString notes;
  bool ended = false;
  for (int k = 0; k < 8; ++k) {
    const int entry = scale.Intervals[k];
    ended = ended || entry == ScaleIntervalEnd;
    if (ended || intervalName(entry).empty()) {
      setIntervalLabel(k, QString(), 0, Qt::black, Qt::white);
      continue;
    }
    setIntervalLabel(k, qs(intervalName(entry)), pitchClass(entry), Qt::black, Qt::white);
    notes += QLatin1Char(' ') + qs(State.shownNames().pitchName(root + entry));
  }
  editNotes->setText(notes);
  for (int s = 0; s < 6; ++s) showString(s, scale.Tuning[s]);
  followTuning();
  drawScaleMarks(imgGuitar->image(), imgFinger, scale);
  State.LastRoot = root;
  showHoverReadout();
  imgGuitar->refresh();
}

void FretboardPanel::refreshStringNames() {
  for (int s = 0; s < 6; ++s) showStringName(s, UpDowns[s]->position());
}

void FretboardPanel::setTuningEnabled(bool enabled) {
  for (auto* u : UpDowns) u->setEnabled(enabled);
  cbTuningPreset->setEnabled(enabled);
}

void FretboardPanel::showString(int s, int note) {
  showStringName(s, note);
  UpDowns[s]->setPosition(note);
  Shown[static_cast<std::size_t>(s)] = static_cast<std::uint8_t>(UpDowns[s]->position());
}

void FretboardPanel::UpDown0Click(int s) {
  if (Guard.active() || s < 0 || s > 5) return;
  showString(s, UpDowns[s]->position());
  followTuning();
}

void FretboardPanel::UpDown0MouseUp() {
  if (Guard.active()) return;
  for (int s = 0; s < 6; ++s) showString(s, UpDowns[s]->position());
  commitTuning(tuningName(Shown, State.Names));
}

void FretboardPanel::cbTuningPresetSelect(int index) {
  const QVariant item = cbTuningPreset->itemData(index);
  if (!Guard.active() && item.isValid()) {
    const int entry = item.toInt();
    if (entry == SaveTuningCommand) {
      mnuSaveTuningClick();
    } else if (entry == DeleteTuningCommand) {
      mnuDeleteTuningClick();
    } else if (entry >= 0) {
      const auto e = static_cast<std::size_t>(entry);
      const bool preset = e < TuningPresetCount;
      if (preset || e - TuningPresetCount < OwnTunings.size()) {
        const Tuning notes =
            preset ? TuningPresets[e].Notes : OwnTunings[e - TuningPresetCount].Notes;
        const std::string name =
            preset ? std::string(TuningPresets[e].Name) : OwnTunings[e - TuningPresetCount].Name;
        for (int s = 0; s < 6; ++s) showString(s, notes[static_cast<std::size_t>(s)]);
        commitTuning(name);
      }
    }
  }
  // A command, or a choice refused, leaves the list showing the strings.
  followTuning();
}

void FretboardPanel::commitTuning(const std::string& name) {
  State.CurrentTuning = Shown;
  showTuningName(name);

  const PlayTab tab = Queries.activeTab ? Queries.activeTab() : PlayTab::Chords;
  if (tab == PlayTab::ChordDesign && !isEmpty(State.EditChord)) {
    editInHand("Tuning", [&] {
      Editor.retune(State.CurrentTuning, name);
      fingeringEdited(false);
    });
  } else if (tab == PlayTab::Scales && !isEmpty(State.CurrentScale)) {
    retuneScale(State.CurrentScale, State.CurrentTuning, name);
    ShowScaleOnFretboard(State.CurrentScale);
  }
  followTuning();
}

void FretboardPanel::fillTuningList() {
  const QSignalBlocker quiet(cbTuningPreset);
  cbTuningPreset->clear();
  int entry = 0;
  for (const TuningPreset& p : TuningPresets) cbTuningPreset->addItem(qs(p.Name), entry++);
  if (!OwnTunings.empty()) cbTuningPreset->insertSeparator(cbTuningPreset->count());
  for (const NamedTuning& t : OwnTunings) cbTuningPreset->addItem(qs(t.Name), entry++);
  cbTuningPreset->insertSeparator(cbTuningPreset->count());
  cbTuningPreset->addItem(QStringLiteral("Save Current Tuning..."), SaveTuningCommand);
  if (!OwnTunings.empty())
    cbTuningPreset->addItem(QStringLiteral("Delete This Tuning..."), DeleteTuningCommand);
}

void FretboardPanel::followTuning() {
  const QSignalBlocker quiet(cbTuningPreset);
  const int entry = tuningListEntry(Shown, Editor.tuningNameShown(), OwnTunings);
  cbTuningPreset->setCurrentIndex(entry < 0 ? -1 : cbTuningPreset->findData(entry));
}

void FretboardPanel::mnuSaveTuningClick() {
  if (!Ask) return;
  if (!SettingsFile) {
    Ask->error(this, QStringLiteral("There is no settings file to keep tunings in."));
    return;
  }
  // Offered: the name shown, unless it is a preset's or the six string names.
  const std::string shownName = Editor.tuningNameShown();
  const bool ownName = !presetNamed(shownName) && shownName != tuningName(Shown, State.Names);
  const QString typed =
      Ask->askText(this, QStringLiteral("Save the six strings as the tuning named:"),
                   ownName ? qs(UserTuningStore::storableName(shownName)) : QString());
  if (typed.isEmpty()) return;
  const std::string name = UserTuningStore::storableName(recordText(typed));
  const auto same = std::ranges::find_if(
      OwnTunings, [&](const NamedTuning& t) { return sameTuningName(t.Name, name); });
  if (same != OwnTunings.end() && same->Notes != Shown &&
      !Ask->ask(this, QStringLiteral("Replace the tuning \"%1\"?").arg(qs(same->Name)), false))
    return;
  UserTuningStore::SaveResult saved;
  try {
    saved = UserTuningStore::save(*SettingsFile, name, Shown);
  } catch (const ProfileWriteError& error) {
    Ask->error(this, QString::fromStdString(error.what()));
    return;
  }
  using enum UserTuningStore::SaveResult;
  if (saved == BadName) {
    Ask->message(this,
                 QStringLiteral("A tuning name has 1 to %1 characters.").arg(TuningNameLength));
    return;
  }
  if (saved == BuiltInName) {
    Ask->message(this, QStringLiteral("\"%1\" is a built-in tuning and cannot be changed. "
                                      "Please choose another name.")
                           .arg(typed.trimmed()));
    return;
  }
  if (saved == Full) {
    Ask->message(this, QStringLiteral("There is room for %1 tunings of your own. Delete one first.")
                           .arg(UserTuningStore::MaxTunings));
    return;
  }
  OwnTunings = UserTuningStore::read(SettingsFile->read());
  fillTuningList();
  // As a name typed into the tuning name field: chords named from now on
  // carry it.
  showTuningName(name);
}

void FretboardPanel::mnuDeleteTuningClick() {
  if (!Ask || !SettingsFile) return;
  const int entry = tuningListEntry(Shown, Editor.tuningNameShown(), OwnTunings);
  if (entry < int(TuningPresetCount)) {
    Ask->message(this, QStringLiteral("Choose a tuning of your own in the list first. The "
                                      "built-in tunings cannot be deleted."));
    return;
  }
  const std::string name = OwnTunings[std::size_t(entry) - TuningPresetCount].Name;
  if (!Ask->ask(this, QStringLiteral("Delete the tuning \"%1\"?").arg(qs(name)), false)) return;
  try {
    UserTuningStore::remove(*SettingsFile, name);
  } catch (const ProfileWriteError& error) {
    Ask->error(this, QString::fromStdString(error.what()));
    return;
  }
  OwnTunings = UserTuningStore::read(SettingsFile->read());
  fillTuningList();
}

void FretboardPanel::clearHoverReadout() {
  HoverCell.reset();
  pnlNote->clear();
  pnlInterval->clear();
}

void FretboardPanel::setGuitarView(bool leftHanded, int capo) {
  const qreal ratio = imgGuitar->pixelRatio();
  imgGuitarCopy = Bitmaps::fretboard(leftHanded, ratio);
  if (capo > 0) Bitmaps::drawCapo(imgGuitarCopy);
  const QImage strip = Bitmaps::fingerStrip(ratio);
  imgFinger = leftHanded ? Bitmaps::mirroredGlyphCells(strip) : strip;
  imgGuitar->setMirrored(leftHanded);
  imgGuitar->setImage(imgGuitarCopy);
  // The tuning controls stay beside the nut.
  PictureRow->removeWidget(TuningColumn);
  PictureRow->insertWidget(leftHanded ? 1 : 0, TuningColumn);
}

void FretboardPanel::showHoverReadout() {
  if (!HoverCell) {
    clearHoverReadout();
    return;
  }
  const auto [s, f] = *HoverCell;
  const int p = pitchClass(UpDowns[s]->position() + f);
  pnlNote->setText(qs(State.shownNames().pitchName(p)));
  pnlInterval->setText(qs(FretboardHit::intervalReadout(p - State.LastRoot)));
}

void FretboardPanel::mouseMoveEvent(QMouseEvent* event) {
  clearHoverReadout();
  QFrame::mouseMoveEvent(event);
}

void FretboardPanel::imgGuitarMouseMove(QPoint at) {
  if (!FretboardHit::inside(at.x(), at.y())) {
    clearHoverReadout();
    return;
  }
  State.HoverString = FretboardHit::stringAt(at.y());
  State.HoverFret = FretboardHit::fretAt(at.x());
  HoverCell = {State.HoverString, State.HoverFret};
  showHoverReadout();
}

void FretboardPanel::showEditChord() {
  if (const TChordFormula* compared = comparedFormula()) {
    // The chord type laid over the fingering replaces the fingering's own
    // arpeggio.
    showDiagram(State.EditChord, false);
    ShowArpeggio(*compared, Editor.root(), QColor(0, 0, 255));
  } else {
    ShowDiagram(State.EditChord);
  }
}

void FretboardPanel::imgGuitarMouseDown(QPoint at, Qt::MouseButton button) {
  if (Guard.playing()) return;
  if (!chordDesignActive() || !FretboardHit::inside(at.x(), at.y())) return;
  // The press may come without a move before it (a touch, a synthetic click).
  State.HoverString = FretboardHit::stringAt(at.y());
  State.HoverFret = FretboardHit::fretAt(at.x());
  HoverCell = {State.HoverString, State.HoverFret};
  const bool right = button == Qt::RightButton;
  editInHand("Fret", [&] {
    Editor.press(State.HoverString, State.HoverFret,
                 Design ? Design->selectedFinger() : FingerCode::Fretted, right);
    if (right) pnlInterval->setText(QStringLiteral("1"));
    fingeringEdited(right);
  });
}

void FretboardPanel::fingeringEdited(bool rootPressed) {
  const bool rootMoved = Editor.keepNameTrue(State.ExeDir);
  if (Design && (rootPressed || rootMoved))
    Design->showRootAndBass(Editor.root(), State.Names.pitchName(Editor.root()), Editor.bass(),
                            State.Names.pitchName(Editor.bass()));
  if (Design) Design->showTab(Editor.tabTexts());
  showEditChord();
  Editor.rebuildFormula(comparedFormula());
  if (Design && Editor.bass() != Editor.root())
    editChordNameUser->setText(
        qs(DiagramText::playPageCaption(State.EditChord, State.shownNames())));
}

void FretboardPanel::udRootClick() {
  if (!Design) return;
  editInHand(
      "Root", [&] { Editor.setRoot(Design->rootPosition()); }, true);
  const std::string_view root = State.Names.pitchName(Editor.root());
  Design->showRootAndBass(Editor.root(), root, Editor.root(), root);
  // What the read-out says was measured from the root just left.
  clearHoverReadout();
}

void FretboardPanel::udRootMouseUp() {
  editInHand(
      "Root", [&] { Editor.recomputeIntervals(); }, true);
  showEditChord();
}

void FretboardPanel::udBassClick() {
  if (!Design) return;
  editInHand(
      "Bass", [&] { Editor.setBass(Design->bassPosition()); }, true);
  Design->showBass(Editor.bass(), State.Names.pitchName(Editor.bass()));
  if (!State.IntervalsShown)
    editChordNameUser->setText(
        qs(DiagramText::playPageCaption(State.EditChord, State.shownNames())));
  clearHoverReadout();
}

void FretboardPanel::showFingerMark(int s, int f, int glyphX) {
  if (s < 0 || s > 5 || f < 0 || f > HighestFret) return;
  QImage& guitar = imgGuitar->image();
  FingerSave[s] = BitmapDrawing::copyLogical(guitar, glyphPlace(s, f));
  drawFretboardGlyph(guitar, imgFinger, glyphX, s, f);
  imgGuitar->refresh();
}

void FretboardPanel::restoreFingerMark(int s, int f, bool fromCleanPicture) {
  if (s < 0 || s > 5 || f < 0 || f > HighestFret) return;
  QImage& saved = FingerSave[s];
  if (fromCleanPicture) saved = BitmapDrawing::copyLogical(imgGuitarCopy, glyphPlace(s, f));
  if (!saved.isNull()) {
    QPainter p(&imgGuitar->image());
    p.drawImage(glyphPlace(s, f).topLeft(), saved);
  }
  imgGuitar->refresh();
}

void FretboardPanel::restoreCleanPicture() {
  imgGuitar->image() = imgGuitarCopy;
  imgGuitar->refresh();
}

void FretboardPanel::nameChordInHand() {
  if (comparedFormula()) showDiagram(State.EditChord, false);
  Editor.nameForGroup();
}

bool FretboardPanel::typeFret(int s, std::optional<int> fret) {
  if (Guard.playing()) return false;
  if (!chordDesignActive() || s < 0 || s > 5 || (fret && (*fret < 0 || *fret > HighestFret)))
    return false;
  State.HoverString = s;
  State.HoverFret = fret.value_or(0);
  editInHand("Tablature", [&] {
    Editor.typeFret(s, fret, Design ? Design->selectedFinger() : FingerCode::Fretted);
    fingeringEdited(false);
  });
  return true;
}

void FretboardPanel::typeChordName(const QString& text) {
  editInHand(
      "Chord Name", [&] { Editor.typeChordName(recordText(text)); }, true);
}

void FretboardPanel::toggleExtension(int tag) {
  if (tag < 0 || tag > 11) return;
  editInHand("Interval", [&] {
    Editor.setExtension(tag, !State.ExtensionFlags[static_cast<std::size_t>(tag)]);
  });
  ShowDiagram(State.EditChord);
}

void FretboardPanel::resetIntervalColours() {
  for (QLineEdit* label : editIntervals) {
    QPalette p = label->palette();
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::Base, Qt::white);
    label->setPalette(p);
  }
}

void FretboardPanel::showTuning(const Tuning& tuning) {
  for (std::uint8_t note : tuning)
    if (note < LowestNote || note > HighestNote) return;
  State.CurrentTuning = tuning;
  for (int s = 0; s < 6; ++s) showString(s, tuning[static_cast<std::size_t>(s)]);
  followTuning();
}

void FretboardPanel::showPrintItem(const TPrintDiagram& item) {
  if (item.IsChord) {
    TChordDiagram chord{};
    printItemToChord(item, chord);
    ShowDiagram(chord);
  } else {
    TScaleDiagram scale{};
    printItemToScale(item, scale);
    ShowScaleOnFretboard(scale);
  }
}
