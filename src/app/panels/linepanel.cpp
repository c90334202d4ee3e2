#include "linepanel.h"
#include "ui_linepanel.h"

#include "document/blockedit.h"

#include <QFrame>

using namespace Qt::StringLiterals;

namespace {

// The preview's top edge below the top of the room the panel keeps for it.
constexpr int kPreviewTop = 6;

} // namespace

TLinePanel::TLinePanel(QWidget *parent) : TBlockPanel(parent), ui(std::make_unique<Ui::TLinePanel>())
{
    ui->setupUi(this);
    setUpHeading(ui->imgHR, ui->lblHR0, btHR);

    // The preview lives outside the panel's layout: its size and place are what it shows.
    m_bevHR = new QFrame(this);
    m_bevHR->setObjectName(u"bevHR"_s);
    m_bevHR->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_bevHR->setLineWidth(1);
    m_bevHR->resize(kDesignedLineWidth, 3);
    ui->updnHRWidth->setRange(5, 100);
    ui->updnHRWidth->setIncrement(5);
    ui->updnHRWidth->setAssociate(ui->txtHRWidth);
    ui->updnHRWidth->setPosition(100);
    ui->cbHR->setCurrentIndex(0);
    ui->hrPreviewSlot->installEventFilter(this);

    attachWhatsThis({{ui->lblHR4, 50}, {ui->cbHR, 50}, {ui->lblHR3, 51}, {ui->txtHRWidth, 51}, {ui->lblHR2, 190},
                     {ui->chkNoShade, 190}});

    connect(ui->cbHR, &QComboBox::currentIndexChanged, this, &TLinePanel::showThickness);
    connect(ui->updnHRWidth, &TUpDown::stepped, this, [this] {
        showWidth();
        centrePreview();
    });
}

TLinePanel::~TLinePanel() = default;

void TLinePanel::load(const TPagelette &, const TPageItem &item)
{
    const THRBlock &block = item.HRBlock;
    selectItem(ui->cbHR, block.Size);
    ui->updnHRWidth->setPosition(block.Width);
    ui->chkNoShade->setChecked(block.NoShade);
    // The preview takes the new size where it stands; only a click centres it.
    showThickness();
    showWidth();
}

void TLinePanel::commit(TBlockEdit &edit)
{
    THRBlock &block = edit.Item.HRBlock;
    block.Size = ui->cbHR->currentIndex();
    block.Width = ui->updnHRWidth->position();
    block.NoShade = ui->chkNoShade->isChecked();
}

int TLinePanel::linePreviewWidth(int referenceWidth, int percent)
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

void TLinePanel::storeReferenceWidth()
{
    m_referenceWidth = m_bevHR->width();
}

void TLinePanel::showThickness()
{
    const int item = ui->cbHR->currentIndex();
    if (item >= 0 && item < 6)
        m_bevHR->resize(m_bevHR->width(), 3 * (item + 1));
}

void TLinePanel::showWidth()
{
    m_bevHR->resize(linePreviewWidth(m_referenceWidth, ui->updnHRWidth->position()), m_bevHR->height());
}

void TLinePanel::centrePreview()
{
    m_bevHR->move((width() - m_bevHR->width()) / 2, m_bevHR->y());
}

bool TLinePanel::eventFilter(QObject *watched, QEvent *event)
{
    // The preview follows the room kept for it below the controls.
    if (watched == ui->hrPreviewSlot && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        m_bevHR->move(m_bevHR->x(), ui->hrPreviewSlot->y() + kPreviewTop);
    return TBlockPanel::eventFilter(watched, event);
}

void TLinePanel::resizeEvent(QResizeEvent *event)
{
    TBlockPanel::resizeEvent(event);
    // Keep the preview in the middle as the panel changes size.
    centrePreview();
}
