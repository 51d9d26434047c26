// strumbo_snapshot OUTDIR [PROGRAMDIR]
//
// Drives the real main window through one fixed script of user actions and
// writes out what a user would see and hear: window and tab grabs, the
// pictures of every drawing surface, the text and state of every control and
// menu item, the play page exported as MIDI and WAV, and the data files the
// program read. Two runs of the same code give byte-identical folders, so a
// refactor that claims to change nothing can be checked with compare.sh.
//
// The script reaches the window only through objectNames, menu captions, real
// mouse and key events and QAction::trigger(), so renaming or moving classes
// does not touch it. What does know the program's classes is the short
// "adapter" block below; adapt that when the classes change.
#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHashSeed>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTextStream>
#include <QtTest>
#include <cstdio>
#include <cstdlib>
#include <memory>

// ---- adapter: the only code that knows the program's classes --------------
#include "ui/MainWindow.h"
#include "ui/Prompter.h"
#include "ui/SurfaceView.h"

namespace {

QStringList Log;  // every message, question and file dialog, in order

// Answers every question of the program without a modal box: messages and
// questions are logged (questions get their default), file dialogs take the
// next scripted name, and the program's own dialogs are refused.
class SnapshotPrompter : public Prompter {
 public:
  QStringList files;
  void message(QWidget*, const QString& text) override { Log << "message: " + text; }
  bool ask(QWidget*, const QString& question, bool defaultYes) override {
    Log << QStringLiteral("question: %1 -> %2").arg(question, defaultYes ? "yes" : "no");
    return defaultYes;
  }
  QString askText(QWidget*, const QString& question, const QString&) override {
    Log << "text question cancelled: " + question;
    return {};
  }
  QString openFileName(QWidget*, const QString& caption, const QString&, const QString&) override {
    return nextFile(caption);
  }
  QString saveFileName(QWidget*, const QString& caption, const QString&, const QString&) override {
    return nextFile(caption);
  }
  bool execDialog(QDialog& dialog) override {
    Log << "dialog refused: " + dialog.objectName();
    return false;
  }
  bool printDialog(QWidget*, QPrinter&) override {
    Log << QStringLiteral("print dialog refused");
    return false;
  }

 private:
  QString nextFile(const QString& caption) {
    const QString f = files.isEmpty() ? QString() : files.takeFirst();
    Log << QStringLiteral("file dialog: %1 -> %2").arg(caption, QFileInfo(f).fileName());
    return f;
  }
};

std::unique_ptr<QWidget> makeMainWindow(const QString& programDir, Prompter* prompter) {
  return std::make_unique<MainWindow>((programDir + '/').toStdString(), prompter);
}

// The picture a drawing surface holds (not a grab: the image itself).
QImage surfaceImage(QWidget* surface) {
  auto* view = qobject_cast<SurfaceView*>(surface);
  return view ? view->image() : QImage();
}
// ---- end of adapter ---------------------------------------------------------

QWidget* Window = nullptr;
QString OutDir;

[[noreturn]] void fail(const QString& why) {
  std::fprintf(stderr, "strumbo_snapshot: %s\n", qPrintable(why));
  std::exit(2);
}

void settle() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}

// The window's widgets, and pop-up menus however they are parented.
QList<QWidget*> allWidgets() {
  QList<QWidget*> all = Window->findChildren<QWidget*>();
  for (QWidget* top : QApplication::topLevelWidgets())
    if (!top->parent() && qobject_cast<QMenu*>(top)) all << top << top->findChildren<QWidget*>();
  return all;
}

template <class T = QWidget>
T* widget(const QString& name) {
  for (QWidget* w : allWidgets())
    if (auto* t = qobject_cast<T*>(w); t && w->objectName() == name) return t;
  fail("no widget named " + name);
}

// An action of a menu (or of its submenus) by objectName or caption.
QAction* findAction(QMenu* menu, const QString& key) {
  for (QAction* a : menu->actions()) {
    if (a->objectName() == key || a->text() == key) return a;
    if (a->menu())
      if (QAction* sub = findAction(a->menu(), key)) return sub;
  }
  return nullptr;
}

void trigger(const QString& menuName, const QString& key) {
  QAction* a = findAction(widget<QMenu>(menuName), key);
  if (!a) fail("no action " + key + " in " + menuName);
  a->trigger();
  settle();
}

void click(const QString& name, Qt::MouseButton button = Qt::LeftButton, QPoint at = {},
           Qt::KeyboardModifiers mods = {}) {
  QTest::mouseClick(widget(name), button, mods, at);
  settle();
}

