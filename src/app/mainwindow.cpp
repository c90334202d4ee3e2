#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "art/art.h"
#include "app/blockeditor.h"
#include "app/blocklists.h"
#include "app/splash.h"
#include "app/windowplacement.h"
#include "dialogs/tipsdialog.h"
#include "document/blockedit.h"
#include "document/pagetheme.h"
#include "html/pagehtml.h"
#include "platform/filetypes.h"
#include "platform/gui/busycursor.h"
#include "platform/gui/help.h"
#include "platform/gui/messages.h"
#include "platform/gui/shell.h"
#include "platform/programfolder.h"
#include "platform/settingsstore.h"
#include "project/pagedocument.h"
#include "project/recovery.h"
#include "themes/themesfile.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QUndoStack>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Help topics of the window's own controls.
constexpr int kTopicTrash = 15;
constexpr int kTopicBlocks = 54;
constexpr int kTopicPalette = 55;
constexpr int kTopicThemes = 66;
constexpr int kTopicBrowser = 76;

// States of the bin.
constexpr int kBinUntouched = 15;
constexpr int kBinFull = 1;
constexpr int kBinEmpty = 0;

QAction *separator(QObject *parent, const QString &name)
{
    auto *action = new QAction(parent);
    action->setSeparator(true);
    action->setObjectName(name);
    return action;
}

QAction *menuSeparator(QMenu *menu, const QString &name)
{
    return menu->findChild<QAction *>(name, Qt::FindDirectChildrenOnly);
}

} // namespace

TfrmMain::TfrmMain(const QString &programFolder, const QStringList &arguments, QWidget *parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TfrmMain>())
{
    ui->setupUi(this);
    setUpControls();
    setUpMenu();
    connectControls();

    // The creation handler. Its order matters: placement first, the new page before the themes,
    // the name "Untitled" before a file from the command line; until then the title keeps its
    // initial caption. What goes wrong here (a file from the command line that cannot be read,
    // say) is reported over this window once it is on the screen, not over the splash window
    // before this one exists there.
    const Messages::HoldUntilShown notices(this);
    restorePlacement();
    if (programFolder.isEmpty())
        reportProgramFolder();
    m_doc = new PageDocument(programFolder.isEmpty() ? ProgramFolder() : programFolder, this);
    ui->blockEditor->setProgramFolder(m_doc->programFolder());
    ui->blockEditor->setDocument(m_doc);
    m_blockTypeToInsert = btHeading;
    connectDocument();
    m_doc->newPage();
    connect(m_doc, &PageDocument::nameChanged, this, &TfrmMain::setTitle);
    // The recovery copy holds what the user sees, the open panel included, without committing it.
    m_recovery = new RecoveryKeeper(*m_doc, [this]() -> std::optional<TPagelette> {
        if (!ui->blockEditor->hasUncommittedEdits(m_doc->page()))
            return std::nullopt;
        TPagelette page = m_doc->page();
        ApplyBlockEdit(page, ui->blockEditor->currentBlockIndex(), *ui->blockEditor->editedBlock(page));
        return page;
    });
    m_recovery->setParent(this);
    loadThemes();
    ui->lstPalette->fillBlockTypes();
    ui->lstPalette->setCurrentRow(0);
    ui->lstBlocks->setCurrentRow(0);
    ui->blockEditor->storeLineReferenceWidth();
    registerFileTypes();
    const QString file = arguments.value(0);
    if (!file.isEmpty()) {
        loadDocument(file);
        showCreateView();
    }
    // The tip of the day would open here, over the shown window, when m_showTips is set.
}

TfrmMain::~TfrmMain()
{
    // The controls go before the widgets that hold them: no more events of theirs to look at.
    qApp->removeEventFilter(this);
}

TBlockEditor *TfrmMain::blockEditor() const
{
    return ui->blockEditor;
}

