#include "ui/PrintController.h"

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include "files/WriteFiles.h"
#include "pages/PrintPageModel.h"
#include "ui/BusyGuard.h"
#include "ui/ChordsTab.h"
#include "ui/PrintPreviewDialog.h"
#include "ui/Prompter.h"
#include "ui/RecordText.h"
#include "ui/ScalesTab.h"
#include "ui/SurfaceView.h"

PrintController::PrintController(Parts parts, QObject* parent)
    : QObject(parent), Use(std::move(parts)) {
  setObjectName(QStringLiteral("PrintController"));
}

std::optional<PrintController::Sheet> PrintController::sheetToPrint() const {
  const AppState& st = Use.State;
  const PlayTab tab = Use.ActiveTab();
  const auto surface = [this, tab]() -> const QImage& {
    return Use.Surfaces[static_cast<std::size_t>(tab)]->image();
  };
  const auto title = [&st, tab](const char* heading) {
    return QLatin1String(heading) + qs(st.LastPageFile[static_cast<std::size_t>(tab)]);
  };
  switch (tab) {
    case PlayTab::Chords:
      if (st.ChordSetCount == 0) return std::nullopt;
      return Sheet{withoutSelectionFrame(surface(), Use.Chords.frame()),
                   title("Strumbo! Chord Page: ")};
    case PlayTab::Print: {
      if (!PrintGrid::firstItem(st.PrintPage)) return std::nullopt;
      return Sheet{withoutSelectionFrame(surface(), Use.PrintPageFrame()),
                   title("Strumbo! Print Page: ")};
    }
    case PlayTab::PlayPage:
      // The play page has no frame to hide and always prints.
      return Sheet{surface().copy(), title("Strumbo! Play Page: ")};
    case PlayTab::Scales: {
      // Scales fill the page from the top, so the count says whether any is there.
      if (st.ScaleCount == 0) return std::nullopt;
      return Sheet{withoutSelectionFrame(surface(), Use.Scales.frame()),
                   title("Strumbo! Scale Page: ")};
    }
    case PlayTab::ChordDesign:
      break;
  }
  return std::nullopt;
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
                 printed ? SheetScaling::Paper : SheetScaling::Preview);
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
  const PdfSheet pdf = pdfSheet(sheet->Picture, sheet->Title);
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
