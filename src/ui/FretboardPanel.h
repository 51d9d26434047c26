#pragma once

#include <QColor>
#include <QFrame>
#include <QImage>
#include <array>
#include <functional>

#include "state/AppState.h"

class BusyGuard;
class ChordDesignTab;
class QLabel;
class QLineEdit;
class QMouseEvent;
class QPushButton;
class SurfaceView;
class ToolBarPanel;
class UpDown;

// The fretboard panel: the big fretboard picture with the six tuning controls
// beside it and the read-outs under it (tuning name, chord name, the note and
// interval under the pointer, the chord's notes and interval labels). It shows
// any chord or scale in hand, works out the interval list of a fingering, and
// lets the fingering of the Chord Design tab be edited with the mouse.
class FretboardPanel : public QFrame {
  Q_OBJECT

 public:
  FretboardPanel(AppState& state, const BusyGuard& guard, QWidget* parent = nullptr);

  // The controls of other panels this one reads and sets, and a way to know
  // the active tab. Set once by the main window.
  void connectPanels(ChordDesignTab* design, ToolBarPanel* toolBar, std::function<int()> activeTab);

  void ShowDiagram(TChordDiagram chord);
  void ClearFretboard();
  void ShowArpeggio(const TChordFormula& formula, int root, QColor textColour);
  void ShowScaleOnFretboard(const TScaleDiagram& scale);

  // After the naming mode changed: the tuning labels follow the new names.
  void refreshStringNames();
  // Enables the tuning controls (Chord Design and Scales tabs only).
  void setTuningEnabled(bool enabled);

  // Handlers.
  void UpDown0Click(int s);
  void UpDown0MouseUp();
  void imgGuitarMouseMove(QPoint at);
  void imgGuitarMouseDown(QPoint at, Qt::MouseButton button);
  void udRootClick();
  void udRootMouseUp();
  void udBassClick();
  void clearHoverReadout();

  // Interval label texts as they are on show, 0..6.
  std::array<std::string, 7> intervalCaptions() const;
  int intervalTag(int i) const;

  SurfaceView* imgGuitar;
  QImage imgGuitarCopy;
  QImage imgFinger;
  UpDown* UpDowns[6];
  QLineEdit* editString[6];
  QLineEdit* editTuningName;
  QLabel* Label2;
  QLineEdit* editChordNameUser;
  QLabel* pnlNote;
  QLabel* pnlInterval;
  QLineEdit* editNotes;
  QLineEdit* editIntervals[8];
  QPushButton* bitbtnDrag;

 protected:
  // Moving over the panel outside the picture clears the pointer read-out.
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void setIntervalLabel(int i, const QString& text, int tag, QColor textColour, QColor background);
  void setTextColour(QLineEdit* field, QColor colour);
  // Shows the edited fingering, with the intervals display when it is on.
  void showEditChord();
  void rebuildEditFormula();
  bool chordDesignActive() const;

  AppState& State;
  const BusyGuard& Guard;
  ChordDesignTab* Design = nullptr;
  ToolBarPanel* ToolBar = nullptr;
  std::function<int()> ActiveTab;
};
