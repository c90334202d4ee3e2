#include "blockeditor.h"
#include "ui_blockeditor.h"

#include "art/art.h"
#include "codecs/picturedecoder.h"
#include "dialogs/miscdialog.h"
#include "document/pagemodel.h"
#include "platform/gui/busycursor.h"
#include "platform/gui/help.h"
#include "platform/programfolder.h"

#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// The preview of the image panel keeps this much room beyond a picture larger than its box,
// and puts such a picture this far from the top-left corner.
constexpr int kScrollMargin = 10;
constexpr int kLargePictureOffset = 12;

// The line preview's top edge below the top of the room the panel keeps for it.
constexpr int kLinePreviewTop = 6;

struct HelpEntry
{
    const char *control;
    int topic;
    bool f1Only;
};

// Help topics of the panels' controls. Labels share the topic of the control they name.
constexpr HelpEntry kHelpTopics[] = {
    {"lblPage2", 10, false},       {"txtPageTitle", 10, false},  {"chkLinkUnderline", 11, false},
    {"lblPage3", 12, false},       {"lstMeta", 12, false},       {"lblPage4", 13, false},
    {"lblPage5", 14, false},       {"lblImage7", 16, false},     {"cbImageAlign", 16, false},
    {"lblImage5", 17, false},      {"txtImageW", 17, false},     {"lblImage4", 18, false},
    {"txtImageH", 18, false},      {"lblImage2", 19, false},     {"txtImageFile", 19, false},
    {"sboxImages", 20, false},     {"imgImageView", 20, false},  {"lblImage6", 21, false},
    {"txtImageAlt", 21, false},    {"btnParagraph", 22, false},  {"lblHeading2", 26, false},
    {"txtHeading", 26, false},     {"chkEmail", 27, false},      {"lblLink3", 28, false},
    {"txtLinkText", 28, false},    {"lblLink2", 29, false},      {"txtLinkAddress", 29, false},
    {"lblImage3", 31, false},      {"txtImageLink", 31, false},  {"chkLink", 33, false},
    {"lstLinks", 34, false},       {"lblText1", 35, false},      {"txtText", 35, false},
    {"lblBullet2", 48, false},     {"cbBullets", 48, false},     {"lblBullet1", 49, false},
    {"txtBullets", 49, true},      {"lblHR4", 50, false},        {"cbHR", 50, false},
    {"lblHR3", 51, false},         {"txtHRWidth", 51, false},    {"btnLeft", 103, false},
    {"btnCenter", 104, false},     {"btnRight", 105, false},     {"lblHR2", 190, false},
    {"chkNoShade", 190, false},    {"txtFormAddress", 200, true}, {"txtFormSubject", 200, true},
    {"txtFormURL", 200, true},     {"lvForms", 200, true},       {"btnFormOptions", 202, true},
    {"btnFormBasic", 203, true},
};

} // namespace

void CentreInScrollBox(const QAbstractScrollArea *box, QWidget *control)
{
    const QSize client = box->viewport()->size();
    const QSize size = control->size();
    const int left = client.width() >= size.width() ? (client.width() - size.width()) / 2 : kLargePictureOffset;
    const int top = client.height() >= size.height() ? (client.height() - size.height()) / 2 : kLargePictureOffset;
    control->move(left, top);
}

TBlockEditor::TBlockEditor(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::TBlockEditor>())
{
    ui->setupUi(this);
    m_programFolder = ProgramFolder();
    setUpControls();
    attachHelp();
    connectLinkPanel();
    connectImagePanel();

    connect(ui->btnTheme, &QPushButton::clicked, this, &TBlockEditor::themeRequested);
    connect(ui->chkLink, &QCheckBox::toggled, this, &TBlockEditor::updateDropBoxControls);
    connect(ui->cbHR, &QComboBox::currentIndexChanged, this, &TBlockEditor::showLineThickness);
    connect(ui->updnHRWidth, &TPanelUpDown::clicked, this, [this] {
        showLineWidth();
        centreLinePreview();
    });

    // At start the page details are in front, with the alignment bar behind them.
    ui->stkPanels->setCurrentWidget(ui->pnlPageProp);
    ui->pnlAlign->hide();
}

