#include "miscdialog.h"

#include "bookmarks.h"
#include "platform/gui/busycursor.h"
#include "platform/gui/dialogframe.h"
#include "platform/gui/filedialogs.h"
#include "platform/gui/help.h"
#include "platform/gui/listboxhrz.h"
#include "platform/gui/messages.h"
#include "platform/settingsstore.h"
#include "themes/gui/colorpicker.h"

#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// The size list runs "7" down to "1", the HTML font sizes; item i stands for 20 - 2i points.
constexpr int kSizeItems = 7;
int itemPoints(int item)
{
    return 20 - 2 * item;
}
int pointsItem(int points)
{
    for (int item = 0; item < kSizeItems; ++item) {
        if (itemPoints(item) == points)
            return item;
    }
    return -1;
}

// Help topics of the controls.
constexpr int kHelpName = 39, kHelpSize = 38, kHelpStyles = 37, kHelpSample = 36;
constexpr int kHelpMetaText = 12, kHelpMetaName = 13, kHelpMetaContent = 14, kHelpBookmarks = 32;

const QStringList &metaNames()
{
    static const QStringList names{u"Description"_s, u"Keywords"_s, u"Pics-Label"_s, u"Expires"_s, u"Reply-to"_s};
    return names;
}

QColor screenColor(TColor color)
{
    // Negative values are system colours, which stand for a role; the sample then draws black.
    if (color < 0)
        return Qt::black;
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

// The browser keeps its settings apart from ours, under its own key of the user's store.
Bookmarks::NetscapeSettings readNetscapeSettings()
{
    const SettingsStore &store = SettingsStore::instance();
    const QString root = u"Software/Netscape/Netscape Navigator/"_s;
    return {store.readOtherProgramString(root + u"Bookmark List"_s, u"File Location"_s),
            store.readOtherProgramString(root + u"Biff"_s, u"CurrentUser"_s),
            store.readOtherProgramString(root + u"Main"_s, u"Install Directory"_s)};
}

QToolButton *styleButton(QWidget *parent, const QString &name, const QString &hint)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setFixedSize(25, 25);
    return button;
}

QIcon letterIcon(QChar letter, bool bold, bool italic, bool underline)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QFont font(u"Times New Roman"_s);
    font.setPixelSize(14);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    painter.setFont(font);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QString(letter));
    return QIcon(pixmap);
}

} // namespace

QStringList TfrmMisc::installedFaces()
{
    // A family installed by more than one foundry is listed once per foundry as
    // "Family [Foundry]"; a page can only name the family.
    QStringList faces;
    for (QString family : QFontDatabase::families()) {
        const qsizetype foundry = family.indexOf(" ["_L1);
        if (foundry > 0 && family.endsWith(u']'))
            family.truncate(foundry);
        faces << family;
    }
    faces.removeDuplicates();
    std::sort(faces.begin(), faces.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return faces;
}

bool pickColor(QWidget *parent, TColor &color)
{
    // The hourglass covers loading the picker and its palette, not the user's time in it.
    std::optional<BusyCursor> busy(std::in_place);
    TfrmColor picker(parent);
    picker.setPickedColor(color);
    busy.reset();
    if (picker.exec() != QDialog::Accepted)
        return false;
    color = picker.PickedColor();
    return true;
}

TfrmMisc::TfrmMisc(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmMisc"_s);
    setWindowTitle(u"Netscape Bookmarks"_s);

    m_pages = new QStackedWidget(this);
    buildFontPage();
    lstBookmarks = new TListBoxHrz(m_pages);
    lstBookmarks->setObjectName(u"lstBookmarks"_s);
    Help::attachWhatsThis(lstBookmarks, kHelpBookmarks);
    buildMetaPage();
    m_pages->addWidget(pnlFont);
    m_pages->addWidget(lstBookmarks);
    m_pages->addWidget(pnlMeta);

    btnOK = new QPushButton(u"OK"_s, this);
    btnOK->setObjectName(u"btnOK"_s);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(u"Cancel"_s, this);
    btnCancel->setObjectName(u"btnCancel"_s);
    for (QPushButton *button : {btnOK, btnCancel})
        button->setMinimumSize(75, 25);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstBookmarks, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 7, 5);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);

    setDialogMode(FontMode);
    showSample();
    // The designed client size, grown only when the fonts need more room.
    DialogFrame::makeFixedSize(this, minimumSizeHint().expandedTo(QSize(440, 206)));
}

