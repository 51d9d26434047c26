#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QtTest>

#include "../settings/FakeFileLayer.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "settings/ProfileFile.h"
#include "ui/HelpWindow.h"
#include "ui/MainWindow.h"

namespace {

// The settings window, shown and active as the user has it before pressing keys.
struct Rig : SettingsWindowRig {
  bool activate() {
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
  }
};

// F1 pressed on whatever has the focus (or on the open pop-up menu); the
// anchor the help window then shows, or "" when it did not open. The window
// that was active is made active again afterwards, as the user would click
// back into it.
QString pressF1(QWidget& window) {
  QWidget* active = QApplication::activeWindow();
  QWidget* popup = QApplication::activePopupWidget();
  QWidget* focus = QApplication::focusWidget();
  QWidget* target = popup ? popup : focus;
  QTest::keyClick(target ? target : &window, Qt::Key_F1);
  // F1 is no command key: it leaves the focus where it was.
  if (!popup && QApplication::focusWidget() != focus) return QStringLiteral("focus moved");
  HelpWindow* help = window.findChild<HelpWindow*>();
  if (!help || !help->isVisible()) return {};
  const QString anchor = help->currentAnchor();
  // The help window's activation is queued by the platform; let it land
  // before handing the keyboard back.
  QCoreApplication::processEvents();
  help->hide();
  if (active) {
    QApplication::setActiveWindow(active);
    if (!QTest::qWaitForWindowActive(active)) return QStringLiteral("not active again");
  }
  return anchor;
}

}  // namespace

class ContextHelpTest : public QObject {
  Q_OBJECT

 private slots:
  void f1OnTheChordDesignTabOpensItsSections() {
    Rig r;
    r.window.showTab(PlayTab::ChordDesign);
    QVERIFY(r.activate());

    // A tablature box, clicked into: the tab's own section.
    auto* tab = child<QLineEdit>(r.window, "editTab0");
    QTest::mouseClick(tab, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), tab);
    QCOMPARE(pressF1(r.window), QStringLiteral("ctx220"));

    // The chord-type list has a section of its own, and so has its pop-up menu.
    auto* list = child<QComboBox>(r.window, "ComboBox1");
    list->setFocus();
    QCOMPARE(pressF1(r.window), QStringLiteral("ctx400"));
    // Through the window, as the platform delivers it: the right press
    // becomes a context-menu request there.
    QTest::mouseClick(r.window.windowHandle(), Qt::RightButton, {},
                      list->mapTo(&r.window, list->rect().center()));
    auto* comboMenu = child<QMenu>(r.window, "popmenuCombo");
    QVERIFY(comboMenu->isVisible());
    QCOMPARE(pressF1(r.window), QStringLiteral("ctx400"));
    // The menu is closed for the help to be read.
    QVERIFY(!comboMenu->isVisible());
    QVERIFY(r.ask.messages.isEmpty());
  }

  void f1InTheAddUserChordDialogTellsTheIntervalBoxesFromTheRest() {
    Rig r;
    r.window.showTab(PlayTab::ChordDesign);
    QVERIFY(r.activate());
    QStringList seen;
    r.ask.dialogs.push_back([&seen, &r](QDialog& d) {
      QApplication::setActiveWindow(&d);
      if (!QTest::qWaitForWindowActive(&d)) return false;
      tick(child<QCheckBox>(d, "cbInterval3"));
      seen << (QApplication::focusWidget() == child<QCheckBox>(d, "cbInterval3")
                   ? pressF1(r.window)
                   : QStringLiteral("box not focused"));
      QTest::mouseClick(child<QLineEdit>(d, "editUserName"), Qt::LeftButton);
      seen << pressF1(r.window);
      clickIn(d, "CancelBtn");
      return false;
    });
    trigger(r.window, "pmenu6Add");
    QCOMPARE(seen, (QStringList{QStringLiteral("ctx910"), QStringLiteral("ctx450")}));
    QCOMPARE(r.ask.unanswered, 0);
  }

  void withTheFocusOnTheStrumSpeedThePointerDecides() {
    Rig r;
    QVERIFY(r.activate());
    // Activating the window puts the focus on the strum speed, which has no
    // section of its own.
    QCOMPARE(QApplication::focusWidget(), child<QScrollBar>(r.window, "sbStrumSpeed"));
    auto* surface = child<SurfaceView>(r.window, "imgChordPage");
    QTest::mouseMove(surface, QPoint(100, 100));
    QCOMPARE(pressF1(r.window), QStringLiteral("ctx210"));
    // Over the tool bar: the main window's section.
    QTest::mouseMove(child<QScrollBar>(r.window, "sbStrumSpeed"));
    QCOMPARE(QApplication::focusWidget(), child<QScrollBar>(r.window, "sbStrumSpeed"));
    QCOMPARE(pressF1(r.window), QStringLiteral("ctx10"));

    // The Chords tab's surface with the focus, wherever the pointer is.
    surface->setFocus();
    QCOMPARE(pressF1(r.window), QStringLiteral("ctx210"));
  }

  void anOpenMenuOfTheMenuBarAnswersForItself() {
    Rig r;
    QVERIFY(r.activate());
    auto* menu = child<QMenu>(r.window, "menuOptions");
    menu->popup(r.window.mapToGlobal(QPoint(40, 40)));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QCOMPARE(pressF1(r.window), QStringLiteral("ctx320"));
    QVERIFY(!menu->isVisible());

    // A submenu has the section of the menu it belongs to.
    QMenu* more = nullptr;
    for (QAction* a : child<QMenu>(r.window, "menuFamily1")->actions())
      if (a->menu()) more = a->menu();
    QVERIFY(more);
    more->popup(r.window.mapToGlobal(QPoint(40, 40)));
    QVERIFY(QTest::qWaitForWindowExposed(more));
    QCOMPARE(pressF1(r.window), QStringLiteral("ctx280"));
  }
};

QTEST_MAIN(ContextHelpTest)
#include "ContextHelpTest.moc"