// A command from a pop-up menu: open it with a right press on the surface,
// choose the item, and close the menu as a click on the item would.
void popupCommand(const QString& surface, QPoint at, const QString& menuName, const QString& item) {
  click(surface, Qt::RightButton, at);
  QMenu* menu = widget<QMenu>(menuName);
  if (!menu->isVisible()) fail(menuName + " did not open");
  QAction* a = findAction(menu, item);
  if (!a) fail("no action " + item + " in " + menuName);
  menu->hide();
  a->trigger();
  settle();
}

void chooseTab(const QString& caption) {
  QTabBar* bar = widget<QTabWidget>("PageControl1")->tabBar();
  for (int i = 0; i < bar->count(); ++i)
    if (bar->tabText(i) == caption) {
      QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
      settle();
      return;
    }
  fail("no tab " + caption);
}

void key(Qt::Key k) {
  QWidget* focus = QApplication::focusWidget();
  QTest::keyClick(focus ? focus : Window, k);
  settle();
}

// Cell centres in picture pixels.
QPoint chordCell(int c, int r) {
  return {120 * c + 70, 150 * r + 90};
}
QPoint playSlot(int c, int r) {
  return {63 * c + 40, 132 * r + 60};
}
QPoint printCell(int c, int r) {
  return {120 * c + 70, 160 * r + 90};
}
QPoint fret(int string, int fret) {
  static const int x[] = {7, 65, 118, 168, 214, 257, 301, 339, 378, 413, 446, 478};
  static const int y[] = {12, 28, 44, 61, 77, 93};
  return {x[fret] + 6, y[string] + 6};
}

void sendChordToPlayPage(int c, int r) {
  chooseTab("Chords");
  popupCommand("imgChordPage", chordCell(c, r), "popmenuChords", "pmenu1SendtoPlay");
}

// Send to Print Page from the tab captioned `tab`, then place the item.
void sendAndPlace(const QString& tab, const QString& surface, QPoint at, const QString& menu,
                  const QString& item, QPoint cell) {
  chooseTab(tab);
  popupCommand(surface, at, menu, item);
  click("imgPrintPage", Qt::LeftButton, cell);
}

void runScript() {
  // Two chord sets: E m7, then G 9.
  trigger("menuKey", "mnuKey4");
  trigger("menuFamily2", "m7");
  click("btnShowChords");
  trigger("menuKey", "mnuKey7");
  trigger("menuFamily3", "9");
  click("btnShowChords");
  click("imgChordPage", Qt::LeftButton, chordCell(2, 0));
  click("imgChordPage", Qt::LeftButton, chordCell(4, 1));

  // Four chords onto the play page, one placed twice with Ctrl held.
  sendChordToPlayPage(0, 0);
  click("imgPlayPage", Qt::LeftButton, playSlot(0, 0));
  sendChordToPlayPage(3, 0);
  click("imgPlayPage", Qt::LeftButton, playSlot(4, 0));
  sendChordToPlayPage(1, 1);
  click("imgPlayPage", Qt::LeftButton, playSlot(8, 0), Qt::ControlModifier);
  click("imgPlayPage", Qt::LeftButton, playSlot(2, 1));
  sendChordToPlayPage(5, 1);
  click("imgPlayPage", Qt::LeftButton, playSlot(6, 1));
  // Copy one slot to another through the play page's own menu.
  popupCommand("imgPlayPage", playSlot(4, 0), "popmenuPlayPage", "pmenu4CopyMove");
  click("imgPlayPage", Qt::LeftButton, playSlot(10, 1));

  // Two scales: A Minor Pentatonic, then D Dorian; select a position.
  trigger("menuKey", "mnuKey9");
  trigger("menuScale", "Minor Pentatonic");
  click("btnShowChords");
  trigger("menuKey", "mnuKey2");
  trigger("menuScale", "Dorian (Minor)");
  click("btnShowChords");
  click("imgScales", Qt::LeftButton, chordCell(3, 1));

  // Chord Design: finger keys, fret presses on the big fretboard, root steps.
  chooseTab("Chord Design");
  click("imgGuitar", Qt::RightButton, fret(4, 3));  // root C on the A string
  key(Qt::Key_2);
  click("imgGuitar", Qt::LeftButton, fret(3, 2));
  click("imgGuitar", Qt::LeftButton, fret(2, 0));
  click("imgGuitar", Qt::LeftButton, fret(2, 0));
  key(Qt::Key_1);
  click("imgGuitar", Qt::LeftButton, fret(1, 1));
  click("imgGuitar", Qt::LeftButton, fret(5, 0));
  click("udRootUp");
  click("udRootUp");
  click("udRootDown");
  click("udBassUp");
  QTest::mouseMove(widget("imgGuitar"), fret(3, 2));
  settle();

  // The print page: a chord from the Chords page, the design group and the
  // play page, and a scale position; then one item moved.
  sendAndPlace("Chords", "imgChordPage", chordCell(2, 0), "popmenuChords", "pmenu1SendtoPrint",
               printCell(0, 0));
  chooseTab("Chords");
  popupCommand("imgChordPage", chordCell(4, 1), "popmenuChords", "pmenu1SendtoDesign");
  click("imgChordDesign", Qt::LeftButton, {38, 50});
  sendAndPlace("Chord Design", "imgChordDesign", {38, 50}, "popmenuDesign", "pmenu2SendtoPrint",
               printCell(1, 0));
  sendAndPlace("PlayPage", "imgPlayPage", playSlot(4, 0), "popmenuPlayPage", "pmenu1SendtoPrint",
               printCell(2, 0));
  sendAndPlace("Scales", "imgScales", chordCell(2, 1), "popmenuScales", "pmenu1SendtoPrint",
               printCell(3, 0));
  popupCommand("imgPrintPage", printCell(3, 0), "popmenuPrint", "pmenu3Move");
  click("imgPrintPage", Qt::LeftButton, printCell(1, 1));
  click("imgPrintPage", Qt::LeftButton, printCell(2, 0));

  // Sharps instead of flats, then a chord set named with sharps.
  trigger("menuOptions", "mnuFlatSharp");
  trigger("menuKey", "mnuKey1");
  trigger("menuFamily1", "maj7");
  click("btnShowChords");

  // Flip the panels three times: by button, by menu, by button.
  click("sbtnFlip");
  trigger("menuOptions", "menuFlip");
  click("sbtnFlip");
}

