#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "play/PlayTab.h"
#include "render/PrintSheet.h"

class BusyGuard;
class FileLayer;
class Prompter;
class QPrinter;
class QWidget;
class Workbench;

// Printing the active tab's page: "Print Page" through the print dialog and
// a preview, and File > "Export PDF..." straight to a PDF file. Either way
// the sheet is the page's title over its picture, painted from the page's
// records by the page drawer as opening the page draws it, without the
// selection frame, at the printer's resolution; the screen is never touched.
// The Chord Design tab and an empty page have nothing to print.
class PrintController : public QObject {
  Q_OBJECT

 public:
  struct Parts {
    const Workbench& Bench;
    const BusyGuard& Guard;
    Prompter& Ask;
    QWidget* Window;
    std::function<PlayTab()> ActiveTab;
    FileLayer& Files;  // where PDF exports are written
  };

  PrintController(Parts parts, QObject* parent);

  void sbtnPrintPageClick();
  void exportPdf();

  // Where the last sheet sent to a printer or a file went; the preview's
  // drawings do not count.
  const PrintedSheet& lastSheet() const { return LastSheet; }
  const QImage& lastPicture() const { return LastPicture; }
  int sheetsPrinted() const { return SheetsPrinted; }

 private:
  struct Sheet {
    QImage Picture;
    SheetArt Art;
    QString Title;
    QString Subtitle;
  };
  // The active tab's sheet, or nothing when it has nothing to print.
  std::optional<Sheet> sheetToPrint() const;
  // Sets the printer to a portrait sheet addressed from the paper's corner.
  static void preparePrinter(QPrinter& printer);
  // False when the printer could not be opened.
  bool paint(QPrinter& printer, const Sheet& sheet, bool printed);
  void countPrinted(const PrintedSheet& drawn, const Sheet& sheet);

  Parts Use;
  PrintedSheet LastSheet;
  QImage LastPicture;
  int SheetsPrinted = 0;
};
