#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include "../settings/FakeFileLayer.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "library/LibraryFiles.h"
#include "render/FretboardBitmaps.h"
#include "render/FretboardPainter.h"
#include "settings/ProfileFile.h"
#include "ui/BusyGuard.h"
#include "ui/ChordsTab.h"
#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"

namespace {

// The settings window, with the chord-type list and the fretboard at hand.
struct Rig : SettingsWindowRig {
  using SettingsWindowRig::SettingsWindowRig;
  QComboBox* list() { return child<QComboBox>(window, "ComboBox1"); }
  QLineEdit* field(const char* name) { return child<QLineEdit>(window, name); }
  QLineEdit* interval(int i) {
    return field(QStringLiteral("editIntervals%1").arg(i).toLatin1().constData());
  }
  QColor pixel(QPoint at) {
    return child<SurfaceView>(*window.fretboard(), "imgGuitar")->image().pixelColor(at);
  }
};

// Picks item `index` from the chord-type list with the arrow keys, each step
// a choice as it is for the user. (A click into the opened list is ignored
// for a moment after it opens, so a test cannot use it without waiting.)
void choose(QComboBox* list, int index) {
  QTest::keyClick(list, Qt::Key_Home);
  for (int i = 0; i < index; ++i) QTest::keyClick(list, Qt::Key_Down);
  QCOMPARE(list->currentIndex(), index);
}

// A dialog script: ticks `boxes`, types `name` and presses OK.
std::function<bool(QDialog&)> addChord(std::vector<int> boxes, const QString& name,
                                       QString* formulaSeen = nullptr) {
  return [boxes, name, formulaSeen](QDialog& d) {
    for (int b : boxes)
      tick(child<QCheckBox>(d, QStringLiteral("cbInterval%1").arg(b).toLatin1().constData()));
    if (formulaSeen) *formulaSeen = child<QLineEdit>(d, "editUserFormula")->text();
    QTest::keyClicks(child<QLineEdit>(d, "editUserName"), name);
    clickIn(d, "OKBtn");
    return d.result() == QDialog::Accepted;
  };
}

// The top-left corner of the glyph place of string s at fret f, where an
// arpeggio box is drawn.
QPoint boxCorner(int s, int f) {
  return {FretX[f] - 1, StringY[s] - 1};
}

}  // namespace

class IntervalsTest : public QObject {
  Q_OBJECT

 private slots:
  // The Add User Chord dialog's ticks and name go into the settings file
  // and onto the end of the list; Cancel adds nothing.
  void addingAUserChordThroughItsDialog() {
    Rig r;
    QString formula;
    r.ask.dialogs.push_back(addChord({3, 7, 10}, QStringLiteral("mine"), &formula));
    trigger(r.window, "pmenu6Add");
    QCOMPARE(formula, QStringLiteral("1 b3 5 b7"));
    QCOMPARE(r.ini.readInteger("UserChords", "Number", 0), 1);
    QCOMPARE(r.ini.readInteger("62", "I3", -1), 10);
    QCOMPARE(r.ini.readString("62", "Name", ""), std::string("mine"));
    QCOMPARE(r.list()->count(), 63);
    QCOMPARE(r.list()->itemText(62), QStringLiteral("mine"));
    QCOMPARE(r.list()->currentIndex(), 0);

    // A seventh tick is taken back at once.
    r.ask.dialogs.push_back(addChord({1, 2, 3, 4, 5, 6, 7}, QString(), &formula));
    trigger(r.window, "pmenu6Add");
    QCOMPARE(formula, QStringLiteral("1 b2 2 b3 3 4 b5"));
    QCOMPARE(r.list()->itemText(63), QStringLiteral("NONAME"));

    r.ask.dialogs.push_back([](QDialog& d) {
      tick(child<QCheckBox>(d, "cbInterval4"));
      clickIn(d, "CancelBtn");
      return d.result() == QDialog::Accepted;
    });
    trigger(r.window, "pmenu6Add");
    QCOMPARE(r.list()->count(), 64);
    QCOMPARE(r.ini.readInteger("UserChords", "Number", 0), 2);
    QVERIFY(r.ask.messages.isEmpty());
    QCOMPARE(r.ask.unanswered, 0);
  }

