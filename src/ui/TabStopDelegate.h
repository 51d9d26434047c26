#pragma once

#include <QStyledItemDelegate>
#include <QTextOption>

// Draws list lines whose tab characters jump to stops every 90 dialog units
// of the list's font, so that the text after the tab lines up in a second
// column however long the text before it is.
class TabStopDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // 90 dialog units of `font`: a dialog unit is a quarter of the font's
  // average letter width.
  static qreal tabStopDistance(const QFont& font);
  // Where, in pixels from the start of the line, the character after the
  // first tab of `text` is drawn.
  static qreal columnAfterTab(const QFont& font, const QString& text);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  static QTextOption lineOption(const QFont& font);
};
