#pragma once

#include <QWidget>

class QSpinBox;
class QToolButton;

// The controls of the guitar as the player holds it, beside the fretboard:
// the capo's fret, chord names as fretted ("Shape") or as they sound
// ("Sounding"), and Left Handed. It only shows what it is told and reports
// the user's changes as signals.
class GuitarViewBar : public QWidget {
  Q_OBJECT

 public:
  explicit GuitarViewBar(QWidget* parent = nullptr);

  // Shows the view as it stands without it counting as a change.
  void showGuitarView(int capo, bool soundingNames, bool leftHanded);

 signals:
  void capoChanged(int capo);
  void namesChosen(bool sounding);
  void leftHandedClicked();

 private:
  QSpinBox* spinCapo;
  QToolButton* sbtnShapeNames;
  QToolButton* sbtnSoundingNames;
  QToolButton* sbtnLeftHanded;
};
