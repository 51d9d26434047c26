#pragma once

#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QGroupBox;
class QLabel;
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
  // The keys 1 to 4 pick a finger marker and P the plain one; true when
  // `key` was one of them.
  bool fingerKey(int key);

  // Root and bass of the edited fingering as their controls stand (0..11).
  int rootPosition() const;
  int bassPosition() const;
  void showRootAndBass(int root, std::string_view rootName, int bass, std::string_view bassName);
  void showBass(int bass, std::string_view bassName);
  // The tablature, string 0 first.
  void showTab(const std::array<std::string, 6>& frets);
  // The user's own chord types, listed after the built-in ones.
  void setUserChordNames(const std::vector<std::string>& names);

  // The design group picture: the main window hands it to the painters as
  // this tab's drawing surface, as it does with every tab's surface.
  SurfaceView* surface() const { return imgChordDesign; }

  // One tablature box: string s (0..5).
  void showTabBox(int s, const QString& text);
  QLineEdit* tabBox(int s) const { return editTab[s]; }
  // The chord search: the items chosen in its two radio groups, and its
  // result lines. A line that names a chord carries its (root, dictionary
  // index) pair as a QPoint in Qt::UserRole; "No Chords Found" carries none.
  int intervalOption() const;
  void setIntervalOption(int item);
  int rootOption() const;
  void setRootOption(int item);
  void clearSearchResults();
  void addSearchResult(const QString& line, const QString& why, std::optional<QPoint> chord);
  // Search clicks and pointer moves over the list and the page are reported
  // from here on; called once by the search controller.
  void connectSearch();
  // The chord-type list and Show Intervals, for the intervals display: the
  // item chosen (-1 when none), the number of items, a user chord type added
  // at the end or removed, an item chosen without it counting as a click, and
  // the button put down or up the same way. The list's pop-up menu and the
  // signals below are made by enableChordTypeCommands.
  int chordTypeIndex() const;
  int chordTypeCount() const;
  void appendChordType(const std::string& name);
  void removeChordType(int index);
  void chooseChordType(int index);
  // Show Intervals shown down or up; the state holds whether it is.
  void setIntervalsShown(bool down);
  void enableChordTypeCommands();
  // The design group's file under its picture: "File:" alone when none.
  void showFilePath(const QString& path);

 signals:
  // A step of the root or bass control, and the root's step to act on.
  void rootStepped();
  void rootCommitted();
  void bassStepped();
  // The Search button was clicked.
  void searchClicked();
  // Suggest ticked or cleared.
  void suggestClicked(bool on);
  // The pointer moved over the result list or the page itself.
  void pointerOverSearch();
  // Show Intervals clicked (already in its new state), a chord type chosen
  // from the list, and the list's pop-up commands.
  void intervalsClicked();
  void chordTypeChosen();
  void addUserChordChosen();
  void deleteUserChordChosen();

 private:
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
  SurfaceView* imgTablature;
  QLineEdit* editTab[6];
  QToolButton* sbDisplayIntervals;
  // Suggest: a search result dropped on the group comes ordered by the
  // change from the PlayPage chord before the selected slot.
  QCheckBox* cbSuggest;
  QGroupBox* rgIntervalOp;
  QButtonGroup* intervalOptions;
  QGroupBox* rgRootOp;
  QButtonGroup* rootOptions;
  QPushButton* btnSearch;
  QListWidget* listChordDesign;
  QComboBox* ComboBox1;
  QLabel* lblCDFilePath;
};
