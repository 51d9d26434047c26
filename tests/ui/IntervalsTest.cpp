#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>

#include "../settings/FakeFileLayer.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "library/LibraryFiles.h"
#include "render/FretboardBitmaps.h"
#include "render/FretboardPainter.h"
#include "settings/ProfileFile.h"
#include "ui/AddUserChordDialog.h"
#include "ui/BusyGuard.h"
#include "ui/ChordDesignTab.h"
#include "ui/ChordsTab.h"
#include "ui/FretboardPanel.h"
#include "ui/HelpWindow.h"
#include "ui/MainWindow.h"

namespace {

const std::string Ini = "/prog/Px.ini";

// A window over the real data files and a settings file in memory.
FakeFileLayer seeded(const std::string& iniText) {
  FakeFileLayer files;
  if (!iniText.empty()) files.files[Ini] = iniText;
  return files;
}

struct Rig {
  explicit Rig(const std::string& iniText = {}) : files(seeded(iniText)) {}
  FakeFileLayer files;
  ProfileFile ini{Ini, files};
  WindowRig rig{STRUMBO_PROGRAM_DIR "/", {&ini, nullptr}};
  MainWindow& window = rig.w;
  ScriptedPrompter& ask = rig.ask;

  QComboBox* list() { return child<QComboBox>(window, "ComboBox1"); }
  QLineEdit* field(const char* name) { return child<QLineEdit>(window, name); }
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

QColor pixel(FretboardPanel* fb, QPoint at) {
  return child<SurfaceView>(*fb, "imgGuitar")->image().pixelColor(at);
}

}  // namespace

class IntervalsTest : public QObject {
  Q_OBJECT

 private slots:
  void addingAUserChordStoresItInTheSectionOfItsListIndex() {
    Rig r;
    QString formula;
    r.ask.dialogs.push_back(addChord({3, 7, 10}, QStringLiteral("mine"), &formula));
    trigger(r.window, "pmenu6Add");
    QCOMPARE(formula, QStringLiteral("1 b3 5 b7"));
    QCOMPARE(r.ini.readInteger("UserChords", "Number", 0), 1);
    const int stored[7] = {0, 3, 7, 10, 255, 255, 255};
    for (int k = 0; k < 7; ++k)
      QCOMPARE(r.ini.readInteger("62", "I" + std::to_string(k), -1), stored[k]);
    QCOMPARE(r.ini.readString("62", "Name", ""), std::string("mine"));
    QCOMPARE(r.ini.readString("62", "Formula", ""), std::string("1 b3 5 b7"));
    QCOMPARE(r.list()->count(), 63);
    QCOMPARE(r.list()->itemText(62), QStringLiteral("mine"));
    QCOMPARE(r.list()->currentIndex(), 0);

    // A seventh tick is taken back at once; an empty name is stored as NONAME.
    r.ask.dialogs.push_back(addChord({1, 2, 3, 4, 5, 6, 7}, QString(), &formula));
    trigger(r.window, "pmenu6Add");
    QCOMPARE(formula, QStringLiteral("1 b2 2 b3 3 4 b5"));
    QCOMPARE(r.ini.readInteger("63", "I6", 0), 6);
    QCOMPARE(r.ini.readString("63", "Name", ""), std::string("NONAME"));
    QCOMPARE(r.list()->itemText(63), QStringLiteral("NONAME"));

    // OK with nothing ticked, and Cancel, add nothing.
    r.ask.dialogs.push_back(addChord({}, QStringLiteral("none")));
    trigger(r.window, "pmenu6Add");
    r.ask.dialogs.push_back([](QDialog& d) {
      tick(child<QCheckBox>(d, "cbInterval4"));
      clickIn(d, "CancelBtn");
      return d.result() == QDialog::Accepted;
    });
    trigger(r.window, "pmenu6Add");
    QCOMPARE(r.list()->count(), 64);
    QCOMPARE(r.ini.readInteger("UserChords", "Number", 0), 2);

    // Help opens the dialog's own help section.
    r.ask.dialogs.push_back([](QDialog& d) {
      clickIn(d, "HelpBtn");
      return false;
    });
    trigger(r.window, "pmenu6Add");
    QVERIFY(r.window.help()->isVisible());
    QCOMPARE(r.window.help()->currentAnchor(), QStringLiteral("ctx450"));
    QVERIFY(r.ask.messages.isEmpty());
    QCOMPARE(r.ask.unanswered, 0);
  }

