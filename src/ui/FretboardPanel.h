#pragma once

#include <QColor>
#include <QFrame>
#include <QImage>
#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "design/FingeringEditor.h"
#include "music/TuningPresets.h"
#include "play/PlayTab.h"
#include "state/Workbench.h"

class BusyGuard;
class ChordDesignTab;
class ProfileFile;
class Prompter;
class QComboBox;
class QLabel;
class QHBoxLayout;
class QLineEdit;
class QMouseEvent;
class QPushButton;
class SurfaceView;
class UpDown;

// What the fretboard asks of the rest of the window: whether the arpeggio is
// to be shown, and which tab is active. Whether Play is down it asks the
// guard, which asks the playback engine.
struct FretboardQueries {
  std::function<bool()> arpeggioShown;
  std::function<PlayTab()> activeTab;
};

// The fretboard panel: the big fretboard picture with the six tuning controls
// beside it and the read-outs under it (tuning name, chord name, the note and
// interval under the pointer, the chord's notes and interval labels). It shows
// any chord or scale in hand and the finger marks of a playing chord, and
// forwards edits of the Chord Design tab's fingering to its FingeringEditor,
// each one a step of that page's history.
class FretboardPanel : public QFrame {
  Q_OBJECT

 public:
  FretboardPanel(Workbench& bench, const BusyGuard& guard, QWidget* parent = nullptr);

  // The Chord Design tab whose root, bass and tablature go with the edited
  // fingering, and what the panel asks of the window. Set once by the main
  // window.
  void connectPanels(ChordDesignTab* design, FretboardQueries queries);
  // Where the player's own tunings are kept, and who asks for their names.
  // Set once by the main window; without a settings file none can be saved.
  void useTuningStore(Prompter& ask, ProfileFile* settingsFile);

  void ShowDiagram(TChordDiagram chord);
  void ClearFretboard();
  void ShowArpeggio(const TChordFormula& formula, int root, QColor textColour);
  void ShowScaleOnFretboard(const TScaleDiagram& scale);
  // A print page item: its chord, or its scale from the item's first fret.
  void showPrintItem(const TPrintDiagram& item);

  // After the naming mode changed: the tuning labels follow the new names.
  void refreshStringNames();
  // Enables the tuning controls and the tuning list (Chord Design and Scales
  // tabs only).
  void setTuningEnabled(bool enabled);
  void clearHoverReadout();
  // The note and interval of the cell last pointed at, measured from the root
  // on show now; empty when the pointer has left the fretboard since.
  void showHoverReadout();
  // The tuning name under the fretboard (typed by the user or shown).
  std::string typedTuningName() const { return Editor.tuningNameShown(); }

  // Finger marks of a playing chord: the glyph from the finger strip's column
  // glyphX is drawn on string s at fret f, and the place under it kept so
  // that restoreFingerMark can put it back (or refill it from the clean
  // picture).
  void showFingerMark(int s, int f, int glyphX);
  void restoreFingerMark(int s, int f, bool fromCleanPicture);
  // The fretboard without any glyph or box; the read-outs stay.
  void restoreCleanPicture();
  // Shows EditChord as a press on the fretboard would: with the chord type
  // laid over it when Show Intervals is down.
  void showChordInHand() { showEditChord(); }
  // Before EditChord joins the design group: its tuning name from the tuning
  // field (or the six string names when that is empty) and its formula from
  // its own intervals, not from a chord type laid over it.
  void nameChordInHand();
  QPushButton* dragButton() const { return bitbtnDrag; }
  // String s of the edited fingering as a tablature box says it (no fret:
  // muted). False, with nothing changed, when the fingering cannot be edited
  // now (Play down, or the Chord Design tab no longer active).
  bool typeFret(int s, std::optional<int> fret);
  // A name typed into the chord name box becomes the fingering's chord type
  // when it names one; the keys of one typing are one step.
  void typeChordName(const QString& text);
  // Interval tag (0..11) of the fingering listed an octave up, or back.
  void toggleExtension(int tag);

