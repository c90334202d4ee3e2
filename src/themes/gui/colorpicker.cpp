#include "colorpicker.h"
#include "ui_colorpicker.h"

#include "art/art.h"
#include "platform/gui/dialogframe.h"
#include "platform/gui/help.h"
#include "platform/gui/messages.h"
#include "platform/programfolder.h"
#include "platform/textutils.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QShowEvent>

#include <algorithm>

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

bool isHexDigit(QChar ch)
{
    return (ch >= u'0' && ch <= u'9') || (ch >= u'A' && ch <= u'F') || (ch >= u'a' && ch <= u'f');
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
    DialogFrame::makeFixedSize(this, size());

    m_picker = new PickerFrame(this);
    m_picker->setObjectName(u"shpPicker"_s);
    m_picker->raise();

    m_channels = {Channel{ui->txtRed, ui->txtHRed, ui->hsbRed}, Channel{ui->txtGreen, ui->txtHGreen, ui->hsbGreen},
                  Channel{ui->txtBlue, ui->txtHBlue, ui->hsbBlue}};
    fill(ui->shpR, Qt::red);
    fill(ui->shpG, QColor(0, 255, 0));
    fill(ui->shpB, Qt::blue);
    setPreview(m_preview);

    for (int i = 0; i < 3; ++i) {
        const Channel &channel = m_channels[size_t(i)];
        const QString colourName = QStringList{u"Red"_s, u"Green"_s, u"Blue"_s}.at(i);
        channel.dec->setAccessibleName(colourName);
        channel.bar->setAccessibleName(colourName);
        channel.hex->setAccessibleName(colourName + u" in hexadecimal"_s);
        channel.dec->installEventFilter(this);
        channel.hex->installEventFilter(this);
        channel.dec->setAcceptDrops(false);
        channel.hex->setAcceptDrops(false);
        connect(channel.bar, &QScrollBar::valueChanged, this, [this, i] { hsbChange(i); });
        connect(channel.dec, &QLineEdit::textChanged, this, [this, i] { txtChange(i); });
        connect(channel.hex, &QLineEdit::textEdited, this, [this, i] { txtHChange(i); });
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

    // Each entry keeps the file it came from, so that names and files never disagree.
    for (const QString &file : Palette::filesIn(m_palettesFolder))
        ui->cbPalette->addItem(Palette::nameOf(file), file);
    const int defaultEntry = ui->cbPalette->findText(Palette::kDefaultName.toString(), Qt::MatchFixedString);
    if (g_paletteLoaded)
        ui->pbPalette->setTable(&g_palette);
    // Where the file system tells case apart, the listed default may be spelled otherwise than
    // the default file name; its own file is then the one to read.
    loadPalette(defaultEntry >= 0 ? ui->cbPalette->itemData(defaultEntry).toString()
                                  : Palette::kDefaultName.toString() + Palette::kExtension);
    {
        const QSignalBlocker blocker(ui->cbPalette);
        ui->cbPalette->setCurrentIndex(defaultEntry);
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
    // Enter reaches OK without the focus leaving a hexadecimal edit. Take the value it shows
    // rather than return a colour other than the one on the screen.
    if (result == Accepted) {
        for (int i = 0; i < 3; ++i) {
            if (focusWidget() == m_channels[size_t(i)].hex)
                txtHExit(i);
        }
    }
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

void TfrmColor::loadPalette(const QString &fileName)
{
    m_picker->hide();
    Palette::Table table;
    Palette::Reader reader;
    if (!reader.read(m_palettesFolder + fileName, table)) {
        Messages::error(this, reader.errorString());
        return;
    }
    g_palette = table;
    g_paletteLoaded = true;
    ui->pbPalette->setTable(&g_palette);
}

void TfrmColor::cbPaletteChange()
{
    const int entry = ui->cbPalette->currentIndex();
    if (ui->cbPalette->count() == 0 || entry < 0)
        return;
    loadPalette(ui->cbPalette->itemData(entry).toString());
}

void TfrmColor::pbPaletteMouseDown(QPoint pos)
{
    if (!g_paletteLoaded)
        return;
    const int row = TPaletteGrid::cellAt(pos.y());
    const int column = TPaletteGrid::cellAt(pos.x());
    m_picker->move(ui->pbPalette->x() + TPaletteGrid::kPitch * column, ui->pbPalette->y() + TPaletteGrid::kPitch * row);
    m_picker->show();
    if (row >= TPaletteGrid::kCells || column >= TPaletteGrid::kCells)
        return;
    const TColor colour = g_palette[size_t(row * TPaletteGrid::kCells + column)];
    setPreview(colour);
    // The decimal edits carry the colour on to the scroll bars and the hexadecimal edits.
    for (int i = 0; i < 3; ++i)
        m_channels[size_t(i)].dec->setText(QString::number((colour >> (8 * i)) & 0xFF));
}

void TfrmColor::hsbChange(int channel)
{
    const Channel &c = m_channels[size_t(channel)];
    c.dec->setText(QString::number(c.bar->value()));
    c.hex->setText(twoHexDigits(c.bar->value()));
    setPreview(scrollBarColor());
}

void TfrmColor::txtChange(int channel)
{
    const Channel &c = m_channels[size_t(channel)];
    const QString first = c.dec->text().left(3);
    // Anything else, from an emptied edit to 999, gives way to the current value at once.
    const std::optional<qint32> value = IsDigitsOrSpaces(first) ? Text::toInt(first) : std::nullopt;
    if (value && *value < 256)
        c.bar->setValue(*value);
    else
        c.dec->setText(QString::number(c.bar->value()));
    setPreview(scrollBarColor());
}

void TfrmColor::txtHChange(int channel)
{
    // Typed or pasted letters show in upper case.
    QLineEdit *edit = m_channels[size_t(channel)].hex;
    const QString upper = edit->text().toUpper();
    if (upper == edit->text())
        return;
    const int cursor = edit->cursorPosition();
    edit->setText(upper);
    edit->setCursorPosition(cursor);
}

void TfrmColor::txtHExit(int channel)
{
    const Channel &c = m_channels[size_t(channel)];
    const QString text = c.hex->text();
    if (text.size() == 2 && isHexDigit(text[0]) && isHexDigit(text[1]))
        c.bar->setValue(text.toInt(nullptr, 16));
    else
        c.hex->setText(twoHexDigits(c.bar->value()));
    setPreview(scrollBarColor());
}

void TfrmColor::setPreview(TColor color)
{
    m_preview = color;
    fill(ui->shpPreview, toQColor(color));
}

TColor TfrmColor::scrollBarColor() const
{
    return RGBColor(m_channels[0].bar->value(), m_channels[1].bar->value(), m_channels[2].bar->value());
}

bool TfrmColor::keyAccepted(QObject *edit, const QKeyEvent *key) const
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
    const bool hex =
        std::any_of(m_channels.begin(), m_channels.end(), [edit](const Channel &c) { return c.hex == edit; });
    return hex && isHexDigit(ch);
}

bool TfrmColor::eventFilter(QObject *watched, QEvent *event)
{
    for (int i = 0; i < 3; ++i) {
        const Channel &c = m_channels[size_t(i)];
        if (watched != c.dec && watched != c.hex)
            continue;
        if (event->type() == QEvent::KeyPress) {
            if (!keyAccepted(watched, static_cast<QKeyEvent *>(event)))
                return true;
        } else if (event->type() == QEvent::FocusOut && watched == c.hex) {
            // Leaving for another control takes the value; a pop-up menu or another window
            // taking the focus for a while does not.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                txtHExit(i);
        }
        break;
    }
    return QDialog::eventFilter(watched, event);
}
