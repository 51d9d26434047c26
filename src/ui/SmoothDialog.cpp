#include "ui/SmoothDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/HelpContext.h"

namespace {
// Small enough that the dialog fits a 768-pixel-high screen.
constexpr int PreviewWidth = 400;
}  // namespace

SmoothDialog::SmoothDialog(const SmoothRequest& request, PreviewOf preview, QWidget* parent)
    : QDialog(parent), Base(request), PreviewFn(std::move(preview)) {
  setObjectName(QStringLiteral("dlgSmooth"));
  setWindowTitle(QStringLiteral("Smooth Fingerings"));
  setHelpContext(this, 266);

  auto* where = new QLabel(QStringLiteral("Where to play:"), this);
  rbAnywhere = new QRadioButton(QStringLiteral("Anywhere"), this);
  rbAnywhere->setObjectName(QStringLiteral("rbAnywhere"));
  rbOpenPosition = new QRadioButton(QStringLiteral("Open position"), this);
  rbOpenPosition->setObjectName(QStringLiteral("rbOpenPosition"));
  rbAroundFret = new QRadioButton(QStringLiteral("Around fret"), this);
  rbAroundFret->setObjectName(QStringLiteral("rbAroundFret"));
  spinFret = new QSpinBox(this);
  spinFret->setObjectName(QStringLiteral("spinFret"));
  spinFret->setRange(1, 15);
  spinFret->setValue(request.Fret >= 1 && request.Fret <= 15 ? request.Fret : 5);
  auto* group = new QButtonGroup(this);
  for (QRadioButton* b : {rbAnywhere, rbOpenPosition, rbAroundFret}) group->addButton(b);
  (request.Where == HandPlace::OpenPosition ? rbOpenPosition
   : request.Where == HandPlace::AroundFret ? rbAroundFret
                                            : rbAnywhere)
      ->setChecked(true);
  cbChangeOwn = new QCheckBox(QStringLiteral("Also change my own fingerings"), this);
  cbChangeOwn->setObjectName(QStringLiteral("cbChangeOwn"));
  cbChangeOwn->setChecked(request.ChangeOwn);

  imgPreview = new QLabel(this);
  imgPreview->setObjectName(QStringLiteral("imgPreview"));
  imgPreview->setFixedWidth(PreviewWidth);
  imgPreview->setAlignment(Qt::AlignCenter);
  lblSummary = new QLabel(this);
  lblSummary->setObjectName(QStringLiteral("lblSummary"));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKBtn"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelBtn"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* around = new QHBoxLayout;
  around->addWidget(rbAroundFret);
  around->addWidget(spinFret);
  around->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(where);
  layout->addWidget(rbAnywhere);
  layout->addWidget(rbOpenPosition);
  layout->addLayout(around);
  layout->addWidget(cbChangeOwn);
  layout->addWidget(imgPreview);
  layout->addWidget(lblSummary);
  layout->addWidget(buttons);

  for (QRadioButton* b : {rbAnywhere, rbOpenPosition, rbAroundFret})
    connect(b, &QRadioButton::toggled, this, [this](bool on) {
      if (on) refresh();
    });
  connect(spinFret, &QSpinBox::valueChanged, this, [this] {
    if (!rbAroundFret->isChecked())
      rbAroundFret->setChecked(true);
    else
      refresh();
  });
  connect(cbChangeOwn, &QCheckBox::toggled, this, &SmoothDialog::refresh);
  refresh();
}

SmoothRequest SmoothDialog::request() const {
  SmoothRequest r = Base;
  r.Where = rbOpenPosition->isChecked() ? HandPlace::OpenPosition
            : rbAroundFret->isChecked() ? HandPlace::AroundFret
                                        : HandPlace::Anywhere;
  r.Fret = spinFret->value();
  r.ChangeOwn = cbChangeOwn->isChecked();
  return r;
}

void SmoothDialog::refresh() {
  if (!PreviewFn) return;
  const Preview p = PreviewFn(request());
  // Scaled to the preview's width in the screen's device pixels, whatever
  // density the page was drawn at, so it fills the preview and stays sharp.
  const qreal ratio = imgPreview->devicePixelRatioF();
  QImage preview = p.Page.scaledToWidth(qRound(PreviewWidth * ratio), Qt::SmoothTransformation);
  preview.setDevicePixelRatio(ratio);
  imgPreview->setPixmap(QPixmap::fromImage(preview));
  if (p.Changes == 0) {
    lblSummary->setText(QStringLiteral(
        "Nothing to change: every chord already has the best fingering for these choices."));
  } else {
    lblSummary->setText(
        QStringLiteral("%1 %2 (framed): the hand travels %3 frets in one play instead of %4.")
            .arg(p.Changes)
            .arg(p.Changes == 1 ? QStringLiteral("chord changes") : QStringLiteral("chords change"))
            .arg(p.TravelAfter, 0, 'f', 0)
            .arg(p.TravelBefore, 0, 'f', 0));
  }
}