TBlockEditor::~TBlockEditor() = default;

void TBlockEditor::setUpControls()
{
    const std::pair<QLabel *, QLabel *> headings[] = {
        {ui->imgProp, ui->lblPage0},  {ui->imgHeading, ui->lblHeading0}, {ui->imgImage, ui->lblImage0},
        {ui->imgLink, ui->lblLink0},  {ui->imgText, ui->lblText0},       {ui->imgBullet, ui->lblBullet0},
        {ui->imgHR, ui->lblHR0},      {ui->imgForms, ui->lblForms0},
    };
    for (int type = 0; type < kBlockTypeCount; ++type) {
        auto [icon, caption] = headings[type];
        icon->setPixmap(Art::blockIcon(type));
        QFont font = caption->font();
        font.setBold(true);
        font.setPointSizeF(font.pointSizeF() * 1.25);
        caption->setFont(font);
    }

    const QIcon browse(Art::buttonPicture(Art::Button::Browse));
    for (QToolButton *button : {ui->btnImagePic, ui->btnImageLink, ui->btnLinkBrowse})
        button->setIcon(browse);
    for (QToolButton *button : {ui->btnImageIE, ui->btnLinkIE})
        button->setIcon(Art::panelIcon(Art::PanelButton::Favorites));
    for (QToolButton *button : {ui->btnImageNetscape, ui->btnLinkNetscape})
        button->setIcon(Art::panelIcon(Art::PanelButton::Bookmarks));
    for (QToolButton *button : {ui->btnMetaAdd, ui->btnLinkAdd, ui->btnFormAdd})
        button->setIcon(Art::panelIcon(Art::PanelButton::Add));
    for (QToolButton *button : {ui->btnMetaRemove, ui->btnLinkRemove, ui->btnFormRemove})
        button->setIcon(Art::panelIcon(Art::PanelButton::Remove));
    ui->btnLinkEdit->setIcon(Art::panelIcon(Art::PanelButton::ApplyEdit));
    for (QToolButton *button : {ui->btnMetaEdit, ui->btnFormEdit})
        button->setIcon(Art::panelIcon(Art::PanelButton::Edit));
    ui->btnFormUp->setArrowType(Qt::UpArrow);
    ui->btnFormDown->setArrowType(Qt::DownArrow);
    for (QToolButton *button : {ui->btnTextImport, ui->btnBulletImport}) {
        button->setIcon(Art::panelIcon(Art::PanelButton::ImportText));
        button->setText(u"&Import..."_s);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    ui->btnHeadingFont->setProperty("tag", int(HeadingFont));
    ui->btnTextFont->setProperty("tag", int(TextFont));
    // The font buttons open the font chooser on their memo's font; OK makes the block apply it.
    for (QPushButton *button : {ui->btnHeadingFont, ui->btnTextFont}) {
        connect(button, &QPushButton::clicked, this, [this, button] {
            const int tag = button->property("tag").toInt();
            std::optional<BusyCursor> busy(std::in_place);
            TfrmMisc dialog(this);
            dialog.setDialogMode(TfrmMisc::FontMode);
            dialog.setSampleFont(memoFont(tag));
            dialog.prepare();
            busy.reset();
            if (dialog.exec() == QDialog::Accepted)
                setChosenFont(tag, dialog.sampleFont());
        });
    }

    // The designed fonts of the heading and paragraph boxes.
    showMemoFont(HeadingFont);
    showMemoFont(TextFont);

    // No alignment word until a block gives one.
    ui->cbImageAlign->setCurrentIndex(-1);
    ui->cbImageAlign->setEditText(QString());
    ui->cbBullets->setCurrentIndex(int(lsDisc));

    // Tab stops of the two-column lists, in dialog units.
    ui->lstLinks->setTabStopUnits(20);
    ui->lstMeta->setTabStopUnits(30);

    reserveDescriptionLines();
    alignMetaColumnCaptions();

    ui->lvForms->header()->setStretchLastSection(true);
    ui->lvForms->setColumnWidth(0, 180);
    ui->lvForms->setIconSize(QSize(16, 16));

    // The line preview lives outside the panel's layout: its size and place are what it shows.
    m_bevHR = new QFrame(ui->pnlHR);
    m_bevHR->setObjectName(u"bevHR"_s);
    m_bevHR->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_bevHR->setLineWidth(1);
    m_bevHR->resize(kDesignedLineWidth, 3);
    ui->updnHRWidth->setMinimum(5);
    ui->updnHRWidth->setMaximum(100);
    ui->updnHRWidth->setIncrement(5);
    ui->updnHRWidth->setAssociate(ui->txtHRWidth);
    ui->updnHRWidth->setPosition(100);
    ui->cbHR->setCurrentIndex(0);
    ui->pnlHR->installEventFilter(this);
    ui->hrPreviewSlot->installEventFilter(this);

    ui->lblImageError->hide();
    ui->sboxImages->viewport()->installEventFilter(this);
    m_imagePath = m_programFolder + ProgramFiles::kUploadImages;
    ui->imgImageView->setToolTip(m_imagePath);
}

void TBlockEditor::reserveDescriptionLines()
{
    // A word-wrapped text takes more lines as the panel narrows, which the layouts leave out of
    // their minimum height. Reserve the lines it takes at the narrowest the editor can be, so
    // that no control below it is squeezed.
    const int narrowest = minimumSizeHint().width();
    for (int page = 0; page < ui->stkPanels->count(); ++page) {
        QWidget *panel = ui->stkPanels->widget(page);
        const QMargins margins = panel->layout()->contentsMargins();
        for (QLabel *label : panel->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
            if (!label->wordWrap())
                continue;
            label->setMinimumHeight(label->heightForWidth(narrowest - margins.left() - margins.right()));
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        }
    }
}

void TBlockEditor::alignMetaColumnCaptions()
{
    // "Name" and "Content" stand over the two columns of the meta tag list. Most of the names
    // the meta tag dialog offers are longer than one tab stop, so their content starts at the
    // stop after the longest of them.
    const TListBoxHrz *list = ui->lstMeta;
    const int tab = std::max(1, list->tabWidth());
    int longestName = 0;
    for (const QString &name : {u"Description"_s, u"Keywords"_s, u"Pics-Label"_s, u"Expires"_s, u"Reply-to"_s})
        longestName = std::max(longestName, list->fontMetrics().horizontalAdvance(name));
    const int contentColumn = (longestName / tab + 1) * tab;
    const int focusMargin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    const int textLeft = list->frameWidth() + focusMargin;
    ui->lblPage4->setContentsMargins(textLeft, 0, 0, 0);
    ui->lblPage4->setFixedWidth(textLeft + contentColumn);
}

void TBlockEditor::attachHelp()
{
    for (const HelpEntry &entry : kHelpTopics) {
        auto *widget = findChild<QWidget *>(QLatin1StringView(entry.control));
        Q_ASSERT(widget);
        if (!widget)
            continue;
        if (entry.f1Only)
            Help::attachF1(widget, entry.topic);
        else
            Help::attachWhatsThis(widget, entry.topic);
    }
}

QSize TBlockEditor::minimumSizeHint() const
{
    QSize hint = QWidget::minimumSizeHint();
    if (ui->pnlAlign->isHidden()) {
        const QSize bar = ui->pnlAlign->minimumSizeHint();
        const QMargins margins = layout()->contentsMargins();
        hint.setWidth(std::max(hint.width(), bar.width() + margins.left() + margins.right()));
        hint.rheight() += bar.height() + layout()->spacing();
    }
    return hint;
}

int TBlockEditor::currentBlockIndex() const
{
    return m_currentBlock;
}

void TBlockEditor::setCurrentBlockIndex(int index)
{
    m_currentBlock = index;
}

bool TBlockEditor::showLogo() const
{
    return ui->chkShowLogo->isChecked();
}

void TBlockEditor::hideAlignBar()
{
    ui->pnlAlign->hide();
}

bool TBlockEditor::alignBarVisible() const
{
    return !ui->pnlAlign->isHidden();
}

void TBlockEditor::storeLineReferenceWidth()
{
    m_lineReferenceWidth = m_bevHR->width();
}

void TBlockEditor::setProgramFolder(const QString &folder)
{
    m_programFolder = folder;
    if (!m_programFolder.isEmpty() && !m_programFolder.endsWith(u'/'))
        m_programFolder += u'/';
}

TFontSpec TBlockEditor::memoFont(int tag) const
{
    return tag == HeadingFont ? m_headingFont.fontSpec : m_textFont.fontSpec;
}

void TBlockEditor::setChosenFont(int tag, const TFontSpec &font)
{
    TMemoFont &state = memoFontState(tag);
    state.fontSpec = font;
    state.applyFont = 1;
    showMemoFont(tag);
}

TMemoFont &TBlockEditor::memoFontState(int tag)
{
    return tag == HeadingFont ? m_headingFont : m_textFont;
}

void TBlockEditor::showMemoFont(int tag)
{
    PanelFont::showIn(tag == HeadingFont ? ui->txtHeading : ui->txtText, memoFontState(tag).fontSpec);
}

int TBlockEditor::linePreviewWidth(int referenceWidth, int percent)
{
    const qint64 scaled = qint64(referenceWidth) * percent;
    qint64 width = scaled / 100;
    const qint64 rest = scaled % 100;
    if (rest > 50 || (rest == 50 && width % 2 != 0))
        ++width;
    else if (rest < -50 || (rest == -50 && width % 2 != 0))
        --width;
    return int(width);
}

void TBlockEditor::showLineThickness()
{
    const int item = ui->cbHR->currentIndex();
    if (item >= 0 && item < 6)
        m_bevHR->resize(m_bevHR->width(), 3 * (item + 1));
}

void TBlockEditor::showLineWidth()
{
    m_bevHR->resize(linePreviewWidth(m_lineReferenceWidth, ui->updnHRWidth->position()), m_bevHR->height());
}

void TBlockEditor::centreLinePreview()
{
    m_bevHR->move((ui->pnlHR->width() - m_bevHR->width()) / 2, m_bevHR->y());
}

void TBlockEditor::placeLinePreview()
{
    m_bevHR->move(m_bevHR->x(), ui->hrPreviewSlot->y() + kLinePreviewTop);
}

void TBlockEditor::showImagePreview()
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
    ui->imgImageView->setToolTip(m_imagePath);
    ui->lblImageError->setVisible(picture.isNull());
    ui->sboxImages->horizontalScrollBar()->setValue(0);
    ui->sboxImages->verticalScrollBar()->setValue(0);
    centreImagePreview();
}

void TBlockEditor::centreImagePreview()
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

void TBlockEditor::updateDropBoxControls()
{
    const bool dropBox = ui->chkLink->isChecked();
    const bool hasEntries = dropBox && ui->lstLinks->count() > 0;
    ui->btnLinkAdd->setEnabled(dropBox);
    ui->lstLinks->setEnabled(dropBox);
    ui->btnLinkRemove->setEnabled(hasEntries);
    ui->btnLinkEdit->setEnabled(hasEntries);
}

bool TBlockEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->lstLinks->viewport() && linkListEvent(event))
        return true;
    if (event->type() == QEvent::Resize || event->type() == QEvent::Move) {
        if (watched == ui->sboxImages->viewport() && event->type() == QEvent::Resize) {
            centreImagePreview();
        } else if (watched == ui->hrPreviewSlot) {
            placeLinePreview();
        } else if (watched == ui->pnlHR && event->type() == QEvent::Resize) {
            // Keep the preview in the middle as the panel changes size.
            centreLinePreview();
        }
    }
    return QWidget::eventFilter(watched, event);
}
