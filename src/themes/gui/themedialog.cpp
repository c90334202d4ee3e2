#include "themedialog.h"
#include "ui_themedialog.h"

#include "art/art.h"
#include "platform/gui/busycursor.h"
#include "platform/gui/dialogframe.h"
#include "platform/gui/help.h"
#include "platform/gui/messages.h"
#include "platform/gui/picturecopy.h"
#include "platform/gui/plaintext.h"
#include "platform/programfolder.h"
#include "platform/textutils.h"
#include "themes/gui/colorpicker.h"
#include "themes/gui/themepicture.h"
#include "themes/themesfile.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QSignalBlocker>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Help topics of the main window's "What's This?" pop-up.
constexpr int kHelpName = 65;
constexpr int kHelpList = 66;
constexpr int kHelpPicture = 67;
constexpr int kHelpPictureName = 68;
constexpr int kHelpSwatch = 69;
constexpr int kHelpTextColour = 70; // then link, active link and visited link
constexpr int kHelpMargin = 74;

constexpr int kMarginLimit = 500;
constexpr int kMarginStep = 10;
constexpr int kMarginDigits = 3;

// The colours of a new theme.
constexpr TColor kNewBackground = 0x00FFFFFF;
constexpr TColor kNewText = 0;
constexpr TColor kNewLink = 0x00FF0000;
constexpr TColor kNewActiveLink = 0x000000FF;
constexpr TColor kNewVisitedLink = 0x00800080;

const QString kNoImageText = u"No Background Image"_s;
const QString kUnreadableImageText = u"Cannot show this picture"_s;

TThemeItem newTheme()
{
    TThemeItem theme;
    theme.BGColor = kNewBackground;
    theme.TextColor = kNewText;
    theme.LinkColor = kNewLink;
    theme.ALinkColor = kNewActiveLink;
    theme.VLinkColor = kNewVisitedLink;
    return theme;
}

QColor toQColor(TColor c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

TColor fromQColor(const QColor &c)
{
    return RGBColor(c.red(), c.green(), c.blue());
}

void setColour(QWidget *widget, QPalette::ColorRole role, TColor colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Active, role, toQColor(colour));
    palette.setColor(QPalette::Inactive, role, toQColor(colour));
    // The preview keeps its colours while the dialog is in the edit panel, where the labels
    // are still the theme's own.
    palette.setColor(QPalette::Disabled, role, toQColor(colour));
    widget->setPalette(palette);
}

TColor colourOf(const QWidget *widget, QPalette::ColorRole role)
{
    return fromQColor(widget->palette().color(QPalette::Active, role));
}

} // namespace

