#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "DataDir.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "library/ChordLibrary.h"
#include "music/DiagramConvert.h"
#include "pages/DiagramText.h"
#include "render/FretboardBitmaps.h"
#include "render/FretboardPainter.h"
#include "ui/BeginFretDialog.h"
#include "ui/ChordsTab.h"
#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"
#include "ui/ScalesTab.h"
#include "ui/SurfaceView.h"
#include "ui/ToolBarPanel.h"

namespace {

QByteArray fingeringBytes(const TChordDiagram& d) {
  QByteArray bytes(1, static_cast<char>(d.BaseFret));
  bytes.append(reinterpret_cast<const char*>(d.Strings), 12);
  return bytes;
}

QPoint cellCentre(int c, int r) {
  return {120 * c + 70, 150 * r + 90};
}

}  // namespace

class LibraryPagesTest : public QObject {
  Q_OBJECT

 private slots:
  void showChordsReadsTheRecordsOfKeyAndType() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    DataDir& data = rig.data;
    const QImage blank = child<SurfaceView>(w, "imgChordPage")->image();
    w.showTab(PlayTab::PlayPage);
    chooseKey(w, 4);           // E
    chooseChordType(w, 2, 1);  // minor family, m7
    QCOMPARE(child<QLineEdit>(w, "editChordRoot")->text(), QStringLiteral("E"));
    QCOMPARE(child<QLineEdit>(w, "editChordName")->text(), QStringLiteral("m7"));
    clickShowChords(w);
    QCOMPARE(ask.messages, QStringList());
    // The Chords page comes to the front with the set drawn in its first row only.
    QCOMPARE(w.currentTab(), PlayTab::Chords);
    const QImage& shown = child<SurfaceView>(w, "imgChordPage")->image();
    QVERIFY(shown.copy(0, 0, 772, 160) != blank.copy(0, 0, 772, 160));
    QCOMPARE(shown.copy(0, 160, 772, 640), blank.copy(0, 160, 772, 640));
    const AppState& st = w.state();
    QCOMPARE(st.ChordSetCount, 1);
    for (int k = 0; k < 3; ++k) {
      QCOMPARE(fingeringBytes(st.ChordPage[k][0]), data.record("pxmi1.dat", 13, 207 + k));
      QCOMPARE(fingeringBytes(st.ChordPage[k + 3][0]), data.record("pxmi2.dat", 13, 207 + k));
    }
    const QByteArray dict = data.record("pxcd3.dat", 44, 20);
    const TChordDiagram& d = st.ChordPage[2][0];
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(d.Intervals), 7), dict.left(7));
    QCOMPARE(QString::fromStdString(d.ChordName.str()), QStringLiteral("m7"));
    QCOMPARE(d.Root, std::uint8_t(4));
    QCOMPARE(d.Bass, std::uint8_t(28));
    QCOMPARE(std::string(d.TuningName.view()), std::string("Standard"));
    for (int s = 0; s < 6; ++s)
      QCOMPARE(d.Notes[s], d.Strings[s].Finger == 5
                               ? std::uint8_t(0)
                               : std::uint8_t(d.Tuning[s] + d.Strings[s].Fret));
    // The first diagram is in hand and on the fretboard.
    QCOMPARE(std::memcmp(&st.SelectedChord, &st.ChordPage[0][0], sizeof(TChordDiagram)), 0);
    QCOMPARE(
        w.fretboard()->findChild<QLineEdit*>(QStringLiteral("editChordNameUser"))->text().left(4),
        QStringLiteral("E m7"));
    QCOMPARE(w.currentTab(), PlayTab::Chords);
  }

  void nothingHappensWithoutKeyOrType() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    chooseChordType(w, 1, 0);
    clickShowChords(w);
    QCOMPARE(w.state().ChordSetCount, 0);
    QVERIFY(ask.messages.isEmpty());
  }

  void sharpsRenameTheRootFieldAndLaterHeaders() {
    WindowRig rig;
    MainWindow& w = rig.w;
    chooseKey(w, 1);
    QCOMPARE(child<QLineEdit>(w, "editChordRoot")->text(), QStringLiteral("Db"));
    trigger(w, "mnuFlatSharp");
    QCOMPARE(child<QLineEdit>(w, "editChordRoot")->text(), QStringLiteral("C#"));
    chooseChordType(w, 1, 0);
    clickShowChords(w);
    const std::string header =
        DiagramText::chordSetHeader(w.state().ChordPage[0][0], w.state().Names);
    QVERIFY(header.rfind("C# ", 0) == 0);
    QCOMPARE(
        w.fretboard()->findChild<QLineEdit*>(QStringLiteral("editChordNameUser"))->text().left(2),
        QStringLiteral("C#"));
  }

  void realMouseClicksReachThePages() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    chooseKey(w, 0);
    chooseChordType(w, 1, 0);
    clickShowChords(w);
    QTest::mouseClick(child<SurfaceView>(w, "imgChordPage"), Qt::LeftButton, {}, QPoint(260, 100));
    QCOMPARE(w.chordsPage()->framedCell(), QPoint(2, 0));
    QCOMPARE(std::memcmp(&w.state().SelectedChord, &w.state().ChordPage[2][0], 88), 0);
    // The frame moved: red around the new cell, none left around the old.
    const QImage& img = child<SurfaceView>(w, "imgChordPage")->image();
    QCOMPARE(img.pixelColor(260, 100), QColor(Qt::red));
    QVERIFY(img.pixelColor(20, 100) != QColor(Qt::red));
    // The fretboard answers the pointer with the note under it.
    w.state().LastRoot = 0;
    QTest::mouseMove(w.fretboard()->findChild<SurfaceView*>(QStringLiteral("imgGuitar")),
                     QPoint(FretX[3] + 6, StringY[5] + 6));
    QCOMPARE(w.fretboard()->findChild<QLabel*>(QStringLiteral("pnlNote"))->text(),
             QStringLiteral("G"));
    QCOMPARE(w.fretboard()->findChild<QLabel*>(QStringLiteral("pnlInterval"))->text(),
             QStringLiteral("5"));
  }

  void rootFieldIsTidied() {
    WindowRig rig("/nonexistent/");
    QLineEdit* root = child<QLineEdit>(rig.w, "editChordRoot");
    const std::pair<const char*, const char*> cases[] = {
        {"c#", "C#"}, {"d+", "D#"}, {"e3", "E#"}, {"bb", "Bb"}, {"g-", "Gb"},
        {"aB", "Ab"}, {"fx", "F"},  {"h", ""},    {"", ""},     {"Gb7", "Gb"}};
    for (auto [typed, tidy] : cases) {
      root->setText(QLatin1String(typed));
      QTest::keyClick(root, Qt::Key_Return);
      QCOMPARE(root->text(), QLatin1String(tidy));
    }
  }

  void showScaleFillsARowOfSixPositions() {
    WindowRig rig;
    MainWindow& w = rig.w;
    chooseKey(w, 7);
    chooseScale(w, 9);  // Major Pentatonic
    QCOMPARE(child<QPushButton>(w, "btnShowChords")->text(), QStringLiteral("Show Scale"));
    QCOMPARE(child<QLabel>(w, "Label4")->text(), QStringLiteral("Scale Name"));
    QCOMPARE(child<QLineEdit>(w, "editChordRoot")->text(), QStringLiteral("G"));
    w.fretboard()->findChild<QLineEdit*>(QStringLiteral("editTuningName"))->clear();
    clickShowChords(w);
    QCOMPARE(w.currentTab(), PlayTab::Scales);
    const TScaleDiagram& sc = w.state().ScalePage[0];
    QCOMPARE(w.state().ScaleCount, 1);
    QCOMPARE(std::string(sc.ScaleName.view()), std::string("Major Pentatonic"));
    QCOMPARE(std::string(sc.TuningName.view()), std::string(" E A D G B E"));
    QCOMPARE(w.fretboard()->findChild<QLineEdit*>(QStringLiteral("editChordNameUser"))->text(),
             QStringLiteral("G Major Pentatonic"));
    QCOMPARE(w.fretboard()->findChild<QLineEdit*>(QStringLiteral("editNotes"))->text(),
             QStringLiteral(" G A B D E"));
    QCOMPARE(w.scalesPage()->selectedCell(), QPoint(0, 0));
    // Every G on the neck is a root mark (red) on the fretboard: fret 3 of the low E.
    QVERIFY(w.fretboard()->findChild<SurfaceView*>(QStringLiteral("imgGuitar"))->image() !=
            Bitmaps::fretboard());
  }

  void aMissingScaleLibraryIsReported() {
    WindowRig rig([](DataDir& data) { QFile::remove(data.dir.filePath("pxs.dat")); });
    MainWindow& w2 = rig.w;
    ScriptedPrompter& ask2 = rig.ask;
    chooseKey(w2, 0);
    chooseScale(w2, 3);
    clickShowChords(w2);
    QCOMPARE(ask2.messages, QStringList{QStringLiteral("Could Not Find Scale Data File.")});
    QCOMPARE(w2.state().ScaleCount, 0);
  }

  void changeBeginningFret() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    chooseKey(w, 0);
    chooseScale(w, 0);
    clickShowChords(w);
    ScalesTab* page = w.scalesPage();
    clickAt(w, "imgScales", cellCentre(2, 0), Qt::RightButton);
    QCOMPARE(page->pressedCell(), QPoint(2, 0));
    child<QMenu>(w, "popmenuScales")->hide();
    QImage before = child<SurfaceView>(w, "imgScales")->image();

    // 18 and 0 turn the text red and keep the dialog open; then 5 is taken.
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
    QCOMPARE(w.state().CurrentScale.StartFrets[2], std::uint8_t(5));
    const QImage after = child<SurfaceView>(w, "imgScales")->image();
    // Only position 2 was redrawn.
    QVERIFY(after.copy(260, 30, 105, 120) != before.copy(260, 30, 105, 120));
    QCOMPARE(after.copy(380, 30, 105, 120), before.copy(380, 30, 105, 120));
    QCOMPARE(after.copy(140, 30, 105, 120), before.copy(140, 30, 105, 120));

    // An empty entry closes without change.
    ask.dialogs.push_back([](QDialog& d) {
      auto& dlg = static_cast<BeginFretDialog&>(d);
      retype(dlg.meditBeginFret, QString());
      clickIn(dlg, "OKBtn");
      return dlg.result() == QDialog::Accepted;
    });
    trigger(w, "pmenu5StartFret");
    QCOMPARE(w.state().ScalePage[0].StartFrets[2], std::uint8_t(5));
  }
};

QTEST_MAIN(LibraryPagesTest)
#include "LibraryPagesTest.moc"