void TfrmMain::setUpControls()
{
    setWindowTitle(kApplicationTitle + u" - Untitled");

    ui->btnCreate->setIcon(Art::buttonPicture(Art::Button::Create));
    ui->btnPreview->setIcon(Art::buttonPicture(Art::Button::Preview));
    ui->btnSave->setIcon(Art::buttonPicture(Art::Button::Save));
    ui->btnUpload->setIcon(Art::buttonPicture(Art::Button::Upload));
    ui->btnHelp->setIcon(Art::buttonPicture(Art::Button::Help));
    ui->btnHosting->setIcon(Art::buttonPicture(Art::Button::Hosting));
    ui->pbButtons->installEventFilter(this);

    // The pane's three buttons share its 250 pixels: each may shrink to its caption, no further.
    for (QPushButton *button : {ui->btnNew, ui->btnChooseTemplate, ui->btnTemplate})
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 16);
    ui->pnlPagelette->setMinimumWidth(
        std::clamp(ui->pnlPagelette->layout()->minimumSize().width(), kMinPaneWidth, kMaxPaneWidth));
    ui->Splitter->setStretchFactor(0, 0);
    ui->Splitter->setStretchFactor(1, 1);
    ui->Splitter->installEventFilter(this);

    // The designed 628 x 478 client area, widened to what the panels need to show every caption
    // in this system's fonts.
    setMinimumSize(QSize(628, 478).expandedTo(minimumSizeHint()));

    m_marker = new TInsertMarker(ui->pnlPagelette);
    m_marker->setObjectName(u"shp"_s);
    ui->lstBlocks->setMarker(m_marker);
    setTrash(kBinUntouched);

    ui->browser->setViewImages(true);
    ui->browser->setBorderStyle(ThtmlLite::htSingle);
    ui->browser->setHistoryMaxCount(0);
    ui->browser->setImageCacheCount(0);
    ui->browser->setDefFontName(u"Times New Roman"_s);
    ui->browser->setDefPreFontName(u"Courier New"_s);
    ui->browser->setNoSelect(false);

    Help::attachF1(ui->lstBlocks, kTopicBlocks);
    Help::attachWhatsThis(ui->lstPalette, kTopicPalette);
    Help::attachWhatsThis(ui->lstThemes, kTopicThemes);
    Help::attachWhatsThis(ui->browser, kTopicBrowser);
    Help::attachWhatsThis(ui->imgTrash, kTopicTrash);
}

void TfrmMain::setUpMenu()
{
    m_popBlocks = new QMenu(this);
    m_popBlocks->setObjectName(u"popBlocks"_s);
    m_mnuHelp = new QMenu(u"&Help"_s, this);
    m_mnuHelp->menuAction()->setObjectName(u"mnuHelp"_s);
    m_mnuHelp->addAction(ui->mnuHelpContents);
    m_mnuHelp->addAction(ui->mnuTips);
    m_mnuHelp->addSeparator();
    m_mnuHelp->addAction(ui->mnuHelpWeb);
    m_mnuHelp->addAction(ui->mnuHelpHosting);
    m_mnuHelp->addSeparator();
    m_mnuHelp->addAction(ui->mnuHelpAbout);

    m_popBlocks->addAction(ui->mnuDelete);
    m_popBlocks->addAction(separator(m_popBlocks, u"N1"_s));
    m_popBlocks->addAction(ui->mnuUndo);
    m_popBlocks->addAction(ui->mnuRedo);
    m_popBlocks->addAction(separator(m_popBlocks, u"N7"_s));
    m_popBlocks->addAction(ui->mnuNew);
    m_popBlocks->addAction(separator(m_popBlocks, u"N2"_s));
    m_popBlocks->addAction(ui->mnuOpen);
    m_popBlocks->addAction(separator(m_popBlocks, u"N4"_s));
    m_popBlocks->addAction(ui->mnuSave);
    m_popBlocks->addAction(ui->mnuCreateTemplate);
    m_popBlocks->addAction(separator(m_popBlocks, u"N6"_s));
    m_popBlocks->addMenu(m_mnuHelp);
    m_popBlocks->addAction(separator(m_popBlocks, u"N3"_s));
    m_popBlocks->addAction(ui->mnuCancel);

    // Del deletes only while the block list has the focus; the document commands, undo and help
    // work anywhere in the window. An edit box keeps its own undo keys while it holds text not
    // yet committed (see keepsTextHistory).
    ui->lstBlocks->addAction(ui->mnuDelete);
    ui->mnuRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction *action : {ui->mnuUndo, ui->mnuRedo, ui->mnuNew, ui->mnuOpen, ui->mnuSave, ui->mnuCreateTemplate,
                            ui->mnuHelpContents})
        addAction(action);
    qApp->installEventFilter(this);
    connect(m_popBlocks, &QMenu::aboutToHide, this, [this] {
        // Hidden entries lose their shortcut; Del must keep working after the menu closes.
        ui->mnuDelete->setVisible(true);
        menuSeparator(m_popBlocks, u"N1"_s)->setVisible(true);
    });
}

