#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QStandardPaths>
#include <QUrl>
#include <QtTest>
#include <cstring>

#include "FakeFileLayer.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "ui/DesignGroupController.h"
#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"
#include "ui/PrintPageTab.h"

namespace {

template <class T>
bool same(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

void openFrom(MainWindow& w, ScriptedPrompter& ask, const QString& path) {
  ask.files.push_back(path);
  click(w, "sbtnOpen");
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

// The recent file `n` of the File menu, as the menu shows it for the active tab.
QAction* recent(MainWindow& w, int n) {
  auto* file = child<QMenu>(w, "menuFile");
  file->popup(QPoint(0, 0));
  QAction* item = action(*file, QStringLiteral("mnuRecent%1").arg(n).toLatin1().constData());
  file->hide();
  return item;
}

}  // namespace

class PageFilesTest : public QObject {
  Q_OBJECT

 private slots:
  // Save and Open through the tool bar: a name typed without an extension
  // gets the kind's, the caption names the file, a later window shows the
  // page as it was, and a file of another kind is refused.
  void aChordPageComesBackAsItWas() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.show();
    showChords(w, 7, 1, 0);
    showChords(w, 7, 2, 1);
    clickAt(w, "imgChordPage", {70, 90});
    rig.save(QStringLiteral("songs"));
    QCOMPARE(rig.ask.messages, QStringList());
    QCOMPARE(QFileInfo(rig.file(QStringLiteral("songs.cpf"))).size(), 2728);
    QCOMPARE(w.windowTitle(), QStringLiteral("Strumbo!   songs.cpf"));
    clickTab(w, int(PlayTab::Print));
    rig.save(QStringLiteral("sheet.prf"));

    const auto second = rig.another();
    MainWindow& again = second->w;
    again.show();
    openFrom(again, second->ask, rig.file(QStringLiteral("songs.cpf")));
    QCOMPARE(again.state().ChordSetCount, 2);
    QVERIFY(same(again.state().SelectedChord, w.state().ChordPage[0][0]));
    QCOMPARE(picture(again, "imgChordPage"), picture(w, "imgChordPage").copy());
    QCOMPARE(again.windowTitle(), QStringLiteral("Strumbo!   songs.cpf"));

    const QImage before = picture(again, "imgChordPage").copy();
    openFrom(again, second->ask, rig.file(QStringLiteral("sheet.prf")));
    QCOMPARE(second->ask.messages, QStringList{QStringLiteral("This is not a Chord Page file")});
    QCOMPARE(again.state().ChordSetCount, 2);
    QCOMPARE(picture(again, "imgChordPage"), before);
    QCOMPARE(second->ask.unanswered, 0);
  }

  // An opened play page sets the tool bar as its header says; Open over a
  // changed page asks first, and Yes leaves it to be saved.
  void anOpenedPlayPageSetsTheToolBar() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.show();
    showChords(w, 2, 3, 0);
    sendChord(w, 0, "pmenu1SendtoPlay", "imgPlayPage", {63 * 3 + 40, 132 * 2 + 60});
    click(w, "sbtnTime");  // 3/4
    click(w, "sbtnLoop");
    rig.save(QStringLiteral("tune"));
    QCOMPARE(rig.ask.messages, QStringList());
    QVERIFY(!w.state().Play.PlayPageChanged);

    const auto second = rig.another();
    MainWindow& again = second->w;
    again.show();
    clickTab(again, int(PlayTab::PlayPage));
    openFrom(again, second->ask, rig.file(QStringLiteral("tune.ppf")));
    QCOMPARE(second->ask.messages, QStringList());
    QVERIFY(button(again, "sbtnTime")->isChecked());
    QVERIFY(button(again, "sbtnLoop")->isChecked());
    QVERIFY(same(again.state().PlayPage[3][2], w.state().PlayPage[3][2]));
    QCOMPARE(picture(again, "imgPlayPage"), picture(w, "imgPlayPage").copy());

    second->ask.answers = {true};
    popupCommand(again, "imgPlayPage", {63 * 3 + 40, 132 * 2 + 60}, "popmenuPlayPage",
                 "pmenu4Delete");
    second->ask.answers = {true};
    click(again, "sbtnOpen");
    QCOMPARE(second->ask.questions.last(),
             QStringLiteral("This Play Page has changed. Do you want to save changes?"));
    QVERIFY(isEmpty(again.state().PlayPage[3][2]));
    QCOMPARE(second->ask.unanswered, 0);
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
    showChords(w, 0, 1, 2);
    sendChord(w, 0, "pmenu1SendtoPlay", "imgPlayPage", {40, 60});
    const std::string page = "/songs/tune.ppf", rpt = "/songs/tune.rpt";
    disk.files[page] = "the old page";
    disk.files[rpt] = "the old marks";
    disk.failWriteNumber = 2;  // the second temporary file: the disk is full
    ask.files = {QStringLiteral("/songs/tune"), QStringLiteral("/songs/tune")};
    click(w, "sbtnSave");
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
    click(w, "sbtnSave");
    QCOMPARE(ask.messages.size(), 1);
    QCOMPARE(disk.files[page].size(), std::size_t(6424));
    QCOMPARE(w.windowTitle(), QStringLiteral("Strumbo!   tune.ppf"));
    QVERIFY(!w.state().Play.PlayPageChanged);
  }

