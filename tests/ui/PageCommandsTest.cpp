#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QtTest>
#include <cstring>

#include "WindowProbe.h"
#include "WindowRig.h"
#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"
#include "ui/ScalesTab.h"
#include "ui/SurfaceView.h"

namespace {

void clickTab(MainWindow& w, PlayTab tab) {
  clickTab(w, static_cast<int>(tab));
}

QString chordNameShown(MainWindow& w) {
  return child<QLineEdit>(*w.fretboard(), "editChordNameUser")->text();
}

}  // namespace

class PageCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  // A diagram sent to another page waits there under the placing pointer; a
  // change of tab puts the pointer back and places nothing.
  void aSentDiagramWaitsUntilTheTabChanges() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.show();
    showChords(w, 7, 1, 0);
    popupCommand(w, "imgChordPage", {120 * 2 + 70, 90}, "popmenuChords", "pmenu1SendtoPlay");
    QCOMPARE(w.currentTab(), PlayTab::PlayPage);
    auto* play = child<SurfaceView>(w, "imgPlayPage");
    QCOMPARE(play->pointerShape(), 5);
    clickTab(w, PlayTab::Scales);
    clickTab(w, PlayTab::PlayPage);
    QCOMPARE(play->pointerShape(), 0);
    clickAt(w, "imgPlayPage", {50, 50});
    for (const auto& column : w.state().PlayPage)
      for (const auto& slot : column) QVERIFY(isEmpty(slot));
  }

  // No command of a pop-up menu is a dead end: each one is carried out by
  // somebody. (Taking the connections away is how Qt tells that there were
  // some; the window is not used afterwards.)
  void everyPopupCommandIsCarriedOut() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    const QList<QMenu*> menus =
        w.findChildren<QMenu*>(QRegularExpression(QStringLiteral("^popmenu")));
    QCOMPARE(menus.size(), 6);
    for (QMenu* menu : menus)
      for (QAction* item : menu->actions())
        if (!item->isSeparator())
          QVERIFY2(QObject::disconnect(item, &QAction::triggered, nullptr, nullptr),
                   qPrintable(menu->objectName() + QLatin1Char(' ') + item->text()));
  }

  // A scale position goes from the Scales page to the print page with its
  // own start fret; from there a chord goes on to the design group and the
  // play page, and a scale back to the Scales page, each placed by a press.
  void diagramsTravelThroughThePrintPage() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.show();
    showChords(w, 7, 1, 0);
    sendChord(w, 3, "pmenu1SendtoPrint", "imgPrintPage", {70, 90});
    chooseKey(w, 9);
    chooseScale(w, 0);
    clickShowChords(w);
    popupCommand(w, "imgScales", {120 * 2 + 70, 90}, "popmenuScales", "pmenu1SendtoPrint");
    QCOMPARE(w.currentTab(), PlayTab::Print);
    clickAt(w, "imgPrintPage", {190, 90});
    QCOMPARE(int(w.state().PrintPage[1][0].BaseFret), 7);
    const TChordDiagram chord = w.state().ChordPage[3][0];

    popupCommand(w, "imgPrintPage", {70, 90}, "popmenuPrint", "pmenu1SendtoDesign");
    QCOMPARE(w.currentTab(), PlayTab::ChordDesign);
    clickAt(w, "imgChordDesign", {76 * 2 + 38, 50});
    QCOMPARE(w.state().DesignGroup[2].Root, chord.Root);
    QCOMPARE(std::memcmp(w.state().DesignGroup[2].Strings, chord.Strings, sizeof chord.Strings), 0);

    clickTab(w, PlayTab::Print);
    popupCommand(w, "imgPrintPage", {70, 90}, "popmenuPrint", "pmenu1SendtoPlay");
    QCOMPARE(w.currentTab(), PlayTab::PlayPage);
    clickAt(w, "imgPlayPage", {63 * 5 + 40, 60});
    QCOMPARE(w.state().PlayPage[5][0].Root, chord.Root);

    // The scale's menu offers only the Scales page; the scale lands on the
    // next free row with its positions up the neck again.
    clickTab(w, PlayTab::Print);
    clickAt(w, "imgPrintPage", {190, 90}, Qt::RightButton);
    auto* menu = child<QMenu>(w, "popmenuPrint");
    QVERIFY(!action(*menu, "pmenu1SendtoPlay")->isEnabled());
    menu->hide();
    trigger(w, "pmenu3SendtoScale");
    QCOMPARE(w.currentTab(), PlayTab::Scales);
    clickAt(w, "imgScales", {70, 150 * 3 + 90});
    QCOMPARE(w.state().ScaleCount, 2);
    QCOMPARE(w.state().ScalePage[1].ScaleName.str(), w.state().ScalePage[0].ScaleName.str());
    QCOMPARE(int(w.state().ScalePage[1].StartFrets[0]), 1);
    // A press selects the row it lands on.
    clickAt(w, "imgScales", {70, 90});
    clickAt(w, "imgScales", {190, 150 + 90});
    QCOMPARE(w.scalesPage()->selectedCell(), QPoint(1, 1));
  }

  // Erase Page and File > New on a changed page ask first; a Yes empties the
  // page and resets its file label and the caption.
  void erasingAChangedPageAsksFirst() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    w.show();
    showChords(w, 7, 1, 0);
    sendChord(w, 0, "pmenu1SendtoDesign", "imgChordDesign", {38, 50});
    rig.save(QStringLiteral("voicings.cds"));
    clickTab(w, PlayTab::Chords);
    sendChord(w, 1, "pmenu1SendtoDesign", "imgChordDesign", {76 + 38, 50});
    QVERIFY(w.state().DesignGroupChanged);
    QCOMPARE(w.windowTitle(), QStringLiteral("Strumbo!   voicings.cds"));

    ask.answers = {false};
    click(w, "sbtnErase");
    QCOMPARE(ask.questions, QStringList{QStringLiteral(
                                "This Design Group has changed. Do you want to erase without "
                                "saving it?")});
    QVERIFY(!isEmpty(w.state().DesignGroup[0]));
    ask.answers = {true};
    trigger(w, "mnuNew");
    QCOMPARE(ask.questions.size(), 2);
    for (const auto& slot : w.state().DesignGroup) QVERIFY(isEmpty(slot));
    QVERIFY(!w.state().DesignGroupChanged);
    QCOMPARE(child<QLabel>(w, "lblCDFilePath")->text(), QStringLiteral("File:"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Strumbo!"));
    QVERIFY(!isEmpty(w.state().EditChord));
    auto* file = child<QMenu>(w, "menuFile");
    file->popup(QPoint(0, 0));
    QCOMPARE(action(*file, "mnuNew")->text(), QStringLiteral("&New Design Page"));
    file->hide();
    QCOMPARE(ask.unanswered, 0);
  }

  // A No to closing with an unsaved design group brings the Chord Design tab
  // forward as the player's click on it does: its chord on the fretboard,
  // its caption, and a diagram waiting elsewhere back in its buffer.
  void aNoToClosingBringsTheUnsavedPageForward() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    w.show();
    showChords(w, 7, 1, 0);
    sendChord(w, 0, "pmenu1SendtoDesign", "imgChordDesign", {38, 50});
    rig.save(QStringLiteral("voicings.cds"));
    clickTab(w, PlayTab::Chords);
    sendChord(w, 1, "pmenu1SendtoDesign", "imgChordDesign", {76 + 38, 50});
    clickTab(w, PlayTab::Chords);
    showChords(w, 0, 2, 0);
    popupCommand(w, "imgChordPage", {70, 150 + 90}, "popmenuChords", "pmenu1SendtoPlay");
    QCOMPARE(w.currentTab(), PlayTab::PlayPage);
    const TChordDiagram sent = w.state().MoveBuffer;
    QCOMPARE(sent.ChordName.str(), std::string("minor"));

    ask.answers = {false};
    QVERIFY(!w.close());
    QCOMPARE(w.currentTab(), PlayTab::ChordDesign);
    QCOMPARE(chordNameShown(w), QStringLiteral("G maj"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Strumbo!   voicings.cds"));
    QVERIFY(child<QWidget>(w, "UpDown0")->isEnabled());
    QCOMPARE(child<SurfaceView>(w, "imgPlayPage")->pointerShape(), 0);
    QCOMPARE(std::memcmp(&w.state().MoveBuffer, &sent, sizeof sent), 0);
    clickTab(w, PlayTab::PlayPage);
    clickAt(w, "imgPlayPage", {50, 50});
    QVERIFY(isEmpty(w.state().PlayPage[0][0]));
  }
};

QTEST_MAIN(PageCommandsTest)
#include "PageCommandsTest.moc"