  void deletingAUserChordMovesTheLaterSectionsDown() {
    Rig r(
        "[UserChords]\nNumber=3\n[62]\nName=one\nI0=0\nI1=4\n[63]\nName=two\nI0=0\nI1=3\n"
        "[64]\nName=three\nFormula=1 4\nI0=0\nI1=5\nI2=255\n");
    QCOMPARE(r.list()->count(), 65);
    r.window.show();
    r.window.showTab(PlayTab::ChordDesign);

    // A built-in type cannot be deleted.
    choose(r.list(), 2);
    trigger(r.window, "pmenu6Delete");
    QCOMPARE(r.ask.messages,
             QStringList{QStringLiteral("Cannot delete this chord. Please select a User Chord.")});
    QCOMPARE(r.list()->count(), 65);

    choose(r.list(), 63);
    trigger(r.window, "pmenu6Delete");
    QCOMPARE(r.ini.readInteger("UserChords", "Number", 0), 2);
    QCOMPARE(r.ini.readString("63", "Name", ""), std::string("three"));
    QCOMPARE(r.ini.readString("63", "Formula", ""), std::string("1 4"));
    QCOMPARE(r.ini.readInteger("63", "I1", 0), 5);
    QVERIFY(!r.ini.hasSection("64"));
    QCOMPARE(r.ini.readString("62", "Name", ""), std::string("one"));
    QCOMPARE(r.list()->count(), 64);
    QCOMPARE(r.list()->itemText(63), QStringLiteral("three"));
    QCOMPARE(r.list()->currentIndex(), 0);
    QCOMPARE(r.ask.messages.size(), 1);
  }

  void aFailedWriteLeavesTheListAndTheFileAsTheyWere() {
    Rig r("[UserChords]\nNumber=2\n[62]\nName=one\nI0=0\nI1=4\n[63]\nName=two\nI0=0\nI1=3\n");
    r.window.show();
    r.window.showTab(PlayTab::ChordDesign);
    const std::string before = r.files.files[Ini];
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
    QCOMPARE(r.files.files[Ini], before);
  }

  void showIntervalsOfMaj7OnCBoxesEveryChordTone() {
    Rig r;
    r.window.show();
    r.window.showTab(PlayTab::ChordDesign);
    FretboardPanel* fb = r.window.fretboard();
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
      QLineEdit* l = r.field(QStringLiteral("editIntervals%1").arg(i).toLatin1().constData());
      QCOMPARE(l->text(), QLatin1String(labels[i]));
      QCOMPARE(l->palette().color(QPalette::Base), colours[i]);
    }

    // Every place on the neck: C red, E, G and B in their labels' colours,
    // every other note unboxed.
    const QImage clean = Bitmaps::fretboard();
    const int open[6] = {64, 59, 55, 50, 45, 40};
    for (int s = 0; s < 6; ++s) {
      for (int f = 0; f <= 22; ++f) {
        const QPoint corner(FretX[f] - 1, StringY[s] - 1);
        const int pc = (open[s] + f) % 12;
        const int tone = pc == 0 ? 0 : pc == 4 ? 1 : pc == 7 ? 2 : pc == 11 ? 3 : -1;
        if (tone >= 0)
          QVERIFY2(pixel(fb, corner) == colours[tone],
                   qPrintable(QStringLiteral("%1/%2").arg(s).arg(f)));
        else
          QVERIFY2(pixel(fb, corner) == clean.pixelColor(corner),
                   qPrintable(QStringLiteral("%1/%2").arg(s).arg(f)));
      }
    }

