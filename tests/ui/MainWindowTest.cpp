#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QtTest>

#include "WindowProbe.h"
#include "WindowRig.h"
#include "render/FretboardPainter.h"
#include "ui/ChordDesignTab.h"
#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"
#include "ui/SurfaceView.h"

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void titleAndTabs() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Strumbo!"));
    QTabWidget* tabs = w.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    QVERIFY(tabs);
    QCOMPARE(tabs->count(), 5);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Chords"));
    QCOMPARE(tabs->tabText(4), QStringLiteral("Scales"));
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(w.state().ExeDir, std::string("/nonexistent/"));
  }

  void surfacesHaveTheirSizes() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    const struct {
      const char* name;
      QSize size;
    } surfaces[] = {{"imgChordPage", {772, 800}},
                    {"imgChordDesign", {456, 101}},
                    {"imgPlayPage", {772, 833}},
                    {"imgPrintPage", {772, 800}},
                    {"imgScales", {776, 800}}};
    for (const auto& s : surfaces) {
      auto* surface = w.findChild<QWidget*>(QLatin1String(s.name));
      QVERIFY2(surface, s.name);
      QCOMPARE(surface->size(), s.size);
    }
  }

  void exportItemsOnlyOnThePlayPage() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QMenu* file = child<QMenu>(w, "menuFile");
    for (PlayTab tab : {PlayTab::Chords, PlayTab::ChordDesign, PlayTab::PlayPage, PlayTab::Print,
                        PlayTab::Scales}) {
      w.showTab(tab);
      file->popup(w.mapToGlobal(QPoint(0, 0)));
      const bool onPlayPage = tab == PlayTab::PlayPage;
      QCOMPARE(action(w, "mnuExportMidi")->isVisible(), onPlayPage);
      QCOMPARE(action(w, "mnuExportAudio")->isVisible(), onPlayPage);
      QCOMPARE(action(w, "mnuExportMusicXml")->isVisible(), onPlayPage);
      // A PDF wherever a page prints.
      QCOMPARE(action(w, "mnuExportPdf")->isVisible(), tab != PlayTab::ChordDesign);
      QVERIFY(action(w, "mnuNew")->isVisible());
      QVERIFY(action(w, "mnuExit")->isVisible());
      file->hide();
    }
  }

  void keyboardCommandsAndKeyPreview() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // Finger markers by key only on the Chord Design tab; the marker that is
    // down is the finger a fretted note then takes.
    QVERIFY(typeKey(w, Qt::Key_3));
    QVERIFY(button(w, "sbtnPlain")->isChecked());
    w.showTab(PlayTab::ChordDesign);
    QVERIFY(typeKey(w, Qt::Key_3));
    QVERIFY(button(w, "sbtnThree")->isChecked());
    QTest::mouseClick(w.fretboard()->findChild<SurfaceView*>(QStringLiteral("imgGuitar")),
                      Qt::LeftButton, {}, QPoint(FretX[2] + 6, StringY[4] + 6));
    QCOMPARE(w.state().EditChord.Strings[4].Finger, std::uint8_t(3));
    QVERIFY(typeKey(w, Qt::Key_P));
    QVERIFY(button(w, "sbtnPlain")->isChecked());

    // Typing a tuning name: the keys reach the field, not the commands.
    QLineEdit* name = w.fretboard()->findChild<QLineEdit*>(QStringLiteral("editTuningName"));
    QTest::mouseClick(name, Qt::LeftButton);
    QVERIFY(!w.keyPreview());
    retype(name, QStringLiteral("P4"));
    QCOMPARE(name->text(), QStringLiteral("P4"));
    QCOMPARE(w.chordDesign()->selectedFinger(), 6);
    w.chordDesign()->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setFocus();
    QVERIFY(w.keyPreview());
    QTest::keyClick(w.chordDesign()->findChild<QComboBox*>(QStringLiteral("ComboBox1")), Qt::Key_2);
    QCOMPARE(w.chordDesign()->selectedFinger(), 2);
  }

  void placement() {
    QVERIFY(MainWindow::maximisedOn(QSize(800, 600)));
    QVERIFY(!MainWindow::maximisedOn(QSize(1024, 768)));
    QVERIFY(!MainWindow::maximisedOn(QSize(800, 800)));
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    QCOMPARE(w.pos(), QPoint(0, 0));
    QCOMPARE(w.size(), QSize(808, 608));
    QVERIFY(!w.isMaximized());
  }

  void rendersToAnImage() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QImage shot = w.grab().toImage();
    QCOMPARE(shot.size(), QSize(808, 608));
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