TfrmMisc::~TfrmMisc() = default;

void TfrmMisc::buildFontPage()
{
    pnlFont = new QFrame(m_pages);
    pnlFont->setObjectName(u"pnlFont"_s);

    auto *Label4 = new QLabel(u"&Name"_s, pnlFont);
    Label4->setObjectName(u"Label4"_s);
    cbName = new QComboBox(pnlFont);
    cbName->setObjectName(u"cbName"_s);
    cbName->setMinimumWidth(185);
    Label4->setBuddy(cbName);

    auto *Label3 = new QLabel(u"&Size"_s, pnlFont);
    Label3->setObjectName(u"Label3"_s);
    cbSize = new QComboBox(pnlFont);
    cbSize->setObjectName(u"cbSize"_s);
    for (int item = 0; item < kSizeItems; ++item)
        cbSize->addItem(QString::number(kSizeItems - item));
    cbSize->setMinimumWidth(41);
    Label3->setBuddy(cbSize);

    auto *Label5 = new QLabel(u"Styles"_s, pnlFont);
    Label5->setObjectName(u"Label5"_s);
    btnBold = styleButton(pnlFont, u"btnBold"_s, u"Bold"_s);
    btnBold->setIcon(letterIcon(u'B', true, false, false));
    btnItalic = styleButton(pnlFont, u"btnItalic"_s, u"Italic"_s);
    btnItalic->setIcon(letterIcon(u'I', false, true, false));
    btnUnderline = styleButton(pnlFont, u"btnUnderline"_s, u"Underline"_s);
    btnUnderline->setIcon(letterIcon(u'U', false, false, true));
    btnColor = styleButton(pnlFont, u"btnColor"_s, u"Color"_s);
    for (QToolButton *button : {btnBold, btnItalic, btnUnderline})
        button->setCheckable(true);

    auto *shpBG = new QFrame(pnlFont);
    shpBG->setObjectName(u"shpBG"_s);
    shpBG->setFixedSize(278, 53);
    shpBG->setFrameShape(QFrame::Box);
    shpBG->setAutoFillBackground(true);
    QPalette white = shpBG->palette();
    white.setColor(QPalette::Window, Qt::white);
    shpBG->setPalette(white);
    lblPreview = new QLabel(u"Sample Font"_s, shpBG);
    lblPreview->setObjectName(u"lblPreview"_s);
    lblPreview->setAlignment(Qt::AlignCenter);
    auto *sampleLayout = new QVBoxLayout(shpBG);
    sampleLayout->setContentsMargins(2, 2, 2, 2);
    sampleLayout->addWidget(lblPreview);

    auto *styles = new QHBoxLayout;
    styles->setSpacing(2);
    for (QToolButton *button : {btnBold, btnItalic, btnUnderline, btnColor})
        styles->addWidget(button);
    styles->addStretch();

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(7);
    grid->setVerticalSpacing(2);
    grid->addWidget(Label4, 0, 0);
    grid->addWidget(cbName, 1, 0);
    grid->addWidget(Label3, 0, 1);
    grid->addWidget(cbSize, 1, 1);
    grid->addWidget(Label5, 0, 2);
    grid->addLayout(styles, 1, 2);

    auto *top = new QHBoxLayout;
    top->addStretch();
    top->addLayout(grid);
    top->addStretch();
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(shpBG);
    bottom->addStretch();
    auto *layout = new QVBoxLayout(pnlFont);
    layout->setContentsMargins(8, 20, 8, 8);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addLayout(bottom);
    layout->addStretch();

    Help::attachWhatsThis(Label4, kHelpName);
    Help::attachWhatsThis(cbName, kHelpName);
    Help::attachWhatsThis(Label3, kHelpSize);
    Help::attachWhatsThis(cbSize, kHelpSize);
    for (QWidget *widget : std::initializer_list<QWidget *>{Label5, btnBold, btnItalic, btnUnderline, btnColor})
        Help::attachWhatsThis(widget, kHelpStyles);
    Help::attachWhatsThis(shpBG, kHelpSample);
    Help::attachWhatsThis(lblPreview, kHelpSample);

    connect(cbName, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0)
            return;
        m_sample.Face = cbName->itemText(index);
        showSample();
    });
    connect(cbSize, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0)
            return;
        m_sample.Size = itemPoints(index);
        showSample();
    });
    connect(btnBold, &QToolButton::toggled, this, [this](bool down) {
        m_sample.Bold = down;
        showSample();
    });
    connect(btnItalic, &QToolButton::toggled, this, [this](bool down) {
        m_sample.Italic = down;
        showSample();
    });
    connect(btnUnderline, &QToolButton::toggled, this, [this](bool down) {
        m_sample.Underline = down;
        showSample();
    });
    connect(btnColor, &QToolButton::clicked, this, &TfrmMisc::btnColorClick);
}

