#include "ui/TransposeDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "music/NameTables.h"
#include "ui/HelpContext.h"

TransposeDialog::TransposeDialog(std::optional<int> fromKey, bool sharps, QWidget* parent)
    : QDialog(parent), FromKey(fromKey) {
  setObjectName(QStringLiteral("dlgTranspose"));
  setWindowTitle(QStringLiteral("Transpose"));
  setHelpContext(this, 267);
  spinSteps = new QSpinBox(this);
  spinSteps->setObjectName(QStringLiteral("spinSteps"));
  spinSteps->setAccessibleName(QStringLiteral("Transpose by"));
  spinSteps->setRange(-11, 11);
  spinSteps->setSuffix(QStringLiteral(" semitones"));
  lblKey = new QLabel(this);
  lblKey->setObjectName(QStringLiteral("lblKey"));
  rbFlats = new QRadioButton(QStringLiteral("Flats"), this);
  rbFlats->setObjectName(QStringLiteral("rbFlats"));
  rbSharps = new QRadioButton(QStringLiteral("Sharps"), this);
  rbSharps->setObjectName(QStringLiteral("rbSharps"));
  (sharps ? rbSharps : rbFlats)->setChecked(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKBtn"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelBtn"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* step = new QHBoxLayout;
  step->addWidget(new QLabel(QStringLiteral("Transpose by"), this));
  step->addWidget(spinSteps);
  step->addStretch();
  auto* naming = new QHBoxLayout;
  naming->addWidget(new QLabel(QStringLiteral("Name notes with"), this));
  naming->addWidget(rbFlats);
  naming->addWidget(rbSharps);
  naming->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(step);
  layout->addWidget(lblKey);
  layout->addLayout(naming);
  layout->addWidget(buttons);

  connect(spinSteps, &QSpinBox::valueChanged, this, &TransposeDialog::showKey);
  connect(rbSharps, &QRadioButton::toggled, this, &TransposeDialog::showKey);
  showKey();
}

int TransposeDialog::steps() const {
  return spinSteps->value();
}

bool TransposeDialog::sharps() const {
  return rbSharps->isChecked();
}

void TransposeDialog::showKey() {
  if (!FromKey) {
    lblKey->clear();
    return;
  }
  NameTables names;
  names.setSharps(sharps());
  const int to = ((*FromKey + steps()) % 12 + 12) % 12;
  lblKey->setText(QStringLiteral("From %1 to %2")
                      .arg(QString::fromStdString(std::string(names.pitchName(*FromKey))),
                           QString::fromStdString(std::string(names.pitchName(to)))));
}
