#pragma once

#include <QFileDialog>
#include <QSize>

class QLabel;

// The picture dialog (dlgPicture): a file-open dialog with a preview pane beside the file list
// that shows the selected picture, scaled down to fit, and its size in pixels. Pictures are
// decoded by the program's own decoders, so the pane shows what the image panel will show.
class TPictureDialog : public QFileDialog
{
    Q_OBJECT

public:
    // The pictures the program decodes, in the program's filter notation.
    static constexpr QStringView kFilter = u"Images Files|*.gif;*.jpg;*.jpeg;*.png;*.bmp";
    // Pictures larger than this square are scaled down to fit it in the preview.
    static constexpr int kPreviewSide = 200;

    // filter in the program's notation ("Images Files|*.gif;*.jpg"); the file name starts empty.
    TPictureDialog(QWidget *parent, const QString &filter, const QString &initialFolder);
    ~TPictureDialog() override;

    // Shows the dialog modally and returns the chosen file, or an empty string when the user
    // cancels. FileDialogs' test hook answers it like the other open dialogs.
    static QString getPictureFileName(QWidget *parent, const QString &filter, const QString &initialFolder);

    // Shows the picture at path in the preview pane (done for every file the user selects). A
    // folder or an empty path clears the pane; a file that cannot be decoded shows why.
    void showPreview(const QString &path);
    // The pixel size of the picture the pane shows; empty when it shows none.
    QSize previewedSize() const;

private:
    void buildPreviewPane();
    void clearPreview(const QString &message);

    QLabel *m_picture = nullptr;
    QLabel *m_caption = nullptr;
    QSize m_previewed;
};