  // The edited fingering with the chord type of Show Intervals laid over it
  // when that is down.
  void showEditChordDisplay() { showEditChord(); }
  // The interval labels back to black on white, their texts kept.
  void resetIntervalColours();
  // The tuning controls and the current tuning set to `tuning`; a note
  // outside the neck's range leaves the whole tuning as it was.
  void showTuning(const Tuning& tuning);
  // The neck as the player holds it: mirrored for a left-handed player (nut
  // on the right, presses landing where they are shown) and a capo drawn at
  // the nut. The caller shows the contents again.
  void setGuitarView(bool leftHanded, int capo);

 signals:
  // Focus entered or left a field where a name is typed (tuning or chord).
  void nameFieldEntered();
  void nameFieldLeft();
  // A click on interval label 0..6, with the tag (interval mod 12) it shows.
  void intervalLabelClicked(int tag);
  // A key released in the chord name box, with the text it holds then.
  void chordNameKeyReleased(const QString& text);

 protected:
  // Moving over the panel outside the picture clears the pointer read-out.
  void mouseMoveEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Handlers.
  void UpDown0Click(int s);
  void UpDown0MouseUp();
  void imgGuitarMouseMove(QPoint at);
  void imgGuitarMouseDown(QPoint at, Qt::MouseButton button);
  void udRootClick();
  void udRootMouseUp();
  void udBassClick();
  void cbTuningPresetSelect(int index);
  void mnuSaveTuningClick();
  void mnuDeleteTuningClick();

  // String s shown tuned to `note`: its field, its up-down and Shown.
  void showString(int s, int note);
  // The current tuning becomes what the six strings show, under `name`; the
  // chord or scale in hand is retuned with it, the chord as one edit.
  void commitTuning(const std::string& name);
  // The tuning list: the presets, then the player's own, then the commands.
  void fillTuningList();
  // The tuning list shows the entry the six strings are, or "Custom".
  void followTuning();

  // ShowDiagram, with or without the arpeggio over it.
  void showDiagram(const TChordDiagram& chord, bool withArpeggio);
  void setIntervalLabel(int i, const QString& text, int tag, QColor textColour, QColor background);
  void setTextColour(QLineEdit* field, QColor colour);
  // Shows the edited fingering, with the intervals display when it is on.
  void showEditChord();
  // What follows every change of the fingering's strings: a name that no
  // longer fits its notes is replaced, then the tablature, the fretboard and
  // the formula show the fingering.
  void fingeringEdited(bool rootPressed);
  // One edit of the fingering in hand, recorded on the Chord Design page as
  // `label`. With `merge` it joins the step before when that was the same
  // edit and nothing has changed the page since (a held root button).
  template <class Change>
  void editInHand(std::string_view label, Change&& change, bool merge = false);
  // The tuning name and string fields, and what the editor knows of them.
  void showTuningName(std::string_view name);
  void showStringName(int s, int note);
  // The chord type laid over the edited fingering, when Show Intervals is down.
  const TChordFormula* comparedFormula() const;
  bool chordDesignActive() const;

  SurfaceView* imgGuitar;
  QImage imgGuitarCopy;
  QWidget* TuningColumn;
  QHBoxLayout* PictureRow;
  QImage imgFinger;
  QImage FingerSave[6];
  UpDown* UpDowns[6];
  QLineEdit* editString[6];
  QLineEdit* editTuningName;
  QComboBox* cbTuningPreset;
  // What the six strings show, which the tuning list follows and a saved
  // tuning keeps.
  Tuning Shown = StandardTuning;
  std::vector<NamedTuning> OwnTunings;
  Prompter* Ask = nullptr;
  ProfileFile* SettingsFile = nullptr;
  QLabel* Label2;
  QLineEdit* editChordNameUser;
  QLabel* pnlNote;
  QLabel* pnlInterval;
  // String and fret under the pointer while it is over the fretboard.
  std::optional<std::pair<int, int>> HoverCell;
  QLineEdit* editNotes;
  QLineEdit* editIntervals[8];
  QPushButton* bitbtnDrag;

  Workbench& Bench;
  AppState& State;
  const BusyGuard& Guard;
  FingeringEditor Editor;
  ChordDesignTab* Design = nullptr;
  FretboardQueries Queries;
};
