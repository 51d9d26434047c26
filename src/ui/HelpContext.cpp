#include "ui/HelpContext.h"

#include <QApplication>
#include <QCursor>
#include <QVariant>
#include <QWidget>

namespace {

const char* const ContextProperty = "helpContext";

int ownContext(const QWidget* widget) {
  return widget->property(ContextProperty).toInt();
}

}  // namespace

void setHelpContext(QWidget* widget, int context) {
  widget->setProperty(ContextProperty, context);
}

int helpContextOf(const QWidget* widget, bool withinWindow) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    if (withinWindow && w->isWindow()) return 0;
    if (const int context = ownContext(w)) return context;
  }
  return 0;
}

int helpContextForKey(const QObject* receiver) {
  if (QWidget* popup = QApplication::activePopupWidget()) {
    if (receiver != popup && receiver != popup->focusWidget()) return -1;
    const int context = helpContextOf(popup);
    return context ? context : MainWindowHelpContext;
  }
  QWidget* focus = QApplication::focusWidget();
  QWidget* window = QApplication::activeWindow();
  if (receiver != (focus ? focus : window)) return -1;
  if (focus)
    if (const int context = helpContextOf(focus, true)) return context;
  // The focus often rests on a control without a section of its own (the
  // strum speed takes it after each key), so the pointer says what is meant.
  if (window) {
    const QWidget* hovered = QApplication::widgetAt(QCursor::pos());
    if (hovered && hovered->window() == window)
      if (const int context = helpContextOf(hovered, true)) return context;
    if (const int context = helpContextOf(window)) return context;
  }
  return MainWindowHelpContext;
}
