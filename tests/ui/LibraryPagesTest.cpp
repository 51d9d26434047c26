#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>
#include <cstring>

#include "WindowProbe.h"
#include "WindowRig.h"
#include "render/FretboardBitmaps.h"
#include "ui/BeginFretDialog.h"
#include "ui/ChordsTab.h"
#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"
#include "ui/ScalesTab.h"
#include "ui/SurfaceView.h"

namespace {

QString text(QObject& w, const char* name) {
  return child<QLineEdit>(w, name)->text();
}

}  // namespace

class LibraryPagesTest : public QObject {
  Q_OBJECT

 private slots:
  // Show Chords from any tab brings the Chords page forward with the set of
  // the chosen key and type in its first row, the first diagram in hand.
  void showChordsDrawsTheSetOfKeyAndType() {
    WindowRig rig;
    MainWindow& w = rig.w;
    const QImage blank = child<SurfaceView>(w, "imgChordPage")->image();
    w.showTab(PlayTab::PlayPage);
    chooseKey(w, 4);           // E
    chooseChordType(w, 2, 1);  // minor family, m7
    QCOMPARE(text(w, "editChordRoot"), QStringLiteral("E"));
    QCOMPARE(text(w, "editChordName"), QStringLiteral("m7"));
    clickShowChords(w);
    QCOMPARE(rig.ask.messages, QStringList());
    QCOMPARE(w.currentTab(), PlayTab::Chords);
    const QImage& shown = child<SurfaceView>(w, "imgChordPage")->image();
    QVERIFY(shown.copy(0, 0, 772, 160) != blank.copy(0, 0, 772, 160));
    QCOMPARE(shown.copy(0, 160, 772, 640), blank.copy(0, 160, 772, 640));
    const AppState& st = w.state();
    QCOMPARE(st.ChordSetCount, 1);
    QCOMPARE(st.ChordPage[2][0].Root, std::uint8_t(4));
    QCOMPARE(std::memcmp(&st.SelectedChord, &st.ChordPage[0][0], sizeof(TChordDiagram)), 0);
    QCOMPARE(text(w, "editChordNameUser").left(4), QStringLiteral("E m7"));

    // A press frames another diagram and takes it in hand; no red is left
    // around the old one.
    QTest::mouseClick(child<SurfaceView>(w, "imgChordPage"), Qt::LeftButton, {}, QPoint(260, 100));
    QCOMPARE(w.chordsPage()->framedCell(), QPoint(2, 0));
    QCOMPARE(std::memcmp(&st.SelectedChord, &st.ChordPage[2][0], sizeof(TChordDiagram)), 0);
    QCOMPARE(shown.pixelColor(260, 100), QColor(Qt::red));
    QVERIFY(shown.pixelColor(20, 100) != QColor(Qt::red));
  }

  // Without a key, or with a key typed that is none, nothing is shown.
  void nothingHappensWithoutAKey() {
    WindowRig rig;
    MainWindow& w = rig.w;
    chooseChordType(w, 1, 0);
    clickShowChords(w);
    QCOMPARE(w.state().ChordSetCount, 0);
    auto* root = child<QLineEdit>(w, "editChordRoot");
    root->setText(QStringLiteral("d+"));
    QTest::keyClick(root, Qt::Key_Return);
    QCOMPARE(root->text(), QStringLiteral("D#"));
    root->setText(QStringLiteral("h"));
    QTest::keyClick(root, Qt::Key_Return);
    QCOMPARE(root->text(), QString());
    clickShowChords(w);
    QCOMPARE(w.state().ChordSetCount, 0);
    QVERIFY(rig.ask.messages.isEmpty());
  }

