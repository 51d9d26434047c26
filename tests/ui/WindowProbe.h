#pragma once

// Reaching the window's controls the way a user does: by their names, with
// real clicks and real menu commands.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>

#include "library/MenuTables.h"

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
