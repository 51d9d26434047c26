#include <QFile>
#include <QLocale>
#include <QMenu>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>

#include "DataDir.h"
#include "MidiRig.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "music/DiagramConvert.h"
#include "play/PlayPageGeometry.h"
#include "ui/MainWindow.h"
#include "ui/PlayPageTab.h"
#include "ui/PrintController.h"
#include "ui/PrintPageTab.h"

namespace {

// The print dialog as a user fills it in: a PDF file at 600 dots per inch.
std::function<bool(QPrinter&)> pdfPrinterTo(const QString& path) {
  return [path](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(600);
    printer.setOutputFileName(path);
    return true;
  };
}

// The preview, looked at and answered with its Print or Cancel button.
std::function<bool(QDialog&)> previewAnswer(const char* button, int* pagesShown = nullptr) {
  return [button, pagesShown](QDialog& d) {
    if (pagesShown) *pagesShown = child<QPrintPreviewWidget>(d, "PrintPreview")->pageCount();
    clickIn(d, button);
    return d.result() == QDialog::Accepted;
  };
}

QByteArray wholeFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

void showSomeChords(MainWindow& w) {
  chooseKey(w, 7);
  chooseChordType(w, 1, 0);
  clickShowChords(w);
  QCOMPARE(w.state().ChordSetCount, 1);
}

// 7.5 inches at 600 dpi, in proportion with the 772 x 800 pages.
const QRect Picture600(QPoint(300, 600), QPoint(4799, 5262));

// The print page as the Print tab holds it.

TPrintDiagram chordItem(const char* name, int fret) {
  TChordDiagram c = startFingering();
  c.ChordName = name;
  for (int s = 0; s < 6; ++s) {
    c.Strings[s] = {static_cast<std::uint8_t>(fret), FingerCode::Fretted};
    c.Notes[s] = static_cast<std::uint8_t>(c.Tuning[s] + fret);
  }
  TPrintDiagram item{};
  chordToPrintItem(c, item);
  return item;
}

TPrintDiagram scaleItem(int startFret) {
  TScaleDiagram s{};
  s.ScaleName = "Dorian";
  const std::uint8_t degrees[10] = {0, 2, 3, 5, 7, 9, 10, 99, 99, 99};
  std::memcpy(s.Intervals, degrees, sizeof degrees);
  std::memcpy(s.Tuning, startFingering().Tuning, sizeof s.Tuning);
  TPrintDiagram item{};
  scaleToPrintItem(s, item);
  item.BaseFret = static_cast<std::uint8_t>(startFret);
  return item;
}

bool same(const TPrintDiagram& a, const TPrintDiagram& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

QPoint cell(int c, int r) {
  return {120 * c + 70, 160 * r + 90};
}

void sendAndPress(MainWindow& w, const TPrintDiagram& item, QPoint at) {
  w.state().PrintMoveBuffer = item;
  w.printPage()->setPlacing(true);
  clickAt(w, "imgPrintPage", at);
}

void menuAt(MainWindow& w, int c, int r, const char* command) {
  clickAt(w, "imgPrintPage", cell(c, r), Qt::RightButton);
  child<QMenu>(w, "popmenuPrint")->hide();
  trigger(w, command);
}

QImage cellPicture(MainWindow& w, int c, int r) {
  return child<SurfaceView>(w, "imgPrintPage")->image().copy(120 * c + 20, 160 * r + 2, 120, 158);
}

// The red frame's top-left corner is at (120c + 22, 160r + 41).
bool framed(MainWindow& w, int c, int r) {
  return cellPicture(w, c, r).pixelColor(2, 39) == QColor(255, 0, 0);
}

}  // namespace

class PrintingTest : public QObject {
  Q_OBJECT

