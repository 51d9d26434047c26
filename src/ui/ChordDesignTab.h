#pragma once

#include <QWidget>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QGroupBox;
class QToolButton;
class SurfaceView;
class UpDown;

// The Chord Design tab: the design group picture, root and bass of the edited
// fingering, the finger markers used when frets are clicked on the big
// fretboard, its tablature, the chord search and the chord-type list.
class ChordDesignTab : public QWidget {
  Q_OBJECT

 public:
  explicit ChordDesignTab(QWidget* parent = nullptr);

  // The Finger code of the marker that is down: 6 plain, 1..4 finger numbers.
  int selectedFinger() const;
  void selectFinger(int finger);

  SurfaceView* imgChordDesign;
  UpDown* udRoot;
  UpDown* udBass;
  QLineEdit* editRoot;
  QLineEdit* editBass;
  QToolButton* sbtnPlain;
  QToolButton* sbtnOne;
  QToolButton* sbtnTwo;
  QToolButton* sbtnThree;
  QToolButton* sbtnFour;
  QButtonGroup* fingerMarkers;
  QLineEdit* editTab[6];
  QToolButton* sbDisplayIntervals;
  QGroupBox* rgIntervalOp;
  QButtonGroup* intervalOptions;
  QGroupBox* rgRootOp;
  QButtonGroup* rootOptions;
  QPushButton* btnSearch;
  QListWidget* listChordDesign;
  QComboBox* ComboBox1;
};
