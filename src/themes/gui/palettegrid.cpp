#include "palettegrid.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// One square of the grid on the accessibility bus.
class PaletteCell : public QAccessibleInterface
{
public:
    PaletteCell(TPaletteGrid *grid, int index) : m_grid(grid), m_index(index) {}

    bool isValid() const override { return m_grid && m_index >= 0 && m_index < Palette::kColors; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_grid); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && m_grid ? m_grid->cellName(m_index) : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!m_grid)
            return {};
        const QRect cell = TPaletteGrid::cellRect(m_index);
        return QRect(m_grid->mapToGlobal(cell.topLeft()), cell.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.selectable = true;
        state.selected = m_grid && m_grid->keyboardCell() == m_index;
        return state;
    }

private:
    QPointer<TPaletteGrid> m_grid;
    int m_index;
};

// The grid as a list of its cells, each made when first asked for and kept for the grid's life.
class PaletteGridInterface : public QAccessibleWidget
{
public:
    explicit PaletteGridInterface(TPaletteGrid *grid) : QAccessibleWidget(grid, QAccessible::List) {}
    ~PaletteGridInterface() override
    {
        for (const QAccessible::Id id : std::as_const(m_cells))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return grid()->table() ? Palette::kColors : 0; }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (const auto id = m_cells.value(index))
            return QAccessible::accessibleInterface(id);
        QAccessibleInterface *cell = new PaletteCell(grid(), index);
        m_cells.insert(index, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (auto cell = m_cells.cbegin(); cell != m_cells.cend(); ++cell) {
            if (QAccessible::accessibleInterface(cell.value()) == child)
                return cell.key();
        }
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint pos = grid()->mapFromGlobal(QPoint(x, y));
        const int row = TPaletteGrid::cellAt(pos.y());
        const int column = TPaletteGrid::cellAt(pos.x());
        if (row < 0 || column < 0 || row >= TPaletteGrid::kCells || column >= TPaletteGrid::kCells)
            return nullptr;
        return child(row * TPaletteGrid::kCells + column);
    }

private:
    TPaletteGrid *grid() const { return static_cast<TPaletteGrid *>(widget()); }
    mutable QHash<int, QAccessible::Id> m_cells;
};

QAccessibleInterface *paletteGridInterface(const QString &className, QObject *object)
{
    if (className == u"TPaletteGrid" && object && object->isWidgetType())
        return new PaletteGridInterface(static_cast<TPaletteGrid *>(object));
    return nullptr;
}

} // namespace

TPaletteGrid::TPaletteGrid(QWidget *parent)
    : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(paletteGridInterface);
        return true;
    }();
    Q_UNUSED(installed);
    // Out of the dialog's Tab order, which the edits make; once clicked, the arrows pick.
    setFocusPolicy(Qt::ClickFocus);
    setAccessibleName(u"Colours"_s);
}

QString TPaletteGrid::cellName(int index) const
{
    if (!m_table || index < 0 || index >= Palette::kColors)
        return {};
    const TColor c = (*m_table)[size_t(index)];
    return u"#%1"_s.arg(QString::asprintf("%02X%02X%02X", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
}

QRect TPaletteGrid::cellRect(int index)
{
    return QRect(2 + kPitch * (index % kCells), 2 + kPitch * (index / kCells), kSquare, kSquare);
}

void TPaletteGrid::keyPressEvent(QKeyEvent *event)
{
    int cell = m_keyCell < 0 ? 0 : m_keyCell;
    switch (event->key()) {
    case Qt::Key_Left:
        cell -= cell % kCells > 0 ? 1 : 0;
        break;
    case Qt::Key_Right:
        cell += cell % kCells < kCells - 1 ? 1 : 0;
        break;
    case Qt::Key_Up:
        cell -= cell >= kCells ? kCells : 0;
        break;
    case Qt::Key_Down:
        cell += cell + kCells < Palette::kColors ? kCells : 0;
        break;
    case Qt::Key_Home:
        cell = 0;
        break;
    case Qt::Key_End:
        cell = Palette::kColors - 1;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (m_keyCell < 0 && event->key() != Qt::Key_End)
        cell = 0; // the first arrow picks the first cell
    const bool moved = cell != m_keyCell;
    m_keyCell = cell;
    if (!moved)
        return;
    // The square's centre, picked as a click there would pick it.
    Q_EMIT pressed(cellRect(cell).center());
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(cell);
    QAccessible::updateAccessibility(&focus);
    update();
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
    if (hasFocus() && m_keyCell >= 0) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = cellRect(m_keyCell).adjusted(-1, -1, 1, 1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void TPaletteGrid::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT pressed(event->position().toPoint());
    QWidget::mousePressEvent(event);
}
