#include "ui/BusyGuard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>

bool BusyGuard::active() const {
  if (Play && Play->isChecked()) return true;
  if (Pause && Pause->isChecked()) return true;
  const QCursor* busy = QApplication::overrideCursor();
  return busy && busy->shape() == Qt::WaitCursor;
}

BusyPointer::BusyPointer() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyPointer::~BusyPointer() {
  QApplication::restoreOverrideCursor();
}
