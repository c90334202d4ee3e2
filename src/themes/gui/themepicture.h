#pragma once

#include <QImage>
#include <QString>

class QWidget;

// The pictures of the theme dialog: choosing one and decoding it for the preview.
namespace ThemePicture {

inline constexpr QStringView kFilter = u"Images Files|*.gif;*.jpg;*.jpeg;*.png;*.bmp";

// A plain open dialog for pictures in folder with fileName preset; empty when cancelled. It
// takes the answers of FileDialogs' test hook.
QString choose(QWidget *parent, const QString &folder, const QString &fileName);

// The picture at path through Qt's image readers; null when it cannot be decoded.
QImage read(const QString &path);

} // namespace ThemePicture
