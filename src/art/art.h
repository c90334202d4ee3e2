#pragma once

#include <QCursor>
#include <QIcon>
#include <QMap>
#include <QPixmap>

// The program's pictures, drawn for it and kept as PNG resources.
namespace Art {

// 16 x 16 icon of a block type (0 page details ... 7 forms), as in the palette, the block
// list and at the top of each editor panel.
QPixmap blockIcon(int blockType);

enum class Button { Create, Preview, Save, Upload, Help, Hosting, Browse, Delete };
// 32 x 32 pictures of the four large buttons; 16 x 16 for Help, Hosting, Browse and Delete.
QPixmap buttonPicture(Button button);

// 32 x 32 bin pictures: empty or full.
QPixmap trash(bool full);

// 32 x 32 icons of the templates dialog: 0 template, 1 project.
QPixmap documentIcon(int index);

// 16 x 16 icons of the form field kinds (0 text box ... 5 button).
QPixmap fieldKindIcon(int kind);

enum class PanelButton { Add, Remove, ApplyEdit, Edit, Favorites, Bookmarks, ImportText };
// 16 x 16 icons of the editor panels' small buttons, with a grey version for their disabled
// state.
QIcon panelIcon(PanelButton button);

// The drag cursor of the palette and the link list.
QCursor newDragCursor();

// The pointer over the colour picker's palette grid.
QCursor eyedropperCursor();

// 32 x 32 icon of a server profile in the upload wizard's list.
QPixmap serverIcon();

// The frames of the upload wizard's animation: 16 pictures of 260 x 40, shown 100 ms apart.
QList<QPixmap> uploadAnimation();

// The 400 x 320 splash picture.
QPixmap splash();

// The program's window icon.
QIcon applicationIcon();

// The PNG files of the program's icon and of the templates dialog's document icons (0 template,
// 1 project), keyed by their size in pixels: every size they are drawn in, for the desktop.
QMap<int, QByteArray> applicationIconFiles();
QMap<int, QByteArray> documentIconFiles(int index);

} // namespace Art