TfrmTheme::TfrmTheme(TWebTheme &themes, const QString &programFolder, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmTheme>()), m_themes(themes),
      m_programFolder(programFolder.isEmpty() ? ProgramFolder() : programFolder), m_choosePicture(ThemePicture::choose),
      m_decodePicture(ThemePicture::read)
{
    if (!m_programFolder.endsWith(u'/'))
        m_programFolder += u'/';
    ui->setupUi(this);
    // Centred over its window like every dialog, and fixed the common way: close button only.
    DialogFrame::makeFixedSize(this, size());

    ui->btnAdd->setIcon(Art::panelIcon(Art::PanelButton::Add));
    ui->btnRemove->setIcon(Art::panelIcon(Art::PanelButton::Remove));
    ui->btnEdit->setIcon(Art::panelIcon(Art::PanelButton::Edit));
    ui->btnBackground->setIcon(Art::buttonPicture(Art::Button::Browse));
    ui->btnClear->setIcon(Art::buttonPicture(Art::Button::Delete));
    ui->imgTheme->setPixmap(Art::applicationIcon().pixmap(ui->imgTheme->size()));
    // The labels are as wide as their captions, so the swatch beside them takes its own
    // double-clicks.
    for (QLabel *label : {ui->lblTextColor, ui->lblLinkColor, ui->lblALinkColor, ui->lblVLinkColor})
        label->adjustSize();
    // The note lies under the picture; while it shows, the picture is empty, and the note
    // takes the clicks that open the picture dialog.
    ui->lblNoImage->raise();
    ui->pnlEdit->raise();

    ui->updnLeftMargin->setRange(0, kMarginLimit);
    ui->updnLeftMargin->setIncrement(kMarginStep);
    ui->updnLeftMargin->setAssociate(ui->txtLeftMargin);
    showColours(newTheme());

    for (QWidget *watched : {static_cast<QWidget *>(ui->lblBGColor), static_cast<QWidget *>(ui->lblTextColor),
                             static_cast<QWidget *>(ui->lblLinkColor), static_cast<QWidget *>(ui->lblALinkColor),
                             static_cast<QWidget *>(ui->lblVLinkColor), static_cast<QWidget *>(ui->imgBG),
                             static_cast<QWidget *>(ui->lblNoImage)})
        watched->installEventFilter(this);

    Help::attachWhatsThis(ui->lbl1, kHelpName);
    Help::attachWhatsThis(ui->txtDescription, kHelpName);
    Help::attachWhatsThis(ui->lstEditThemes, kHelpList);
    Help::attachWhatsThis(ui->imgBG, kHelpPicture);
    Help::attachWhatsThis(ui->lblNoImage, kHelpPicture);
    Help::attachWhatsThis(ui->lbl2, kHelpPictureName);
    Help::attachWhatsThis(ui->txtBackground, kHelpPictureName);
    Help::attachWhatsThis(ui->lblBGColor, kHelpSwatch);
    Help::attachWhatsThis(ui->lblTextColor, kHelpTextColour);
    Help::attachWhatsThis(ui->lblLinkColor, kHelpTextColour + 1);
    Help::attachWhatsThis(ui->lblALinkColor, kHelpTextColour + 2);
    Help::attachWhatsThis(ui->lblVLinkColor, kHelpTextColour + 3);
    Help::attachWhatsThis(ui->lbl3, kHelpMargin);
    Help::attachWhatsThis(ui->txtLeftMargin, kHelpMargin);

    connect(ui->lstEditThemes, &QListWidget::itemSelectionChanged, this, &TfrmTheme::lstEditThemesClick);
    connect(ui->lstEditThemes, &QListWidget::itemDoubleClicked, this, &TfrmTheme::btnEditClick);
    connect(ui->lstEditThemes, &TThemeList::entryDropped, this, &TfrmTheme::moveTheme);
    connect(ui->btnAdd, &QToolButton::clicked, this, &TfrmTheme::btnAddClick);
    connect(ui->btnRemove, &QToolButton::clicked, this, &TfrmTheme::btnRemoveClick);
    connect(ui->btnEdit, &QToolButton::clicked, this, &TfrmTheme::btnEditClick);
    connect(ui->btnBackground, &QToolButton::clicked, this, &TfrmTheme::btnBackgroundClick);
    connect(ui->btnClear, &QToolButton::clicked, this, &TfrmTheme::btnClearClick);
    connect(ui->btnApply, &QPushButton::clicked, this, &TfrmTheme::btnApplyClick);
    connect(ui->btnBack, &QPushButton::clicked, this, &TfrmTheme::leaveEditPanel);
    connect(ui->btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->txtDescription, &QLineEdit::textChanged, this,
            [this](const QString &text) { ui->btnApply->setEnabled(!text.isEmpty()); });
    connect(ui->txtLeftMargin, &QLineEdit::textEdited, this, [this] {
        m_marginChanged = true;
        // A stored margin longer than the edit takes was shown whole; what is typed keeps to it.
        ui->txtLeftMargin->setMaxLength(kMarginDigits);
    });
    connect(ui->updnLeftMargin, &TUpDown::stepped, this, [this] {
        m_marginChanged = true;
        ui->txtLeftMargin->setMaxLength(kMarginDigits);
    });

    {
        const QSignalBlocker blocker(ui->lstEditThemes);
        for (int i = 0; i < m_themes.Items.Count(); ++i)
            ui->lstEditThemes->addString(m_themes.Items.Items(i)->ThemeName);
    }
    m_changed = false;
}

TfrmTheme::~TfrmTheme() = default;

void TfrmTheme::selectTheme(const QString &name)
{
    const QStringList names = ui->lstEditThemes->strings();
    int row = -1;
    for (int i = 0; i < names.size() && row < 0; ++i) {
        if (names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            row = i;
    }
    selectRow(row);
    if (row >= 0)
        ui->lstEditThemes->scrollToItem(ui->lstEditThemes->item(row), QAbstractItemView::PositionAtTop);
}

int TfrmTheme::selectedIndex() const
{
    const QList<QListWidgetItem *> selected = ui->lstEditThemes->selectedItems();
    return selected.isEmpty() ? -1 : ui->lstEditThemes->row(selected.constFirst());
}

bool TfrmTheme::editing() const
{
    return !ui->pnlEdit->isHidden();
}

void TfrmTheme::done(int result)
{
    // Changes to the list count by whichever way the dialog closes; only applying the selected
    // theme to the page waits for OK.
    if (m_changed) {
        QString error;
        if (!SaveThemes(m_programFolder + kThemesFileName, m_themes, &error))
            Messages::error(this, u"The page themes could not be saved."_s, error);
    }
    QDialog::done(result);
}

void TfrmTheme::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        lstEditThemesClick();
}