 private slots:
  void chordAndPrintPagesPrintThroughTheDialogAndThePreview() {
    QTemporaryDir out;
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    showSomeChords(w);
    const QImage onScreen = child<SurfaceView>(w, "imgChordPage")->image();
    const QString chords = out.filePath(QStringLiteral("chords.pdf"));
    ask.printDialogs.push_back(pdfPrinterTo(chords));
    int previewPages = 0;
    ask.dialogs.push_back(previewAnswer("btnPrint", &previewPages));
    click(w, "sbtnPrintPage");

    QCOMPARE(ask.printDialogsShown, 1);
    QVERIFY(ask.dialogs.empty());
    QCOMPARE(previewPages, 1);
    QVERIFY(wholeFile(chords).startsWith("%PDF-"));
    // Painted at the printer's resolution, not pasted in as a picture.
    QVERIFY(!wholeFile(chords).contains("/Subtype /Image"));
    const PrintController& printing = *w.printing();
    QCOMPARE(printing.sheetsPrinted(), 1);
    QCOMPARE(printing.lastSheet().Picture, Picture600);
    // The title ends 0.7 inch down, an inch in, above the picture.
    QCOMPARE(printing.lastSheet().Title.left(), 600);
    QCOMPARE(printing.lastSheet().Title.bottom(), 419);
    QVERIFY(printing.lastSheet().Title.top() > 0);
    // The frame was hidden on paper only: the screen still shows it.
    QCOMPARE(child<SurfaceView>(w, "imgChordPage")->image(), onScreen);

    chordToPrintItem(w.state().ChordPage[0][0], w.state().PrintPage[3][2]);
    w.showTab(PlayTab::Print);
    const QString print = out.filePath(QStringLiteral("print.pdf"));
    // Cancelling the print dialog ends it before the preview; cancelling
    // the preview prints nothing.
    ask.printDialogs.push_back([](QPrinter&) { return false; });
    click(w, "sbtnPrintPage");
    ask.printDialogs.push_back(pdfPrinterTo(print));
    ask.dialogs.push_back(previewAnswer("btnCancel"));
    click(w, "sbtnPrintPage");
    QVERIFY(ask.dialogs.empty());
    QCOMPARE(printing.sheetsPrinted(), 1);
    QVERIFY(!QFile::exists(print));

    ask.printDialogs.push_back(pdfPrinterTo(print));
    ask.dialogs.push_back(previewAnswer("btnPrint"));
    click(w, "sbtnPrintPage");
    QCOMPARE(ask.printDialogsShown, 4);
    QCOMPARE(ask.unanswered, 0);
    QCOMPARE(printing.sheetsPrinted(), 2);
    QCOMPARE(printing.lastSheet().Picture, Picture600);
    QVERIFY(wholeFile(print).startsWith("%PDF-"));
  }

  void emptyPagesAndChordDesignPrintNothingAndAskNothing() {
    QTemporaryDir out;
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    for (PlayTab tab : {PlayTab::Chords, PlayTab::ChordDesign, PlayTab::Print, PlayTab::Scales}) {
      w.showTab(tab);
      click(w, "sbtnPrintPage");
      trigger(w, "mnuExportPdf");
    }
    QCOMPARE(ask.printDialogsShown, 0);
    QCOMPARE(ask.unanswered, 0);
    QCOMPARE(w.printing()->sheetsPrinted(), 0);

    // The play page prints even when empty.
    w.showTab(PlayTab::PlayPage);
    ask.files.push_back(out.filePath(QStringLiteral("play")));
    trigger(w, "mnuExportPdf");
    QCOMPARE(ask.unanswered, 0);
    QVERIFY(wholeFile(out.filePath(QStringLiteral("play.pdf"))).startsWith("%PDF-"));
  }

  // The red frame around the item in hand stays on the screen and off the paper.
  void theSelectionFrameIsNotPrinted() {
    QTemporaryDir out;
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    showSomeChords(w);
    clickAt(w, "imgChordPage", {120 * 3 + 70, 90}, Qt::RightButton);
    child<QMenu>(w, "popmenuChords")->hide();
    trigger(w, "pmenu1SendtoPrint");
    clickAt(w, "imgPrintPage", {120 * 4 + 70, 160 * 2 + 90});
    const QImage& screen = child<SurfaceView>(w, "imgPrintPage")->image();
    const QPoint frameCorner(120 * 4 + 22, 160 * 2 + 41);
    QCOMPARE(screen.pixelColor(frameCorner), QColor(255, 0, 0));
    ask.files.push_back(out.filePath(QStringLiteral("sheet.pdf")));
    trigger(w, "mnuExportPdf");
    const QImage& printed = w.printing()->lastPicture();
    QCOMPARE(printed.size(), screen.size());
    for (int y = 0; y < printed.height(); ++y)
      for (int x = 0; x < printed.width(); ++x)
        QVERIFY2(printed.pixelColor(x, y) != QColor(255, 0, 0), "a red pixel on paper");
    QCOMPARE(screen.pixelColor(frameCorner), QColor(255, 0, 0));
  }

  // The play page goes on paper as the tab shows it: painted from its
  // records, with its start marker where the player put it and its loop mark.
  void thePlayPageSheetIsThePageAsShown() {
    QTemporaryDir out;
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    w.showTab(PlayTab::PlayPage);
    w.playPage()->takeInHand(openE());
    const auto slot = [](int c, int r) {
      return QPoint(PlayGeometry::slotX(c) + 20, PlayGeometry::rowTop(r) + 60);
    };
    clickAt(w, "imgPlayPage", slot(2, 0));
    clickAt(w, "imgPlayPage", slot(9, 2));  // the start marker to bar 5
    if (!button(w, "sbtnLoop")->isChecked()) click(w, "sbtnLoop");
    rig.ask.files.push_back(out.filePath(QStringLiteral("play.pdf")));
    trigger(w, "mnuExportPdf");
    QCOMPARE(w.printing()->sheetsPrinted(), 1);
    QCOMPARE(w.printing()->lastPicture(), child<SurfaceView>(w, "imgPlayPage")->image());
  }