// ---- output -----------------------------------------------------------------

void savePng(const QImage& image, const QString& name) {
  if (image.isNull() || !image.save(QDir(OutDir).filePath(name), "PNG"))
    fail("could not write " + name);
}

QString quoted(QString text) {
  text.replace('\\', "\\\\").replace('\n', "\\n").replace('"', "\\\"");
  return '"' + text + '"';
}

QString flags(bool enabled, bool visible) {
  return QStringLiteral("enabled=%1 visible=%2").arg(enabled).arg(visible);
}

// Every control's text and state, one line each, sorted by objectName.
QStringList widgetLines() {
  QStringList lines;
  for (QWidget* w : allWidgets()) {
    QString what;
    if (auto* e = qobject_cast<QLineEdit*>(w))
      what = "edit " + quoted(e->text()) + QStringLiteral(" readonly=%1").arg(e->isReadOnly());
    else if (auto* l = qobject_cast<QLabel*>(w))
      what = "label " + quoted(l->text());
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
      what = "button " + quoted(b->text()) +
             QStringLiteral(" checkable=%1 checked=%2").arg(b->isCheckable()).arg(b->isChecked());
    else if (auto* c = qobject_cast<QComboBox*>(w))
      what = QStringLiteral("combo %1 of %2 ").arg(c->currentIndex()).arg(c->count()) +
             quoted(c->currentText());
    else if (auto* s = qobject_cast<QAbstractSlider*>(w))
      what =
          QStringLiteral("slider %1 [%2..%3]").arg(s->value()).arg(s->minimum()).arg(s->maximum());
    else if (auto* list = qobject_cast<QListWidget*>(w)) {
      what = QStringLiteral("list %1 current=%2").arg(list->count()).arg(list->currentRow());
      for (int i = 0; i < list->count(); ++i) what += ' ' + quoted(list->item(i)->text());
    } else if (auto* tabs = qobject_cast<QTabWidget*>(w))
      what = QStringLiteral("tabs current=%1").arg(tabs->currentIndex());
    else
      continue;
    lines << w->objectName() + ' ' + what + ' ' + flags(w->isEnabled(), w->isVisibleTo(Window));
  }
  lines.sort();
  return lines;
}

QString menuPath(QMenu* menu) {
  QString path = menu->objectName().isEmpty() ? menu->title() : menu->objectName();
  if (auto* parent = qobject_cast<QMenu*>(menu->parent())) return menuPath(parent) + '/' + path;
  return path;
}

QString actionLine(const QString& where, int i, QAction* a) {
  return QStringLiteral("%1 #%2 %3 ").arg(where).arg(i, 2, 10, QChar('0')).arg(a->objectName()) +
         (a->isSeparator() ? QStringLiteral("----") : quoted(a->text())) + ' ' +
         flags(a->isEnabled(), a->isVisible()) +
         QStringLiteral(" checkable=%1 checked=%2").arg(a->isCheckable()).arg(a->isChecked());
}

