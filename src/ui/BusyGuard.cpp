#include "ui/BusyGuard.h"

#include <QApplication>
#include <QCursor>

#include "play/PlaybackEngine.h"

bool BusyGuard::active() const {
  return (Engine && Engine->busy()) || BusyPointer::showing();
}

bool BusyGuard::playing() const {
  return Engine && Engine->playDown();
}

BusyPointer::BusyPointer() {
  ++Living;
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyPointer::~BusyPointer() {
  QApplication::restoreOverrideCursor();
  --Living;
}
