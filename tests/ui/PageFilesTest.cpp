#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <cstring>

#include "DataDir.h"
#include "FakeFileLayer.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "ui/DesignGroupController.h"
#include "ui/FretboardPanel.h"
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

// Answers as ScriptedPrompter does and keeps the folder or file each file
// dialog was opened at, and the tab that was showing at each question.
struct WatchingPrompter : ScriptedPrompter {
  QStringList starts;
  QList<PlayTab> tabsAtQuestions;
  MainWindow* window = nullptr;

  QString openFileName(QWidget* parent, const QString& title, const QString& start,
                       const QString& filter) override {
    starts << start;
    return ScriptedPrompter::openFileName(parent, title, start, filter);
  }
  QString saveFileName(QWidget* parent, const QString& title, const QString& start,
                       const QString& filter) override {
    starts << start;
    return ScriptedPrompter::saveFileName(parent, title, start, filter);
  }
  bool ask(QWidget* parent, const QString& question, bool defaultYes) override {
    if (window) tabsAtQuestions << window->currentTab();
    return ScriptedPrompter::ask(parent, question, defaultYes);
  }
};

// Pages in memory that note the pointer shown while each file is read.
struct PointerWatchingFiles : FakeFileLayer {
  QList<Qt::CursorShape> pointers;
  std::optional<std::string> read(const std::string& path) override {
    const QCursor* busy = QApplication::overrideCursor();
    pointers << (busy ? busy->shape() : Qt::ArrowCursor);
    return FakeFileLayer::read(path);
  }
};

QString chordNameShown(MainWindow& w) {
  return child<QLineEdit>(*w.fretboard(), "editChordNameUser")->text();
}

}  // namespace

class PageFilesTest : public QObject {
  Q_OBJECT

