#include <QDialog>
#include <QMenu>
#include <QtTest>

#include "DataDir.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "play/PlayPageGeometry.h"
#include "render/PagePicture.h"
#include "render/PrintSheet.h"
#include "ui/ChordsTab.h"
#include "ui/MainWindow.h"
#include "ui/PlayPageTab.h"
#include "ui/RepeatDialog.h"
#include "ui/ScalesTab.h"
#include "ui/SurfaceView.h"

// The headless picture of a page must be what the window prints for the
// same page: the tab's surface without its selection frame.
class PagePictureTest : public QObject {
  Q_OBJECT

  static QPoint slot(int c, int r) {
    return {PlayGeometry::slotX(c) + 20, PlayGeometry::rowTop(r) + 60};
  }

 private slots:
  void playPageMatchesTheTab() {
    ScriptedPrompter ask;
    MainWindow w("/nonexistent/", &ask);
    click(w, "sbtnTime");  // 3/4: other bar lines, numbers and marks
    TChordDiagram chord = startFingering();
    chord.ChordName = "m7";
    chord.Root = 4;
    w.playPage()->takeInHand(chord);
    for (const QPoint at : {slot(0, 0), slot(3, 1), slot(11, 5)})
      clickAt(w, "imgPlayPage", at, Qt::LeftButton, Qt::ControlModifier);
    clickAt(w, "imgPlayPage", slot(0, 2), Qt::RightButton);
    QVERIFY(!w.playPage()->placing());
    // Bar 2 repeats three times and holds the loop point.
    clickAt(w, "imgPlayPage", slot(7, 0), Qt::RightButton);
    child<QMenu>(w, "popmenuPlayPage")->hide();
    ask.dialogs.push_back([](QDialog& d) {
      auto& dlg = static_cast<RepeatDialog&>(d);
      tick(dlg.cbRepeat);
      retype(dlg.editRepeat, QStringLiteral("3"));
      tick(dlg.cbLoop);
      clickIn(dlg, "OKBtn");
      return dlg.result() == QDialog::Accepted;
    });
    trigger(w, "pmenu4Repeat");
    click(w, "sbtnLoop");
    QCOMPARE(ask.unanswered, 0);

    PageContents page;
    page.Kind = PageKind::Play;
    std::copy(&w.state().PlayPage[0][0], &w.state().PlayPage[0][0] + 72, &page.PlayPage[0][0]);
    page.Header.ThreeFour = true;
    page.Header.Loop = true;
    const TRepeatSet marks = w.state().Play.RepeatSet34;
    QCOMPARE(int(marks.RepeatCount[1]), 3);
    const auto picture = pagePicture(page, marks, w.state().Names);
    QVERIFY(picture);
    QCOMPARE(picture->Heading, QStringLiteral("Strumbo! Play Page: "));
    QCOMPARE(picture->Picture, child<SurfaceView>(w, "imgPlayPage")->image());
  }

  void chordAndScalePagesMatchTheirTabs() {
    DataDir data;
    ScriptedPrompter ask;
    MainWindow w(data.path(), &ask);
    chooseKey(w, 4);
    chooseChordType(w, 2, 1);  // E m7
    clickShowChords(w);
    chooseKey(w, 7);
    chooseScale(w, 9);  // G Major Pentatonic
    clickShowChords(w);
    QCOMPARE(ask.messages, QStringList());
    QCOMPARE(w.state().ChordSetCount, 1);
    QCOMPARE(w.state().ScaleCount, 1);

    PageContents chords;
    chords.Kind = PageKind::Chord;
    std::copy(&w.state().ChordPage[0][0], &w.state().ChordPage[0][0] + 30, &chords.ChordPage[0][0]);
    const auto chordPicture = pagePicture(chords, std::nullopt, w.state().Names);
    QVERIFY(chordPicture);
    QCOMPARE(chordPicture->Picture,
             withoutSelectionFrame(child<SurfaceView>(w, "imgChordPage")->image(),
                                   w.chordsPage()->frame()));

    PageContents scales;
    scales.Kind = PageKind::Scale;
    std::copy(std::begin(w.state().ScalePage), std::end(w.state().ScalePage), scales.ScalePage);
    const auto scalePicture = pagePicture(scales, std::nullopt, w.state().Names);
    QVERIFY(scalePicture);
    QCOMPARE(scalePicture->Picture,
             withoutSelectionFrame(child<SurfaceView>(w, "imgScales")->image(),
                                   w.scalesPage()->frame()));
  }
};

QTEST_MAIN(PagePictureTest)
#include "PagePictureTest.moc"
