#include "imagepanel.h"
#include "ui_imagepanel.h"

#include "app/panels/panelcommands.h"
#include "art/art.h"
#include "codecs/picturedecoder.h"
#include "dialogs/picturedialog.h"
#include "document/blockedit.h"
#include "platform/gui/busycursor.h"
#include "platform/gui/messages.h"
#include "platform/gui/picturecopy.h"
#include "platform/gui/plaintext.h"
#include "platform/programfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QScrollBar>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// The preview keeps this much room beyond a picture larger than its box, and puts such a
// picture this far from the top-left corner.
constexpr int kScrollMargin = 10;
constexpr int kLargePictureOffset = 12;

} // namespace

void CentreInScrollBox(const QAbstractScrollArea *box, QWidget *control)
{
    const QSize client = box->viewport()->size();
    const QSize size = control->size();
    const int left = client.width() >= size.width() ? (client.width() - size.width()) / 2 : kLargePictureOffset;
    const int top = client.height() >= size.height() ? (client.height() - size.height()) / 2 : kLargePictureOffset;
    control->move(left, top);
}

TImagePanel::TImagePanel(QWidget *parent)
    : TBlockPanel(parent), ui(std::make_unique<Ui::TImagePanel>()), m_programFolder(ProgramFolder())
{
    ui->setupUi(this);
    setUpHeading(ui->imgImage, ui->lblImage0, btImage);
    ui->btnImagePic->setIcon(Art::buttonPicture(Art::Button::Browse));
    PanelCommands::setUpLinkTargetButtons(this, ui->btnImageLink, ui->btnImageIE, ui->btnImageNetscape,
                                          ui->txtImageLink);
    // No alignment word until a block gives one.
    ui->cbImageAlign->setCurrentIndex(-1);
    ui->cbImageAlign->setEditText(QString());

    ui->lblImageError->hide();
    ui->sboxImages->viewport()->installEventFilter(this);
    m_imagePath = m_programFolder + ProgramFiles::kUploadImages;
    ui->imgImageView->setToolTip(PlainToolTip(m_imagePath));

    attachWhatsThis({{ui->lblImage7, 16}, {ui->cbImageAlign, 16}, {ui->lblImage5, 17}, {ui->txtImageW, 17},
                     {ui->lblImage4, 18}, {ui->txtImageH, 18}, {ui->lblImage2, 19}, {ui->txtImageFile, 19},
                     {ui->sboxImages, 20}, {ui->imgImageView, 20}, {ui->lblImage6, 21}, {ui->txtImageAlt, 21},
                     {ui->lblImage3, 31}, {ui->txtImageLink, 31}});

    connect(ui->btnImagePic, &QToolButton::clicked, this, &TImagePanel::pickPicture);
}

TImagePanel::~TImagePanel() = default;

void TImagePanel::setProgramFolder(const QString &folder)
{
    m_programFolder = folder;
    if (!m_programFolder.isEmpty() && !m_programFolder.endsWith(u'/'))
        m_programFolder += u'/';
}

void TImagePanel::load(const TPagelette &, const TPageItem &item)
{
    const TImageBlock &block = item.ImageBlock;
    ui->txtImageFile->setText(block.FileName);
    ui->txtImageH->setText(block.Height);
    ui->txtImageW->setText(block.Width);
    ui->txtImageAlt->setText(block.Alt);
    ui->txtImageLink->setText(block.ImageLink);
    ui->cbImageAlign->setEditText(block.Align);
    m_imagePath = m_programFolder + ProgramFiles::kUploadImages + block.FileName;
    showStoredPicture();
}

void TImagePanel::commit(TBlockEdit &edit)
{
    // The name comes from the picture shown, never from what was typed into the name box.
    TImageBlock &block = edit.Item.ImageBlock;
    block.FileName = QFileInfo(m_imagePath).fileName();
    block.Height = ui->txtImageH->text();
    block.Width = ui->txtImageW->text();
    block.Alt = ui->txtImageAlt->text();
    block.Align = ui->cbImageAlign->currentText();
    block.ImageLink = ui->txtImageLink->text();
}

void TImagePanel::showStoredPicture()
{
    // A picture that cannot be read shows as missing; the block keeps its file name.
    QPixmap picture;
    if (QFileInfo(m_imagePath).isFile()) {
        BusyCursor busy;
        const Codecs::Picture decoded = Codecs::decodePicture(m_imagePath);
        if (decoded.ok())
            picture = QPixmap::fromImage(decoded.image);
    }
    if (picture.isNull())
        ui->imgImageView->clear();
    else
        ui->imgImageView->setPixmap(picture);
    ui->imgImageView->resize(picture.size());
    ui->imgImageView->setToolTip(PlainToolTip(m_imagePath));
    ui->lblImageError->setVisible(picture.isNull());
    ui->sboxImages->horizontalScrollBar()->setValue(0);
    ui->sboxImages->verticalScrollBar()->setValue(0);
    centrePreview();
}

void TImagePanel::centrePreview()
{
    QSize extent = ui->sboxImages->viewport()->size();
    for (QWidget *control : {static_cast<QWidget *>(ui->imgImageView), static_cast<QWidget *>(ui->lblImageError)}) {
        CentreInScrollBox(ui->sboxImages, control);
        if (!control->isHidden())
            extent = extent.expandedTo(QSize(control->x() + control->width() + kScrollMargin,
                                             control->y() + control->height() + kScrollMargin));
    }
    ui->sboxImagesCanvas->resize(extent);
}

void TImagePanel::pickPicture()
{
    const QString folder = m_programFolder + ProgramFiles::kUploadImages;
    const QString chosen = TPictureDialog::getPictureFileName(this, TPictureDialog::kFilter.toString(), folder);
    if (chosen.isEmpty())
        return;

    // The page names its picture without a folder: the picture has to be in the upload image
    // folder. A different one of the same name there is replaced, kept beside it under a new
    // name, or the pick is cancelled, as the user answers.
    const StoredPicture stored = StorePicture(this, chosen, folder);
    if (stored.outcome == StoredPicture::Cancelled)
        return;

    // A file that cannot be decoded leaves the previous picture and size; it is still taken.
    showPickedPicture(chosen);
    centrePreview();
    m_imagePath = stored.path;
    const QString name = QFileInfo(m_imagePath).fileName();
    ui->txtImageFile->setText(name);
    ui->imgImageView->setToolTip(PlainToolTip(m_imagePath));

    if (stored.outcome == StoredPicture::Failed) {
        const QString text = u"The picture \"%1\" could not be copied into the folder \"%2\".\n\n%3\n\n"
                             u"The page refers to the picture in that folder, so it will be missing from the "
                             u"page until a copy of it is there."_s;
        Messages::warning(this, text.arg(name, QDir::toNativeSeparators(folder), stored.error));
    }
}

bool TImagePanel::showPickedPicture(const QString &path)
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

bool TImagePanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->sboxImages->viewport() && event->type() == QEvent::Resize)
        centrePreview();
    return TBlockPanel::eventFilter(watched, event);
}
