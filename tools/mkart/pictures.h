#pragma once

#include <QList>
#include <QPainter>
#include <QPoint>
#include <QSize>
#include <QString>

#include <functional>

// One picture of the program: drawn on a grid of its nominal size, written as "<name>.png"
// and, when 2 is among its scales, as "<name>@2x.png".
struct Picture
{
    QString name;
    QSize size;
    std::function<void(QPainter &)> draw;
    QList<int> scales = {1, 2};
    // Cursors only: the pixel the pointer acts at, stored in the PNG as the text "HotSpot".
    QPoint hotSpot = {-1, -1};
};

// The block, button, bin, document, form field and cursor pictures.
QList<Picture> iconPictures();
// The splash picture and the application icon in its sizes.
QList<Picture> brandPictures();
// The add, remove, edit, favourites, bookmarks and import buttons of the editor panels.
QList<Picture> panelPictures();
// The upload wizard's server icon and the 16 frames (260 x 40 each, side by side) of its animation.
QList<Picture> publishPictures();
// The eyedropper cursor of the colour picker's palette grid.
Picture eyedropperPicture();
