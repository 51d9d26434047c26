#include "ui/GuitarViewBar.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>

#include "ui/HelpContext.h"

namespace {

QToolButton* toggle(QWidget* parent, const char* name, const char* caption, const char* tip) {
  auto* b = new QToolButton(parent);
  b->setObjectName(QLatin1String(name));
  b->setText(QLatin1String(caption));
  b->setToolTip(QLatin1String(tip));
  b->setCheckable(true);
  b->setToolButtonStyle(Qt::ToolButtonTextOnly);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

}  // namespace

GuitarViewBar::GuitarViewBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("pnlGuitarView"));
  setHelpContext(this, 268);
  spinCapo = new QSpinBox(this);
  spinCapo->setObjectName(QStringLiteral("spinCapo"));
  spinCapo->setRange(0, 11);
  spinCapo->setSpecialValueText(QStringLiteral("None"));
  spinCapo->setToolTip(
      QStringLiteral("The fret the capo is on: shapes are fretted from it and sound higher"));
  auto* capoLabel = new QLabel(QStringLiteral("Capo"), this);
  capoLabel->setBuddy(spinCapo);
  sbtnShapeNames = toggle(this, "sbtnShapeNames", "Shape", "Name chords as they are fretted");
  sbtnSoundingNames =
      toggle(this, "sbtnSoundingNames", "Sounding", "Name chords as they sound with the capo");
  sbtnShapeNames->setChecked(true);
  auto* names = new QButtonGroup(this);
  names->addButton(sbtnShapeNames);
  names->addButton(sbtnSoundingNames);
  sbtnLeftHanded =
      toggle(this, "sbtnLeftHanded", "Left Handed", "Mirror the fretboard and every diagram");

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);
  row->addWidget(capoLabel);
  row->addWidget(spinCapo);
  row->addSpacing(4);
  row->addWidget(new QLabel(QStringLiteral("Names:"), this));
  row->addWidget(sbtnShapeNames);
  row->addWidget(sbtnSoundingNames);
  row->addSpacing(4);
  row->addWidget(sbtnLeftHanded);

  connect(spinCapo, &QSpinBox::valueChanged, this, &GuitarViewBar::capoChanged);
  connect(sbtnShapeNames, &QToolButton::clicked, this, [this] { emit namesChosen(false); });
  connect(sbtnSoundingNames, &QToolButton::clicked, this, [this] { emit namesChosen(true); });
  connect(sbtnLeftHanded, &QToolButton::clicked, this, &GuitarViewBar::leftHandedClicked);
}

void GuitarViewBar::showGuitarView(int capo, bool soundingNames, bool leftHanded) {
  {
    const QSignalBlocker block(spinCapo);
    spinCapo->setValue(capo);
  }
  sbtnShapeNames->setChecked(!soundingNames);
  sbtnSoundingNames->setChecked(soundingNames);
  // Without a capo a shape sounds as it is named.
  sbtnShapeNames->setEnabled(capo > 0);
  sbtnSoundingNames->setEnabled(capo > 0);
  sbtnLeftHanded->setChecked(leftHanded);
}