void TfrmMain::connectControls()
{
    connect(ui->btnCreate, &QToolButton::clicked, this, &TfrmMain::showCreateView);
    connect(ui->btnPreview, &QToolButton::clicked, this, &TfrmMain::viewPage);
    connect(ui->btnSave, &QToolButton::clicked, this, &TfrmMain::savePage);
    connect(ui->btnUpload, &QToolButton::clicked, this, &TfrmMain::sendToWeb);
    connect(ui->btnHelp, &QToolButton::clicked, this, [this] { Help::showContents(this); });
    connect(ui->btnHosting, &QToolButton::clicked, this, [] { OpenUrl(kHostingAddress.toString()); });
    connect(ui->btnNew, &QPushButton::clicked, this, &TfrmMain::newPage);
    connect(ui->btnChooseTemplate, &QPushButton::clicked, this, &TfrmMain::openPage);
    connect(ui->btnTemplate, &QPushButton::clicked, this, &TfrmMain::saveAsTemplate);

    connect(ui->mnuDelete, &QAction::triggered, this, [this] { deleteBlock(ui->lstBlocks->currentRow()); });
    connect(ui->mnuUndo, &QAction::triggered, this, &TfrmMain::undo);
    connect(ui->mnuRedo, &QAction::triggered, this, &TfrmMain::redo);
    connect(ui->mnuNew, &QAction::triggered, this, &TfrmMain::newPage);
    connect(ui->mnuOpen, &QAction::triggered, this, &TfrmMain::openPage);
    connect(ui->mnuSave, &QAction::triggered, this, &TfrmMain::savePage);
    connect(ui->mnuCreateTemplate, &QAction::triggered, this, &TfrmMain::saveAsTemplate);
    connect(ui->mnuHelpContents, &QAction::triggered, this, [this] { Help::showContents(this); });
    connect(ui->mnuTips, &QAction::triggered, this, &TfrmMain::showTipOfTheDay);
    connect(ui->btnExternalView, &QToolButton::clicked, this, &TfrmMain::previewInBrowser);
    connect(ui->mnuHelpWeb, &QAction::triggered, this, [] { OpenUrl(kMakerAddress.toString()); });
    connect(ui->mnuHelpHosting, &QAction::triggered, this, [] { OpenUrl(kHostingAddress.toString()); });
    connect(ui->mnuHelpAbout, &QAction::triggered, this, [this] { TSplashScreen::showAbout(this); });

    for (QWidget *source : {static_cast<QWidget *>(ui->pbButtons), static_cast<QWidget *>(ui->btnCreate),
                            static_cast<QWidget *>(ui->btnPreview), static_cast<QWidget *>(ui->btnSave),
                            static_cast<QWidget *>(ui->btnUpload)}) {
        source->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(source, &QWidget::customContextMenuRequested, this,
                [this, source](const QPoint &pos) { showBlockMenu(source, source->mapToGlobal(pos)); });
    }

    connect(ui->lstPalette, &TPaletteList::blockTypeChosen, this, [this](int type) { m_blockTypeToInsert = type; });
    connect(ui->lstPalette, &TPaletteList::dragHovered, ui->lstBlocks, &TBlockList::hideMarker);
    // The keyboard adds and moves blocks as the matching drags would.
    connect(ui->lstPalette, &TPaletteList::addWanted, this, [this](int paletteRow) {
        const int selected = ui->lstBlocks->currentRow();
        lstBlocksDragDrop({BlockDrag::Origin::Palette, paletteRow},
                          selected >= 0 ? selected + 1 : ui->lstBlocks->count());
    });
    connect(ui->lstBlocks, &TBlockList::moveWanted, this,
            [this](int row, int position) { lstBlocksDragDrop({BlockDrag::Origin::Blocks, row}, position); });
    connect(ui->lstBlocks, &TBlockList::rowChosen, this, &TfrmMain::lstBlocksClick);
    connect(ui->lstBlocks, &TBlockList::dropped, this, &TfrmMain::lstBlocksDragDrop);
    connect(ui->lstBlocks, &TBlockList::contextMenuWanted, this,
            [this](const QPoint &globalPos) { showBlockMenu(ui->lstBlocks, globalPos); });
    connect(ui->imgTrash, &TTrashBin::dropped, this,
            [this](const BlockDrag::Payload &payload) { deleteBlock(payload.row); });

    connect(ui->lstThemes, &QListWidget::itemClicked, this, &TfrmMain::lstThemesClick);
    connect(ui->blockEditor, &TBlockEditor::themeRequested, this, [this] { editThemes(false); });
    connect(ui->btnThemeEdit, &QToolButton::clicked, this, [this] { editThemes(true); });
    connect(ui->btnToggle, &QToolButton::toggled, this, [this](bool down) {
        ui->lstThemes->setVisible(down);
        ui->bevSpacer->setVisible(down);
    });
    // Links in the preview are never followed.
    connect(ui->browser, &ThtmlLite::OnHotSpotClick, this, [](const QString &, bool &handled) { handled = true; });
}

