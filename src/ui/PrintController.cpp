#include "ui/PrintController.h"

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include "files/WriteFiles.h"
#include "pages/PrintPageModel.h"
#include "render/PageDrawer.h"
#include "ui/BusyGuard.h"
#include "ui/PageLookOf.h"
#include "ui/PrintPreviewDialog.h"
#include "ui/Prompter.h"
#include "ui/RecordText.h"
#include "ui/SurfaceView.h"

PrintController::PrintController(Parts parts, QObject* parent)
    : QObject(parent), Use(std::move(parts)) {
  setObjectName(QStringLiteral("PrintController"));
}

std::optional<PrintController::Sheet> PrintController::sheetToPrint() const {
  const AppState& st = Use.State;
  const PlayTab tab = Use.ActiveTab();
  const QString file = qs(st.LastPageFile[static_cast<std::size_t>(tab)]);
  PageContents page;
  switch (tab) {
    case PlayTab::Chords:
      page.Kind = PageKind::Chord;
      std::copy(&st.ChordPage[0][0], &st.ChordPage[0][0] + ChordPageColumns * ChordPageRows,
                &page.ChordPage[0][0]);
      break;
    case PlayTab::Print:
      page.Kind = PageKind::Print;
      std::copy(&st.PrintPage[0][0], &st.PrintPage[0][0] + PrintPageColumns * PrintPageRows,
                &page.PrintPage[0][0]);
      break;
    case PlayTab::Scales:
      page.Kind = PageKind::Scale;
      std::copy(std::begin(st.ScalePage), std::end(st.ScalePage), page.ScalePage);
      break;
    case PlayTab::PlayPage:
      // The play page has no frame to hide and always prints. Its loop mark
      // and start marker are the tab's to show, so its surface is printed.
      return Sheet{Use.Surfaces[static_cast<std::size_t>(tab)]->image().copy(),
                   QStringLiteral("Strumbo! Play Page: ") + file, capoLine(st.Capo)};
    case PlayTab::ChordDesign:
      return std::nullopt;
  }
  // Drawn from the records as opening the page draws it, so the sheet is the
  // one Export PDF of the saved page gives, whatever frames came and went on
  // the screen meanwhile.
  const std::optional<PagePicture> picture = pagePicture(page, std::nullopt, pageLookOf(st));
  if (!picture) return std::nullopt;
  return Sheet{picture->Picture, picture->Heading + file, picture->Subtitle};
}

void PrintController::preparePrinter(QPrinter& printer) {
  printer.setPageOrientation(QPageLayout::Portrait);
  // The sheet's places are measured from the paper's edges, not the margins.
  printer.setFullPage(true);
}

bool PrintController::paint(QPrinter& printer, const Sheet& sheet, bool printed) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const PrintedSheet drawn =
      printSheet(painter, printer.logicalDpiX(), printer.logicalDpiY(), sheet.Picture, sheet.Title,
                 sheet.Subtitle, printed ? SheetScaling::Paper : SheetScaling::Preview);
  const bool ok = painter.end();
  if (printed) countPrinted(drawn, sheet);
  return ok;
}

void PrintController::countPrinted(const PrintedSheet& drawn, const Sheet& sheet) {
  LastSheet = drawn;
  LastPicture = sheet.Picture;
  ++SheetsPrinted;
}

void PrintController::sbtnPrintPageClick() {
  if (Use.Guard.active()) return;
  const std::optional<Sheet> sheet = sheetToPrint();
  if (!sheet) return;
  QPrinter printer(QPrinter::HighResolution);
  if (!Use.Ask.printDialog(Use.Window, printer)) return;
  preparePrinter(printer);
  PrintPreviewDialog preview(
      printer, [this, &sheet](QPrinter& p) { paint(p, *sheet, false); }, Use.Window);
  if (!Use.Ask.execDialog(preview)) return;
  // A printer that fails says so through the platform's printing service.
  paint(printer, *sheet, true);
}

void PrintController::exportPdf() {
  if (Use.Guard.active()) return;
  const std::optional<Sheet> sheet = sheetToPrint();
  if (!sheet) return;
  QString path = Use.Ask.saveFileName(Use.Window, QStringLiteral("Export PDF"), QString(),
                                      QStringLiteral("PDF files (*.pdf)"));
  if (path.isEmpty()) return;
  if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");
  // Built whole in memory, then written in one safe step: a full disk leaves
  // no cut-short PDF and an earlier file of that name as it was.
  const PdfSheet pdf = pdfSheet(sheet->Picture, sheet->Title, sheet->Subtitle);
  const std::string out = QFile::encodeName(path).toStdString();
  const std::string_view bytes(pdf.Bytes.constData(), static_cast<std::size_t>(pdf.Bytes.size()));
  const auto failure = pdf.Bytes.isEmpty() ? std::optional<FileWriteFailure>(FileWriteFailure{})
                                           : writeFilesTogether(Use.Files, {{out, bytes}});
  if (failure) {
    Use.Ask.error(Use.Window, QString::fromStdString(couldNotWrite(out, failure->Reason)));
    return;
  }
  countPrinted(pdf.Drawn, *sheet);
}
