#include "themepicture.h"

#include "platform/gui/filedialogs.h"
#include "platform/gui/shell.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>

#include <optional>

using namespace Qt::StringLiterals;

namespace ThemePicture {

QString choose(QWidget *parent, const QString &folder, const QString &fileName)
{
    const QString filter = kFilter.toString();
    if (std::optional<QString> answer = FileDialogs::takeTestAnswer(filter, folder))
        return *answer;
    QFileDialog dialog(parent, u"Open Picture"_s);
    dialog.setObjectName(u"dlgPicture"_s);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(FileDialogs::toQtFilters(filter));
    dialog.setDirectory(folder);
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QImage read(const QString &path)
{
    QImageReader reader(path);
    return reader.read();
}

bool copyIntoFolder(const QString &source, const QString &folder, QString &error)
{
    const QString target = folder + QFileInfo(source).fileName();
    // The shell's file lists are separated by commas, so a path with a comma is copied here.
    if (!source.contains(u',') && !target.contains(u',')) {
        if (ShellFileOperation(source, target, ShellCopy, 0, &error))
            return true;
        if (error.isEmpty())
            error = u"The file could not be copied."_s;
        return false;
    }
    if (!QFileInfo(source).isFile()) {
        error = u"The file \"%1\" does not exist."_s.arg(QDir::toNativeSeparators(source));
        return false;
    }
    if (!QDir().mkpath(folder)) {
        error = u"Cannot create the folder \"%1\"."_s.arg(QDir::toNativeSeparators(folder));
        return false;
    }
    QFile file(source);
    if (file.copy(target))
        return true;
    error = file.errorString();
    return false;
}

} // namespace ThemePicture