// ---- start-up and closing ----

void TfrmMain::restorePlacement()
{
    const TWindowPlacement placement =
        ReadWindowPlacement(SettingsStore::instance(), QRect(pos(), size()), ui->pnlPagelette->minimumWidth());
    if (placement.normal) {
        setWindowState(Qt::WindowNoState);
        move(placement.bounds.topLeft());
        resize(placement.bounds.size());
    } else {
        setWindowState(Qt::WindowMaximized);
    }
    setPaneWidth(placement.paneWidth);
    m_showTips = ReadShowTips(SettingsStore::instance());
}

void TfrmMain::storePlacement()
{
    SettingsStore &store = SettingsStore::instance();
    WriteWindowPlacement(store, windowState(), QRect(pos(), size()), paneWidth());
    QString error;
    if (!store.sync(&error))
        Messages::error(this, error);
}

// An installed program keeps its pages in a folder of the user's own, made at the first start;
// when that cannot be made it still runs, on the shipped files, and says why nothing will save.
void TfrmMain::reportProgramFolder()
{
    const ProgramFolderSetup &setup = CurrentProgramFolder();
    if (setup.error.isEmpty())
        return;
    const QString text = setup.perUser
                             ? u"Some of Brisko's files could not be copied into your folder \"%1\"."_s.arg(
                                   QDir::toNativeSeparators(setup.folder))
                             : u"Brisko cannot make a folder of your own for your pages, so it runs on the files "
                               u"it was installed with, and nothing can be saved."_s;
    Messages::warning(this, text, setup.error);
}

// A desktop that does not know our file types still runs the program: the failure is reported
// and start-up goes on. An installed program brought its desktop entry, MIME package and icons
// along; copies in the user's folders would only hide those.
void TfrmMain::registerFileTypes()
{
    if (DesktopFilesInstalled(QCoreApplication::applicationDirPath()))
        return;
    QList<DesktopIcon> icons;
    const auto add = [&icons](DesktopIcon::Kind kind, const QMap<int, QByteArray> &files) {
        for (auto file = files.cbegin(); file != files.cend(); ++file)
            icons.append({kind, file.key(), file.value()});
    };
    add(DesktopIcon::Kind::Program, Art::applicationIconFiles());
    add(DesktopIcon::Kind::Template, Art::documentIconFiles(0));
    add(DesktopIcon::Kind::Project, Art::documentIconFiles(1));
    QString error;
    if (!RegisterFileTypes(QCoreApplication::applicationFilePath(), &error) || !InstallFileTypeIcons(icons, &error))
        Messages::error(this, error);
}

