#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>

#include "WindowProbe.h"
#include "WindowRig.h"
#include "render/FretboardPainter.h"
#include "ui/FretboardPanel.h"

namespace {

QComboBox* tuningList(MainWindow& w) {
  return child<QComboBox>(w, "cbTuningPreset");
}

// Opens the tuning list with a click and clicks the entry of that caption.
bool choose(MainWindow& w, const QString& caption) {
  QComboBox* box = tuningList(w);
  const int row = box->findText(caption);
  if (row < 0) return false;
  QTest::mouseClick(box, Qt::LeftButton);
  QAbstractItemView* list = box->view();
  if (!QTest::qWaitFor([&] { return list->isVisible(); })) return false;
  const auto centre = [&](int r) { return list->visualRect(list->model()->index(r, 0)).center(); };
  // The pointer runs over the list before it settles, as a hand's does: the
  // list takes no release until the pointer has left the spot that opened it.
  QTest::mouseMove(list->viewport(), centre(row > box->count() / 2 ? 0 : box->count() - 1));
  const QPoint at = centre(row);
  QTest::mouseMove(list->viewport(), at);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  return QTest::qWaitFor([&] { return !list->isVisible(); });
}

QStringList strings(MainWindow& w) {
  QStringList names;
  for (int s = 0; s < 6; ++s)
    names << child<QLineEdit>(w, qPrintable(QStringLiteral("editString%1").arg(s)))->text();
  return names;
}

QString tuningNameField(MainWindow& w) {
  return child<QLineEdit>(w, "editTuningName")->text();
}

QAction* editItem(MainWindow& w, const char* name) {
  return action(*child<QMenu>(w, "menuEdit"), name);
}

const Tuning Dadgad = {62, 57, 55, 50, 45, 38};

Tuning tuningOf(const TChordDiagram& chord) {
  Tuning t;
  std::copy(std::begin(chord.Tuning), std::end(chord.Tuning), t.begin());
  return t;
}

}  // namespace

class TuningListTest : public QObject {
  Q_OBJECT

 private slots:
  // A preset chosen from the list tunes the six strings and the chord in
  // hand as one edit, which one Undo takes back; the list follows the
  // strings whatever changed them.
  void aPresetRetunesTheChordInHandAsOneEdit() {
    SettingsWindowRig r;
    MainWindow& w = r.window;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QComboBox* box = tuningList(w);
    QVERIFY(!box->isEnabled());
    w.showTab(PlayTab::ChordDesign);
    QVERIFY(box->isEnabled());
    QCOMPARE(box->currentText(), QStringLiteral("Standard"));

    // A G on the low string and the open D string: the chord in hand.
    QTest::mouseClick(child<SurfaceView>(w, "imgGuitar"), Qt::LeftButton, {},
                      {FretX[3] + 6, StringY[5] + 6});
    const TChordDiagram before = w.state().EditChord;
    QCOMPARE(editItem(w, "mnuUndo")->text(), QStringLiteral("&Undo Fret"));

    QVERIFY(choose(w, QStringLiteral("DADGAD")));
    QCOMPARE(strings(w), (QStringList{"D4", "A3", "G3", "D3", "A2", "D2"}));
    QCOMPARE(w.state().CurrentTuning, Dadgad);
    QCOMPARE(tuningNameField(w), QStringLiteral("DADGAD"));
    const TChordDiagram& e = w.state().EditChord;
    QCOMPARE(tuningOf(e), Dadgad);
    QCOMPARE(QString::fromStdString(e.TuningName.str()), QStringLiteral("DADGAD"));
    QCOMPARE(box->currentText(), QStringLiteral("DADGAD"));
    QCOMPARE(editItem(w, "mnuUndo")->text(), QStringLiteral("&Undo Tuning"));

    editItem(w, "mnuUndo")->trigger();
    QCOMPARE(tuningOf(e), tuningOf(before));
    QCOMPARE(e.TuningName.str(), before.TuningName.str());
    QCOMPARE(strings(w), (QStringList{"E4", "B3", "G3", "D3", "A2", "E2"}));
    QCOMPARE(box->currentText(), QStringLiteral("Standard"));
    // One step: the press on the fretboard is next.
    QCOMPARE(editItem(w, "mnuUndo")->text(), QStringLiteral("&Undo Fret"));

    // Two steps down on the low string make Drop D, which the list shows;
    // one more is no preset. Following the strings is no edit of its own.
    click(w, "UpDown5Down");
    QCOMPARE(box->currentIndex(), -1);  // shown as "Custom"
    QCOMPARE(box->placeholderText(), QStringLiteral("Custom"));
    click(w, "UpDown5Down");
    QCOMPARE(box->currentText(), QStringLiteral("Drop D"));
    editItem(w, "mnuUndo")->trigger();
    editItem(w, "mnuUndo")->trigger();
    QCOMPARE(editItem(w, "mnuUndo")->text(), QStringLiteral("&Undo Fret"));
    QCOMPARE(box->currentText(), QStringLiteral("Standard"));

    w.showTab(PlayTab::PlayPage);
    QVERIFY(!box->isEnabled());
  }

