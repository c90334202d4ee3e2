#pragma once

#include "themes/palettefile.h"

#include <QWidget>

// The colour grid of the picker: 16 x 16 squares of 13 x 13 pixels on a 15-pixel pitch inside
// a sunken edge. It shows nothing until it is given a palette.
class TPaletteGrid : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kPitch = 15;
    static constexpr int kSquare = 13;
    static constexpr int kCells = 16; // per row and per column

    // The row or column picked by a mouse coordinate: c for 15c + 3 to 15c + 17, and 0 also
    // for 0 to 2, while the square of c is painted at 15c + 2 to 15c + 14. May be 16 or more
    // past the last square.
    static int cellAt(int coordinate);

    explicit TPaletteGrid(QWidget *parent = nullptr);

    // The palette to show; nullptr shows nothing. The table must outlive the grid.
    void setTable(const Palette::Table *table);
    const Palette::Table *table() const { return m_table; }

    // What a screen reader announces for cell index (row * kCells + column): its colour as
    // "#RRGGBB".
    QString cellName(int index) const;
    // Cell index's square, in the grid's coordinates.
    static QRect cellRect(int index);
    // The cell the arrow keys last moved to, -1 before they did.
    int keyboardCell() const { return m_keyCell; }

Q_SIGNALS:
    // The left mouse button went down at pos.
    void pressed(QPoint pos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    // The arrow keys, Home and End pick a cell as a click on it would.
    void keyPressEvent(QKeyEvent *event) override;

private:
    const Palette::Table *m_table = nullptr;
    int m_keyCell = -1;
};
