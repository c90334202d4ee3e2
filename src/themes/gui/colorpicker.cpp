#include "colorpicker.h"
#include "ui_colorpicker.h"

#include "app/art/art.h"
#include "platform/gui/help.h"
#include "platform/gui/messages.h"
#include "platform/programfolder.h"
#include "platform/textutils.h"

#include <QKeyEvent>
#include <QPainter>
#include <QShowEvent>

using namespace Qt::StringLiterals;

namespace {

// The palette outlives every picker: a picker whose default palette fails to load still shows
// the one of its previous opening.
Palette::Table g_palette = Palette::whiteTable();
bool g_paletteLoaded = false;

// Help topics of the main window's "What's This?" pop-up.
constexpr int kHelpGrid = 46;
constexpr int kHelpPaletteName = 45;
constexpr int kHelpSampleLabel = 42;
constexpr int kHelpScrollBars = 41;
constexpr int kHelpDecimal = 44;
constexpr int kHelpHexadecimal = 43;

QColor toQColor(TColor c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QString twoHexDigits(int value)
{
    return u"%1"_s.arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

void fill(QWidget *shape, const QColor &colour)
{
    QPalette palette = shape->palette();
    palette.setColor(QPalette::Window, colour);
    shape->setPalette(palette);
    shape->setAutoFillBackground(true);
}

// The red frame around the picked cell. It never takes the mouse, so clicks reach the grid.
class PickerFrame : public QWidget
{
public:
    explicit PickerFrame(QWidget *parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        resize(17, 17);
        hide();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setPen(QPen(Qt::red, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(1, 1, width() - 2, height() - 2));
    }
};

} // namespace

TfrmColor::TfrmColor(QWidget *parent, const QString &programFolder)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TfrmColor>())
{
    ui->setupUi(this);
    setFixedSize(size());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *picker = new PickerFrame(this);
    picker->setObjectName(u"shpPicker"_s);
    picker->raise();

    m_channels = {Channel{ui->txtRed, ui->txtHRed, ui->hsbRed}, Channel{ui->txtGreen, ui->txtHGreen, ui->hsbGreen},
                  Channel{ui->txtBlue, ui->txtHBlue, ui->hsbBlue}};
    fill(ui->shpR, Qt::red);
    fill(ui->shpG, QColor(0, 255, 0));
    fill(ui->shpB, Qt::blue);
    setPreview(m_preview);

    for (int i = 0; i < 3; ++i) {
        const Channel &channel = m_channels[size_t(i)];
        channel.dec->installEventFilter(this);
        channel.hex->installEventFilter(this);
        channel.dec->setAcceptDrops(false);
        channel.hex->setAcceptDrops(false);
        connect(channel.bar, &QScrollBar::valueChanged, this, [this, i] { hsbChange(i); });
        connect(channel.dec, &QLineEdit::textChanged, this, [this, i] { txtChange(i); });
        Help::attachWhatsThis(channel.bar, kHelpScrollBars);
        Help::attachWhatsThis(channel.dec, kHelpDecimal);
        Help::attachWhatsThis(channel.hex, kHelpHexadecimal);
    }
    Help::attachWhatsThis(ui->pbPalette, kHelpGrid);
    Help::attachWhatsThis(ui->shpPreview, kHelpGrid);
    Help::attachWhatsThis(ui->cbPalette, kHelpPaletteName);
    Help::attachWhatsThis(ui->lbl4, kHelpSampleLabel);

    connect(ui->bntOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->pbPalette, &TPaletteGrid::pressed, this, &TfrmColor::pbPaletteMouseDown);

    QString folder = programFolder.isEmpty() ? ProgramFolder() : programFolder;
    if (!folder.endsWith(u'/'))
        folder += u'/';
    m_palettesFolder = folder + ProgramFiles::kPalettes;

    ui->cbPalette->addItems(Palette::namesIn(m_palettesFolder));
    if (g_paletteLoaded)
        ui->pbPalette->setTable(&g_palette);
    loadPalette(Palette::kDefaultName.toString());
    {
        const QSignalBlocker blocker(ui->cbPalette);
        ui->cbPalette->setCurrentIndex(ui->cbPalette->findText(Palette::kDefaultName.toString(), Qt::MatchFixedString));
    }
    connect(ui->cbPalette, &QComboBox::currentIndexChanged, this, &TfrmColor::cbPaletteChange);
    ui->pbPalette->setCursor(Art::eyedropperCursor());
}

TfrmColor::~TfrmColor() = default;

const Palette::Table &TfrmColor::paletteTable()
{
    return g_palette;
}

bool TfrmColor::paletteLoaded()
{
    return g_paletteLoaded;
}

void TfrmColor::resetPalette()
{
    g_palette = Palette::whiteTable();
    g_paletteLoaded = false;
}

void TfrmColor::done(int result)
{
    m_pickedColor = m_preview;
    QDialog::done(result);
}

void TfrmColor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmColor::FormShow()
{
    for (int i = 0; i < 3; ++i)
        m_channels[size_t(i)].bar->setValue((m_pickedColor >> (8 * i)) & 0xFF);
}

void TfrmColor::loadPalette(const QString &name)
{
    findChild<QWidget *>(u"shpPicker"_s)->hide();
    Palette::Table table;
    Palette::Reader reader;
    if (!reader.read(m_palettesFolder + name + Palette::kExtension, table)) {
        Messages::error(this, reader.errorString());
        return;
    }
    g_palette = table;
    g_paletteLoaded = true;
    ui->pbPalette->setTable(&g_palette);
    ui->pbPalette->update();
}

void TfrmColor::cbPaletteChange()
{
    if (ui->cbPalette->count() == 0 || ui->cbPalette->currentIndex() < 0)
        return;
    loadPalette(ui->cbPalette->currentText());
}

void TfrmColor::pbPaletteMouseDown(QPoint pos)
{
    if (!g_paletteLoaded)
        return;
    // Integer division truncates toward zero, so the first two pixels belong to cell 0.
    const int row = (pos.y() - 3) / TPaletteGrid::kPitch;
    const int column = (pos.x() - 3) / TPaletteGrid::kPitch;
    QWidget *picker = findChild<QWidget *>(u"shpPicker"_s);
    picker->move(ui->pbPalette->x() + TPaletteGrid::kPitch * column, ui->pbPalette->y() + TPaletteGrid::kPitch * row);
    picker->show();
    if (row >= 16 || column >= 16)
        return;
    const TColor colour = g_palette[size_t(row * 16 + column)];
    setPreview(colour);
    for (int i = 0; i < 3; ++i)
        m_channels[size_t(i)].dec->setText(QString::number((colour >> (8 * i)) & 0xFF));
}

void TfrmColor::hsbChange(int channel)
{
    const Channel &c = m_channels[size_t(channel)];
    c.dec->setText(QString::number(c.bar->value()));
    c.hex->setText(twoHexDigits(c.bar->value()));
}

void TfrmColor::txtChange(int channel)
{
    const Channel &c = m_channels[size_t(channel)];
    const QString first = c.dec->text().left(3);
    const std::optional<qint32> value = IsDigitsOrSpaces(first) ? Text::toInt(first) : std::nullopt;
    if (value && *value < 256)
        c.bar->setValue(*value);
    else
        c.dec->setText(QString::number(c.bar->value()));
    setPreview(TColor(m_channels[0].bar->value() | (m_channels[1].bar->value() << 8) |
                      (m_channels[2].bar->value() << 16)));
}

void TfrmColor::txtHExit(int channel)
{
    const Channel &c = m_channels[size_t(channel)];
    const QString text = c.hex->text();
    bool ok = false;
    const int value = text.size() == 2 ? text.toInt(&ok, 16) : 0;
    if (ok)
        c.bar->setValue(value);
    else
        c.hex->setText(twoHexDigits(c.bar->value()));
    setPreview(TColor(m_channels[0].bar->value() | (m_channels[1].bar->value() << 8) |
                      (m_channels[2].bar->value() << 16)));
}

void TfrmColor::setPreview(TColor color)
{
    m_preview = color;
    fill(ui->shpPreview, toQColor(color));
}

bool TfrmColor::keyAccepted(QObject *edit, const QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return true;
    default:
        break;
    }
    const QString text = key->text();
    // Keys that type nothing (arrows, Home, End, Delete) move within the text as usual;
    // control combinations such as paste are dropped with the other characters.
    if (text.isEmpty())
        return !(key->modifiers() & Qt::ControlModifier);
    if (text.size() != 1 || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    const QChar ch = text.front();
    if (ch >= u'0' && ch <= u'9')
        return true;
    bool hex = false;
    for (const Channel &c : m_channels)
        hex = hex || c.hex == edit;
    return hex && ((ch >= u'A' && ch <= u'F') || (ch >= u'a' && ch <= u'f'));
}

bool TfrmColor::eventFilter(QObject *watched, QEvent *event)
{
    for (int i = 0; i < 3; ++i) {
        const Channel &c = m_channels[size_t(i)];
        if (watched != c.dec && watched != c.hex)
            continue;
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (!keyAccepted(watched, key))
                return true;
            // The hexadecimal edits show their letters in upper case.
            const QString text = key->text();
            if (watched == c.hex && text.size() == 1 && text.front() >= u'a' && text.front() <= u'f') {
                c.hex->insert(text.toUpper());
                return true;
            }
        } else if (event->type() == QEvent::FocusOut && watched == c.hex) {
            txtHExit(i);
        }
        break;
    }
    return QDialog::eventFilter(watched, event);
}