// The etched outline around the button column: shadow down its right side and across below
// it, highlight up the left side and back across the top.
void TfrmTheme::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    const int right = width() - 2;
    const int top = ui->btnAdd->y() - 1;
    const int bottom = ui->btnEdit->y() + ui->btnEdit->height();
    const int left = ui->bev1->x() + ui->bev1->width() + 1;
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(right, top, right, bottom);
    painter.drawLine(right, bottom, left, bottom + 20);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(left, bottom + 20, left, 0);
    painter.drawLine(left, 0, right, top);
}

void TfrmTheme::keyPressEvent(QKeyEvent *event)
{
    // Escape is the dialog's Cancel, which is disabled while the edit panel is open: it does
    // nothing then, so that a stray key cannot throw the edits away.
    if (event->key() == Qt::Key_Escape && editing()) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmTheme::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == ui->imgBG) {
            if (editing())
                btnBackgroundClick();
            return true;
        }
        if (auto *label = qobject_cast<QLabel *>(watched); label && label != ui->lblNoImage) {
            editColour(label);
            return true;
        }
    }
    if (watched == ui->lblNoImage && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (editing() && mouse->button() == Qt::LeftButton &&
            ui->lblNoImage->rect().contains(mouse->position().toPoint()))
            btnBackgroundClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// ---- browsing ----

void TfrmTheme::lstEditThemesClick()
{
    const int row = selectedIndex();
    const TThemeItem *theme = m_themes.Items.Items(row);
    if (theme) {
        ui->txtDescription->setText(theme->ThemeName);
        ui->txtBackground->setText(theme->BGImage);

        // A margin that is no number (a file edited by hand) is shown as it is stored, and
        // kept unless the user changes it.
        ui->updnLeftMargin->setPosition(Text::toInt(theme->LeftMargin).value_or(0));
        ui->txtLeftMargin->setMaxLength(std::max<int>(kMarginDigits, int(theme->LeftMargin.size())));
        ui->txtLeftMargin->setText(theme->LeftMargin);
        m_marginChanged = false;

        showColours(*theme);

        const QString path = m_programFolder + ProgramFiles::kUploadBackgrounds + theme->BGImage;
        if (!theme->BGImage.isEmpty() && QFileInfo(path).isFile()) {
            // A picture that cannot be decoded is still this theme's own: the path stays.
            setPicturePath(path);
            if (!showPicture(path)) {
                ui->imgBG->clear();
                ui->lblNoImage->setText(kUnreadableImageText);
                ui->lblNoImage->show();
            }
        } else {
            clearPicture();
        }
        m_newPicture = false;
        m_pictureChosen = false;
    }
    ui->btnRemove->setEnabled(theme != nullptr);
    ui->btnEdit->setEnabled(theme != nullptr);
}

void TfrmTheme::btnRemoveClick()
{
    const int row = selectedIndex();
    if (row < 0)
        return;
    Messages::beep();
    if (Messages::show(this, Messages::Kind::Confirmation, u"Do you want to delete the selected Theme?"_s,
                       Messages::Yes | Messages::No) == Messages::Yes) {
        {
            const QSignalBlocker blocker(ui->lstEditThemes);
            ui->lstEditThemes->deleteString(row);
            m_themes.Items.Delete(row);
        }
        // No theme is chosen after a deletion, so OK leaves the page as it is.
        selectRow(-1);
    }
    m_changed = true;
    ui->lstEditThemes->setFocus();
}

void TfrmTheme::moveTheme(int from, int to)
{
    if (from < 0 || !m_themes.Items.Move(from, to))
        return;
    {
        const QSignalBlocker blocker(ui->lstEditThemes);
        const QString text = ui->lstEditThemes->item(from)->text();
        ui->lstEditThemes->deleteString(from);
        ui->lstEditThemes->insertString(to, text);
    }
    selectRow(to);
    m_changed = true;
}

// ---- the edit panel ----

void TfrmTheme::showEditPanel(const QString &caption)
{
    setWindowTitle(caption);
    ui->pnlEdit->raise();
    ui->pnlEdit->show();
    ui->txtDescription->setFocus();
    for (QWidget *control : {static_cast<QWidget *>(ui->lstEditThemes), static_cast<QWidget *>(ui->btnAdd),
                             static_cast<QWidget *>(ui->btnRemove), static_cast<QWidget *>(ui->btnEdit),
                             static_cast<QWidget *>(ui->btnOK), static_cast<QWidget *>(ui->btnCancel)})
        control->setEnabled(false);
}

void TfrmTheme::leaveEditPanel()
{
    ui->pnlEdit->hide();
    for (QWidget *control : {static_cast<QWidget *>(ui->lstEditThemes), static_cast<QWidget *>(ui->btnAdd),
                             static_cast<QWidget *>(ui->btnRemove), static_cast<QWidget *>(ui->btnEdit),
                             static_cast<QWidget *>(ui->btnOK), static_cast<QWidget *>(ui->btnCancel)})
        control->setEnabled(true);
    const qsizetype dash = windowTitle().indexOf(u'-');
    if (dash >= 0)
        setWindowTitle(windowTitle().left(dash));
    // What was not applied is dropped: the controls show the selected theme again.
    lstEditThemesClick();
    ui->lstEditThemes->setFocus();
}

void TfrmTheme::btnAddClick()
{
    m_editMode = EditMode::Add;
    ui->txtDescription->clear();
    ui->txtBackground->clear();
    ui->txtLeftMargin->setMaxLength(kMarginDigits);
    ui->txtLeftMargin->clear();
    ui->updnLeftMargin->setPosition(0);
    m_marginChanged = false;
    showColours(newTheme());
    clearPicture();
    m_newPicture = false;
    m_pictureChosen = false;
    showEditPanel(u"Page Themes - Add"_s);
}

void TfrmTheme::btnEditClick()
{
    if (selectedIndex() < 0 || editing())
        return;
    m_editMode = EditMode::Edit;
    showEditPanel(u"Page Themes - Edit"_s);
}

void TfrmTheme::editColour(QLabel *label)
{
    if (!editing())
        return;
    const bool swatch = label == ui->lblBGColor;
    const QPalette::ColorRole role = swatch ? QPalette::Window : QPalette::WindowText;
    std::optional<BusyCursor> busy(std::in_place);
    TfrmColor picker(this, m_programFolder);
    picker.setPickedColor(colourOf(label, role));
    picker.setWindowTitle(picker.windowTitle() + u" - " + (swatch ? label->toolTip() : label->text()));
    busy.reset();
    if (picker.exec() == QDialog::Accepted)
        setColour(label, role, picker.PickedColor());
}

void TfrmTheme::btnBackgroundClick()
{
    const QString chosen =
        m_choosePicture(this, m_programFolder + ProgramFiles::kUploadBackgrounds, QFileInfo(m_picturePath).fileName());
    if (chosen.isEmpty())
        return;
    ui->txtBackground->setText(QFileInfo(chosen).fileName());
    setPicturePath(chosen);
    m_newPicture = true;
    m_pictureChosen = true;
    // A picture that cannot be decoded is still taken; the preview keeps what it showed.
    showPicture(chosen);
}

void TfrmTheme::btnClearClick()
{
    clearPicture();
    ui->txtBackground->clear();
    m_pictureChosen = true;
}

void TfrmTheme::btnApplyClick()
{
    std::optional<BusyCursor> busy(std::in_place);
    const bool adding = m_editMode == EditMode::Add;
    const int row = selectedIndex();
    const QString name = ui->txtDescription->text();
    if (nameRefused(name)) {
        busy.reset();
        Messages::beep();
        Messages::information(this, u"There is already a Theme with this name."_s);
        ui->txtDescription->setFocus();
        return;
    }
    if (!adding && !m_themes.Items.Items(row))
        return;

    // The picture is stored before the theme changes, so a failed or cancelled copy changes nothing.
    if (m_newPicture && !m_picturePath.isEmpty()) {
        busy.reset(); // the copy may ask which picture the name is to stand for
        const QString folder = m_programFolder + ProgramFiles::kUploadBackgrounds;
        const StoredPicture stored = StorePicture(this, m_picturePath, folder);
        if (stored.outcome == StoredPicture::Cancelled)
            return;
        if (stored.outcome == StoredPicture::Failed) {
            Messages::error(this,
                            u"The picture \"%1\" could not be copied into the folder \"%2\", so the theme was not "
                            u"changed."_s.arg(QFileInfo(m_picturePath).fileName(), QDir::toNativeSeparators(folder)),
                            stored.error);
            return;
        }
        setPicturePath(stored.path);
        ui->txtBackground->setText(QFileInfo(stored.path).fileName());
        busy.emplace();
    }
    m_newPicture = false;

    TThemeItem theme = adding ? TThemeItem{} : *m_themes.Items.Items(row);
    theme.ThemeName = name;
    // What Browse and Clear did not touch stays as stored, also a picture the folder lacks.
    if (adding || m_pictureChosen)
        theme.BGImage = m_picturePath.isEmpty() ? QString() : QFileInfo(m_picturePath).fileName();
    if (adding || m_marginChanged)
        theme.LeftMargin = QString::number(ui->updnLeftMargin->position());
    readColours(theme);

    if (adding) {
        m_themes.Items.Add() = theme;
        {
            const QSignalBlocker blocker(ui->lstEditThemes);
            ui->lstEditThemes->addString(name);
        }
        selectRow(ui->lstEditThemes->count() - 1);
    } else {
        *m_themes.Items.Items(row) = theme;
        if (ui->lstEditThemes->item(row)->text() != name)
            setRowText(row, name);
    }
    ui->updnLeftMargin->setPosition(0);
    m_changed = true;
    busy.reset();
    leaveEditPanel();
}

bool TfrmTheme::nameRefused(const QString &name) const
{
    const QStringList names = ui->lstEditThemes->strings();
    const bool taken = std::any_of(names.begin(), names.end(), [&name](const QString &entry) {
        return entry.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (m_editMode == EditMode::Add)
        return taken;
    // The theme may keep its own name; another spelling of a name in the list, its own
    // included, is refused.
    const int row = selectedIndex();
    return taken && (row < 0 || names.at(row) != name);
}

// ---- the preview ----

bool TfrmTheme::showPicture(const QString &path)
{
    QImage image;
    {
        BusyCursor busy;
        image = m_decodePicture(path);
    }
    const QPixmap pixmap = QPixmap::fromImage(image);
    if (pixmap.isNull())
        return false;
    ui->imgBG->setPixmap(pixmap);
    ui->lblNoImage->hide();
    return true;
}

void TfrmTheme::clearPicture()
{
    ui->imgBG->clear();
    setPicturePath({});
    ui->lblNoImage->setText(kNoImageText);
    ui->lblNoImage->show();
}

void TfrmTheme::setPicturePath(const QString &path)
{
    m_picturePath = path;
    ui->imgBG->setToolTip(PlainToolTip(QDir::toNativeSeparators(path)));
}

void TfrmTheme::showColours(const TThemeItem &theme)
{
    setColour(ui->lblBGColor, QPalette::Window, theme.BGColor);
    setColour(ui->lblTextColor, QPalette::WindowText, theme.TextColor);
    setColour(ui->lblLinkColor, QPalette::WindowText, theme.LinkColor);
    setColour(ui->lblALinkColor, QPalette::WindowText, theme.ALinkColor);
    setColour(ui->lblVLinkColor, QPalette::WindowText, theme.VLinkColor);
}

void TfrmTheme::readColours(TThemeItem &theme) const
{
    theme.BGColor = colourOf(ui->lblBGColor, QPalette::Window);
    theme.TextColor = colourOf(ui->lblTextColor, QPalette::WindowText);
    theme.LinkColor = colourOf(ui->lblLinkColor, QPalette::WindowText);
    theme.ALinkColor = colourOf(ui->lblALinkColor, QPalette::WindowText);
    theme.VLinkColor = colourOf(ui->lblVLinkColor, QPalette::WindowText);
}

// ---- list rows ----

void TfrmTheme::setRowText(int row, const QString &text)
{
    const QSignalBlocker blocker(ui->lstEditThemes);
    ui->lstEditThemes->deleteString(row);
    ui->lstEditThemes->insertString(row, text);
    ui->lstEditThemes->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void TfrmTheme::selectRow(int row)
{
    QListWidget *list = ui->lstEditThemes;
    {
        const QSignalBlocker blocker(list);
        if (row < 0 || row >= list->count()) {
            list->clearSelection();
            list->setCurrentRow(-1);
        } else {
            list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        }
    }
    // Selecting in code shows the theme as a click does, also when the selection is the same.
    lstEditThemesClick();
}
