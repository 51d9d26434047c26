#include "ui/TempoDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>

#include "play/PlayerSettings.h"
#include "ui/HelpContext.h"

namespace {

constexpr std::int32_t MinBpm = 10, MaxBpm = 250;
constexpr std::int32_t MicrosPerMinute = 60000000;

}  // namespace

TempoDialog::TempoDialog(std::int32_t& playPageTempo, bool& playPageChanged, QWidget* parent)
    : QDialog(parent), PlayPageTempo(playPageTempo), PlayPageChanged(playPageChanged) {
  setObjectName(QStringLiteral("dlgTempo"));
  setHelpContext(this, HelpContext);
  setWindowTitle(QStringLiteral("Change PlayPage Tempo"));
  setFixedSize(313, 214);

  auto* note = new QLabel(QStringLiteral("Tempo changes only affect the PlayPage."), this);
  note->setGeometry(16, 16, 280, 20);
  auto* ask = new QLabel(QStringLiteral("Enter a tempo between 10 and 250"), this);
  ask->setGeometry(16, 44, 280, 20);

  meditTempo = new QLineEdit(this);
  meditTempo->setObjectName(QStringLiteral("meditTempo"));
  meditTempo->setAccessibleName(QStringLiteral("Tempo"));
  meditTempo->setAccessibleDescription(ask->text());
  meditTempo->setMaxLength(3);
  // Digits only: the field cannot hold a sign or anything else.
  meditTempo->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this));
  meditTempo->setGeometry(16, 76, 60, 24);

  scrollTempo = new QScrollBar(Qt::Horizontal, this);
  scrollTempo->setObjectName(QStringLiteral("scrollTempo"));
  scrollTempo->setRange(MinBpm, MaxBpm);
  scrollTempo->setPageStep(10);
  scrollTempo->setGeometry(16, 116, 280, 20);
  connect(scrollTempo, &QScrollBar::valueChanged, this, &TempoDialog::scrollTempoScroll);

  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setDefault(true);
  OKBtn->setGeometry(30, 168, 75, 25);
  connect(OKBtn, &QPushButton::clicked, this, &TempoDialog::OKBtnClick);
  CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  CancelBtn->setGeometry(119, 168, 75, 25);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  HelpBtn = new QPushButton(QStringLiteral("Help"), this);
  HelpBtn->setObjectName(QStringLiteral("HelpBtn"));
  HelpBtn->setGeometry(208, 168, 75, 25);
  HelpBtn->setEnabled(false);
  connect(HelpBtn, &QPushButton::clicked, this, &TempoDialog::HelpBtnClick);
}

void TempoDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TempoDialog::FormShow() {
  // A tempo read from a damaged page file may be 0 or negative.
  const std::int32_t tempo = PlayPageTempo > 0 ? PlayPageTempo : DefaultPageTempo;
  const std::int32_t bpm = MicrosPerMinute / tempo;
  meditTempo->setText(QString::number(bpm));
  scrollTempo->setValue(bpm);
  meditTempo->setText(QString::number(bpm));  // the bar clamps; the field shows the tempo itself
  meditTempo->setFocus();
  meditTempo->selectAll();
}

void TempoDialog::setHelp(std::function<void(int)> showHelp) {
  ShowHelp = std::move(showHelp);
  HelpBtn->setEnabled(static_cast<bool>(ShowHelp));
}

void TempoDialog::HelpBtnClick() {
  if (ShowHelp) ShowHelp(HelpContext);
}

void TempoDialog::scrollTempoScroll(int position) {
  meditTempo->setText(QString::number(position));
}

void TempoDialog::OKBtnClick() {
  const QString text = meditTempo->text().trimmed();
  bool ok = false;
  int bpm = text.toInt(&ok);
  if (ok) {
    if (bpm < MinBpm) {
      bpm = MinBpm;
      meditTempo->setText(QStringLiteral("10"));
    } else if (bpm > MaxBpm) {
      bpm = MaxBpm;
      meditTempo->setText(QStringLiteral("250"));
    }
    PlayPageTempo = MicrosPerMinute / bpm;
    PlayPageChanged = true;
  }
  accept();
}