  // A design file dropped on the window opens on its tab, its first diagram
  // in hand and its name under the group; the File menu lists the files of
  // the tab's kind, and choosing one opens it.
  void aDroppedFileAndARecentFileOpen() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.show();
    showChords(w, 9, 2, 0);
    sendChord(w, 1, "pmenu1SendtoDesign", "imgChordDesign", {76 * 2 + 38, 50});
    const QString path = rig.file(QStringLiteral("voicings.cds"));
    rig.save(QStringLiteral("voicings.cds"));
    QCOMPARE(child<QLabel>(w, "lblCDFilePath")->text(), QStringLiteral("File: ") + path);
    QVERIFY(!w.state().DesignGroupChanged);
    clickTab(w, int(PlayTab::Chords));
    rig.save(QStringLiteral("a.cpf"));

    const auto second = rig.another();
    MainWindow& again = second->w;
    again.show();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    QVERIFY(dropOn(&again, mime, QPoint(400, 300)));
    QCOMPARE(again.currentTab(), PlayTab::ChordDesign);
    QVERIFY(same(again.state().DesignGroup[2], w.state().DesignGroup[2]));
    QVERIFY(same(again.state().EditChord, w.state().DesignGroup[2]));
    QCOMPARE(again.designGroup()->selectedSlot(), 2);
    QCOMPARE(child<QLabel>(again, "lblCDFilePath")->text(), QStringLiteral("File: ") + path);

    QCOMPARE(recent(w, 1)->text(), QStringLiteral("&1 a.cpf"));
    QVERIFY(!recent(w, 2)->isVisible());
    click(w, "sbtnErase");
    QCOMPARE(w.state().ChordSetCount, 0);
    recent(w, 1)->trigger();
    QCOMPARE(w.state().ChordSetCount, 1);
  }

  // Names given relative to the working folder, as on the command line, are
  // kept absolute: the recent files are found from any folder, and two
  // spellings of one file make one entry.
  void relativeNamesAreKeptAbsolute() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.show();
    showChords(w, 7, 2, 0);
    rig.save(QStringLiteral("a.cpf"));
    const QString home = QDir::currentPath();
    QVERIFY(QDir(rig.files.path()).mkdir(QStringLiteral("sub")));
    QVERIFY(QDir::setCurrent(rig.files.path()));
    const auto second = rig.another();
    MainWindow& again = second->w;
    again.show();
    again.openFiles({QStringLiteral("sub/../a.cpf"), QStringLiteral("./a.cpf")});
    QVERIFY(QDir::setCurrent(QDir::rootPath()));
    const QString folder = QFileInfo(rig.files.path()).canonicalFilePath();
    QCOMPARE(recent(again, 1)->data().toString(), folder + QStringLiteral("/a.cpf"));
    QVERIFY(!recent(again, 2)->isVisible());
    click(again, "sbtnErase");
    recent(again, 1)->trigger();
    QVERIFY(QDir::setCurrent(home));
    QCOMPARE(again.state().ChordSetCount, 1);
    QVERIFY2(second->ask.messages.isEmpty(), qPrintable(second->ask.messages.join('\n')));
  }

  // A file opened by name asks about the page it would replace where the
  // player is, and brings its tab forward only once it has come in: a file
  // that is refused leaves the tab and the fretboard as they were.
  void openingByNameSwitchesTabsOnlyForAFileThatCameIn() {
    BasicWindowRig<WatchingPrompter> rig;
    MainWindow& w = rig.w;
    WatchingPrompter& ask = rig.ask;
    ask.window = &w;
    w.show();
    showChords(w, 7, 1, 0);
    sendChord(w, 0, "pmenu1SendtoDesign", "imgChordDesign", {38, 50});
    const QString good = rig.file(QStringLiteral("g.cds"));
    rig.save(QStringLiteral("g.cds"));
    click(w, "sbtnErase");  // a saved group goes without a question
    showChords(w, 0, 2, 0);
    QCOMPARE(chordNameShown(w), QStringLiteral("C minor"));

    // Not a design file: asked on the Chords tab, refused, and still there.
    const QString bad = rig.file(QStringLiteral("bad.cds"));
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
    BasicWindowRig<WatchingPrompter> rig;
    MainWindow& w = rig.w;
    WatchingPrompter& ask = rig.ask;
    w.show();
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty() || !QDir(documents).exists()) documents = QDir::homePath();
    documents += QLatin1Char('/');
    const QString used = QFileInfo(rig.files.path()).canonicalFilePath() + QLatin1Char('/');

    ask.files = {QString()};
    click(w, "sbtnOpen");
    showChords(w, 7, 1, 0);
    rig.save(QStringLiteral("a.cpf"));
    ask.files = {QString(), QString()};
    click(w, "sbtnOpen");
    click(w, "sbtnSave");
    QCOMPARE(ask.starts, (QStringList{documents, documents, used, used + QStringLiteral("a.cpf")}));

    const QString pages = QString::fromStdString(rig.data.path()) + QStringLiteral("Chord");
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
    showChords(w, 7, 1, 0);
    sendChord(w, 0, "pmenu1SendtoPrint", "imgPrintPage", {120 + 70, 90});
    ask.files = {QStringLiteral("/pages/sheet.prf")};
    click(w, "sbtnSave");
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
