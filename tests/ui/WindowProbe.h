#pragma once

// Reaching the window's controls the way a user does: by their names, with
// real clicks and real menu commands.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

#include "library/MenuTables.h"
#include "ui/SurfaceView.h"

template <class T = QWidget>
T* child(QObject& window, const char* name) {
  T* found = window.findChild<T*>(QLatin1String(name));
  if (!found) qFatal("no control named %s", name);
  return found;
}

inline QToolButton* button(QObject& window, const char* name) {
  return child<QToolButton>(window, name);
}

inline QAction* action(QObject& window, const char* name) {
  return child<QAction>(window, name);
}

inline void trigger(QObject& window, const char* name) {
  action(window, name)->trigger();
}

// A left click on a tool-bar button.
inline void click(QObject& window, const char* name) {
  QTest::mouseClick(child<QAbstractButton>(window, name), Qt::LeftButton);
}

// A click on the drawing surface `name` at `at`, in picture pixels.
inline void clickAt(QObject& window, const char* name, QPoint at,
                    Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = {}) {
  QTest::mouseClick(child<SurfaceView>(window, name), button, modifiers, at);
}

// A key typed by the user: the window is shown and made active, and the key
// goes to whichever of its controls has the focus.
[[nodiscard]] inline bool typeKey(QWidget& window, int key) {
  if (!window.isVisible()) window.show();
  QApplication::setActiveWindow(&window);
  if (!QTest::qWaitForWindowActive(&window)) return false;
  QWidget* focused = QApplication::focusWidget();
  QTest::keyClick(focused ? focused : &window, Qt::Key(key));
  return true;
}

// A click on the box of a check box.
inline void tick(QCheckBox* box) {
  QStyleOptionButton option;
  option.initFrom(box);
  const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
  QTest::mouseClick(box, Qt::LeftButton, {}, indicator.center());
}

// What a field holds replaced by `text`, the way a user does it: select all,
// then type (or delete).
inline void retype(QLineEdit* field, const QString& text) {
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  if (text.isEmpty())
    QTest::keyClick(field, Qt::Key_Delete);
  else
    QTest::keyClicks(field, text);
}

// A click on the button named `name` in a dialog.
inline void clickIn(QWidget& dialog, const char* name) {
  QTest::mouseClick(child<QAbstractButton>(dialog, name), Qt::LeftButton);
}

// The command captioned `caption` in `menu` or one of its submenus.
inline QAction* menuItem(QMenu* menu, const QString& caption) {
  for (QAction* a : menu->actions()) {
    if (a->menu()) {
      if (QAction* inner = menuItem(a->menu(), caption)) return inner;
    } else if (a->text() == caption) {
      return a;
    }
  }
  return nullptr;
}

// A right press on the surface `surface` at `at`, then the command `item` of
// the pop-up menu `menu` that it opened.
inline void popupCommand(QObject& window, const char* surface, QPoint at, const char* menu,
                         const char* item) {
  clickAt(window, surface, at, Qt::RightButton);
  auto* popup = child<QMenu>(window, menu);
  QAction* command = action(*popup, item);
  popup->hide();
  command->trigger();
}

// The user's change of tab: a click on the tab's caption in the window
// `window` (shown first, so the tabs have their places).
inline void clickTab(QWidget& window, int tab) {
  if (!window.isVisible()) window.show();
  QTabBar* bar = child<QTabWidget>(window, "PageControl1")->tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
}

inline void chooseKey(QObject& window, int key) {
  trigger(window, QStringLiteral("mnuKey%1").arg(key).toLatin1().constData());
}

// `family` 1..3 as in the menu bar, `type` the index in its list.
inline void chooseChordType(QObject& window, int family, int type) {
  QMenu* menu =
      child<QMenu>(window, QStringLiteral("menuFamily%1").arg(family).toLatin1().constData());
  const std::string_view name = ChordFamilies[family - 1].types[type];
  QAction* item = menuItem(menu, QString::fromLatin1(name.data(), qsizetype(name.size())));
  QVERIFY(item);
  item->trigger();
}

inline void chooseScale(QObject& window, int index) {
  const std::string_view name = ScaleMenuNames[index];
  QAction* item = menuItem(child<QMenu>(window, "menuScale"),
                           QString::fromLatin1(name.data(), qsizetype(name.size())));
  QVERIFY(item);
  item->trigger();
}

inline void clickShowChords(QObject& window) {
  click(window, "btnShowChords");
}

// Key `key` and chord type `type` of family `family` chosen from the menus,
// then Show Chords.
inline void showChords(QObject& window, int key, int family, int type) {
  chooseKey(window, key);
  chooseChordType(window, family, type);
  clickShowChords(window);
}

// The set in column `column` of the Chords page sent by its pop-up menu's
// `command`, then placed by a press at `at` on the surface `surface`.
inline void sendChord(QObject& window, int column, const char* command, const char* surface,
                      QPoint at) {
  popupCommand(window, "imgChordPage", {120 * column + 70, 90}, "popmenuChords", command);
  clickAt(window, surface, at);
}

// A finished drag of `data` onto `target` at `at`: its enter, then its drop,
// through the widget's own events (an offscreen platform runs no QDrag).
// Whether the target took it.
inline bool dropOn(QWidget* target, const QMimeData& data, QPoint at) {
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
  QApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
  QApplication::sendEvent(target, &drop);
  return true;
}
