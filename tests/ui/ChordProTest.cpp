#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <QtTest>
#include <cstring>

#include "WindowRig.h"
#include "ui/MainWindow.h"

namespace {

QAction* menuItem(MainWindow& w, const char* menu, const char* name) {
  auto* m = child<QMenu>(w, menu);
  // The File menu sets what it shows as it opens.
  m->popup(QPoint(0, 0));
  QAction* item = action(*m, name);
  m->hide();
  return item;
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QByteArray readFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

using Slots = TChordDiagram[PlayPageColumns][PlayPageRows];

bool samePage(const Slots& a, const Slots& b) {
  return std::memcmp(a, b, sizeof(Slots)) == 0;
}

}  // namespace

class ChordProTest : public QObject {
  Q_OBJECT

 private slots:
  // Open on the PlayPage takes a ChordPro sheet: after the question about
  // the changed page, the sheet's chords, time and tempo are the page, the
  // chords the dictionary lacks are named, and Undo gives the old page back.
  // A file that is no sheet changes nothing.
  void anOpenedSheetIsThePageUntilUndo() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.show();
    showChords(w, 2, 3, 0);
    sendChord(w, 0, "pmenu1SendtoPlay", "imgPlayPage", {63 * 3 + 40, 132 * 2 + 60});
    QVERIFY(w.state().Play.PlayPageChanged);
    Slots before;
    std::memcpy(before, w.state().PlayPage, sizeof before);

    writeFile(rig.file("noise.cho"), QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    rig.ask.answers = {false};
    rig.ask.files.push_back(rig.file("noise.cho"));
    click(w, "sbtnOpen");
    QCOMPARE(rig.ask.errors.size(), 1);
    QVERIFY(samePage(w.state().PlayPage, before));

    writeFile(rig.file("song.cho"),
              "{title: Song}\n{time: 3/4}\n{tempo: 90}\n"
              "{define: Am base-fret 1 frets x 0 2 2 1 0 fingers 0 0 2 3 1 0}\n"
              "{start_of_grid}\n| Am . . | Csus2 . G7 |\n{end_of_grid}\n");
    rig.ask.answers = {false};
    rig.ask.files.push_back(rig.file("song.cho"));
    click(w, "sbtnOpen");
    QCOMPARE(rig.ask.questions.last(),
             QStringLiteral("This Play Page has changed. Do you want to save changes?"));
    QCOMPARE(rig.ask.messages.last(),
             QStringLiteral("These chords have no chord type in the dictionary and were left "
                            "out: Csus2."));
    const TChordDiagram& am = w.state().PlayPage[0][0];
    QVERIFY(!isEmpty(am));
    QCOMPARE(int(am.Root), 9);
    QCOMPARE(int(am.Strings[1].Fret), 1);
    QCOMPARE(int(am.Strings[1].Finger), 1);
    QVERIFY(!isEmpty(w.state().PlayPage[10][0]));  // G7 on the third beat of bar 2
    QCOMPARE(int(w.state().PlayPage[10][0].Root), 7);
    QVERIFY(isEmpty(w.state().PlayPage[3][2]));
    QVERIFY(button(w, "sbtnTime")->isChecked());
    QCOMPARE(w.state().Play.PlayPageTempo, 60'000'000 / 90);
    QVERIFY(w.state().Play.PlayPageChanged);

    auto* undo = action(*child<QMenu>(w, "menuEdit"), "mnuUndo");
    QCOMPARE(undo->text(), QStringLiteral("&Undo Import ChordPro"));
    undo->trigger();
    QVERIFY(samePage(w.state().PlayPage, before));
    QVERIFY(!button(w, "sbtnTime")->isChecked());
    QCOMPARE(rig.ask.unanswered, 0);
  }

  // File > Export ChordPro... writes the page's sheet under its own name; a
  // sheet dropped on the window comes back as the PlayPage it was.
  void anExportedPageComesBackByDrop() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.show();
    showChords(w, 0, 1, 0);  // C major
    sendChord(w, 0, "pmenu1SendtoPlay", "imgPlayPage", {40, 60});
    clickTab(w, int(PlayTab::Chords));
    sendChord(w, 2, "pmenu1SendtoPlay", "imgPlayPage", {63 * 4 + 40, 60});
    QCOMPARE(w.currentTab(), PlayTab::PlayPage);
    rig.save(QStringLiteral("tune"));
    clickTab(w, int(PlayTab::Scales));
    QVERIFY(!menuItem(w, "menuFile", "mnuExportChordPro")->isVisible());
    clickTab(w, int(PlayTab::PlayPage));
    QAction* exportItem = menuItem(w, "menuFile", "mnuExportChordPro");
    QVERIFY(exportItem->isVisible());
    rig.ask.files.push_back(rig.file("tune-sheet"));
    exportItem->trigger();
    const QByteArray sheet = readFile(rig.file("tune-sheet.cho"));
    QVERIFY2(sheet.startsWith("{title: tune}\n{time: 4/4}\n{tempo: 100}\n"), sheet.constData());
    QVERIFY2(sheet.contains("{define: C base-fret "), sheet.constData());
    QVERIFY2(sheet.contains("{define: C_2 base-fret "), sheet.constData());
    QVERIFY2(sheet.contains("| C   .   C_2 .   |."), sheet.constData());

    const auto second = rig.another();
    MainWindow& again = second->w;
    again.show();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(rig.file("tune-sheet.cho"))});
    QVERIFY(dropOn(&again, mime, QPoint(400, 300)));
    QCOMPARE(again.currentTab(), PlayTab::PlayPage);
    for (int c : {0, 4}) {
      const TChordDiagram& a = again.state().PlayPage[c][0];
      const TChordDiagram& b = w.state().PlayPage[c][0];
      QVERIFY(!isEmpty(a));
      QVERIFY(std::memcmp(a.Strings, b.Strings, sizeof a.Strings) == 0);
      QCOMPARE(a.ChordName.str(), b.ChordName.str());
    }
    QCOMPARE(second->ask.messages, QStringList());
  }
};

QTEST_MAIN(ChordProTest)
#include "ChordProTest.moc"
