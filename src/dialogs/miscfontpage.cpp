#include "miscfontpage.h"
#include "ui_miscfontpage.h"

#include "platform/gui/busycursor.h"
#include "platform/gui/help.h"
#include "themes/gui/colorpicker.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
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

QColor screenColor(TColor color)
{
    // Negative values are system colours, which stand for a role; the sample then draws black.
    if (color < 0)
        return Qt::black;
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
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

TMiscFontPage::TMiscFontPage(QWidget *parent) : QFrame(parent), ui(std::make_unique<Ui::TMiscFontPage>())
{
    ui->setupUi(this);
    ui->btnBold->setIcon(letterIcon(u'B', true, false, false));
    ui->btnItalic->setIcon(letterIcon(u'I', false, true, false));
    ui->btnUnderline->setIcon(letterIcon(u'U', false, false, true));
    QPalette white = ui->shpBG->palette();
    white.setColor(QPalette::Window, Qt::white);
    ui->shpBG->setPalette(white);

    Help::attachWhatsThis(ui->Label4, kHelpName);
    Help::attachWhatsThis(ui->cbName, kHelpName);
    Help::attachWhatsThis(ui->Label3, kHelpSize);
    Help::attachWhatsThis(ui->cbSize, kHelpSize);
    for (QWidget *widget : std::initializer_list<QWidget *>{ui->Label5, ui->btnBold, ui->btnItalic, ui->btnUnderline,
                                                            ui->btnColor})
        Help::attachWhatsThis(widget, kHelpStyles);
    Help::attachWhatsThis(ui->shpBG, kHelpSample);
    Help::attachWhatsThis(ui->lblPreview, kHelpSample);

    connect(ui->cbName, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0)
            return;
        m_sample.Face = ui->cbName->itemText(index);
        showSample();
    });
    connect(ui->cbSize, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0)
            return;
        m_sample.Size = itemPoints(index);
        showSample();
    });
    connect(ui->btnBold, &QToolButton::toggled, this, [this](bool down) {
        m_sample.Bold = down;
        showSample();
    });
    connect(ui->btnItalic, &QToolButton::toggled, this, [this](bool down) {
        m_sample.Italic = down;
        showSample();
    });
    connect(ui->btnUnderline, &QToolButton::toggled, this, [this](bool down) {
        m_sample.Underline = down;
        showSample();
    });
    connect(ui->btnColor, &QToolButton::clicked, this, &TMiscFontPage::btnColorClick);
    showSample();
}

TMiscFontPage::~TMiscFontPage() = default;

QStringList TMiscFontPage::installedFaces()
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

void TMiscFontPage::setSampleFont(const TFontSpec &font)
{
    m_sample = font;
    showSample();
}

void TMiscFontPage::prepare()
{
    // Keep the sample as the caller gave it while the lists are filled and selected.
    const TFontSpec given = m_sample;
    const QSignalBlocker nameBlocker(ui->cbName);
    const QSignalBlocker sizeBlocker(ui->cbSize);
    ui->cbName->clear();
    ui->cbName->addItems(installedFaces());
    ui->cbName->setCurrentIndex(ui->cbName->findText(given.Face, Qt::MatchFixedString));
    ui->cbSize->setCurrentIndex(pointsItem(given.Size));
    for (auto [button, on] : {std::pair{ui->btnBold, given.Bold}, std::pair{ui->btnItalic, given.Italic},
                              std::pair{ui->btnUnderline, given.Underline}}) {
        const QSignalBlocker blocker(button);
        button->setChecked(on);
    }
    m_sample = given;
    showSample();
    ui->cbName->setFocus();
}

void TMiscFontPage::showSample()
{
    QFont font(m_sample.Face);
    if (m_sample.Size > 0)
        font.setPointSize(m_sample.Size);
    font.setBold(m_sample.Bold);
    font.setItalic(m_sample.Italic);
    font.setUnderline(m_sample.Underline);
    ui->lblPreview->setFont(font);
    QPalette palette = ui->lblPreview->palette();
    palette.setColor(QPalette::WindowText, screenColor(m_sample.Color));
    ui->lblPreview->setPalette(palette);

    QPixmap swatch(16, 16);
    swatch.fill(screenColor(m_sample.Color));
    ui->btnColor->setIcon(QIcon(swatch));
}

void TMiscFontPage::btnColorClick()
{
    TColor color = m_sample.Color;
    if (pickColor(window(), color)) {
        m_sample.Color = color;
        showSample();
    }
}
