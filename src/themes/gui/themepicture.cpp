#include "themepicture.h"

#include "platform/gui/filedialogs.h"

#include <QFileDialog>
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

} // namespace ThemePicture