  void deletingAUserChordFromThePopupMenu() {
    Rig r("[UserChords]\nNumber=2\n[62]\nName=one\nI0=0\nI1=4\n[63]\nName=two\nI0=0\nI1=3\n");
    r.window.show();
    r.window.showTab(PlayTab::ChordDesign);
    // A built-in type cannot be deleted.
    choose(r.list(), 2);
    trigger(r.window, "pmenu6Delete");
    QCOMPARE(r.ask.messages,
             QStringList{QStringLiteral("Cannot delete this chord. Please select a User Chord.")});
    QCOMPARE(r.list()->count(), 64);

    choose(r.list(), 62);
    trigger(r.window, "pmenu6Delete");
    QCOMPARE(r.ini.readInteger("UserChords", "Number", 0), 1);
    QCOMPARE(r.ini.readString("62", "Name", ""), std::string("two"));
    QCOMPARE(r.list()->count(), 63);
    QCOMPARE(r.list()->itemText(62), QStringLiteral("two"));
    QCOMPARE(r.list()->currentIndex(), 0);
    QCOMPARE(r.ask.messages.size(), 1);
  }

  void aFailedWriteLeavesTheListAndTheFileAsTheyWere() {
    Rig r("[UserChords]\nNumber=2\n[62]\nName=one\nI0=0\nI1=4\n[63]\nName=two\nI0=0\nI1=3\n");
    r.window.show();
    r.window.showTab(PlayTab::ChordDesign);
    const std::string before = r.files.files[Rig::Ini];
    r.files.failWrites = true;

    r.ask.dialogs.push_back(addChord({4, 7}, QStringLiteral("new")));
    trigger(r.window, "pmenu6Add");
    QCOMPARE(r.ask.messages.size(), 1);
    QCOMPARE(r.list()->count(), 64);

    choose(r.list(), 62);
    trigger(r.window, "pmenu6Delete");
    QCOMPARE(r.ask.messages.size(), 2);
    QVERIFY(r.ask.messages[1].startsWith(QStringLiteral("Unable to write to ")));
    QCOMPARE(r.list()->count(), 64);
    QCOMPARE(r.list()->itemText(62), QStringLiteral("one"));
    QCOMPARE(r.list()->currentIndex(), 62);
    QCOMPARE(r.files.files[Rig::Ini], before);
  }

  // Show Intervals lays the chosen type over the fingering in hand: its
  // labels in their colours, and every chord tone on the neck boxed.
  void showIntervalsOfMaj7OnCBoxesEveryChordTone() {
    Rig r;
    r.window.show();
    r.window.showTab(PlayTab::ChordDesign);
    choose(r.list(), 2);  // maj7
    click(r.window, "sbDisplayIntervals");
    QVERIFY(button(r.window, "sbDisplayIntervals")->isChecked());
    QCOMPARE(r.field("editChordNameUser")->text(), QStringLiteral("C maj7"));
    QCOMPARE(r.field("editNotes")->text(), QStringLiteral(" C E G B"));
    QCOMPARE(r.field("editNotes")->palette().color(QPalette::Text), QColor(0, 0, 255));
    const char* labels[4] = {"1", "3", "5", "7"};
    const QColor colours[4] = {QColor(255, 0, 0), QColor(0, 255, 255), QColor(0, 255, 0),
                               QColor(255, 255, 255)};
    for (int i = 0; i < 4; ++i) {
      QCOMPARE(r.interval(i)->text(), QLatin1String(labels[i]));
      QCOMPARE(r.interval(i)->palette().color(QPalette::Base), colours[i]);
    }
    const QImage clean = Bitmaps::fretboard();
    const int open[6] = {64, 59, 55, 50, 45, 40};
    for (int s = 0; s < 6; ++s)
      for (int f = 0; f <= 22; ++f) {
        const int pc = (open[s] + f) % 12;
        const int tone = pc == 0 ? 0 : pc == 4 ? 1 : pc == 7 ? 2 : pc == 11 ? 3 : -1;
        const QColor want = tone >= 0 ? colours[tone] : clean.pixelColor(boxCorner(s, f));
        QVERIFY2(r.pixel(boxCorner(s, f)) == want,
                 qPrintable(QStringLiteral("%1/%2").arg(s).arg(f)));
      }
    // The edit under it takes the type's formula.
    clickAt(r.window, "imgGuitar", {FretX[0] + 6, StringY[2] + 6});  // open G
    QCOMPARE(std::string(r.window.state().EditChord.Formula.view()), std::string("1 3 5 7    "));

    // Up again: the fingering's own intervals, no boxes.
    click(r.window, "sbDisplayIntervals");
    QCOMPARE(r.interval(1)->text(), QStringLiteral("5"));
    QVERIFY(r.interval(2)->text().isEmpty());
    QCOMPARE(r.pixel(boxCorner(0, 8)), clean.pixelColor(boxCorner(0, 8)));
  }

  // The chord-type list names each type as the dictionary does, so it says
  // what the fretboard says of a library chord ("C maj", not "major").
  void theChordTypeListNamesTheTypesAsTheDictionaryDoes() {
    Rig r;
    QCOMPARE(r.list()->count(), 62);
    for (int t = 0; t < 62; ++t) {
      TChordFormula record{};
      QVERIFY(readChordFormula(STRUMBO_PROGRAM_DIR "/", t, record).Status == LibraryStatus::Ok);
      QCOMPARE(r.list()->itemText(t), QString::fromStdString(record.Name.str()));
    }
    QCOMPARE(r.list()->itemText(0), QStringLiteral("maj"));
  }

