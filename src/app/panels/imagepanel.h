#pragma once

#include "app/panels/blockpanel.h"

#include <memory>

class QAbstractScrollArea;

namespace Ui {
class TImagePanel;
}

// Places control inside the scroll box's client area without changing its size: centred on
// each axis where it fits (an odd pixel of room stays right of or below it), 12 pixels from
// the edge where it does not.
void CentreInScrollBox(const QAbstractScrollArea *box, QWidget *control);

// An image block: the picture, which is picked through a dialog, previewed and copied into the
// upload image folder, its size, alignment and hint as the page writes them, and an optional
// link target.
class TImagePanel : public TBlockPanel
{
    Q_OBJECT

public:
    explicit TImagePanel(QWidget *parent = nullptr);
    ~TImagePanel() override;

    void load(const TPagelette &doc, const TPageItem &item) override;
    void commit(TBlockEdit &edit) override;

    // The folder whose "Upload/images/" holds the pictures of image blocks.
    void setProgramFolder(const QString &folder);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showStoredPicture();
    void centrePreview();
    void pickPicture();
    // Shows the picture at path in the preview and its pixel size in the height and width
    // boxes; false, with the panel unchanged, when it cannot be decoded.
    bool showPickedPicture(const QString &path);

    std::unique_ptr<Ui::TImagePanel> ui;
    QString m_programFolder;
    QString m_imagePath; // the picture the preview shows, or would show if it existed
};
