#pragma once

#include <QImage>
#include <QString>

class QWidget;

// The pictures of the theme dialog: choosing one, decoding it for the preview and storing it
// in the background folder.
namespace ThemePicture {

inline constexpr QStringView kFilter = u"Images Files|*.gif;*.jpg;*.jpeg;*.png;*.bmp";

// A plain open dialog for pictures in folder with fileName preset; empty when cancelled. It
// takes the answers of FileDialogs' test hook.
QString choose(QWidget *parent, const QString &folder, const QString &fileName);

// The picture at path through Qt's image readers; null when it cannot be decoded.
QImage read(const QString &path);

// Copies source into folder (ending with "/") under its own name, creating the folder when it
// is missing; false with the reason in error.
bool copyIntoFolder(const QString &source, const QString &folder, QString &error);

} // namespace ThemePicture