  // A click on an interval label names it an octave up and back; the root
  // has no other name, and a chord type's own labels stay as they are.
  void intervalLabelClicksNameAnIntervalAnOctaveUp() {
    Rig r;
    r.window.show();
    r.window.showTab(PlayTab::ChordDesign);
    // C on the B string and D on the G string, over root C.
    clickAt(r.window, "imgGuitar", {FretX[1] + 6, StringY[1] + 6});
    clickAt(r.window, "imgGuitar", {FretX[7] + 6, StringY[2] + 6});
    QLineEdit* second = r.interval(1);
    QCOMPARE(second->text(), QStringLiteral("2"));
    QTest::mouseClick(second, Qt::LeftButton);
    QCOMPARE(second->text(), QStringLiteral("9"));
    QCOMPARE(r.window.state().EditChord.Intervals[1], 14);
    QTest::mouseClick(second, Qt::LeftButton);
    QCOMPARE(second->text(), QStringLiteral("2"));
    QTest::mouseClick(r.interval(0), Qt::LeftButton);
    QCOMPARE(r.interval(0)->text(), QStringLiteral("1"));
    QVERIFY(!r.window.state().ExtensionFlags[0]);

    click(r.window, "sbDisplayIntervals");
    choose(r.list(), 9);  // add9
    QLineEdit* ninth = nullptr;
    for (int i = 0; i < 7; ++i)
      if (r.interval(i)->text() == QStringLiteral("9")) ninth = r.interval(i);
    QVERIFY(ninth);
    QTest::mouseClick(ninth, Qt::LeftButton);
    QCOMPARE(ninth->text(), QStringLiteral("9"));
    QVERIFY(!r.window.state().ExtensionFlags[2]);
  }

  // Show Arpeggio, by its button or from a diagram's pop-up menu, boxes the
  // chord in hand across the neck; with Show Intervals down it does nothing.
  void showArpeggioBoxesTheChordInHand() {
    Rig r;
    r.window.show();
    showChords(r.window, 0, 1, 2);  // C maj7
    const QImage clean = Bitmaps::fretboard();
    const QPoint highC = boxCorner(0, 8), highE = boxCorner(0, 12), highF = boxCorner(0, 1);
    QCOMPARE(r.pixel(highC), clean.pixelColor(highC));
    click(r.window, "sbShowArp");
    // Outside the Chord Design tab every chord tone but the root is lime.
    QCOMPARE(r.pixel(highC), QColor(255, 0, 0));
    QCOMPARE(r.pixel(highE), QColor(0, 255, 0));
    QCOMPARE(r.pixel(highF), clean.pixelColor(highF));
    click(r.window, "sbShowArp");
    QCOMPARE(r.pixel(highC), clean.pixelColor(highC));

    popupCommand(r.window, "imgChordPage", QPoint(120 * 3 + 60, 80), "popmenuChords",
                 "menu1Arpeggio");
    QCOMPARE(r.window.findChild<ChordsTab*>()->framedCell(), QPoint(3, 0));
    QCOMPARE(r.window.state().SelectedChord.Notes[0], r.window.state().ChordPage[3][0].Notes[0]);
    QVERIFY(button(r.window, "sbShowArp")->isChecked());
    QCOMPARE(r.pixel(highC), QColor(255, 0, 0));

    click(r.window, "sbShowArp");
    r.window.showTab(PlayTab::ChordDesign);
    click(r.window, "sbDisplayIntervals");
    const QImage before = child<SurfaceView>(*r.window.fretboard(), "imgGuitar")->image();
    click(r.window, "sbShowArp");
    QCOMPARE(child<SurfaceView>(*r.window.fretboard(), "imgGuitar")->image(), before);
  }

  void theButtonsStayPutWhileTheProgramIsBusy() {
    Rig r;
    r.window.show();
    r.window.showTab(PlayTab::ChordDesign);
    const QImage before = child<SurfaceView>(*r.window.fretboard(), "imgGuitar")->image();
    {
      BusyPointer busy;
      click(r.window, "sbDisplayIntervals");
      click(r.window, "sbShowArp");
    }
    QVERIFY(!button(r.window, "sbDisplayIntervals")->isChecked());
    QVERIFY(!button(r.window, "sbShowArp")->isChecked());
    QCOMPARE(child<SurfaceView>(*r.window.fretboard(), "imgGuitar")->image(), before);
  }
};

QTEST_MAIN(IntervalsTest)
#include "IntervalsTest.moc"
