#include "ui/TabStopDelegate.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

qreal TabStopDelegate::tabStopDistance(const QFont& font) {
  static const QString letters =
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const qreal averageWidth = QFontMetricsF(font).horizontalAdvance(letters) / letters.size();
  return 90.0 * averageWidth / 4.0;
}

QTextOption TabStopDelegate::lineOption(const QFont& font) {
  QTextOption option(Qt::AlignLeft | Qt::AlignVCenter);
  option.setWrapMode(QTextOption::NoWrap);
  option.setTabStopDistance(tabStopDistance(font));
  return option;
}

qreal TabStopDelegate::columnAfterTab(const QFont& font, const QString& text) {
  const qsizetype tab = text.indexOf(QLatin1Char('\t'));
  if (tab < 0) return -1;
  QTextLayout layout(text, font);
  layout.setTextOption(lineOption(font));
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  return line.cursorToX(static_cast<int>(tab + 1));
}

void TabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
  QStyleOptionViewItem item = option;
  initStyleOption(&item, index);
  const QString text = item.text;
  item.text.clear();
  const QStyle* style = item.widget ? item.widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

  item.text = text;
  const QRect area =
      style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget).adjusted(3, 0, -3, 0);
  const bool selected = item.state & QStyle::State_Selected;
  painter->save();
  painter->setFont(item.font);
  painter->setPen(
      item.palette.color(item.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled,
                         selected ? QPalette::HighlightedText : QPalette::Text));
  painter->drawText(QRectF(area), text, lineOption(item.font));
  painter->restore();
}

QSize TabStopDelegate::sizeHint(const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  const QString text = index.data(Qt::DisplayRole).toString();
  const qsizetype tab = text.indexOf(QLatin1Char('\t'));
  if (tab >= 0) {
    const qreal after = QFontMetricsF(option.font).horizontalAdvance(text.mid(tab + 1));
    const int wanted = static_cast<int>(columnAfterTab(option.font, text) + after) + 8;
    size.setWidth(std::max(size.width(), wanted));
  }
  return size;
}