    // Up again: the fingering's own intervals, no boxes.
    click(r.window, "sbDisplayIntervals");
    QCOMPARE(r.field("editIntervals1")->text(), QString());
    QCOMPARE(pixel(fb, QPoint(FretX[8] - 1, StringY[0] - 1)),
             clean.pixelColor(QPoint(FretX[8] - 1, StringY[0] - 1)));
  }

  // The chord-type list names each type as the dictionary does, so it says
  // what the fretboard says of a library chord ("C maj", not "major").
  void theChordTypeListNamesTheTypesAsTheDictionaryDoes() {
    Rig r;
    r.window.show();
    QCOMPARE(r.list()->count(), 62);
    for (int t = 0; t < 62; ++t) {
      TChordFormula record{};
      QVERIFY(readChordFormula(STRUMBO_PROGRAM_DIR "/", t, record).Status == LibraryStatus::Ok);
      QCOMPARE(r.list()->itemText(t), QString::fromStdString(record.Name.str()));
    }
    chooseKey(r.window, 0);
    chooseChordType(r.window, 1, 3);  // maj9#5
    clickShowChords(r.window);
    popupCommand(r.window, "imgChordPage", {70, 90}, "popmenuChords", "pmenu1SendtoDesign");
    clickAt(r.window, "imgChordDesign", {38, 50});
    choose(r.list(), 3);
    QCOMPARE(r.field("editChordNameUser")->text(), QStringLiteral("C ") + r.list()->currentText());
    QCOMPARE(r.list()->itemText(0), QStringLiteral("maj"));
  }

  void aDamagedUserChordShowsWhatItCanUse() {
    Rig r(
        "[UserChords]\nNumber=1\n[62]\nName=a name much too long\nI0=9\nI1=7\nI2=4\nI3=99\n"
        "I4=junk\nI5=11\nI6=-3\n");
    QCOMPARE(r.list()->itemText(62), QStringLiteral("a name much too"));
    r.window.show();
    r.window.showTab(PlayTab::ChordDesign);
    click(r.window, "sbDisplayIntervals");
    choose(r.list(), 62);
    QCOMPARE(r.field("editChordNameUser")->text(), QStringLiteral("C a name much too"));
    QCOMPARE(r.field("editNotes")->text(), QStringLiteral(" C G B"));
    QCOMPARE(r.field("editIntervals2")->text(), QStringLiteral("7"));
    QCOMPARE(r.field("editIntervals3")->text(), QString());
  }

  void intervalLabelClicksNameAnIntervalAnOctaveUp() {
    Rig r;
    r.window.show();
    r.window.showTab(PlayTab::ChordDesign);
    // C on the B string and D on the G string, over root C.
    clickAt(r.window, "imgGuitar", {FretX[1] + 6, StringY[1] + 6});
    clickAt(r.window, "imgGuitar", {FretX[7] + 6, StringY[2] + 6});
    QLineEdit* second = r.field("editIntervals1");
    QCOMPARE(second->text(), QStringLiteral("2"));
    QTest::mouseClick(second, Qt::LeftButton);
    QCOMPARE(second->text(), QStringLiteral("9"));
    QCOMPARE(r.window.state().EditChord.Intervals[1], 14);
    QTest::mouseClick(second, Qt::LeftButton);
    QCOMPARE(second->text(), QStringLiteral("2"));

    // The root has no other name.
    QTest::mouseClick(r.field("editIntervals0"), Qt::LeftButton);
    QCOMPARE(r.field("editIntervals0")->text(), QStringLiteral("1"));
    QVERIFY(!r.window.state().ExtensionFlags[0]);

    // With Show Intervals down the labels belong to the chord type: the 9 of
    // add9 stays a 9.
    click(r.window, "sbDisplayIntervals");
    choose(r.list(), 9);
    QLineEdit* ninth = nullptr;
    for (int i = 0; i < 7; ++i) {
      QLineEdit* l = r.field(QStringLiteral("editIntervals%1").arg(i).toLatin1().constData());
      if (l->text() == QStringLiteral("9")) ninth = l;
    }
    QVERIFY(ninth);
    QTest::mouseClick(ninth, Qt::LeftButton);
    QCOMPARE(ninth->text(), QStringLiteral("9"));
    QVERIFY(!r.window.state().ExtensionFlags[2]);
  }

