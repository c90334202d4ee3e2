#pragma once

#include "themes/gui/palettefile.h"

#include <QWidget>

// The colour grid of the picker: 16 x 16 squares of 13 x 13 pixels on a 15-pixel pitch inside
// a sunken edge. It shows nothing until it is given a palette.
class TPaletteGrid : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kPitch = 15;
    static constexpr int kSquare = 13;

    explicit TPaletteGrid(QWidget *parent = nullptr);

    // The palette to show; nullptr shows nothing. The table must outlive the grid.
    void setTable(const Palette::Table *table);

Q_SIGNALS:
    // The left mouse button went down at pos.
    void pressed(QPoint pos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    const Palette::Table *m_table = nullptr;
};
