#include <QFile>
#include <QLocale>
#include <QMenu>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

#include "DataDir.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "music/DiagramConvert.h"
#include "ui/MainWindow.h"
#include "ui/PrintController.h"

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

  void exportPdfWritesTheSheetWithoutAPrintDialog() {
    QTemporaryDir out;
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    showSomeChords(w);

    // Offered wherever a page prints.
    QMenu* file = child<QMenu>(w, "menuFile");
    for (PlayTab tab : {PlayTab::Chords, PlayTab::ChordDesign, PlayTab::PlayPage, PlayTab::Print,
                        PlayTab::Scales}) {
      w.showTab(tab);
      file->popup(w.mapToGlobal(QPoint(0, 0)));
      QCOMPARE(action(w, "mnuExportPdf")->isVisible(), tab != PlayTab::ChordDesign);
      file->hide();
    }

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
};

QTEST_MAIN(PrintingTest)
#include "PrintingTest.moc"
