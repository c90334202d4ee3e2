#include "palettegrid.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <qdrawutil.h>

#include <algorithm>

TPaletteGrid::TPaletteGrid(QWidget *parent)
    : QWidget(parent)
{
}

int TPaletteGrid::cellAt(int coordinate)
{
    // Three pixels in from the cell's left edge; division truncates toward zero, so the first
    // three pixels join cell 0. The first pixel of each later square still belongs to the cell
    // before it, as the grid has always picked.
    return (coordinate - 3) / kPitch;
}

void TPaletteGrid::setTable(const Palette::Table *table)
{
    m_table = table;
    update();
}

void TPaletteGrid::paintEvent(QPaintEvent *event)
{
    if (!m_table)
        return;
    QPainter painter(this);
    const QRect area = event->rect();
    // Cell (r, c) has its box from (1 + 15c, 1 + 15r) and its square one pixel inside it.
    const int firstRow = std::max(0, (area.top() - 1) / kPitch);
    const int firstColumn = std::max(0, (area.left() - 1) / kPitch);
    for (int row = firstRow; 1 + kPitch * row < height(); ++row) {
        for (int column = firstColumn; 1 + kPitch * column < width(); ++column) {
            const int index = row * kCells + column;
            QColor colour = Qt::white;
            if (index < Palette::kColors) {
                const TColor c = (*m_table)[size_t(index)];
                colour = QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
            }
            painter.fillRect(QRect(2 + kPitch * column, 2 + kPitch * row, kSquare, kSquare), colour);
        }
    }
    qDrawWinPanel(&painter, rect(), palette(), true);
}

void TPaletteGrid::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT pressed(event->position().toPoint());
    QWidget::mousePressEvent(event);
}