  void showScaleFillsARowOfSixPositions() {
    WindowRig rig;
    MainWindow& w = rig.w;
    chooseKey(w, 7);
    chooseScale(w, 9);  // Major Pentatonic
    QCOMPARE(child<QPushButton>(w, "btnShowChords")->text(), QStringLiteral("Show Scale"));
    QCOMPARE(child<QLabel>(w, "Label4")->text(), QStringLiteral("Scale Name"));
    child<QLineEdit>(*w.fretboard(), "editTuningName")->clear();
    clickShowChords(w);
    QCOMPARE(w.currentTab(), PlayTab::Scales);
    const TScaleDiagram& sc = w.state().ScalePage[0];
    QCOMPARE(w.state().ScaleCount, 1);
    QCOMPARE(std::string(sc.ScaleName.view()), std::string("Major Pentatonic"));
    // A cleared tuning name is the strings' names.
    QCOMPARE(std::string(sc.TuningName.view()), std::string(" E A D G B E"));
    QCOMPARE(text(w, "editChordNameUser"), QStringLiteral("G Major Pentatonic"));
    QCOMPARE(text(w, "editNotes"), QStringLiteral(" G A B D E"));
    QCOMPARE(w.scalesPage()->selectedCell(), QPoint(0, 0));
    QVERIFY(child<SurfaceView>(*w.fretboard(), "imgGuitar")->image() != Bitmaps::fretboard());
  }

  void aMissingScaleLibraryIsReported() {
    WindowRig rig([](DataDir& data) { QFile::remove(data.dir.filePath("pxs.dat")); });
    MainWindow& w = rig.w;
    chooseKey(w, 0);
    chooseScale(w, 3);
    clickShowChords(w);
    QCOMPARE(rig.ask.messages, QStringList{QStringLiteral("Could Not Find Scale Data File.")});
    QCOMPARE(w.state().ScaleCount, 0);
  }

  // Change Beginning Fret from a position's pop-up menu: numbers past the
  // neck keep the dialog open with the caption red, an empty field changes
  // nothing, and only the position changed is drawn again.
  void changeBeginningFret() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    chooseKey(w, 0);
    chooseScale(w, 0);
    clickShowChords(w);
    clickAt(w, "imgScales", {120 * 2 + 70, 90}, Qt::RightButton);
    child<QMenu>(w, "popmenuScales")->hide();
    const QImage before = child<SurfaceView>(w, "imgScales")->image();
    ask.dialogs.push_back([](QDialog& d) {
      auto& dlg = static_cast<BeginFretDialog&>(d);
      if (dlg.meditBeginFret->text() != QStringLiteral("7")) return false;
      retype(dlg.meditBeginFret, QStringLiteral("18"));
      clickIn(dlg, "OKBtn");
      if (dlg.result() == QDialog::Accepted || !dlg.Label1->styleSheet().contains("red"))
        return false;
      retype(dlg.meditBeginFret, QStringLiteral("0"));
      clickIn(dlg, "OKBtn");
      if (dlg.result() == QDialog::Accepted) return false;
      retype(dlg.meditBeginFret, QStringLiteral("5"));
      clickIn(dlg, "OKBtn");
      return dlg.result() == QDialog::Accepted;
    });
    trigger(w, "pmenu5StartFret");
    QCOMPARE(ask.unanswered, 0);
    QCOMPARE(w.state().ScalePage[0].StartFrets[2], std::uint8_t(5));
    const QImage after = child<SurfaceView>(w, "imgScales")->image();
    QVERIFY(after.copy(260, 30, 105, 120) != before.copy(260, 30, 105, 120));
    QCOMPARE(after.copy(380, 30, 105, 120), before.copy(380, 30, 105, 120));
    QCOMPARE(after.copy(140, 30, 105, 120), before.copy(140, 30, 105, 120));

    ask.dialogs.push_back([](QDialog& d) {
      retype(child<QLineEdit>(d, "meditBeginFret"), QString());
      clickIn(d, "OKBtn");
      return d.result() == QDialog::Accepted;
    });
    popupCommand(w, "imgScales", {120 * 2 + 70, 90}, "popmenuScales", "pmenu5StartFret");
    QVERIFY(ask.dialogs.empty());
    QCOMPARE(w.state().ScalePage[0].StartFrets[2], std::uint8_t(5));
  }
};

QTEST_MAIN(LibraryPagesTest)
#include "LibraryPagesTest.moc"
