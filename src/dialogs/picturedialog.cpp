#include "picturedialog.h"

#include "codecs/picturedecoder.h"
#include "platform/gui/busycursor.h"
#include "platform/gui/filedialogs.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QSplitter>
#include <QVBoxLayout>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr int kInitialWidth = 820;
constexpr int kInitialHeight = 460;

} // namespace

TPictureDialog::TPictureDialog(QWidget *parent, const QString &filter, const QString &initialFolder)
    : QFileDialog(parent, u"Open Picture"_s)
{
    setObjectName(u"dlgPicture"_s);
    // Our own pane goes into the dialog's layout, which only the non-native dialog has.
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFile);
    const QStringList filters = FileDialogs::toQtFilters(filter);
    if (!filters.isEmpty())
        setNameFilters(filters);
    if (!initialFolder.isEmpty())
        setDirectory(initialFolder);
    buildPreviewPane();
    // Room for the file list's columns and the whole filter beside the preview.
    resize(sizeHint().expandedTo(QSize(kInitialWidth, kInitialHeight)));
    connect(this, &QFileDialog::currentChanged, this, &TPictureDialog::showPreview);
}

TPictureDialog::~TPictureDialog() = default;

void TPictureDialog::buildPreviewPane()
{
    auto *pane = new QWidget(this);
    pane->setObjectName(u"pnlPicturePreview"_s);
    auto *column = new QVBoxLayout(pane);
    column->setContentsMargins(0, 0, 0, 0);

    auto *title = new QLabel(u"Preview"_s, pane);
    title->setObjectName(u"lblPicturePreview"_s);
    column->addWidget(title);

    m_picture = new QLabel(pane);
    m_picture->setObjectName(u"imgPicturePreview"_s);
    m_picture->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setWordWrap(true);
    m_picture->setBackgroundRole(QPalette::Base);
    m_picture->setAutoFillBackground(true);
    const int frame = 2 * m_picture->frameWidth();
    m_picture->setFixedSize(kPreviewSide + frame, kPreviewSide + frame);
    column->addWidget(m_picture);

    m_caption = new QLabel(pane);
    m_caption->setObjectName(u"lblPictureSize"_s);
    m_caption->setTextFormat(Qt::PlainText); // may name the file
    m_caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_caption->setWordWrap(true);
    m_caption->setFixedWidth(m_picture->width());
    column->addWidget(m_caption);
    column->addStretch(1);

    // Beside the file list, in a column of its own.
    auto *grid = qobject_cast<QGridLayout *>(layout());
    Q_ASSERT(grid);
    if (!grid)
        return;
    int row = 0;
    int rowSpan = grid->rowCount();
    if (auto *files = findChild<QSplitter *>(); files && grid->indexOf(files) >= 0) {
        int column = 0;
        int columnSpan = 0;
        grid->getItemPosition(grid->indexOf(files), &row, &column, &rowSpan, &columnSpan);
    }
    grid->addWidget(pane, row, grid->columnCount(), rowSpan, 1);
}

QString TPictureDialog::getPictureFileName(QWidget *parent, const QString &filter, const QString &initialFolder)
{
    if (std::optional<QString> answer = FileDialogs::takeTestAnswer(filter, initialFolder))
        return *answer;
    TPictureDialog dialog(parent, filter, initialFolder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void TPictureDialog::showPreview(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        clearPreview({});
        return;
    }
    Codecs::Picture picture;
    {
        BusyCursor busy;
        picture = Codecs::decodePicture(path);
    }
    if (!picture.ok()) {
        clearPreview(picture.error);
        return;
    }
    QPixmap pixmap = QPixmap::fromImage(picture.image);
    if (pixmap.isNull()) {
        clearPreview(u"The picture is too large to show."_s);
        return;
    }
    if (pixmap.width() > kPreviewSide || pixmap.height() > kPreviewSide)
        pixmap = pixmap.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_picture->setPixmap(pixmap);
    m_previewed = picture.image.size();
    m_caption->setText(u"%1 \u00d7 %2 pixels"_s.arg(m_previewed.width()).arg(m_previewed.height()));
}

void TPictureDialog::clearPreview(const QString &message)
{
    m_picture->clear();
    m_previewed = QSize();
    if (message.isEmpty()) {
        m_caption->clear();
        return;
    }
    m_picture->setText(u"No Preview"_s);
    m_caption->setText(message);
}

QSize TPictureDialog::previewedSize() const
{
    return m_previewed;
}
