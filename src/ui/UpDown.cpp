#include "ui/UpDown.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

UpDown::UpDown(const QString& objectName, int minimum, int maximum, int position, bool wrap,
               QWidget* parent)
    : QWidget(parent),
      Up(new QToolButton(this)),
      Down(new QToolButton(this)),
      Minimum(minimum),
      Maximum(maximum),
      Position(std::clamp(position, minimum, maximum)),
      Wrap(wrap) {
  setObjectName(objectName);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (QToolButton* b : {Up, Down}) {
    b->setAutoRepeat(true);
    b->setFixedSize(17, 8);
    b->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(b);
  }
  Up->setArrowType(Qt::UpArrow);
  Down->setArrowType(Qt::DownArrow);
  Up->setObjectName(objectName + QStringLiteral("Up"));
  Down->setObjectName(objectName + QStringLiteral("Down"));
  connect(Up, &QToolButton::clicked, this, [this] { step(1); });
  connect(Down, &QToolButton::clicked, this, [this] { step(-1); });
  setFixedSize(17, 16);
}

void UpDown::setPosition(int position) {
  Position = std::clamp(position, Minimum, Maximum);
}

void UpDown::step(int delta) {
  int next = Position + delta;
  if (next > Maximum) next = Wrap ? Minimum : Maximum;
  if (next < Minimum) next = Wrap ? Maximum : Minimum;
  Position = next;
  emit stepped();
  emit committed();
}

void UpDown::nameFor(const QString& what) {
  setAccessibleName(what);
  Up->setAccessibleName(what + QStringLiteral(" up"));
  Down->setAccessibleName(what + QStringLiteral(" down"));
}
