#pragma once

#include <QDialog>
#include <functional>

class QPrinter;
class QPrintPreviewWidget;

// The sheet as it will come out of the chosen printer, shown before any
// paper is used: "Print" accepts, "Cancel" rejects. The preview asks
// `paint` to draw the sheet whenever it needs it.
class PrintPreviewDialog : public QDialog {
  Q_OBJECT

 public:
  PrintPreviewDialog(QPrinter& printer, std::function<void(QPrinter&)> paint,
                     QWidget* parent = nullptr);

  QPrintPreviewWidget* preview() const { return Preview; }

 private:
  QPrintPreviewWidget* Preview;
};