void TfrmMisc::buildMetaPage()
{
    pnlMeta = new QFrame(m_pages);
    pnlMeta->setObjectName(u"pnlMeta"_s);
    pnlMeta->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    auto *lbl0 = new QLabel(
        u"Meta tags are used to embed hidden information about your web page for a browser or a search engine to use."_s,
        pnlMeta);
    lbl0->setObjectName(u"lbl0"_s);
    lbl0->setWordWrap(true);

    auto *Label1 = new QLabel(u"Meta &Content"_s, pnlMeta);
    Label1->setObjectName(u"Label1"_s);
    txtMetaContent = new QLineEdit(pnlMeta);
    txtMetaContent->setObjectName(u"txtMetaContent"_s);
    txtMetaContent->setMinimumWidth(369);
    Label1->setBuddy(txtMetaContent);

    auto *Label2 = new QLabel(u"Meta &Name (Right-click here for Meta Tag Tips)"_s, pnlMeta);
    Label2->setObjectName(u"Label2"_s);
    Label2->setToolTip(u"Right-click here for Meta Tag Tips"_s);
    cbMetaName = new QComboBox(pnlMeta);
    cbMetaName->setObjectName(u"cbMetaName"_s);
    cbMetaName->addItems(metaNames());
    cbMetaName->setMinimumWidth(153);
    cbMetaName->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    Label2->setBuddy(cbMetaName);

    auto *layout = new QVBoxLayout(pnlMeta);
    layout->setContentsMargins(16, 8, 16, 8);
    layout->setSpacing(2);
    layout->addWidget(lbl0);
    layout->addSpacing(6);
    layout->addWidget(Label1);
    layout->addWidget(txtMetaContent);
    layout->addSpacing(6);
    layout->addWidget(Label2);
    layout->addWidget(cbMetaName);
    layout->addStretch();

    Help::attachWhatsThis(lbl0, kHelpMetaText);
    Help::attachWhatsThis(Label1, kHelpMetaContent);
    Help::attachWhatsThis(txtMetaContent, kHelpMetaContent);
    // The right-click on the name label is the way to the meta tag tips.
    Help::attachWhatsThis(Label2, kHelpMetaName);
    Help::attachWhatsThis(cbMetaName, kHelpMetaName);

    connect(txtMetaContent, &QLineEdit::textChanged, this, &TfrmMisc::updateOk);
}

void TfrmMisc::setDialogMode(quint8 mode)
{
    m_mode = mode;
    switch (mode) {
    case FontMode:
        m_pages->setCurrentWidget(pnlFont);
        break;
    case BookmarkMode:
        m_pages->setCurrentWidget(lstBookmarks);
        break;
    case MetaMode:
        m_pages->setCurrentWidget(pnlMeta);
        break;
    default:
        break;
    }
}

void TfrmMisc::setSampleFont(const TFontSpec &font)
{
    m_sample = font;
    showSample();
}

void TfrmMisc::showSample()
{
    QFont font(m_sample.Face);
    if (m_sample.Size > 0)
        font.setPointSize(m_sample.Size);
    font.setBold(m_sample.Bold);
    font.setItalic(m_sample.Italic);
    font.setUnderline(m_sample.Underline);
    lblPreview->setFont(font);
    QPalette palette = lblPreview->palette();
    palette.setColor(QPalette::WindowText, screenColor(m_sample.Color));
    lblPreview->setPalette(palette);

    QPixmap swatch(16, 16);
    swatch.fill(screenColor(m_sample.Color));
    btnColor->setIcon(QIcon(swatch));
}

QString TfrmMisc::metaName() const
{
    return cbMetaName->currentIndex() < 0 ? QString() : cbMetaName->currentText();
}

