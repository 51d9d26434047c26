#include <QMenu>
#include <QtTest>

#include "WindowRig.h"

namespace {

QAction* editItem(MainWindow& w, const char* name) {
  return action(*child<QMenu>(w, "menuEdit"), name);
}

void pressCtrl(MainWindow& w, Qt::Key key, Qt::KeyboardModifiers more = {}) {
  QTest::keyClick(&w, key, Qt::ControlModifier | more);
}

}  // namespace

class EditMenuTest : public QObject {
  Q_OBJECT

 private slots:
  // Erase Page is taken back by Ctrl+Z and made again by Edit > Redo; each
  // page keeps its own history, and the menu names the edit.
  void undoAndRedoStepTheActiveTabsPage() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QVERIFY(!editItem(w, "mnuUndo")->isEnabled());
    QCOMPARE(editItem(w, "mnuUndo")->text(), QStringLiteral("&Undo"));

    const QByteArray empty = rig.save("empty.cpf");
    chooseKey(w, 7);
    chooseChordType(w, 1, 0);
    clickShowChords(w);
    const QByteArray shown = rig.save("shown.cpf");
    QVERIFY(shown != empty);

    click(w, "sbtnErase");
    QCOMPARE(editItem(w, "mnuUndo")->text(), QStringLiteral("&Undo Erase Page"));
    // Erasing marks the diagrams empty and keeps the rest of their bytes.
    const QByteArray erased = rig.save("erased.cpf");

    pressCtrl(w, Qt::Key_Z);
    QCOMPARE(rig.save("undone.cpf"), shown);
    QVERIFY(!isEmpty(w.state().SelectedChord));
    QCOMPARE(editItem(w, "mnuRedo")->text(), QStringLiteral("&Redo Erase Page"));
    QVERIFY(editItem(w, "mnuRedo")->isEnabled());

    // The Play page has a history of its own, still empty.
    clickTab(w, static_cast<int>(PlayTab::PlayPage));
    QVERIFY(!editItem(w, "mnuUndo")->isEnabled());
    QVERIFY(!editItem(w, "mnuRedo")->isEnabled());
    pressCtrl(w, Qt::Key_Z);
    clickTab(w, static_cast<int>(PlayTab::Chords));
    QCOMPARE(rig.save("still.cpf"), shown);

    editItem(w, "mnuRedo")->trigger();
    QCOMPARE(rig.save("redone.cpf"), erased);
    QVERIFY(!editItem(w, "mnuRedo")->isEnabled());
    pressCtrl(w, Qt::Key_Z);
    pressCtrl(w, Qt::Key_Y);
    QCOMPARE(rig.save("again.cpf"), erased);
    pressCtrl(w, Qt::Key_Z);
    pressCtrl(w, Qt::Key_Z, Qt::ShiftModifier);
    QCOMPARE(rig.save("shifted.cpf"), erased);
    QCOMPARE(rig.ask.unanswered, 0);
  }

  // Opening a file is one edit; the change flag is clear exactly while the
  // page is as its file has it.
  void openingIsAnEditAndTheChangeFlagFollowsTheHistory() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.show();
    clickTab(w, static_cast<int>(PlayTab::PlayPage));
    const QByteArray empty = rig.save("empty.ppf");
    chooseKey(w, 2);
    chooseChordType(w, 2, 0);
    clickShowChords(w);
    popupCommand(w, "imgChordPage", {70, 90}, "popmenuChords", "pmenu1SendtoPlay");
    clickAt(w, "imgPlayPage", {100, 100});
    const QByteArray one = rig.save("one.ppf");
    QVERIFY(one != empty);
    click(w, "sbtnErase");
    QVERIFY(!w.state().Play.PlayPageChanged);
    const QByteArray erased = rig.save("erased.ppf");

    rig.ask.files.push_back(rig.file("one.ppf"));
    click(w, "sbtnOpen");
    QCOMPARE(editItem(w, "mnuUndo")->text(), QStringLiteral("&Undo Open"));
    QVERIFY(!w.state().Play.PlayPageChanged);
    editItem(w, "mnuUndo")->trigger();
    QVERIFY(w.state().Play.PlayPageChanged);
    for (const auto& column : w.state().PlayPage)
      for (const auto& slot : column) QVERIFY(isEmpty(slot));
    editItem(w, "mnuRedo")->trigger();
    QVERIFY(!w.state().Play.PlayPageChanged);
    QCOMPARE(rig.save("reopened.ppf"), one);
    editItem(w, "mnuUndo")->trigger();
    QVERIFY(w.state().Play.PlayPageChanged);
    QCOMPARE(rig.save("none.ppf"), erased);
    QCOMPARE(rig.ask.unanswered, 0);
  }
};

QTEST_MAIN(EditMenuTest)
#include "EditMenuTest.moc"