void TfrmMain::loadThemes()
{
    ui->lstThemes->clearStrings();
    QString error;
    if (!LoadThemes(m_doc->programFolder() + kThemesFileName, m_themes, &error)) {
        Messages::error(this, error);
        return;
    }
    fillThemeList();
}

void TfrmMain::fillThemeList()
{
    ui->lstThemes->clearStrings();
    for (int i = 0; i < m_themes.Items.Count(); ++i)
        ui->lstThemes->addString(m_themes.Items.Items(i)->ThemeName);
}

int TfrmMain::paneWidth() const
{
    return m_pendingPaneWidth >= 0 ? m_pendingPaneWidth : ui->pnlPagelette->width();
}

// The splitter only takes exact sizes once it has its own width; until then the width waits.
void TfrmMain::setPaneWidth(int width)
{
    m_pendingPaneWidth = std::clamp(width, kMinPaneWidth, kMaxPaneWidth);
    const int total = ui->Splitter->width() - ui->Splitter->handleWidth();
    if (total > m_pendingPaneWidth) {
        ui->Splitter->setSizes({m_pendingPaneWidth, total - m_pendingPaneWidth});
        m_pendingPaneWidth = -1;
    }
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_splash)
        m_splash->hide();
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QKeyCombination combination = key->keyCombination();
        const bool back = combination == QKeyCombination(Qt::CTRL | Qt::Key_Z);
        const bool forward = combination == QKeyCombination(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)
                          || combination == QKeyCombination(Qt::CTRL | Qt::Key_Y);
        auto *widget = qobject_cast<QWidget *>(watched);
        if ((back || forward) && widget && widget->window() == this && !keepsTextHistory(watched, back)) {
            // Not taken by the edit box: the key reaches the window's Undo or Redo.
            event->ignore();
            return true;
        }
        return false;
    }
    if (watched == ui->pbButtons && event->type() == QEvent::Paint) {
        paintButtonFrame();
        return true;
    }
    if (watched == ui->Splitter && event->type() == QEvent::Resize && m_pendingPaneWidth >= 0)
        setPaneWidth(m_pendingPaneWidth);
    return QMainWindow::eventFilter(watched, event);
}

// The etched outline around the four large buttons: shadow down the right edge and across to
// the left, highlight up the left edge and back to the start.
void TfrmMain::paintButtonFrame()
{
    QPainter painter(ui->pbButtons);
    const int right = ui->pbButtons->width() - 1;
    const int top = ui->btnCreate->geometry().top();
    const int bottom = ui->btnUpload->geometry().bottom() + 1;
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(right, top, right, bottom);
    painter.drawLine(right, bottom, 0, bottom + top);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(0, bottom + top, 0, 0);
    painter.drawLine(0, 0, right, top);
}

// ---- views and menu ----

void TfrmMain::showCreateView()
{
    // The two view buttons show which view is up; they are not a radio group, so that Tab
    // reaches both.
    ui->btnCreate->setChecked(true);
    ui->btnPreview->setChecked(false);
    ui->pnlViews->setCurrentWidget(ui->pnlCreate);
}

void TfrmMain::viewPage()
{
    const auto lines = buildPageHtml(pmPreview);
    ui->browser->ClearDocument();
    ui->browser->setServerRoot(m_doc->programFolder() + u"Upload");
    if (lines)
        ui->browser->LoadHtmlStrings(*lines);
    ui->btnPreview->setChecked(true);
    ui->btnCreate->setChecked(false);
    ui->pnlViews->setCurrentWidget(ui->pnlPreview);
    ui->browser->setFocus(Qt::OtherFocusReason); // so that the arrows and page keys scroll the page
}

void TfrmMain::showTipOfTheDay()
{
    std::unique_ptr<TfrmTips> tips;
    {
        BusyCursor busy;
        tips = std::make_unique<TfrmTips>(m_doc->programFolder(), m_showTips != 0, this);
    }
    tips->exec();
    m_showTips = tips->showTips() ? 1 : 0;
}

