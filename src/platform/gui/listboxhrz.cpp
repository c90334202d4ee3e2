#include "listboxhrz.h"

#include <QEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QTextOption tabbedOption(int tabWidth)
{
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(tabWidth);
    return option;
}

// Rows hold two columns separated by TAB ("address TAB text"); they are drawn and measured
// with the same tab stops. Every row is as wide as the list's extent, which is what makes the
// horizontal scroll bar follow CurrentWidth.
class TabbedRowDelegate : public QStyledItemDelegate
{
public:
    explicit TabbedRowDelegate(TListBoxHrz *list) : QStyledItemDelegate(list), m_list(list) {}

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setWidth(m_list->CurrentWidth());
        return size;
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString text = item.text;
        item.text.clear();
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : nullptr;
        if (!style)
            return;
        // Background, selection, focus and icon as the style draws them; the text ourselves.
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
        textRect.adjust(margin, 0, -margin, 0);

        painter->save();
        const bool selected = item.state & QStyle::State_Selected;
        const QPalette::ColorGroup group = item.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        painter->setPen(item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(item.font);
        painter->setClipRect(textRect);
        QTextOption textOption = tabbedOption(m_list->tabWidth());
        textOption.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        painter->drawText(QRectF(textRect), text, textOption);
        painter->restore();
    }

private:
    TListBoxHrz *m_list;
};

} // namespace

TListBoxHrz::TListBoxHrz(QWidget *parent) : QListWidget(parent)
{
    setItemDelegate(new TabbedRowDelegate(this));
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Every row has the same size (the extent by one line), which keeps long lists fast.
    setUniformItemSizes(true);
}

int TListBoxHrz::CurrentWidth() const
{
    return m_currentWidth;
}

void TListBoxHrz::setCurrentWidth(int width)
{
    if (width == m_currentWidth)
        return;
    m_currentWidth = width;
    scheduleDelayedItemsLayout();
}

int TListBoxHrz::tabWidth() const
{
    // A horizontal dialog unit is a quarter of the font's average character width.
    return std::max(1, m_tabStopUnits * fontMetrics().averageCharWidth() / 4);
}

int TListBoxHrz::tabStopUnits() const
{
    return m_tabStopUnits;
}

void TListBoxHrz::setTabStopUnits(int units)
{
    if (units <= 0 || units == m_tabStopUnits)
        return;
    m_tabStopUnits = units;
    if (count() > 0)
        recomputeWidth();
    viewport()->update();
}

int TListBoxHrz::textWidth(const QString &text) const
{
    QTextLayout layout(text, font());
    layout.setTextOption(tabbedOption(tabWidth()));
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();
    return qCeil(line.naturalTextWidth());
}

int TListBoxHrz::rowWidth(const QString &text) const
{
    return textWidth(text + u"XX"_s);
}

void TListBoxHrz::growFor(const QString &text)
{
    const int width = rowWidth(text);
    if (m_currentWidth < width)
        setCurrentWidth(width + tabWidth());
}

void TListBoxHrz::recomputeWidth()
{
    int widest = 0;
    for (int row = 0; row < count(); ++row)
        widest = qMax(widest, rowWidth(item(row)->text()));
    setCurrentWidth(widest + tabWidth());
}

void TListBoxHrz::addString(const QString &text)
{
    addItem(text);
    growFor(text);
}

void TListBoxHrz::insertString(int row, const QString &text)
{
    insertItem(row < 0 ? count() : row, text);
    growFor(text);
}

void TListBoxHrz::deleteString(int row)
{
    if (row >= 0 && row < count())
        delete takeItem(row);
    recomputeWidth();
}

void TListBoxHrz::clearStrings()
{
    clear();
    setCurrentWidth(0);
}

QStringList TListBoxHrz::strings() const
{
    QStringList list;
    list.reserve(count());
    for (int row = 0; row < count(); ++row)
        list.append(item(row)->text());
    return list;
}

void TListBoxHrz::changeEvent(QEvent *event)
{
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        recomputeWidth();
}