 private slots:
  // Chord, print and scale pages come back as they were saved, pictures
  // and all; a name typed without an extension gets the kind's.
  void libraryPagesComeBackAsTheyWere() {
    QTemporaryDir dir;
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
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

    const auto second = rig.another();
    MainWindow& again = second->w;
    ScriptedPrompter& ask2 = second->ask;
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
    QTemporaryDir dir;
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
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

    const auto second = rig.another();
    MainWindow& again = second->w;
    ScriptedPrompter& ask2 = second->ask;
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
    FakeFileLayer disk;
    MainWindowServices services;
    services.PageFiles = &disk;
    WindowRig rig(services);
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
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
    QTemporaryDir dir;
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
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

    const auto second = rig.another();
    MainWindow& again = second->w;
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
    QTemporaryDir dir;
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
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
    const auto second = rig.another();
    MainWindow& again = second->w;
    ScriptedPrompter& ask2 = second->ask;
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

  // A file opened by name asks about the page it would replace where the
  // player is, and brings its tab forward only once it has come in: a file
  // that is refused leaves the tab and the fretboard as they were.
  void openingByNameSwitchesTabsOnlyForAFileThatCameIn() {
    QTemporaryDir dir;
    BasicWindowRig<WatchingPrompter> rig;
    MainWindow& w = rig.w;
    WatchingPrompter& ask = rig.ask;
    ask.window = &w;
    w.show();
    chooseKey(w, 7);
    chooseChordType(w, 1, 0);
    clickShowChords(w);
    popupCommand(w, "imgChordPage", {70, 90}, "popmenuChords", "pmenu1SendtoDesign");
    clickAt(w, "imgChordDesign", {38, 50});
    const QString good = dir.filePath(QStringLiteral("g.cds"));
    saveAs(w, ask, good);
    click(w, "sbtnErase");  // a saved group goes without a question
    clickTab(w, int(PlayTab::Chords));
    chooseKey(w, 0);
    chooseChordType(w, 2, 0);
    clickShowChords(w);
    QCOMPARE(chordNameShown(w), QStringLiteral("C minor"));

    // Not a design file: asked on the Chords tab, refused, and still there.
    const QString bad = dir.filePath(QStringLiteral("bad.cds"));
    QFile f(bad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(616, 'x'));
    f.close();
    w.state().DesignGroupChanged = true;
    ask.answers = {false};
    w.openFiles({bad});
    QCOMPARE(ask.tabsAtQuestions, QList<PlayTab>{PlayTab::Chords});
    QCOMPARE(ask.messages, QStringList{QStringLiteral("This is not a Chord Design file")});
    QCOMPARE(w.currentTab(), PlayTab::Chords);
    QCOMPARE(chordNameShown(w), QStringLiteral("C minor"));
    // A Yes (save first) opens nothing and stays too.
    ask.answers = {true};
    w.openFiles({good});
    QCOMPARE(w.currentTab(), PlayTab::Chords);
    QVERIFY(isEmpty(w.state().DesignGroup[0]));

    // A file that comes in brings its tab forward as a click on it would.
    w.state().DesignGroupChanged = false;
    w.openFiles({good});
    QCOMPARE(w.currentTab(), PlayTab::ChordDesign);
    QCOMPARE(chordNameShown(w), QStringLiteral("G maj"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Strumbo!   g.cds"));
    QVERIFY(child<QWidget>(w, "UpDown0")->isEnabled());
    QCOMPARE(ask.messages.size(), 1);
  }

  // Without the page folders of the settings the file dialogs start in the
  // folder last used for the kind, else in Documents; Save names the page's
  // file in that folder, and a page folder that is there is used first.
  void fileDialogsStartInAFolderThatIsThere() {
    QTemporaryDir dir;
    BasicWindowRig<WatchingPrompter> rig;
    MainWindow& w = rig.w;
    WatchingPrompter& ask = rig.ask;
    DataDir& data = rig.data;
    w.show();
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty() || !QDir(documents).exists()) documents = QDir::homePath();
    documents += QLatin1Char('/');
    const QString used = QFileInfo(dir.path()).canonicalFilePath() + QLatin1Char('/');

    ask.files = {QString()};
    click(w, "sbtnOpen");
    chooseKey(w, 7);
    chooseChordType(w, 1, 0);
    clickShowChords(w);
    saveAs(w, ask, dir.filePath(QStringLiteral("a.cpf")));
    ask.files = {QString(), QString()};
    click(w, "sbtnOpen");
    click(w, "sbtnSave");
    QCOMPARE(ask.starts, (QStringList{documents, documents, used, used + QStringLiteral("a.cpf")}));

    const QString pages = QString::fromStdString(data.path()) + QStringLiteral("Chord");
    QVERIFY(QDir().mkpath(pages));
    ask.starts.clear();
    ask.files = {QString(), QString()};
    click(w, "sbtnOpen");
    click(w, "sbtnSave");
    QCOMPARE(ask.starts, (QStringList{pages + QLatin1Char('/'), pages + QStringLiteral("/a.cpf")}));
    QCOMPARE(ask.unanswered, 0);
  }

  // A print page is read and drawn under the busy pointer, which goes again
  // afterwards, also when the file is refused.
  void aPrintPageLoadsUnderTheBusyPointer() {
    PointerWatchingFiles disk;
    MainWindowServices services;
    services.PageFiles = &disk;
    WindowRig rig(services);
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    w.show();
    chooseKey(w, 7);
    chooseChordType(w, 1, 0);
    clickShowChords(w);
    popupCommand(w, "imgChordPage", {70, 90}, "popmenuChords", "pmenu1SendtoPrint");
    clickAt(w, "imgPrintPage", {120 + 70, 90});
    saveAs(w, ask, QStringLiteral("/pages/sheet.prf"));
    click(w, "sbtnErase");
    QVERIFY(!w.printPage()->hasItems());

    disk.pointers.clear();
    openFrom(w, ask, QStringLiteral("/pages/sheet.prf"));
    QVERIFY(w.printPage()->hasItems());
    QVERIFY(!disk.pointers.isEmpty());
    for (Qt::CursorShape shape : disk.pointers) QCOMPARE(shape, Qt::WaitCursor);
    QVERIFY(!QApplication::overrideCursor());

    disk.files["/pages/other.prf"] = "not a page";
    openFrom(w, ask, QStringLiteral("/pages/other.prf"));
    QCOMPARE(ask.messages.size(), 1);
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(w.printPage()->hasItems());
  }
};

QTEST_MAIN(PageFilesTest)
#include "PageFilesTest.moc"
