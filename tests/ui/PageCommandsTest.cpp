#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QtTest>
#include <cstring>

#include "DataDir.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"
#include "ui/SurfaceView.h"

namespace {

void clickTab(MainWindow& w, PlayTab tab) {
  clickTab(w, static_cast<int>(tab));
}

QString fileMenuNewCaption(MainWindow& w) {
  auto* file = child<QMenu>(w, "menuFile");
  file->popup(QPoint(0, 0));
  const QString caption = action(*file, "mnuNew")->text();
  file->hide();
  return caption;
}

QString chordNameShown(MainWindow& w) {
  return child<QLineEdit>(*w.fretboard(), "editChordNameUser")->text();
}

void showGMajorChords(MainWindow& w) {
  chooseKey(w, 7);
  chooseChordType(w, 1, 0);
  clickShowChords(w);
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
    showGMajorChords(w);
    popupCommand(w, "imgChordPage", {120 * 2 + 70, 90}, "popmenuChords", "pmenu1SendtoPlay");
    QCOMPARE(w.currentTab(), PlayTab::PlayPage);
    auto* play = child<SurfaceView>(w, "imgPlayPage");
    QCOMPARE(play->pointerShape(), 5);
    QVERIFY(!child<QWidget>(w, "UpDown0")->isEnabled());

    clickTab(w, PlayTab::Scales);
    QVERIFY(child<QWidget>(w, "UpDown0")->isEnabled());
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

  // The third position of a scale starts at fret 7, and so does its print item.
  void aScalePositionIsSentWithItsOwnStartFret() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.show();
    chooseKey(w, 9);
    chooseScale(w, 0);
    clickShowChords(w);
    QCOMPARE(w.state().ScaleCount, 1);
    popupCommand(w, "imgScales", {120 * 2 + 70, 90}, "popmenuScales", "pmenu1SendtoPrint");
    QCOMPARE(w.currentTab(), PlayTab::Print);
    QCOMPARE(child<SurfaceView>(w, "imgPrintPage")->pointerShape(), 5);
    const TPrintDiagram& item = w.state().PrintMoveBuffer;
    QCOMPARE(int(item.Empty), 0);
    QCOMPARE(int(item.IsChord), 0);
    QCOMPARE(int(item.BaseFret), 7);
    QCOMPARE(item.Root, w.state().ScalePage[0].Root);
    // A tab change puts it aside; it is placed by a press only once sent again.
    clickTab(w, PlayTab::Scales);
    clickTab(w, PlayTab::Print);
    clickAt(w, "imgPrintPage", {70, 90});
    QVERIFY(isEmpty(w.state().PrintPage[0][0]));
    clickTab(w, PlayTab::Scales);
    popupCommand(w, "imgScales", {120 * 2 + 70, 90}, "popmenuScales", "pmenu1SendtoPrint");
    clickAt(w, "imgPrintPage", {70, 90});
    QCOMPARE(int(w.state().PrintPage[0][0].BaseFret), 7);
  }

  // From the print page a chord goes on to the design group and the play
  // page, and a scale back to the Scales page, each placed by a press.
  void printItemsTravelOnToTheOtherPages() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.show();
    showGMajorChords(w);
    popupCommand(w, "imgChordPage", {120 * 3 + 70, 90}, "popmenuChords", "pmenu1SendtoPrint");
    clickAt(w, "imgPrintPage", {70, 90});
    chooseKey(w, 2);
    chooseScale(w, 1);
    clickShowChords(w);
    popupCommand(w, "imgScales", {120 * 4 + 70, 90}, "popmenuScales", "pmenu1SendtoPrint");
    clickAt(w, "imgPrintPage", {190, 90});
    const TChordDiagram chord = w.state().ChordPage[3][0];

