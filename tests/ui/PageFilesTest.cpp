#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <cstring>

#include "DataDir.h"
#include "FakeFileLayer.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "ui/DesignGroupController.h"
#include "ui/MainWindow.h"
#include "ui/PrintPageTab.h"
#include "ui/TempoDialog.h"
#include "ui/ToolBarPanel.h"

namespace {

template <class T>
bool same(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

void saveAs(MainWindow& w, ScriptedPrompter& ask, const QString& path) {
  ask.files.push_back(path);
  click(w, "sbtnSave");
}

void openFrom(MainWindow& w, ScriptedPrompter& ask, const QString& path) {
  ask.files.push_back(path);
  click(w, "sbtnOpen");
}

QByteArray bytesOf(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QImage& picture(MainWindow& w, const char* surface) {
  return child<SurfaceView>(w, surface)->image();
}

}  // namespace

class PageFilesTest : public QObject {
  Q_OBJECT

 private slots:
  // Chord, print and scale pages come back as they were saved, pictures
  // and all; a name typed without an extension gets the kind's.
  void libraryPagesComeBackAsTheyWere() {
    DataDir data;
    QTemporaryDir dir;
    ScriptedPrompter ask;
    MainWindow w(data.path(), &ask);
    w.show();
    chooseKey(w, 7);
    chooseChordType(w, 1, 0);
    clickShowChords(w);
    chooseChordType(w, 2, 1);
    clickShowChords(w);
    popupCommand(w, "imgChordPage", {120 * 2 + 70, 150 + 90}, "popmenuChords", "pmenu1SendtoPrint");
    clickAt(w, "imgPrintPage", {120 * 4 + 70, 160 * 2 + 90});
    chooseScale(w, 1);
    clickShowChords(w);

    clickTab(w, int(PlayTab::Chords));
    clickAt(w, "imgChordPage", {70, 90});
    saveAs(w, ask, dir.filePath(QStringLiteral("songs")));
    QCOMPARE(ask.messages, QStringList());
    QCOMPARE(bytesOf(dir.filePath(QStringLiteral("songs.cpf"))).size(), 2728);
    QCOMPARE(w.windowTitle(), QStringLiteral("Strumbo!   songs.cpf"));
    clickTab(w, int(PlayTab::Print));
    saveAs(w, ask, dir.filePath(QStringLiteral("sheet.prf")));
    clickTab(w, int(PlayTab::Scales));
    saveAs(w, ask, dir.filePath(QStringLiteral("modes.spf")));

    ScriptedPrompter ask2;
    MainWindow again(data.path(), &ask2);
    again.show();
    clickTab(again, int(PlayTab::Chords));
    openFrom(again, ask2, dir.filePath(QStringLiteral("songs.cpf")));
    QCOMPARE(again.state().ChordSetCount, 2);
    QVERIFY(same(again.state().SelectedChord, w.state().ChordPage[0][0]));
    QCOMPARE(picture(again, "imgChordPage"), picture(w, "imgChordPage").copy());
    QCOMPARE(again.windowTitle(), QStringLiteral("Strumbo!   songs.cpf"));

    clickTab(again, int(PlayTab::Print));
    openFrom(again, ask2, dir.filePath(QStringLiteral("sheet.prf")));
    QCOMPARE(again.printPage()->selectedCell(), QPoint(4, 2));
    QVERIFY(same(again.state().SelectedPrintItem, w.state().PrintPage[4][2]));
    QCOMPARE(picture(again, "imgPrintPage"), picture(w, "imgPrintPage").copy());

    clickTab(again, int(PlayTab::Scales));
    openFrom(again, ask2, dir.filePath(QStringLiteral("modes.spf")));
    QCOMPARE(again.state().ScaleCount, 1);
    QVERIFY(same(again.state().CurrentScale, w.state().ScalePage[0]));

    // Another kind of file is refused and the page stays as it is.
    clickTab(again, int(PlayTab::Chords));
    const QImage before = picture(again, "imgChordPage").copy();
    openFrom(again, ask2, dir.filePath(QStringLiteral("sheet.prf")));
    QCOMPARE(ask2.messages, QStringList{QStringLiteral("This is not a Chord Page file")});
    QCOMPARE(again.state().ChordSetCount, 2);
    QCOMPARE(picture(again, "imgChordPage"), before);
    QCOMPARE(ask2.unanswered, 0);
  }

  // A play page keeps its chords, time signature, tempo, loop and bass, and
  // its repeat marks in the companion; without the companion the marks are
  // the fresh page's.
  void thePlayPageKeepsItsHeaderAndRepeatMarks() {
    DataDir data;
    QTemporaryDir dir;
    ScriptedPrompter ask;
    MainWindow w(data.path(), &ask);
    w.show();
    chooseKey(w, 2);
    chooseChordType(w, 3, 0);
    clickShowChords(w);
    clickTab(w, int(PlayTab::PlayPage));
    click(w, "sbtnTime");  // 3/4
    ask.dialogs.push_back([](QDialog& d) {
      auto& tempo = static_cast<TempoDialog&>(d);
      retype(tempo.meditTempo, QStringLiteral("96"));
      QTest::mouseClick(tempo.OKBtn, Qt::LeftButton);
      return true;
    });
    trigger(w, "mnuTempo");
    QCOMPARE(w.state().Play.PlayPageTempo, 625000);
    clickTab(w, int(PlayTab::Chords));
    popupCommand(w, "imgChordPage", {70, 90}, "popmenuChords", "pmenu1SendtoPlay");
    clickAt(w, "imgPlayPage", {63 * 3 + 40, 132 * 2 + 60});
    click(w, "sbtnLoop");
    // Bar 5 (the first of row 2 in 3/4) repeats twice.
    ask.dialogs.push_back([](QDialog& d) {
      tick(child<QCheckBox>(d, "cbRepeat"));
      retype(child<QLineEdit>(d, "editRepeat"), QStringLiteral("2"));
      clickIn(d, "OKBtn");
      return d.result() == QDialog::Accepted;
    });
    popupCommand(w, "imgPlayPage", {63 * 1 + 40, 132 * 2 + 60}, "popmenuPlayPage", "pmenu4Repeat");
    QCOMPARE(int(w.state().Play.RepeatSet34.RepeatCount[4]), 2);
    QVERIFY(w.state().Play.PlayPageChanged);
    saveAs(w, ask, dir.filePath(QStringLiteral("tune")));
    QCOMPARE(ask.messages, QStringList());
    QVERIFY(!w.state().Play.PlayPageChanged);
    QCOMPARE(bytesOf(dir.filePath(QStringLiteral("tune.ppf"))).size(), 6424);
    QCOMPARE(bytesOf(dir.filePath(QStringLiteral("tune.rpt"))).size(), 48);

    ScriptedPrompter ask2;
    MainWindow again(data.path(), &ask2);
    again.show();
    clickTab(again, int(PlayTab::PlayPage));
    openFrom(again, ask2, dir.filePath(QStringLiteral("tune.ppf")));
    QCOMPARE(ask2.messages, QStringList());
    QVERIFY(button(again, "sbtnTime")->isChecked());
    QVERIFY(button(again, "sbtnLoop")->isChecked());
    QCOMPARE(again.state().Play.PlayPageTempo, 625000);
    QVERIFY(!isEmpty(w.state().PlayPage[3][2]));
    QVERIFY(same(again.state().PlayPage[3][2], w.state().PlayPage[3][2]));
    QCOMPARE(int(again.state().Play.RepeatSet34.RepeatCount[4]), 2);
    QVERIFY(!again.state().Play.PlayPageChanged);
    QCOMPARE(picture(again, "imgPlayPage"), picture(w, "imgPlayPage").copy());

    // Changed since: Open asks first, and Yes leaves it to be saved.
    clickAt(again, "imgPlayPage", {63 * 3 + 40, 132 * 2 + 60}, Qt::RightButton);
    child<QMenu>(again, "popmenuPlayPage")->hide();
    ask2.answers = {true};
    trigger(again, "pmenu4Delete");
    ask2.answers = {true};
    click(again, "sbtnOpen");
    QCOMPARE(ask2.questions.last(),
             QStringLiteral("This Play Page has changed. Do you want to save changes?"));
    QCOMPARE(ask2.unanswered, 0);

    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("tune.rpt"))));
    ask2.answers = {false};
    openFrom(again, ask2, dir.filePath(QStringLiteral("tune.ppf")));
    TRepeatSet fresh{};
    fresh.ReturnMark[0] = 1;
    fresh.LoopMark[11] = 1;
    QVERIFY(same(again.state().Play.RepeatSet34, fresh));
    QVERIFY(!isEmpty(again.state().PlayPage[3][2]));
  }

  // A save that fails says which file and why, and changes nothing: the old
  // file, the caption, the file name and the change flag stay as they were.
  void aFailedSaveChangesNothing() {
    DataDir data;
    FakeFileLayer disk;
    ScriptedPrompter ask;
    MainWindowServices services;
    services.PageFiles = &disk;
    MainWindow w(data.path(), &ask, services);
    w.show();
    chooseKey(w, 0);
    chooseChordType(w, 1, 2);
    clickShowChords(w);
    popupCommand(w, "imgChordPage", {70, 90}, "popmenuChords", "pmenu1SendtoPlay");
    clickAt(w, "imgPlayPage", {40, 60});
    const std::string page = "/songs/tune.ppf", rpt = "/songs/tune.rpt";
    disk.files[page] = "the old page";
    disk.files[rpt] = "the old marks";
    disk.failWriteNumber = 2;  // the second temporary file: the disk is full
    saveAs(w, ask, QStringLiteral("/songs/tune"));
    QCOMPARE(ask.messages.size(), 1);
    QVERIFY2(ask.messages[0].contains(QStringLiteral("/songs/tune.")) &&
                 ask.messages[0].contains(QStringLiteral("No space left on device")),
             qPrintable(ask.messages[0]));
    QCOMPARE(disk.files[page], std::string("the old page"));
    QCOMPARE(disk.files[rpt], std::string("the old marks"));
    QVERIFY(!disk.temporaryLeft(page) && !disk.temporaryLeft(rpt));
    QVERIFY(w.state().Play.PlayPageChanged);
    QVERIFY(w.state().lastPageFile(PlayTab::PlayPage).empty());

    disk.failWriteNumber = 0;
    saveAs(w, ask, QStringLiteral("/songs/tune"));
    QCOMPARE(ask.messages.size(), 1);
    QCOMPARE(disk.files[page].size(), std::size_t(6424));
    QCOMPARE(w.windowTitle(), QStringLiteral("Strumbo!   tune.ppf"));
    QVERIFY(!w.state().Play.PlayPageChanged);
  }

  // The design group's file shows under it; loading takes its first diagram
  // in hand with Show Intervals released. A file dropped on the window and
  // one chosen from the recent files open into their tabs.
  void designFilesDropsAndRecentFiles() {
    DataDir data;
    QTemporaryDir dir;
    ScriptedPrompter ask;
    MainWindow w(data.path(), &ask);
    w.show();
    chooseKey(w, 9);
    chooseChordType(w, 2, 0);
    clickShowChords(w);
    popupCommand(w, "imgChordPage", {120 * 1 + 70, 90}, "popmenuChords", "pmenu1SendtoDesign");
    clickAt(w, "imgChordDesign", {76 * 2 + 38, 50});
    const QString path = dir.filePath(QStringLiteral("voicings.cds"));
    saveAs(w, ask, path);
    QCOMPARE(child<QLabel>(w, "lblCDFilePath")->text(), QStringLiteral("File: ") + path);
    QVERIFY(!w.state().DesignGroupChanged);
    clickTab(w, int(PlayTab::Chords));
    saveAs(w, ask, dir.filePath(QStringLiteral("a.cpf")));

    ScriptedPrompter ask2;
    MainWindow again(data.path(), &ask2);
    again.show();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    // As a finished drag delivers it (an offscreen platform runs no QDrag).
    QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(&again, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(&again, &drop);
    QCOMPARE(again.currentTab(), PlayTab::ChordDesign);
    QVERIFY(same(again.state().DesignGroup[2], w.state().DesignGroup[2]));
    QVERIFY(same(again.state().EditChord, w.state().DesignGroup[2]));
    QCOMPARE(again.designGroup()->selectedSlot(), 2);
    QCOMPARE(child<QLabel>(again, "lblCDFilePath")->text(), QStringLiteral("File: ") + path);

    // The File menu lists the files of the tab's kind; choosing one opens it.
    auto* file = child<QMenu>(w, "menuFile");
    clickTab(w, int(PlayTab::Chords));
    file->popup(QPoint(0, 0));
    QCOMPARE(action(*file, "mnuRecent1")->text(), QStringLiteral("&1 a.cpf"));
    QVERIFY(!action(*file, "mnuRecent2")->isVisible());
    file->hide();
    click(w, "sbtnErase");
    QCOMPARE(w.state().ChordSetCount, 0);
    action(*file, "mnuRecent1")->trigger();
    QCOMPARE(w.state().ChordSetCount, 1);
  }

  // Names given relative to the working folder, as on the command line, are
  // kept absolute: the design group's file and the recent files are found
  // from any folder, and two spellings of one file make one entry.
  void relativeNamesAreKeptAbsolute() {
    DataDir data;
    QTemporaryDir dir;
    ScriptedPrompter ask;
    MainWindow w(data.path(), &ask);
    w.show();
    chooseKey(w, 7);
    chooseChordType(w, 2, 0);
    clickShowChords(w);
    saveAs(w, ask, dir.filePath(QStringLiteral("a.cpf")));
    clickTab(w, int(PlayTab::ChordDesign));
    saveAs(w, ask, dir.filePath(QStringLiteral("g.cds")));

    const QString home = QDir::currentPath();
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    QVERIFY(QDir::setCurrent(dir.path()));
    ScriptedPrompter ask2;
    MainWindow again(data.path(), &ask2);
    again.show();
    again.openFiles(
        {QStringLiteral("sub/../a.cpf"), QStringLiteral("g.cds"), QStringLiteral("./a.cpf")});
    QVERIFY(QDir::setCurrent(QDir::rootPath()));
    const QString folder = QFileInfo(dir.path()).canonicalFilePath();
    QCOMPARE(child<QLabel>(again, "lblCDFilePath")->text(),
             QStringLiteral("File: ") + folder + QStringLiteral("/g.cds"));
    auto* file = child<QMenu>(again, "menuFile");
    clickTab(again, int(PlayTab::Chords));
    file->popup(QPoint(0, 0));
    QCOMPARE(action(*file, "mnuRecent1")->data().toString(), folder + QStringLiteral("/a.cpf"));
    QVERIFY(!action(*file, "mnuRecent2")->isVisible());
    file->hide();
    click(again, "sbtnErase");
    action(*file, "mnuRecent1")->trigger();
    QVERIFY(QDir::setCurrent(home));
    QCOMPARE(again.state().ChordSetCount, 1);
    QVERIFY2(ask2.messages.isEmpty(), qPrintable(ask2.messages.join('\n')));
  }
};

QTEST_MAIN(PageFilesTest)
#include "PageFilesTest.moc"