void TfrmMain::lstThemesClick()
{
    const int row = ui->lstThemes->currentRow();
    if (row < 0 || ui->lstThemes->selectedItems().isEmpty())
        return;
    commitPanel();
    m_doc->applyTheme(m_themes, row);
    viewPage();
}

void TfrmMain::showBlockMenu(QWidget *source, const QPoint &globalPos)
{
    const bool canDelete = source == ui->lstBlocks && ui->lstBlocks->currentRow() >= 0;
    ui->mnuDelete->setVisible(canDelete);
    menuSeparator(m_popBlocks, u"N1"_s)->setVisible(canDelete);
    m_popBlocks->popup(globalPos);
}

// ---- block list ----

// The block list and the panels follow the document: on every change, undo and redo. The title
// follows its name once the creation handler has made the first page.
void TfrmMain::connectDocument()
{
    TBlockList *list = ui->lstBlocks;
    connect(m_doc, &PageDocument::pageReset, this, &TfrmMain::rebuildBlockList);
    connect(m_doc, &PageDocument::blockInserted, this, [this, list](int index, int type) {
        list->insertBlockRow(index, type);
        showBlock(index);
    });
    connect(m_doc, &PageDocument::blockMoved, this, [this, list](int from, int to) {
        list->insertItem(to, list->takeItem(from));
        showBlock(to);
    });
    connect(m_doc, &PageDocument::blockDeleted, this, &TfrmMain::blockRowDeleted);
    connect(m_doc, &PageDocument::blockChanged, this, &TfrmMain::blockFieldsChanged);
    connect(m_doc, &PageDocument::formChanged, this, [this] {
        // An undone form change shows the form it changed; the field list follows by itself.
        for (int i = 0; m_followingHistory && i < m_doc->blockCount(); ++i) {
            if (m_doc->blockType(i) == btForms)
                showBlock(i);
        }
    });
    QUndoStack &history = m_doc->undoStack();
    for (auto signal : {&QUndoStack::canUndoChanged, &QUndoStack::canRedoChanged})
        connect(&history, signal, this, &TfrmMain::updateHistoryItems);
    for (auto signal : {&QUndoStack::undoTextChanged, &QUndoStack::redoTextChanged})
        connect(&history, signal, this, &TfrmMain::updateHistoryItems);
    updateHistoryItems();
}

void TfrmMain::updateHistoryItems()
{
    const QUndoStack &history = m_doc->undoStack();
    const auto caption = [](const QString &verb, const QString &step) {
        return step.isEmpty() ? verb : verb + u' ' + step;
    };
    ui->mnuUndo->setText(caption(u"&Undo"_s, history.undoText()));
    ui->mnuRedo->setText(caption(u"&Redo"_s, history.redoText()));
    ui->mnuUndo->setEnabled(history.canUndo());
    ui->mnuRedo->setEnabled(history.canRedo());
}

void TfrmMain::undo()
{
    historyStep(true);
}

void TfrmMain::redo()
{
    historyStep(false);
}

void TfrmMain::historyStep(bool back)
{
    commitPanel();
    const QUndoStack &history = m_doc->undoStack();
    if (back ? !history.canUndo() : !history.canRedo())
        return;
    m_followingHistory = true;
    if (back)
        m_doc->undo();
    else
        m_doc->redo();
    m_followingHistory = false;
    if (ui->pnlViews->currentWidget() == ui->pnlPreview)
        viewPage();
}

bool TfrmMain::keepsTextHistory(QObject *widget, bool back) const
{
    if (!m_doc)
        return false;
    bool available = false;
    if (const auto *edit = qobject_cast<const QLineEdit *>(widget))
        available = back ? edit->isUndoAvailable() : edit->isRedoAvailable();
    else if (const auto *memo = qobject_cast<const QPlainTextEdit *>(widget))
        available = back ? memo->document()->isUndoAvailable() : memo->document()->isRedoAvailable();
    else
        return false;
    return available && ui->blockEditor->isAncestorOf(static_cast<const QWidget *>(widget))
        && ui->blockEditor->hasUncommittedEdits(m_doc->page());
}

