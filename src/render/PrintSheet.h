#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>

#include "render/DiagramPainter.h"

class QPainter;

// One printed sheet: a page's title line over its picture. It paints on any
// painter (a printer, a PDF writer, a preview or an image in a test), so the
// same code serves them all; the caller owns the device and its job.

// A page's picture as painting: `Paint` paints it in its own pixels, `Size`
// of them, on whatever painter it is given. On paper it is painted at the
// printer's resolution, so lines stay lines and text stays text.
struct SheetArt {
  QSize Size;
  std::function<void(QPainter&)> Paint;
};

// Where the sheet's parts went, in the painter's device pixels.
struct PrintedSheet {
  QRect Picture;
  QRect Title;
  QRect Subtitle;  // empty when there is none
};

// How the picture is stretched: pixel for pixel on paper, where it grows
// and thin lines must stay sharp; smoothed for a preview, where it shrinks
// and taking every sixth pixel would drop the strings and frets.
enum class SheetScaling { Paper, Preview };

// Draws `title` in the painter's current font (a fresh painter has the
// device's default), `subtitle` (if any) on the line under it, and `surface`
// stretched into the picture rectangle of printLayout. The painter's
// coordinates are taken from the paper's corner.
PrintedSheet printSheet(QPainter& painter, int dpiX, int dpiY, const QImage& surface,
                        const QString& title, const QString& subtitle = {},
                        SheetScaling scaling = SheetScaling::Paper);
// The same with the picture painted into its rectangle.
PrintedSheet printSheet(QPainter& painter, int dpiX, int dpiY, const SheetArt& art,
                        const QString& title, const QString& subtitle = {});

// A copy of `surface` with the selection frame at its stored rectangle wiped
// white, so a sheet never shows it and the picture on screen keeps it.
QImage withoutSelectionFrame(const QImage& surface, const SelectionFrame& frame);

// The sheet as a one-page PDF on A4, or Letter where the locale measures in
// inches, built in memory so that the caller writes it whole or not at all.
struct PdfSheet {
  QByteArray Bytes;  // empty when the PDF could not be painted
  PrintedSheet Drawn;
};
PdfSheet pdfSheet(const SheetArt& art, const QString& title, const QString& subtitle = {});
