#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include "WindowProbe.h"
#include "WindowRig.h"
#include "render/FretboardPainter.h"
#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"
#include "ui/SurfaceView.h"

namespace {

// Rows of the neck above the fret numbers under it.
constexpr int NeckRows = 110;

QString chordName(MainWindow& w) {
  return child<QLineEdit>(w, "editChordNameUser")->text();
}

}  // namespace

// The capo, shape or sounding names and the left-handed view, set by the
// player on the bar beside the page tabs and kept in Px.ini.
class GuitarViewTest : public QObject {
  Q_OBJECT

 private slots:
  void capoNamesAndHandAreSetByThePlayerAndRemembered() {
    SettingsWindowRig s;
    MainWindow& w = s.window;
    w.show();
    auto* board = child<SurfaceView>(*w.fretboard(), "imgGuitar");
    const QImage plain = board->grab().toImage();

    // Left-handed, the neck is shown mirrored (nut on the right) but its fret
    // numbers still read the right way round.
    QTest::mouseClick(child<QToolButton>(w, "sbtnLeftHanded"), Qt::LeftButton);
    QVERIFY(w.state().LeftHanded);
    const QImage mirrored = board->grab().toImage();
    const QImage flipped = plain.mirrored(true, false);
    QCOMPARE(mirrored.copy(0, 0, mirrored.width(), NeckRows),
             flipped.copy(0, 0, flipped.width(), NeckRows));
    QVERIFY(mirrored.copy(0, NeckRows, mirrored.width(), 13) !=
            flipped.copy(0, NeckRows, flipped.width(), 13));

    // A press lands on the string and fret shown under the pointer.
    clickTab(w, 1);
    const QPoint shown(board->width() - 1 - (FretX[3] + 6), StringY[1] + 6);
    QTest::mouseClick(board, Qt::LeftButton, {}, shown);
    QCOMPARE(int(w.state().EditChord.Strings[1].Fret), 3);
    QCOMPARE(int(w.state().EditChord.Strings[0].Fret), 0);

    // Capo 3 with sounding names: the C shapes are named Eb.
    auto* capo = child<QSpinBox>(w, "spinCapo");
    auto* sounding = child<QToolButton>(w, "sbtnSoundingNames");
    QVERIFY(!sounding->isEnabled());
    for (int i = 0; i < 3; ++i) QTest::keyClick(capo, Qt::Key_Up);
    QCOMPARE(w.state().Capo, 3);
    QTest::mouseClick(sounding, Qt::LeftButton);
    showChords(w, 0, 1, 0);
    QCOMPARE(chordName(w), QStringLiteral("Eb maj"));
    QCOMPARE(child<QLineEdit>(w, "editNotes")->text(), QStringLiteral(" Eb G Bb"));
    QTest::mouseClick(child<QToolButton>(w, "sbtnShapeNames"), Qt::LeftButton);
    QCOMPARE(chordName(w), QStringLiteral("C maj"));
    QCOMPARE(int(w.state().ChordPage[0][0].Root), 0);
    QTest::mouseClick(sounding, Qt::LeftButton);

    QVERIFY(w.close());
    const std::string& ini = s.files.files[SettingsWindowRig::Ini];
    for (const char* key : {"Capo=3", "SoundingNames=1", "LeftHanded=1"})
      QVERIFY2(ini.find(key) != std::string::npos, key);

    SettingsWindowRig again(ini);
    again.window.show();
    QCOMPARE(child<QSpinBox>(again.window, "spinCapo")->value(), 3);
    QVERIFY(child<QToolButton>(again.window, "sbtnSoundingNames")->isChecked());
    QVERIFY(child<SurfaceView>(*again.window.fretboard(), "imgGuitar")->mirrored());
  }
};

QTEST_MAIN(GuitarViewTest)
#include "GuitarViewTest.moc"