void TfrmMain::showBlock(int index)
{
    ui->lstBlocks->setCurrentRow(index);
    ui->blockEditor->loadBlock(m_doc->page(), index);
}

void TfrmMain::blockRowDeleted(int index)
{
    TBlockList *list = ui->lstBlocks;
    delete list->takeItem(index);
    list->setCurrentRow(index - 1);
    ui->blockEditor->setCurrentBlockIndex(-1); // the deleted block's panel must not be committed
    ui->blockEditor->loadBlock(m_doc->page(), index - 1);
    if (m_trashState != kBinFull)
        setTrash(kBinFull);
    if (list->count() == 1) {
        ui->blockEditor->hideAlignBar();
        setTrash(kBinEmpty);
    }
}

void TfrmMain::blockFieldsChanged(int index)
{
    if (index == 0)
        selectPageTheme();
    // A commit leaves the panel as it is; anything else shows the block as it now is.
    if (!m_committing && (m_followingHistory || index == ui->blockEditor->currentBlockIndex()))
        showBlock(index);
}

void TfrmMain::commitPanel()
{
    const int index = ui->blockEditor->currentBlockIndex();
    if (index == -1)
        return;
    const std::optional<TBlockEdit> edit = ui->blockEditor->editedBlock(m_doc->page());
    m_committing = true;
    if (edit)
        m_doc->commitBlock(index, *edit);
    else
        m_doc->markModified(); // the rule holds also when the index points past the end
    m_committing = false;
}

void TfrmMain::lstBlocksClick(int row)
{
    commitPanel();
    ui->blockEditor->loadBlock(m_doc->page(), row);
}

void TfrmMain::lstBlocksDragDrop(const BlockDrag::Payload &payload, int position)
{
    TBlockList *list = ui->lstBlocks;
    const int count = list->count();
    if (position < 0 || position > count)
        return;
    if (payload.origin == BlockDrag::Origin::Palette) {
        const int type = payload.row + 1;
        if (type < btHeading || type > btForms)
            return;
        m_blockTypeToInsert = type;
        if (type == btForms && m_doc->hasFormsBlock()) {
            Messages::information(this, kSecondFormMessage);
            return;
        }
        commitPanel();
        m_doc->insertBlock(position, type); // the list and the panel follow the document
        return;
    }
    const int from = payload.row;
    if (from <= 0 || from >= count)
        return;
    // The open panel may hold edits of the dragged block: store them before it moves.
    commitPanel();
    // The list and the panel follow a move. A drop onto the page details or onto the block
    // itself moves nothing and still opens the row dropped on; below the last row the
    // selection stays.
    if (!m_doc->moveBlock(from, position) && position != count)
        showBlock(position);
}

void TfrmMain::deleteBlock(int row)
{
    if (row < 0 || row >= ui->lstBlocks->count() || row >= m_doc->blockCount())
        return;
    if (row == 0) {
        Messages::information(this, kPageDetailsStayMessage);
        return;
    }
    Messages::beep();
    if (Messages::show(this, Messages::Kind::Confirmation, u"Do you want to delete the selected Pagelette item?"_s,
                       Messages::Yes | Messages::No)
        != Messages::Yes)
        return;
    m_doc->deleteBlock(row); // the list, the panel and the bin follow the document
}

void TfrmMain::setTrash(int state)
{
    m_trashState = state;
    ui->imgTrash->setPixmap(Art::trash(state == kBinFull));
}

// The whole page changed: the list is filled anew and the page details open without anything
// being committed into the new page.
void TfrmMain::rebuildBlockList()
{
    ui->lstBlocks->clear();
    const TPagelette &page = m_doc->page();
    for (int i = 0; i < page.Page.Count(); ++i)
        ui->lstBlocks->addBlockRow(page.Page.Items(i)->BlockType);
    ui->blockEditor->setCurrentBlockIndex(-1);
    ui->lstBlocks->setCurrentRow(0);
    lstBlocksClick(0);
}