// The window, the menu bar and every menu's items in their order; menus
// sorted by path.
QStringList menuLines() {
  QStringList lines;
  lines << "window " + quoted(Window->windowTitle()) +
               QStringLiteral(" %1x%2").arg(Window->width()).arg(Window->height());
  int i = 0;
  for (QAction* a : Window->findChild<QMenuBar*>()->actions())
    lines << actionLine("menubar", i++, a);
  for (QWidget* w : allWidgets()) {
    auto* menu = qobject_cast<QMenu*>(w);
    if (!menu) continue;
    const QString path = menuPath(menu);
    lines << "menu " + path + ' ' + quoted(menu->title()) + ' ' +
                 flags(menu->isEnabled(), menu->menuAction()->isVisible());
    int n = 0;
    for (QAction* a : menu->actions()) lines << actionLine("menu " + path, n++, a);
  }
  lines.sort();
  return lines;
}

void writeText(const QString& name, const QStringList& lines) {
  QFile f(QDir(OutDir).filePath(name));
  if (!f.open(QIODevice::WriteOnly)) fail("could not write " + name);
  QTextStream(&f) << lines.join('\n') << '\n';
}

void writePictures() {
  savePng(Window->grab().toImage(), "mainwindow.png");
  for (const char* name :
       {"imgChordPage", "imgChordDesign", "imgPlayPage", "imgPrintPage", "imgScales", "imgGuitar"})
    savePng(surfaceImage(widget(name)), QStringLiteral("%1.png").arg(name));
}

// Each tab in turn, grabbed with the whole window; the last shown stays.
void writeTabGrabs() {
  QTabBar* bar = widget<QTabWidget>("PageControl1")->tabBar();
  for (int i = 0; i < bar->count(); ++i) {
    const QString caption = bar->tabText(i);
    chooseTab(caption);
    savePng(Window->grab().toImage(),
            QStringLiteral("tab%1-%2.png").arg(i).arg(QString(caption).remove(' ')));
  }
}

void copyProgramData(const QString& programDir) {
  const QDir from(programDir);
  const QDir to(QDir(OutDir).filePath("data"));
  QDir().mkpath(to.path());
  QStringList names = from.entryList({"*.dat", "Px.ini"}, QDir::Files, QDir::Name);
  if (!names.contains("Px.ini") || names.size() < 2) fail("no program data in " + programDir);
  for (const QString& n : names)
    if (!QFile::copy(from.filePath(n), to.filePath(n))) fail("could not copy " + n);
}

}  // namespace

// Fontconfig and the GL loader leave allocations behind at exit; a sanitizer
// build of this tool should not fail on them.
extern "C" const char* __asan_default_options() {
  return "detect_leaks=0";
}

int main(int argc, char* argv[]) {
  QHashSeed::setDeterministicGlobalSeed();
  QApplication app(argc, argv);
  QApplication::setCursorFlashTime(0);  // a focused field's caret is drawn, never blinking
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: strumbo_snapshot OUTDIR [PROGRAMDIR]\n");
    return 2;
  }
  OutDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
  const QString programDir =
      QDir(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(STRUMBO_PROGRAM_DIR))
          .absolutePath();
  if (QDir(OutDir).exists() && !QDir(OutDir).isEmpty()) fail(OutDir + " is not empty");
  QDir().mkpath(OutDir);

  SnapshotPrompter prompter;
  std::unique_ptr<QWidget> window = makeMainWindow(programDir, &prompter);
  Window = window.get();
  Window->setWindowState(Qt::WindowNoState);
  Window->move(0, 0);
  Window->resize(808, 608);
  Window->show();
  if (!QTest::qWaitForWindowExposed(Window)) fail("the window was never shown");
  Window->activateWindow();
  if (!QTest::qWaitForWindowActive(Window)) fail("the window never became active");
  settle();

  runScript();
  settle();
  writePictures();
  writeText("state.txt", widgetLines() + menuLines());
  writeTabGrabs();

  // The play page as it plays, through the File menu.
  chooseTab("PlayPage");
  prompter.files << QDir(OutDir).filePath("page.mid") << QDir(OutDir).filePath("page.wav");
  trigger("menuFile", "mnuExportMidi");
  trigger("menuFile", "mnuExportAudio");
  // The print page as a PDF sheet.
  chooseTab("Print");
  prompter.files << QDir(OutDir).filePath("print.pdf");
  trigger("menuFile", "mnuExportPdf");
  writeText("prompts.txt", Log);

  copyProgramData(programDir);
  std::printf("snapshot written to %s\n", qPrintable(OutDir));
  return 0;
}