void TfrmMisc::setMetaName(const QString &name)
{
    // MatchFixedString compares without regard to case.
    int index = cbMetaName->findText(name, Qt::MatchFixedString);
    // A name the list does not offer (from a page made elsewhere) is offered for this edit, so
    // that confirming the dialog keeps it rather than emptying it.
    if (index < 0 && !name.isEmpty()) {
        cbMetaName->addItem(name);
        index = cbMetaName->count() - 1;
    }
    cbMetaName->setCurrentIndex(index);
}

QString TfrmMisc::metaContent() const
{
    return txtMetaContent->text();
}

void TfrmMisc::setMetaContent(const QString &content)
{
    txtMetaContent->setText(content);
}

QString TfrmMisc::selectedBookmark() const
{
    const QListWidgetItem *item = lstBookmarks->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

QStringList TfrmMisc::bookmarks() const
{
    return lstBookmarks->strings();
}

bool TfrmMisc::loadBookmarks(const QString &path)
{
    const BusyCursor busy;
    QFile file(path);
    if (path.isEmpty() || !file.exists() || !file.open(QIODevice::ReadOnly))
        return false;
    QStringList found;
    const bool ok = Bookmarks::scan(file, found);
    for (const QString &address : std::as_const(found))
        lstBookmarks->addString(address);
    if (!ok)
        return false;
    if (lstBookmarks->count() == 0)
        lstBookmarks->addString(QString::fromUtf16(Bookmarks::kNoBookmarks));
    lstBookmarks->setCurrentRow(0);
    return true;
}

bool TfrmMisc::prepare()
{
    m_prepared = true;
    setDialogMode(m_mode);
    switch (m_mode) {
    case FontMode:
        prepareFont();
        return true;
    case BookmarkMode:
        return prepareBookmarks();
    case MetaMode:
        prepareMeta();
        return true;
    default:
        return true;
    }
}

int TfrmMisc::exec()
{
    if (!m_prepared && !prepare()) {
        setResult(Rejected);
        return Rejected;
    }
    m_prepared = false;
    return QDialog::exec();
}

void TfrmMisc::prepareFont()
{
    setWindowTitle(u"Font"_s);
    // Keep the sample as the caller gave it while the lists are filled and selected.
    const TFontSpec given = m_sample;
    const QSignalBlocker nameBlocker(cbName);
    const QSignalBlocker sizeBlocker(cbSize);
    cbName->clear();
    cbName->addItems(TfrmMisc::installedFaces());
    cbName->setCurrentIndex(cbName->findText(given.Face, Qt::MatchFixedString));
    cbSize->setCurrentIndex(pointsItem(given.Size));
    for (auto [button, on] : {std::pair{btnBold, given.Bold}, std::pair{btnItalic, given.Italic},
                              std::pair{btnUnderline, given.Underline}}) {
        const QSignalBlocker blocker(button);
        button->setChecked(on);
    }
    m_sample = given;
    showSample();
    cbName->setFocus();
}

bool TfrmMisc::prepareBookmarks()
{
    if (loadBookmarks(Bookmarks::bookmarkFilePath(readNetscapeSettings())))
        return true;
    const int answer = Messages::show(this, Messages::Kind::Information,
                                      u"Unable to find Netscape Bookmarks. Would you like to find it yourself?"_s,
                                      Messages::Yes | Messages::No);
    if (answer == Messages::Yes) {
        const QString path = FileDialogs::getOpenFileName(this, u"HTML Files|*.htm;*.html"_s, QString());
        if (path.isEmpty())
            return false;
        // The list shows whatever this load gives, even when it fails.
        loadBookmarks(path);
        return true;
    }
    if (lstBookmarks->count() == 0)
        lstBookmarks->addString(QString::fromUtf16(Bookmarks::kNoBookmarks));
    lstBookmarks->setCurrentRow(0);
    return false;
}

void TfrmMisc::prepareMeta()
{
    setWindowTitle(u"Meta Tag"_s);
    updateOk();
    txtMetaContent->setFocus();
}

void TfrmMisc::updateOk()
{
    if (m_mode == MetaMode)
        btnOK->setEnabled(!txtMetaContent->text().isEmpty());
}

void TfrmMisc::btnColorClick()
{
    TColor color = m_sample.Color;
    if (pickColor(this, color)) {
        m_sample.Color = color;
        showSample();
    }
}
