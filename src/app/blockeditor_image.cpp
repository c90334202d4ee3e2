#include "blockeditor.h"
#include "ui_blockeditor.h"

#include "codecs/picturedecoder.h"
#include "dialogs/picturedialog.h"
#include "platform/gui/busycursor.h"
#include "platform/gui/messages.h"
#include "platform/gui/shell.h"
#include "platform/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QScrollBar>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Copies source into folder under its own name; false with the reason in error.
bool copyIntoFolder(const QString &source, const QString &folder, QString &error)
{
    // The shell's file lists are separated by commas, so a comma in a path would split it in
    // two. Such a file is copied here instead, under the same rule: never over an existing one.
    if (!source.contains(u',') && !folder.contains(u',')) {
        if (ShellFileOperation(source, folder, ShellCopy, 0, &error))
            return true;
        if (error.isEmpty())
            error = u"The file could not be copied."_s;
        return false;
    }
    if (!QDir().mkpath(folder)) {
        error = u"Cannot create the folder \"%1\"."_s.arg(QDir::toNativeSeparators(folder));
        return false;
    }
    QFile file(source);
    if (file.copy(QDir(folder).filePath(QFileInfo(source).fileName())))
        return true;
    error = file.errorString();
    return false;
}

} // namespace

void TBlockEditor::connectImagePanel()
{
    connect(ui->btnImagePic, &QToolButton::clicked, this, &TBlockEditor::btnImagePicClick);
}

void TBlockEditor::btnImagePicClick()
{
    const QString folder = m_programFolder + ProgramFiles::kUploadImages;
    const QString chosen = TPictureDialog::getPictureFileName(this, TPictureDialog::kFilter.toString(), folder);
    if (chosen.isEmpty())
        return;

    // A file that cannot be decoded leaves the previous picture and size; it is still taken.
    showPickedPicture(chosen);
    centreImagePreview();
    const QString name = QFileInfo(chosen).fileName();
    ui->txtImageFile->setText(name);

    // The page names its picture without a folder: the picture has to be in the upload image
    // folder. One of the same name already there is never replaced, and is what the page uses.
    QString copyError;
    bool copied = true;
    {
        BusyCursor busy;
        const QString stored = folder + name;
        if (QFileInfo(stored).isFile()) {
            m_imagePath = chosen;
        } else {
            copied = copyIntoFolder(chosen, folder, copyError);
            m_imagePath = stored;
        }
    }
    ui->imgImageView->setToolTip(m_imagePath);

    if (!copied) {
        const QString text = u"The picture \"%1\" could not be copied into the folder \"%2\".\n\n%3\n\n"
                             u"The page refers to the picture in that folder, so it will be missing from the "
                             u"page until a copy of it is there."_s;
        Messages::warning(this, text.arg(name, QDir::toNativeSeparators(folder), copyError));
    }
}

bool TBlockEditor::showPickedPicture(const QString &path)
{
    // The busy cursor follows the decoder's own reports of starting and finishing its work.
    std::optional<BusyCursor> busy;
    const Codecs::Picture picture = Codecs::decodePicture(path, [&busy](Codecs::Progress progress) {
        if (progress == Codecs::Progress::Started)
            busy.emplace();
        else
            busy.reset();
    });
    busy.reset();
    if (!picture.ok())
        return false;
    const QPixmap pixmap = QPixmap::fromImage(picture.image);
    if (pixmap.isNull())
        return false;

    ui->lblImageError->hide();
    ui->imgImageView->setPixmap(pixmap);
    ui->imgImageView->resize(pixmap.size());
    ui->txtImageH->setText(QString::number(picture.height()));
    ui->txtImageW->setText(QString::number(picture.width()));
    // A new picture is seen from its top-left corner.
    ui->sboxImages->horizontalScrollBar()->setValue(0);
    ui->sboxImages->verticalScrollBar()->setValue(0);
    return true;
}
