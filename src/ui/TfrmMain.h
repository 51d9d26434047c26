#pragma once

#include <QMainWindow>
#include <memory>
#include <string>

#include "music/AppState.h"
#include "ui/BusyGuard.h"
#include "ui/Prompter.h"

class ChordDesignPage;
class ChordsPage;
class PlayPageTab;
class ScalesPage;
class FretboardPanel;
class QAction;
class QMenu;
class QScrollArea;
class QTabWidget;
class QVBoxLayout;
class SurfaceView;
class ToolBarPanel;

// The program's one window. It owns the program state for its whole life and
// composes the tool bar, the five tab pages and the fretboard panel; menu and
// tool-bar commands are routed from here to the panel or page that owns them.
class TfrmMain : public QMainWindow {
  Q_OBJECT

 public:
  // Questions and dialogs go through `prompter`; without one the real Qt
  // dialogs are used.
  explicit TfrmMain(const std::string& exeDir, Prompter* prompter = nullptr,
                    QWidget* parent = nullptr);

  AppState& state() { return State; }
  const BusyGuard& guard() const { return Guard; }
  Prompter& prompter() { return *Ask; }
  QTabWidget* pageControl() const { return PageControl1; }
  ToolBarPanel* toolBar() const { return pnlTop; }
  FretboardPanel* fretboard() const { return pnlBottom; }
  ChordDesignPage* chordDesign() const { return DesignPage; }
  ChordsPage* chordsPage() const { return Chords; }
  ScalesPage* scalesPage() const { return Scales; }
  PlayPageTab* playPage() const { return PlayTab; }
  SurfaceView* surface(int page) const;
  bool fretboardOnTop() const { return FretboardOnTop; }

  // Handlers.
  void mnuFlatSharpClick();
  void mnuCClick(int key);
  void chooseChordType(int family, int type);
  void chooseScale(int index);
  void btnShowChordsClick();
  void editChordRootExit();
  void pmenu1SendtoPlayClick();
  void sbtnFlipClick();
  void menuFlipClick();
  void sbtnBassNoteClick();
  void sbtnLeftHandedClick();

  QAction* mnuFlatSharp = nullptr;
  QAction* menuFlip = nullptr;
  QMenu* menuKey = nullptr;

 private:
  void buildPages();
  void buildMenus();
  void placePanels();
  void pageChanged(int index);
  // Puts a toggle back where it was when the guard refuses its click.
  void undoToggle(QAbstractButton* button);

  AppState State;
  BusyGuard Guard;
  std::unique_ptr<Prompter> OwnPrompter;
  Prompter* Ask;
  ToolBarPanel* pnlTop = nullptr;
  FretboardPanel* pnlBottom = nullptr;
  QTabWidget* PageControl1 = nullptr;
  ChordDesignPage* DesignPage = nullptr;
  ChordsPage* Chords = nullptr;
  ScalesPage* Scales = nullptr;
  PlayPageTab* PlayTab = nullptr;
  SurfaceView* Surfaces[5] = {};
  QScrollArea* Scrolls[5] = {};
  QVBoxLayout* Column = nullptr;
  bool FretboardOnTop = false;
  int ShownPage = 0;
};
