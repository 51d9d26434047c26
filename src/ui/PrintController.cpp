#include "ui/PrintController.h"

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include "files/WriteFiles.h"
#include "pages/PrintPageModel.h"
#include "render/PageDrawer.h"
#include "state/Workbench.h"
#include "ui/BusyGuard.h"
#include "ui/PageLookOf.h"
#include "ui/PrintPreviewDialog.h"
#include "ui/Prompter.h"
#include "ui/RecordText.h"

PrintController::PrintController(Parts parts, QObject* parent)
    : QObject(parent), Use(std::move(parts)) {
  setObjectName(QStringLiteral("PrintController"));
}

std::optional<PrintController::Sheet> PrintController::sheetToPrint() const {
  const AppState& st = Use.Bench.State;
  const PlayTab tab = Use.ActiveTab();
  const QString file = qs(st.LastPageFile[static_cast<std::size_t>(tab)]);
  std::optional<PageKind> kind;
  switch (tab) {
    case PlayTab::Chords:
      kind = PageKind::Chord;
      break;
    case PlayTab::Print:
      kind = PageKind::Print;
      break;
    case PlayTab::Scales:
      kind = PageKind::Scale;
      break;
    case PlayTab::PlayPage:
      kind = PageKind::Play;
      break;
    case PlayTab::ChordDesign:
      return std::nullopt;
  }
  // Drawn from the records as opening the page draws it, so the sheet is the
  // one Export PDF of the saved page gives, whatever frames came and went on
  // the screen meanwhile. The play page shows its marks and its start
  // marker as the tab shows them.
  const std::optional<PagePicture> picture =
      pagePicture(Use.Bench.contents(*kind), st.Play.savedSet(), pageLookOf(st),
                  PlayStart{st.Play.PlayStartColumn, st.Play.PlayStartRow});
  if (!picture) return std::nullopt;
  return Sheet{picture->Picture, picture->Art, picture->Heading + file, picture->Subtitle};
}

void PrintController::preparePrinter(QPrinter& printer) {
  printer.setPageOrientation(QPageLayout::Portrait);
  // The sheet's places are measured from the paper's edges, not the margins.
  printer.setFullPage(true);
}

bool PrintController::paint(QPrinter& printer, const Sheet& sheet, bool printed) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  // Paper gets the page painted at its resolution. The preview shows it a
  // few pixels to the inch, where hairlines painted so would drop out: it
  // gets the picture smoothed down, every line a shade of grey.
  const PrintedSheet drawn =
      printed ? printSheet(painter, printer.logicalDpiX(), printer.logicalDpiY(), sheet.Art,
                           sheet.Title, sheet.Subtitle)
              : printSheet(painter, printer.logicalDpiX(), printer.logicalDpiY(), sheet.Picture,
                           sheet.Title, sheet.Subtitle, SheetScaling::Preview);
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
  const PdfSheet pdf = pdfSheet(sheet->Art, sheet->Title, sheet->Subtitle);
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
