#include "ui/RepeatDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "render/PlayPageBitmaps.h"
#include "ui/HelpContext.h"

RepeatDialog::RepeatDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("dlgRepeat"));
  setHelpContext(this, 920);
  setWindowTitle(QStringLiteral("Repeat Markers"));

  auto* heading = new QLabel(QStringLiteral("Choose Repeat Markers For Measure"), this);
  lblNum = new QLabel(this);
  lblNum->setObjectName(QStringLiteral("lblNum"));
  cbReturn = new QCheckBox(this);
  cbReturn->setObjectName(QStringLiteral("cbReturn"));
  cbRepeat = new QCheckBox(this);
  cbRepeat->setObjectName(QStringLiteral("cbRepeat"));
  // The boxes are captioned by pictures of the marks drawn above them.
  cbReturn->setAccessibleName(QStringLiteral("Return mark"));
  cbReturn->setAccessibleDescription(QStringLiteral("Check to loop from this measure"));
  cbRepeat->setAccessibleName(QStringLiteral("Repeat mark"));
  editRepeat = new QLineEdit(this);
  editRepeat->setObjectName(QStringLiteral("editRepeat"));
  editRepeat->setAccessibleName(QStringLiteral("How many repeats (1 - 255)"));
  editRepeat->setMaxLength(3);
  editRepeat->setFixedWidth(40);
  // Digits only: a count is never typed as anything else.
  editRepeat->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this));
  editRepeat->installEventFilter(this);
  cbLoop = new QCheckBox(QStringLiteral("Loop"), this);
  cbLoop->setObjectName(QStringLiteral("cbLoop"));
  lblError = new QLabel(this);
  lblError->setObjectName(QStringLiteral("lblError"));
  lblError->setStyleSheet(QStringLiteral("color: red"));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKBtn"));
  connect(buttons, &QDialogButtonBox::accepted, this, &RepeatDialog::OKBtnClick);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(cbRepeat, &QCheckBox::clicked, this, &RepeatDialog::cbRepeatClick);

  // The RETURN and REPEAT pictures are painted above the two boxes.
  auto* grid = new QGridLayout(this);
  grid->addWidget(heading, 0, 0, 1, 3);
  grid->addWidget(lblNum, 0, 3);
  grid->setRowMinimumHeight(1, 40);
  grid->addWidget(cbReturn, 2, 0, Qt::AlignHCenter);
  grid->addWidget(cbRepeat, 2, 1, Qt::AlignHCenter);
  auto* countLabel = new QLabel(QStringLiteral("How Many Repeats?"), this);
  grid->addWidget(countLabel, 2, 2);
  grid->addWidget(editRepeat, 2, 3);
  grid->addWidget(new QLabel(QStringLiteral("(1 - 255)"), this), 3, 3);
  grid->addWidget(new QLabel(QStringLiteral("Check to loop from this measure"), this), 4, 0, 1, 3);
  grid->addWidget(cbLoop, 4, 3);
  grid->addWidget(lblError, 5, 0, 1, 4);
  grid->addWidget(buttons, 6, 0, 1, 4);
  grid->setColumnMinimumWidth(0, 88);
  grid->setColumnMinimumWidth(1, 88);
}

void RepeatDialog::load(int bar, const RepeatChoice& choice) {
  Bar = bar;
  lblNum->setText(QString::number(bar + 1));
  cbReturn->setChecked(choice.Return);
  cbRepeat->setChecked(choice.Repeat);
  editRepeat->setText(choice.Repeat ? QString::number(choice.Count) : QString());
  cbLoop->setChecked(choice.Loop);
  LoopWasOn = choice.Loop;
  lblError->clear();
}

RepeatChoice RepeatDialog::choice() const {
  RepeatChoice c;
  c.Return = cbReturn->isChecked();
  c.Repeat = cbRepeat->isChecked();
  c.Count = c.Repeat ? Count : 0;
  c.Loop = cbLoop->isChecked();
  return c;
}

void RepeatDialog::OKBtnClick() {
  const std::optional<int> count = repeatCountFromText(editRepeat->text().toStdString());
  if (!count) {
    lblError->setText(
        QStringLiteral("The number of repeats must be a whole number from 1 to 255."));
    editRepeat->setFocus();
    return;
  }
  Count = *count;
  accept();
}

bool RepeatDialog::eventFilter(QObject* watched, QEvent* event) {
  // Selecting on release, so the press does not put the caret back down.
  if (watched == editRepeat && event->type() == QEvent::MouseButtonRelease) editRepeatClick();
  return QDialog::eventFilter(watched, event);
}

void RepeatDialog::editRepeatClick() {
  editRepeat->setSelection(0, 3);
}

void RepeatDialog::cbRepeatClick() {
  if (cbRepeat->isChecked()) {
    editRepeat->setFocus();
    editRepeatClick();
  }
}

void RepeatDialog::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  QPainter p(this);
  // The marks as the page shows them, drawn at the screen's density.
  using Bitmaps::PlayImage;
  const int y = cbReturn->y() - 36;
  for (const auto& [box, id] :
       {std::pair{cbReturn, PlayImage::Return}, std::pair{cbRepeat, PlayImage::Repeat}})
    Bitmaps::paintPlayImage(
        p, QPoint(box->geometry().center().x() - Bitmaps::playImageWidth(id) / 2, y), id);
}
