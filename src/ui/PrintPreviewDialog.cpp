#include "ui/PrintPreviewDialog.h"

#include <QHBoxLayout>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QVBoxLayout>

PrintPreviewDialog::PrintPreviewDialog(QPrinter& printer, std::function<void(QPrinter&)> paint,
                                       QWidget* parent)
    : QDialog(parent), Preview(new QPrintPreviewWidget(&printer, this)) {
  setObjectName(QStringLiteral("PrintPreviewDialog"));
  setWindowTitle(QStringLiteral("Print Preview"));
  Preview->setObjectName(QStringLiteral("PrintPreview"));
  Preview->fitInView();
  connect(Preview, &QPrintPreviewWidget::paintRequested, this,
          [paint = std::move(paint)](QPrinter* p) {
            if (p) paint(*p);
          });

  auto* btnPrint = new QPushButton(QStringLiteral("Print"));
  btnPrint->setObjectName(QStringLiteral("btnPrint"));
  btnPrint->setDefault(true);
  auto* btnCancel = new QPushButton(QStringLiteral("Cancel"));
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  connect(btnPrint, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btnPrint);
  buttons->addWidget(btnCancel);
  auto* column = new QVBoxLayout(this);
  column->addWidget(Preview, 1);
  column->addLayout(buttons);
  resize(560, 720);
}