  void typingAChordNameKeepsOnlyTheChordType() {
    Rig r;
    r.window.show();
    r.window.showTab(PlayTab::ChordDesign);
    QLineEdit* name = r.field("editChordNameUser");
    retype(name, QStringLiteral("F#m7/A"));
    QCOMPARE(r.window.state().EditChord.ChordName.str(), std::string("m7"));
    retype(name, QStringLiteral("6/9"));
    QCOMPARE(r.window.state().EditChord.ChordName.str(), std::string("6/9"));
    retype(name, QStringLiteral("Bb"));
    QCOMPARE(r.window.state().EditChord.ChordName.str(), std::string());
  }

  void showArpeggioBoxesTheChordInHandOnTheChordsPage() {
    Rig r;
    r.window.show();
    FretboardPanel* fb = r.window.fretboard();
    chooseKey(r.window, 0);
    chooseChordType(r.window, 1, 2);  // C maj7
    clickShowChords(r.window);
    QCOMPARE(r.window.state().ChordSetCount, 1);
    const QImage clean = Bitmaps::fretboard();
    const QPoint highC(FretX[8] - 1, StringY[0] - 1), highE(FretX[12] - 1, StringY[0] - 1),
        highF(FretX[1] - 1, StringY[0] - 1);
    QCOMPARE(pixel(fb, highC), clean.pixelColor(highC));

    click(r.window, "sbShowArp");
    // Outside the Chord Design tab every chord tone but the root is lime.
    QCOMPARE(pixel(fb, highC), QColor(255, 0, 0));
    QCOMPARE(pixel(fb, highE), QColor(0, 255, 0));
    QCOMPARE(pixel(fb, highF), clean.pixelColor(highF));
    QCOMPARE(r.field("editIntervals1")->palette().color(QPalette::Base), QColor(Qt::white));
    click(r.window, "sbShowArp");
    QCOMPARE(pixel(fb, highC), clean.pixelColor(highC));

    // From the pop-up of another diagram: it is framed, taken in hand and
    // shown with its arpeggio.
    clickAt(r.window, "imgChordPage", QPoint(120 * 3 + 60, 80), Qt::RightButton);
    QMenu* popup = child<QMenu>(r.window, "popmenuChords");
    popup->hide();
    trigger(r.window, "menu1Arpeggio");
    QCOMPARE(r.window.findChild<ChordsTab*>()->framedCell(), QPoint(3, 0));
    QCOMPARE(r.window.state().SelectedChord.Notes[0], r.window.state().ChordPage[3][0].Notes[0]);
    QVERIFY(button(r.window, "sbShowArp")->isChecked());
    QCOMPARE(pixel(fb, highC), QColor(255, 0, 0));
    QCOMPARE(pixel(fb, highE), QColor(0, 255, 0));

    // On the Chord Design tab with Show Intervals down the button does nothing.
    click(r.window, "sbShowArp");
    r.window.showTab(PlayTab::ChordDesign);
    click(r.window, "sbDisplayIntervals");
    const QImage before = child<SurfaceView>(*fb, "imgGuitar")->image();
    click(r.window, "sbShowArp");
    QCOMPARE(child<SurfaceView>(*fb, "imgGuitar")->image(), before);
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
