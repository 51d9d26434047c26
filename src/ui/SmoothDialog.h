#pragma once

#include <QDialog>
#include <QImage>
#include <functional>

#include "pages/SmoothFingerings.h"

class QCheckBox;
class QLabel;
class QRadioButton;
class QSpinBox;

// Smooth Fingerings: where the hand should play, whether chords designed by
// hand may change too, and a picture of the page with the slots that will
// change framed, drawn again whenever a choice changes. OK applies it.
class SmoothDialog : public QDialog {
  Q_OBJECT

 public:
  struct Preview {
    QImage Page;  // the page as it would become, changing slots framed
    int Changes = 0;
    double TravelBefore = 0, TravelAfter = 0;
  };
  using PreviewOf = std::function<Preview(const SmoothRequest&)>;

  // `request` gives how the page plays and the choices to start from.
  SmoothDialog(const SmoothRequest& request, PreviewOf preview, QWidget* parent = nullptr);

  SmoothRequest request() const;

  QRadioButton* rbAnywhere;
  QRadioButton* rbOpenPosition;
  QRadioButton* rbAroundFret;
  QSpinBox* spinFret;
  QCheckBox* cbChangeOwn;
  QLabel* imgPreview;
  QLabel* lblSummary;

 private:
  void refresh();

  SmoothRequest Base;
  PreviewOf PreviewFn;
};
