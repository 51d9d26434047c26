#pragma once

#include <QObject>
#include <QPoint>

#include "pages/render/DiagramPainter.h"
#include "state/AppState.h"

// Stand-in until the print page lands.
class PrintPageTab : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;
  const TPrintDiagram* itemToSend() const { return nullptr; }
  QPoint pressedCell() const { return {}; }
  QPoint selectedCell() const { return {}; }
  const SelectionFrame& frame() const { return Frame; }
  bool placing() const { return false; }
  void setPlacing(bool) {}
  void erase() {}
  bool hasItems() const { return false; }
  void cancelPointers() {}

 signals:
  void playDiagramChosen();
  void sendToPlayChosen();
  void sendToDesignChosen();
  void sendToScaleChosen();
  void pageEmptied();

 private:
  SelectionFrame Frame;
};