    clickTab(w, PlayTab::Print);
    popupCommand(w, "imgPrintPage", {70, 90}, "popmenuPrint", "pmenu1SendtoDesign");
    QCOMPARE(w.currentTab(), PlayTab::ChordDesign);
    clickAt(w, "imgChordDesign", {76 * 2 + 38, 50});
    QCOMPARE(w.state().DesignGroup[2].Root, chord.Root);
    QVERIFY(std::memcmp(w.state().DesignGroup[2].Strings, chord.Strings, sizeof chord.Strings) ==
            0);

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
    action(*menu, "pmenu3SendtoScale")->trigger();
    menu->hide();
    QCOMPARE(w.currentTab(), PlayTab::Scales);
    clickAt(w, "imgScales", {70, 150 * 3 + 90});
    QCOMPARE(w.state().ScaleCount, 2);
    QCOMPARE(w.state().ScalePage[1].ScaleName.str(), w.state().ScalePage[0].ScaleName.str());
    QCOMPARE(int(w.state().ScalePage[1].StartFrets[0]), 1);
  }

  // Entering the play page tunes the neck as the page's first chord, taken
  // column by column.
  void thePlayPageTunesTheNeckAsItsFirstChord() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.show();
    showGMajorChords(w);
    TChordDiagram dropD = w.state().ChordPage[0][0];
    dropD.Tuning[5] = 38;
    TChordDiagram openG = dropD;
    const std::uint8_t g[6] = {62, 59, 55, 50, 43, 38};
    std::copy(std::begin(g), std::end(g), openG.Tuning);
    // Column 1 row 0 comes after column 0 row 3.
    w.state().PlayPage[1][0] = openG;
    w.state().PlayPage[0][3] = dropD;
    clickTab(w, PlayTab::PlayPage);
    QCOMPARE(int(w.state().CurrentTuning[5]), 38);
    QCOMPARE(int(w.state().CurrentTuning[0]), 64);
    QCOMPARE(child<QLineEdit>(w, "editString5")->text(), QStringLiteral("D2"));
    QCOMPARE(child<QLineEdit>(w, "editString0")->text(), QStringLiteral("E4"));
  }

  // A changed design group is only erased after a Yes; the file label and
  // the caption are reset with it.
  void erasingAChangedDesignGroupAsksFirst() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    w.show();
    showGMajorChords(w);
    popupCommand(w, "imgChordPage", {70, 90}, "popmenuChords", "pmenu1SendtoDesign");
    clickAt(w, "imgChordDesign", {38, 50});
    QVERIFY(w.state().DesignGroupChanged);
    w.state().lastPageFile(PlayTab::ChordDesign) = "voicings.cds";
    clickTab(w, PlayTab::Chords);
    clickTab(w, PlayTab::ChordDesign);
    QCOMPARE(w.windowTitle(), QStringLiteral("Strumbo!   voicings.cds"));

    ask.answers = {false};
    click(w, "sbtnErase");
    QCOMPARE(ask.questions, QStringList{QStringLiteral(
                                "This Design Group has changed. Do you want to erase without "
                                "saving it?")});
    QVERIFY(!isEmpty(w.state().DesignGroup[0]));
    QVERIFY(w.state().DesignGroupChanged);

    ask.answers = {true};
    click(w, "sbtnErase");
    for (const auto& slot : w.state().DesignGroup) QVERIFY(isEmpty(slot));
    QVERIFY(!w.state().DesignGroupChanged);
    QCOMPARE(child<QLabel>(w, "lblCDFilePath")->text(), QStringLiteral("File:"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Strumbo!"));
    QVERIFY(w.state().lastPageFile(PlayTab::ChordDesign).empty());
    QVERIFY(!isEmpty(w.state().EditChord));
  }

  // File > New names the page it empties, and empties it like Erase Page:
  // the play page after its question, with both repeat sets as new.
  void fileNewErasesThePageOfTheActiveTab() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    w.show();
    const struct {
      PlayTab tab;
      const char* caption;
    } captions[] = {{PlayTab::Chords, "&New Chord Page"},
                    {PlayTab::ChordDesign, "&New Design Page"},
                    {PlayTab::PlayPage, "&New Play Page"},
                    {PlayTab::Print, "&New Print Page"},
                    {PlayTab::Scales, "&New Scale Page"}};
    for (const auto& c : captions) {
      clickTab(w, c.tab);
      QCOMPARE(fileMenuNewCaption(w), QLatin1String(c.caption));
    }

    showGMajorChords(w);
    popupCommand(w, "imgChordPage", {70, 90}, "popmenuChords", "pmenu1SendtoPlay");
    clickAt(w, "imgPlayPage", {50, 50});
    QVERIFY(w.state().Play.PlayPageChanged);
    w.state().Play.RepeatSet34.RepeatCount[2] = 3;
    w.state().Play.RepeatSet44.LoopMark[3] = 1;
    const QImage before = child<SurfaceView>(w, "imgPlayPage")->image();

    ask.answers = {false};
    fileMenuNewCaption(w);
    trigger(w, "mnuNew");
    QVERIFY(!isEmpty(w.state().PlayPage[0][0]));

    ask.answers = {true};
    trigger(w, "mnuNew");
    QCOMPARE(ask.questions.size(), 2);
    QCOMPARE(ask.questions.last(),
             QStringLiteral("This Play Page has changed. Do you want to erase without saving it?"));
    QVERIFY(isEmpty(w.state().PlayPage[0][0]));
    QVERIFY(!w.state().Play.PlayPageChanged);
    TRepeatSet fresh34{}, fresh44{};
    fresh34.ReturnMark[0] = fresh44.ReturnMark[0] = 1;
    fresh34.LoopMark[11] = 1;
    fresh44.LoopMark[8] = 1;
    QVERIFY(std::memcmp(&w.state().Play.RepeatSet34, &fresh34, sizeof fresh34) == 0);
    QVERIFY(std::memcmp(&w.state().Play.RepeatSet44, &fresh44, sizeof fresh44) == 0);
    // The staff rows are drawn again; the chord is gone from the picture.
    const QImage& after = child<SurfaceView>(w, "imgPlayPage")->image();
    QVERIFY(after != before);
    QVERIFY(after.copy(20, 0, 60, 86) != before.copy(20, 0, 60, 86));

    // An unchanged page and the Chords page go without a question.
    clickTab(w, PlayTab::Chords);
    click(w, "sbtnErase");
    QCOMPARE(ask.questions.size(), 2);
    QCOMPARE(w.state().ChordSetCount, 0);
    QVERIFY(isEmpty(w.state().SelectedChord));
    QCOMPARE(w.windowTitle(), QStringLiteral("Strumbo!"));
  }

  // A No to closing with an unsaved design group brings the Chord Design tab
  // forward as the player's click on it does: its chord on the fretboard,
  // its caption, and a diagram waiting elsewhere back in its buffer.
  void aNoToClosingBringsTheUnsavedPageForward() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    w.show();
    showGMajorChords(w);
    popupCommand(w, "imgChordPage", {70, 90}, "popmenuChords", "pmenu1SendtoDesign");
    clickAt(w, "imgChordDesign", {38, 50});
    QVERIFY(w.state().DesignGroupChanged);
    w.state().lastPageFile(PlayTab::ChordDesign) = "voicings.cds";
    clickTab(w, PlayTab::Chords);
    chooseKey(w, 0);
    chooseChordType(w, 2, 0);
    clickShowChords(w);
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
    QVERIFY(std::memcmp(&w.state().MoveBuffer, &sent, sizeof sent) == 0);
    clickTab(w, PlayTab::PlayPage);
    clickAt(w, "imgPlayPage", {50, 50});
    QVERIFY(isEmpty(w.state().PlayPage[0][0]));
  }
};

QTEST_MAIN(PageCommandsTest)
#include "PageCommandsTest.moc"