  void exportPdfWritesTheSheetWithoutAPrintDialog() {
    QTemporaryDir out;
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    showSomeChords(w);

    w.showTab(PlayTab::Chords);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ask.files.push_back(out.filePath(QStringLiteral("letter")));
    trigger(w, "mnuExportPdf");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ask.files.push_back(out.filePath(QStringLiteral("a4.PDF")));
    trigger(w, "mnuExportPdf");
    QLocale::setDefault(QLocale::c());
    QCOMPARE(ask.printDialogsShown, 0);
    QCOMPARE(ask.unanswered, 0);
    QCOMPARE(w.printing()->sheetsPrinted(), 2);

    const QByteArray letter = wholeFile(out.filePath(QStringLiteral("letter.pdf")));
    const QByteArray a4 = wholeFile(out.filePath(QStringLiteral("a4.PDF")));
    QVERIFY(letter.startsWith("%PDF-"));
    QVERIFY(a4.startsWith("%PDF-"));
    QVERIFY(!QFile::exists(out.filePath(QStringLiteral("a4.PDF.pdf"))));
    QVERIFY(letter.contains("/MediaBox [0 0 612.000000 792.000000]"));
    QVERIFY(a4.contains("/MediaBox [0 0 595.000000 842.000000]"));
    // Same proportions as on paper, at the file's own resolution.
    const QRect picture = w.printing()->lastSheet().Picture;
    QCOMPARE(picture.width(), 15 * picture.left());
    QCOMPARE(picture.top(), 2 * picture.left());
    QCOMPARE(picture.height(), picture.width() * 800 / 772);

    // A file that cannot be written says so.
    ask.files.push_back(out.filePath(QStringLiteral("no/such/folder/x.pdf")));
    trigger(w, "mnuExportPdf");
    QCOMPARE(ask.messages, QStringList{QStringLiteral("Could not write ") +
                                       out.filePath(QStringLiteral("no/such/folder/x.pdf")) +
                                       QStringLiteral(": No such file or directory.")});
  }

  // Delete from the pop-up menu asks first; the last item takes the page
  // with it, its file name and the caption too, and leaves no frame.
  void deletingTheLastItemEmptiesThePage() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    sendAndPress(w, scaleItem(3), cell(4, 1));
    w.state().lastPageFile(PlayTab::Print) = "sheet.prf";
    clickTab(w, int(PlayTab::Chords));
    clickTab(w, int(PlayTab::Print));
    QCOMPARE(w.windowTitle(), QStringLiteral("Strumbo!   sheet.prf"));
    ask.answers = {true};
    menuAt(w, 4, 1, "pmenu3Delete");
    QCOMPARE(ask.questions, QStringList{QStringLiteral("Do you want to erase this diagram?")});
    QVERIFY(!w.printPage()->hasItems() && isEmpty(w.state().SelectedPrintItem));
    QVERIFY(w.state().lastPageFile(PlayTab::Print).empty());
    QCOMPARE(w.windowTitle(), QStringLiteral("Strumbo!"));
    QVERIFY(!framed(w, 4, 1));
  }

  void playDiagramMovesTheFrameFirst() {
    MidiRig rig;
    MainWindow& w = rig.window;
    w.showTab(PlayTab::Print);
    sendAndPress(w, chordItem("A", 2), cell(0, 0));
    sendAndPress(w, scaleItem(7), cell(3, 2));
    clickAt(w, "imgPrintPage", cell(0, 0));
    menuAt(w, 3, 2, "pmenu3PlayDiagram");
    QVERIFY(framed(w, 3, 2) && !framed(w, 0, 0));
    QVERIFY(same(w.state().SelectedPrintItem, w.state().PrintPage[3][2]));
    QVERIFY(button(w, "sbtnPlay")->isChecked());
    rig.runUntil(20'000'000);
    const int scaleNotes = rig.sent("send 90");
    QVERIFY(scaleNotes > 7);  // a position of a seven-note scale
    menuAt(w, 0, 0, "pmenu3PlayDiagram");
    rig.runUntil(40'000'000);
    QCOMPARE(rig.sent("send 90") - scaleNotes, 6);  // six strings struck once
  }
};

QTEST_MAIN(PrintingTest)
#include "PrintingTest.moc"
