#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <string_view>

#include "play/PlayTab.h"

class NameTables;
class QAction;
class QMenu;
class QMenuBar;

// The window's menu bar: File (with the export items that only the play page
// offers), Key, the three chord-type menus, Scale, Options and Help. It owns
// the menus and their captions; every command goes out as a signal for the
// window to route.
class MainMenu : public QObject {
  Q_OBJECT

 public:
  // `activeTab` tells which tab is showing when the File menu opens.
  MainMenu(QMenuBar* bar, std::function<PlayTab()> activeTab, QObject* parent);

  // What the File menu lists as recent files when it opens.
  void setRecentFiles(std::function<QStringList()> list) { RecentList = std::move(list); }
  // The key captions and the Flats/Sharps caption follow the naming.
  void showNaming(const NameTables& names);
  // While a player runs only its own commands are open; the hidden Window
  // menu stays disabled whatever plays.
  void setMenusEnabled(bool enabled);
  // The Edit menu names the edits Undo and Redo would act on ("Place
  // Chord"); an empty name disables the item.
  void showUndoRedo(std::string_view undoLabel, std::string_view redoLabel);

 signals:
  void exportMidiChosen();
  void exportAudioChosen();
  void exportMusicXmlChosen();
  void exitChosen();
  void recentFileChosen(const QString& path);
  // File > New: erase the page of the active tab.
  void newChosen();
  void keyChosen(int key);
  // `family` 1..3, `type` its index in the family's list.
  void chordTypeChosen(int family, int type);
  void scaleChosen(int index);
  void midiSetupChosen();
  void tempoChosen();
  void flatSharpChosen();
  void flipChosen();
  void easiestFirstChosen(bool on);
  void topicsChosen();
  void aboutChosen();
  // File > Export PDF...: the active tab's page as a PDF sheet.
  void exportPdfChosen();
  void exportChordProChosen();
  void undoChosen();
  void redoChosen();
  void smoothChosen();
  void transposeChosen();

 private:
  QMenuBar* Bar;
  std::function<QStringList()> RecentList;
  QMenu* menuKey = nullptr;
  QAction* mnuFlatSharp = nullptr;

 public:
  QAction* mnuEasiestFirst = nullptr;

 private:
  QAction* mnuUndo = nullptr;
  QAction* mnuRedo = nullptr;
};
