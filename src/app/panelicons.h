#pragma once

#include <QIcon>

// The small pictures of the editor panels' buttons, drawn at 16 x 16.
namespace PanelIcons {

QIcon add();
QIcon remove();
QIcon applyEdit();
QIcon edit();
QIcon favorites();
QIcon bookmarks();
QIcon importText();

} // namespace PanelIcons
