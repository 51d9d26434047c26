#pragma once

class QObject;
class QWidget;

// Context help: a widget, tab page, menu or dialog carries the number of its
// help section, and F1 opens the help at the nearest one around the control
// in use.

// The main window's section; every control without its own section falls back here.
inline constexpr int MainWindowHelpContext = 10;

void setHelpContext(QWidget* widget, int context);

// The section of `widget` or of the nearest parent that has one, looking no
// further than its own window when `withinWindow` is set; 0 when none has.
int helpContextOf(const QWidget* widget, bool withinWindow = false);

// The section F1 opens when its key press is delivered to `receiver`, or -1
// when that delivery is not the first one (key presses travel up the parents
// and past the application's event filters once per step). An open pop-up
// menu answers for itself; otherwise the focused control, then the control
// under the pointer, then the window decides.
int helpContextForKey(const QObject* receiver);
