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
    DataDir data;
    ScriptedPrompter ask;
    MainWindow w(data.path(), &ask);
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

  void lastRecordsOfTheDominantFiles() {
    DataDir data;
    ScriptedPrompter ask;
    MainWindow w(data.path(), &ask);
    chooseKey(w, 11);
    chooseChordType(w, 3, 25);  // 13sus(b9)
    clickShowChords(w);
    for (int k = 0; k < 3; ++k) {
      QCOMPARE(fingeringBytes(w.state().ChordPage[k][0]), data.record("pxdo1.dat", 13, 933 + k));
      QCOMPARE(fingeringBytes(w.state().ChordPage[k + 3][0]),
               data.record("pxdo2.dat", 13, 933 + k));
    }
  }

  void fiveSetsAtMost() {
    DataDir data;
    ScriptedPrompter ask;
    MainWindow w(data.path(), &ask);
    chooseKey(w, 0);
    chooseChordType(w, 1, 0);
    for (int i = 0; i < 5; ++i) clickShowChords(w);
    QVERIFY(ask.messages.isEmpty());
    const QImage before = child<SurfaceView>(w, "imgChordPage")->image();
    clickShowChords(w);
    QCOMPARE(ask.messages,
             QStringList{QStringLiteral("Maximum is 5 sets of chords. Clear the Chord page.")});
    QCOMPARE(w.state().ChordSetCount, 5);
    QCOMPARE(child<SurfaceView>(w, "imgChordPage")->image(), before);
  }

  void nothingHappensWithoutKeyOrType() {
    DataDir data;
    ScriptedPrompter ask;
    MainWindow w(data.path(), &ask);
    chooseChordType(w, 1, 0);
    clickShowChords(w);
    QCOMPARE(w.state().ChordSetCount, 0);
    QVERIFY(ask.messages.isEmpty());
  }

  void missingShortAndDamagedFilesLeaveThePageAsItWas() {
    DataDir data;
    ScriptedPrompter ask;
    MainWindow w(data.path(), &ask);
    chooseKey(w, 0);
    chooseChordType(w, 1, 2);
    QFile::remove(data.dir.filePath("pxma2.dat"));
    clickShowChords(w);
    QCOMPARE(ask.messages.value(0), QStringLiteral("Could Not Find Chord Data Files."));
    QCOMPARE(w.state().ChordSetCount, 0);

    // A major file cut short: key B's records are past its end.
    QFile::copy(QStringLiteral(STRUMBO_PROGRAM_DIR "/pxma2.dat"), data.dir.filePath("pxma2.dat"));
    QFile::resize(data.dir.filePath("pxma1.dat"), 13 * 100);
    chooseKey(w, 11);
    clickShowChords(w);
    QCOMPARE(ask.messages.size(), 2);
    QVERIFY(ask.messages[1].contains(QStringLiteral("pxma1.dat")));
    QCOMPARE(w.state().ChordSetCount, 0);
    QVERIFY(isEmpty(w.state().ChordPage[0][0]));

    // A fingering with impossible values is refused, not drawn.
    chooseKey(w, 0);
    QFile f(data.dir.filePath("pxma2.dat"));
    QVERIFY(f.open(QIODevice::ReadWrite));
    f.seek(13 * (0 * 57 + 2 * 3 + 1));
    f.write(QByteArray(13, char(0xFF)));
    f.close();
    clickShowChords(w);
    QCOMPARE(ask.messages.size(), 3);
    QCOMPARE(w.state().ChordSetCount, 0);

    QFile::remove(data.dir.filePath("pxcd3.dat"));
    QFile::copy(QStringLiteral(STRUMBO_PROGRAM_DIR "/pxma2.dat"), data.dir.filePath("pxma2.dat"));
    clickShowChords(w);
    QCOMPARE(ask.messages.size(), 4);
    QCOMPARE(w.state().ChordSetCount, 0);
  }

  void sharpsRenameTheRootFieldAndLaterHeaders() {
    DataDir data;
    ScriptedPrompter ask;
    MainWindow w(data.path(), &ask);
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

  void clicksSelectTheCellUnderThePointer() {
    DataDir data;
    ScriptedPrompter ask;
    MainWindow w(data.path(), &ask);
    chooseKey(w, 0);
    chooseChordType(w, 1, 0);
    clickShowChords(w);
    clickShowChords(w);
    ChordsTab* page = w.chordsPage();
    QCOMPARE(page->framedCell(), QPoint(0, 1));

    clickAt(w, "imgChordPage", QPoint(260, 100));
    QCOMPARE(page->framedCell(), QPoint(2, 0));
    QCOMPARE(std::memcmp(&w.state().SelectedChord, &w.state().ChordPage[2][0], 88), 0);
    // Between columns the one to the left is hit; left of the first, the first.
    clickAt(w, "imgChordPage", QPoint(135, 100));
    QCOMPARE(page->framedCell(), QPoint(0, 0));
    clickAt(w, "imgChordPage", QPoint(300, 100));
    clickAt(w, "imgChordPage", QPoint(10, 100));
    QCOMPARE(page->framedCell(), QPoint(0, 0));
    // The old frame leaves no red behind.
    const QImage& img = child<SurfaceView>(w, "imgChordPage")->image();
    QVERIFY(img.pixelColor(260, 150 + 31) != QColor(Qt::red));
    QCOMPARE(img.pixelColor(20, 100), QColor(Qt::red));

    // Empty rows, and presses past the grid, change nothing.
    clickAt(w, "imgChordPage", QPoint(300, 350));
    clickAt(w, "imgChordPage", QPoint(745, 100));
    QCOMPARE(page->framedCell(), QPoint(0, 0));
  }

  void realMouseClicksReachThePages() {
    DataDir data;
    ScriptedPrompter ask;
    MainWindow w(data.path(), &ask);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    chooseKey(w, 0);
    chooseChordType(w, 1, 0);
    clickShowChords(w);
    QTest::mouseClick(child<SurfaceView>(w, "imgChordPage"), Qt::LeftButton, {}, QPoint(260, 100));
    QCOMPARE(w.chordsPage()->framedCell(), QPoint(2, 0));
    // The fretboard answers the pointer with the note under it.
    w.state().LastRoot = 0;
    QTest::mouseMove(w.fretboard()->findChild<SurfaceView*>(QStringLiteral("imgGuitar")),
                     QPoint(FretX[3] + 6, StringY[5] + 6));
    QCOMPARE(w.fretboard()->findChild<QLabel*>(QStringLiteral("pnlNote"))->text(),
             QStringLiteral("G"));
    QCOMPARE(w.fretboard()->findChild<QLabel*>(QStringLiteral("pnlInterval"))->text(),
             QStringLiteral("5"));
  }

  void rightClickOpensTheMenuWithoutMovingTheFrame() {
    DataDir data;
    ScriptedPrompter ask;
    MainWindow w(data.path(), &ask);
    w.show();
    chooseKey(w, 0);
    chooseChordType(w, 1, 0);
    clickShowChords(w);
    const TChordDiagram selected = w.state().SelectedChord;
    ChordsTab* page = w.chordsPage();
    clickAt(w, "imgChordPage", cellCentre(0, 1), Qt::RightButton);  // empty row: no menu
    QVERIFY(!child<QMenu>(w, "popmenuChords")->isVisible());
    clickAt(w, "imgChordPage", cellCentre(3, 0), Qt::RightButton);
    QVERIFY(child<QMenu>(w, "popmenuChords")->isVisible());
    QCOMPARE(page->currentCell(), QPoint(3, 0));
    QCOMPARE(page->framedCell(), QPoint(0, 0));
    QCOMPARE(std::memcmp(&selected, &w.state().SelectedChord, 88), 0);
    child<QMenu>(w, "popmenuChords")->hide();
  }

  void rootFieldIsTidied() {
    MainWindow w("/nonexistent/");
    QLineEdit* root = child<QLineEdit>(w, "editChordRoot");
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
    DataDir data;
    ScriptedPrompter ask;
    MainWindow w(data.path(), &ask);
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
    QCOMPARE(std::vector<int>(sc.StartFrets, sc.StartFrets + 6),
             (std::vector<int>{1, 4, 7, 10, 13, 17}));
    QCOMPARE(std::string(sc.ScaleName.view()), std::string("Major Pentatonic"));
    QCOMPARE(std::string(sc.TuningName.view()), std::string(" E A D G B E"));
    QCOMPARE(sc.Root, std::uint8_t(7));
    QCOMPARE(w.fretboard()->findChild<QLineEdit*>(QStringLiteral("editChordNameUser"))->text(),
             QStringLiteral("G Major Pentatonic"));
    QCOMPARE(w.fretboard()->findChild<QLineEdit*>(QStringLiteral("editNotes"))->text(),
             QStringLiteral(" G A B D E"));
    QCOMPARE(w.scalesPage()->selectedCell(), QPoint(0, 0));
    // Every G on the neck is a root mark (red) on the fretboard: fret 3 of the low E.
    QVERIFY(w.fretboard()->findChild<SurfaceView*>(QStringLiteral("imgGuitar"))->image() !=
            Bitmaps::fretboard());
  }

  void fiveScalesAtMostAndMissingLibrary() {
    DataDir data;
    ScriptedPrompter ask;
    MainWindow w(data.path(), &ask);
    chooseKey(w, 0);
    chooseScale(w, 0);
    for (int i = 0; i < 5; ++i) clickShowChords(w);
    clickShowChords(w);
    QCOMPARE(ask.messages,
             QStringList{QStringLiteral("Maximum is 5 sets of scales. Clear the Scale page.")});
    QCOMPARE(w.state().ScaleCount, 5);

    DataDir none;
    QFile::remove(none.dir.filePath("pxs.dat"));
    ScriptedPrompter ask2;
    MainWindow w2(none.path(), &ask2);
    chooseKey(w2, 0);
    chooseScale(w2, 3);
    clickShowChords(w2);
    QCOMPARE(ask2.messages, QStringList{QStringLiteral("Could Not Find Scale Data File.")});
    QCOMPARE(w2.state().ScaleCount, 0);
  }

  void changeBeginningFret() {
    DataDir data;
    ScriptedPrompter ask;
    MainWindow w(data.path(), &ask);
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

  void placingAScaleFromThePrintPage() {
    DataDir data;
    ScriptedPrompter ask;
    MainWindow w(data.path(), &ask);
    chooseKey(w, 0);
    chooseScale(w, 0);
    clickShowChords(w);
    clickShowChords(w);
    TScaleDiagram sent = w.state().ScalePage[0];
    sent.ScaleName = "Lydian";
    sent.StartFrets[3] = 9;
    w.state().PrintMoveBuffer = TPrintDiagram{};
    scaleToPrintItem(sent, w.state().PrintMoveBuffer);
    w.state().PrintMoveBuffer.BaseFret = 9;

    ScalesTab* page = w.scalesPage();
    page->setPlacing(true);
    clickAt(w, "imgScales", cellCentre(1, 4));
    QCOMPARE(w.state().ScaleCount, 3);
    QCOMPARE(std::string(w.state().ScalePage[2].ScaleName.view()), std::string("Lydian"));
    QCOMPARE(
        std::vector<int>(w.state().ScalePage[2].StartFrets, w.state().ScalePage[2].StartFrets + 6),
        (std::vector<int>{1, 4, 7, 10, 13, 17}));
    QVERIFY(!page->placing());

    page->setPlacing(true);
    ask.answers.push_back(false);
    clickAt(w, "imgScales", cellCentre(0, 1));
    QCOMPARE(ask.questions.value(0),
             QStringLiteral("Do you want to replace this row of diagrams?"));
    QVERIFY(page->placing());
    ask.answers.push_back(true);
    clickAt(w, "imgScales", cellCentre(0, 1));
    QCOMPARE(w.state().ScaleCount, 3);
    QCOMPARE(std::string(w.state().ScalePage[1].ScaleName.view()), std::string("Lydian"));
    QVERIFY(!page->placing());

    // A right press cancels placing.
    page->setPlacing(true);
    clickAt(w, "imgScales", cellCentre(0, 0), Qt::RightButton);
    QVERIFY(!page->placing());
    QCOMPARE(std::string(w.state().ScalePage[0].ScaleName.view()), std::string("Ionian (Major)"));
  }
};

QTEST_MAIN(LibraryPagesTest)
#include "LibraryPagesTest.moc"
