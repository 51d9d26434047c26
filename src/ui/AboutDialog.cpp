#include "ui/AboutDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/HelpContext.h"

AboutDialog::AboutDialog(unsigned midiVersion, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAboutBox"));
  setHelpContext(this, 410);
  setWindowTitle(QStringLiteral("About Strumbo!"));
  ProductName = new QLabel(QStringLiteral("Strumbo!"), this);
  ProductName->setObjectName(QStringLiteral("ProductName"));
  QFont big = ProductName->font();
  big.setPointSize(big.pointSize() + 8);
  big.setBold(true);
  ProductName->setFont(big);
  Version = new QLabel(QStringLiteral("Version %1").arg(QStringLiteral(STRUMBO_VERSION)), this);
  Version->setObjectName(QStringLiteral("Version"));
  MidiVersion = new QLabel(
      QStringLiteral("MIDI component %1.%2").arg((midiVersion >> 8) & 0xFF).arg(midiVersion & 0xFF),
      this);
  MidiVersion->setObjectName(QStringLiteral("MidiVersion"));
  auto* blurb = new QLabel(
      QStringLiteral("A workbench for guitar players: chords, scales, voicings and progressions."),
      this);
  blurb->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ProductName, 0, Qt::AlignHCenter);
  layout->addWidget(Version, 0, Qt::AlignHCenter);
  layout->addWidget(MidiVersion, 0, Qt::AlignHCenter);
  layout->addWidget(blurb);
  layout->addWidget(buttons);
}