  // The player's own tunings come after the presets: read from the
  // settings file (what could not have been saved is passed over), saved
  // under a name asked for, and deleted again.
  void tuningsOfYourOwnAreKeptInTheSettingsFile() {
    SettingsWindowRig r(
        "[User Tunings]\nNumber=3\n"
        "Name1=Open A\nNotes1=40 45 52 57 61 64\n"
        "Name2=Broken\nNotes2=40 45 99 57 61 64\n"
        "Name3=Standard\nNotes3=40 45 52 57 61 64\n");
    MainWindow& w = r.window;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QComboBox* box = tuningList(w);
    QCOMPARE(box->findText(QStringLiteral("Broken")), -1);
    QCOMPARE(box->findText(QStringLiteral("Standard")), 0);
    QCOMPARE(box->findText(QStringLiteral("Standard"), Qt::MatchExactly), 0);
    w.showTab(PlayTab::Scales);

    QVERIFY(choose(w, QStringLiteral("Open A")));
    QCOMPARE(strings(w), (QStringList{"E4", "Db4", "A3", "E3", "A2", "E2"}));
    QCOMPARE(tuningNameField(w), QStringLiteral("Open A"));

    // A built-in name is refused with a word to the player; nothing is written.
    click(w, "UpDown1Down");  // C4 on the B string
    const std::string before = r.files.files[SettingsWindowRig::Ini];
    r.ask.texts = {QStringLiteral(" dadgad ")};
    QVERIFY(choose(w, QStringLiteral("Save Current Tuning...")));
    QCOMPARE(r.ask.textQuestions.size(), 1);
    QCOMPARE(r.ask.messages.size(), 1);
    QVERIFY2(r.ask.messages[0].contains(QStringLiteral("built-in")), qPrintable(r.ask.messages[0]));
    QCOMPARE(r.files.files[SettingsWindowRig::Ini], before);
    QCOMPARE(box->currentIndex(), -1);

    r.ask.texts = {QStringLiteral("Open Am")};
    QVERIFY(choose(w, QStringLiteral("Save Current Tuning...")));
    QCOMPARE(box->currentText(), QStringLiteral("Open Am"));
    QCOMPARE(tuningNameField(w), QStringLiteral("Open Am"));
    QCOMPARE(r.ini.readString("User Tunings", "Notes2", ""), std::string("40 45 52 57 60 64"));

    // The same name for other notes asks first, and No keeps the old ones.
    click(w, "UpDown0Down");
    r.ask.texts = {QStringLiteral("open am")};
    r.ask.answers = {false};
    QVERIFY(choose(w, QStringLiteral("Save Current Tuning...")));
    QCOMPARE(r.ask.questions.size(), 1);
    QCOMPARE(r.ini.readString("User Tunings", "Notes2", ""), std::string("40 45 52 57 60 64"));

    // A later start lists what this one saved.
    {
      auto again = r.rig.another({&r.ini, nullptr});
      QVERIFY(child<QComboBox>(again->w, "cbTuningPreset")->findText(QStringLiteral("Open Am")) >
              0);
    }

    QVERIFY(choose(w, QStringLiteral("Open Am")));
    r.ask.answers = {true};
    QVERIFY(choose(w, QStringLiteral("Delete This Tuning...")));
    QCOMPARE(box->findText(QStringLiteral("Open Am")), -1);
    QVERIFY(box->findText(QStringLiteral("Open A")) > 0);
    QCOMPARE(r.ini.readInteger("User Tunings", "Number", 0), 1);
    QCOMPARE(r.ask.unanswered, 0);
  }
};

QTEST_MAIN(TuningListTest)
#include "TuningListTest.moc"
