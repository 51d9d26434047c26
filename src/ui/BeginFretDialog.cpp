#include "ui/BeginFretDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "ui/HelpContext.h"

BeginFretDialog::BeginFretDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("dlgBeginFret"));
  setHelpContext(this, 430);
  setWindowTitle(QStringLiteral("Change Beginning Fret"));
  Label1 = new QLabel(QStringLiteral("Enter a number between 1 and 17"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  meditBeginFret = new QLineEdit(this);
  meditBeginFret->setObjectName(QStringLiteral("meditBeginFret"));
  meditBeginFret->setAccessibleName(QStringLiteral("First fret"));
  meditBeginFret->setAccessibleDescription(Label1->text());
  meditBeginFret->setMaxLength(2);
  meditBeginFret->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")), this));
  meditBeginFret->setFixedWidth(40);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKBtn"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelBtn"));
  connect(buttons, &QDialogButtonBox::accepted, this, &BeginFretDialog::OKBtnClick);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(meditBeginFret);
  layout->addWidget(buttons);
}

void BeginFretDialog::setFret(int fret) {
  meditBeginFret->setText(QString::number(fret));
}

int BeginFretDialog::fret() const {
  const QString text = meditBeginFret->text().trimmed();
  return text.isEmpty() ? -1 : text.toInt();
}

void BeginFretDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  meditBeginFret->setFocus();
  meditBeginFret->selectAll();
  Label1->setStyleSheet(QStringLiteral("color: black"));
}

void BeginFretDialog::OKBtnClick() {
  const int v = fret();
  if (v != -1 && (v < 1 || v > 17)) {
    Label1->setStyleSheet(QStringLiteral("color: red"));
    return;
  }
  accept();
}
