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

bool activate(QWidget& w) {
  w.show();
  QApplication::setActiveWindow(&w);
  return QTest::qWaitForWindowActive(&w);
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

  // The question before a placed scale replaces a row goes through the
  // prompter; No keeps the scale waiting, Yes places it.
  void placingOverARowAsksFirst() {
    DataDir data;
    ScriptedPrompter ask;
    MainWindow w(data.path(), &ask);
    chooseKey(w, 0);
    chooseScale(w, 0);
    clickShowChords(w);
    TScaleDiagram sent = w.state().ScalePage[0];
    sent.ScaleName = "Lydian";
    scaleToPrintItem(sent, w.state().PrintMoveBuffer);
    ScalesTab* page = w.scalesPage();
    page->setPlacing(true);
    ask.answers = {false};
    clickAt(w, "imgScales", cellCentre(0, 0));
    QCOMPARE(ask.questions, QStringList{"Do you want to replace this row of diagrams?"});
    QVERIFY(page->placing());
    QCOMPARE(child<SurfaceView>(w, "imgScales")->pointerShape(), 5);
    ask.answers = {true};
    clickAt(w, "imgScales", cellCentre(0, 0));
    QCOMPARE(std::string(w.state().ScalePage[0].ScaleName.view()), std::string("Lydian"));
    QVERIFY(!page->placing());
    QCOMPARE(child<SurfaceView>(w, "imgScales")->pointerShape(), 0);
  }

  // Edit > Undo and Redo, and Ctrl+Z, step the Chords page back and forth;
  // the page is drawn as it was, framed where it was.
  void undoAndRedoOnTheChordsPage() {
    DataDir data;
    ScriptedPrompter ask;
    MainWindow w(data.path(), &ask);
    QVERIFY(activate(w));
    chooseKey(w, 0);
    chooseChordType(w, 1, 0);
    clickShowChords(w);
    const QImage one = child<SurfaceView>(w, "imgChordPage")->image();
    const QByteArray page = QByteArray::fromStdString(w.workbench().page(PlayTab::Chords));
    chooseChordType(w, 1, 2);
    clickShowChords(w);
    clickShowChords(w);
    QCOMPARE(action(w, "mnuUndo")->text(), QStringLiteral("&Undo Show Chords"));
    trigger(w, "mnuUndo");
    QCOMPARE(w.state().ChordSetCount, 2);
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.state().ChordSetCount, 1);
    QCOMPARE(QByteArray::fromStdString(w.workbench().page(PlayTab::Chords)), page);
    QCOMPARE(child<SurfaceView>(w, "imgChordPage")->image(), one);
    QCOMPARE(w.chordsPage()->framedCell(), QPoint(0, 0));
    QCOMPARE(std::memcmp(&w.state().SelectedChord, &w.state().ChordPage[0][0], 88), 0);
    trigger(w, "mnuRedo");
    QCOMPARE(w.state().ChordSetCount, 2);
    QVERIFY(!isEmpty(w.state().ChordPage[5][1]));
  }

  // The same on the Scales page, for a new row and a beginning fret.
  void undoAndRedoOnTheScalesPage() {
    DataDir data;
    ScriptedPrompter ask;
    MainWindow w(data.path(), &ask);
    QVERIFY(activate(w));
    chooseKey(w, 0);
    chooseScale(w, 0);
    clickShowChords(w);
    const QImage shown = child<SurfaceView>(w, "imgScales")->image();
    clickAt(w, "imgScales", cellCentre(2, 0), Qt::RightButton);
    child<QMenu>(w, "popmenuScales")->hide();
    ask.dialogs.push_back([](QDialog& d) {
      auto& dlg = static_cast<BeginFretDialog&>(d);
      retype(dlg.meditBeginFret, QStringLiteral("5"));
      clickIn(dlg, "OKBtn");
      return dlg.result() == QDialog::Accepted;
    });
    trigger(w, "pmenu5StartFret");
    QCOMPARE(w.state().ScalePage[0].StartFrets[2], std::uint8_t(5));
    QCOMPARE(action(w, "mnuUndo")->text(), QStringLiteral("&Undo Beginning Fret"));
    trigger(w, "mnuUndo");
    QCOMPARE(w.state().ScalePage[0].StartFrets[2], std::uint8_t(7));
    QCOMPARE(w.state().CurrentScale.StartFrets[2], std::uint8_t(7));
    QCOMPARE(child<SurfaceView>(w, "imgScales")->image(), shown);
    QCOMPARE(action(w, "mnuUndo")->text(), QStringLiteral("&Undo Show Scale"));
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.state().ScaleCount, 0);
    QVERIFY(isEmpty(w.state().CurrentScale));
    trigger(w, "mnuRedo");
    trigger(w, "mnuRedo");
    QCOMPARE(w.state().ScaleCount, 1);
    QCOMPARE(w.state().ScalePage[0].StartFrets[2], std::uint8_t(5));
  }
};

QTEST_MAIN(LibraryPagesTest)
#include "LibraryPagesTest.moc"
