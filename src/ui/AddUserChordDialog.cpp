#include "ui/AddUserChordDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/HelpContext.h"
#include "ui/RecordText.h"
#include "ui/TypedTextValidator.h"

AddUserChordDialog::AddUserChordDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("dlgAddChord"));
  setHelpContext(this, HelpContext);
  setWindowTitle(QStringLiteral("Add User Chord"));

  // The boxes in rows of seven, in the order the formula text lists them.
  auto* pnlIntervals = new QWidget(this);
  pnlIntervals->setObjectName(QStringLiteral("pnlIntervals"));
  setHelpContext(pnlIntervals, IntervalsHelpContext);
  auto* boxes = new QGridLayout(pnlIntervals);
  boxes->setContentsMargins(0, 0, 0, 0);
  for (std::size_t b = 0; b < IntervalBoxes.size(); ++b) {
    auto* box = new QCheckBox(QLatin1String(IntervalBoxes[b].Caption), pnlIntervals);
    box->setObjectName(QStringLiteral("cbInterval%1").arg(b));
    box->setProperty("tag", IntervalBoxes[b].Semitones);
    boxes->addWidget(box, static_cast<int>(b / 7), static_cast<int>(b % 7));
    cbInterval[b] = box;
    if (b > 0)
      connect(box, &QCheckBox::clicked, this,
              [this, b] { cbInterval1MouseUp(static_cast<int>(b)); });
  }
  cbInterval[0]->setChecked(true);
  cbInterval[0]->setEnabled(false);

  editUserFormula = new QLineEdit(this);
  editUserFormula->setObjectName(QStringLiteral("editUserFormula"));
  editUserFormula->setAccessibleName(QStringLiteral("Chord formula"));
  editUserFormula->setValidator(
      new TypedTextValidator(static_cast<int>(UserChordFormulaLength), editUserFormula));
  editUserName = new QLineEdit(this);
  editUserName->setObjectName(QStringLiteral("editUserName"));
  editUserName->setAccessibleName(QStringLiteral("Chord name"));
  editUserName->setValidator(
      new TypedTextValidator(static_cast<int>(UserChordNameLength), editUserName));
  // The name is all typed (or the short default), so the field's own limit
  // cuts nothing of the program's and shows the user where the record ends.
  editUserName->setMaxLength(static_cast<int>(UserChordNameLength));
  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel(QStringLiteral("Formula:"), this), 0, 0);
  fields->addWidget(editUserFormula, 0, 1);
  fields->addWidget(new QLabel(QStringLiteral("Chord Name:"), this), 1, 0);
  fields->addWidget(editUserName, 1, 1);

  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setDefault(true);
  connect(OKBtn, &QPushButton::clicked, this, &AddUserChordDialog::OKBtnClick);
  CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  HelpBtn = new QPushButton(QStringLiteral("&Help"), this);
  HelpBtn->setObjectName(QStringLiteral("HelpBtn"));
  HelpBtn->setEnabled(false);
  connect(HelpBtn, &QPushButton::clicked, this, &AddUserChordDialog::HelpBtnClick);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  buttons->addWidget(HelpBtn);

  auto* column = new QVBoxLayout(this);
  column->addWidget(pnlIntervals);
  column->addLayout(fields);
  column->addLayout(buttons);
}

void AddUserChordDialog::setHelp(std::function<void(int)> showHelp) {
  ShowHelp = std::move(showHelp);
  HelpBtn->setEnabled(static_cast<bool>(ShowHelp));
}

void AddUserChordDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void AddUserChordDialog::FormShow() {
  editUserFormula->setText(QStringLiteral("1"));
  editUserName->clear();
  Count = 0;
  for (std::size_t b = 1; b < cbInterval.size(); ++b) cbInterval[b]->setChecked(false);
  enableOK();
}

void AddUserChordDialog::enableOK() {
  // A chord of the root alone is no chord to keep.
  OKBtn->setEnabled(anyIntervalTicked(ticked()));
}

IntervalTicks AddUserChordDialog::ticked() const {
  IntervalTicks t{};
  for (std::size_t b = 0; b < cbInterval.size(); ++b) t[b] = cbInterval[b]->isChecked();
  return t;
}

void AddUserChordDialog::cbInterval1MouseUp(int box) {
  if (box < 1 || box >= static_cast<int>(cbInterval.size())) return;
  QCheckBox* b = cbInterval[static_cast<std::size_t>(box)];
  if (b->isChecked()) {
    if (Count < MaxUserIntervals)
      ++Count;
    else
      b->setChecked(false);
  } else {
    --Count;
  }
  // Typed changes to the formula last until the next tick.
  editUserFormula->setText(qs(userChordFormulaText(ticked())));
  enableOK();
}

void AddUserChordDialog::OKBtnClick() {
  if (!anyIntervalTicked(ticked())) return;
  if (editUserName->text().trimmed().isEmpty())
    editUserName->setText(QLatin1String(DefaultUserChordName));
  accept();
}

void AddUserChordDialog::HelpBtnClick() {
  if (ShowHelp) ShowHelp(HelpContext);
}
