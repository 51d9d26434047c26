#pragma once

#include <QMainWindow>

#include "music/AppState.h"

class QTabWidget;

// The program's one window. It owns the program state for its whole life and
// composes the tool bar, the five tab pages and the fretboard panel; commands
// are routed from here to the page that owns them.
class TfrmMain : public QMainWindow {
  Q_OBJECT

 public:
  explicit TfrmMain(const std::string& exeDir, QWidget* parent = nullptr);

  AppState& state() { return State; }
  QTabWidget* pageControl() const { return PageControl1; }

 private:
  void buildPages();

  AppState State;
  QTabWidget* PageControl1 = nullptr;
};
