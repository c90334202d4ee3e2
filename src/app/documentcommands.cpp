// The main window's document commands: New, Open, Save, Save As Template, loading a file,
// generating the page and closing.

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "app/blockeditor.h"
#include "dialogs/templatesdialog.h"
#include "document/pagefile.h"
#include "html/htmlfile.h"
#include "html/pagehtml.h"
#include "platform/gui/busycursor.h"
#include "platform/gui/filedialogs.h"
#include "platform/gui/help.h"
#include "platform/gui/messages.h"
#include "platform/programfolder.h"

#include <QCloseEvent>
#include <QFile>

using namespace Qt::StringLiterals;

namespace {

constexpr int kTopicSaved = 171;

const QString kUntitled = u"Untitled"_s;

int askToSave(QWidget *parent, const QString &documentName)
{
    return Messages::show(parent, Messages::Kind::Confirmation,
                          u"Would you like to save changes to %1?"_s.arg(documentName),
                          Messages::Yes | Messages::No | Messages::Cancel);
}

} // namespace

void TfrmMain::setTitle()
{
    setWindowTitle(TitleBarText(m_documentName, kApplicationTitle.toString()));
}

bool TfrmMain::newPage()
{
    if (m_modified) {
        const int answer = askToSave(this, m_documentName);
        if (answer == Messages::Yes)
            savePage();
        else if (answer == Messages::No)
            m_modified = false;
        else
            return false;
    }
    if (m_modified)
        return false; // the save was cancelled or failed: the page stays
    resetToNewPage();
    ui->blockEditor->loadBlock(*m_document, 0);
    m_documentName = kUntitled;
    setTitle();
    showCreateView();
    return true;
}

void TfrmMain::openPage()
{
    newPage();
    if (m_modified)
        return;
    std::unique_ptr<TfrmTemplates> chooser;
    {
        BusyCursor busy;
        chooser = std::make_unique<TfrmTemplates>(m_programFolder, this);
    }
    if (chooser->exec() == QDialog::Accepted && !chooser->SelectedFile().isEmpty())
        loadDocument(chooser->SelectedFile());
}

void TfrmMain::loadDocument(const QString &path)
{
    m_document->Page.Clear();
    QString error;
    auto loaded = LoadDocument(path, &error);
    const bool read = loaded != nullptr;
    if (read) {
        m_document = std::move(loaded);
    } else {
        Messages::error(this, kInvalidDocumentMessage);
        m_document->ResetContent(true);
        m_document->AddDefaultBlocks();
    }
    rebuildBlockList();
    // A template starts an unnamed page, and so does a file that could not be read: naming the
    // new page after it would present it as opened and aim the next save question at it.
    m_documentName = read ? DocumentNameAfterLoad(path) : kUntitled;
    setTitle();
}

bool TfrmMain::savePage()
{
    const QString path = FileDialogs::getSaveFileName(this, u"Brisko Files|*.mbe"_s, u"mbe"_s,
                                                      m_programFolder + ProgramFiles::kProjects);
    if (path.isEmpty())
        return false;
    // The project file holds what the open panel shows, like the pages written with it.
    commitPanel();
    QString error;
    if (!WriteDocument(path, *m_document, &error)) {
        Messages::error(this, kUnableToCreateFileMessage);
        return false;
    }

    const SavedPagePaths paths = SavePagePaths(m_programFolder, path);
    QString publishError;
    if (const auto previewLines = buildPageHtml(pmRelative)) {
        WriteHtmlFile(paths.previewPage, *previewLines); // a convenience copy: its failure is not reported
        if (const auto uploadLines = buildPageHtml(pmUpload)) {
            if (!WriteHtmlFile(paths.publishedPage, *uploadLines, &publishError) && publishError.isEmpty())
                publishError = u"the file could not be written."_s;
        } else {
            publishError = m_generatorError;
        }
    } else {
        publishError = m_generatorError;
    }

    m_documentName = path;
    setTitle();
    m_modified = false;
    if (publishError.isEmpty()) {
        Messages::show(this, Messages::Kind::Information,
                       u"\"%1\" page has been automatically saved in your Uploads folder."_s.arg(paths.publishedName),
                       Messages::Ok | Messages::Help, kTopicSaved);
    } else {
        Messages::warning(this, u"The page was saved, but \"%1\" could not be written to your Uploads folder:\n%2"_s.arg(
                                    paths.publishedName, publishError));
    }
    return true;
}

bool TfrmMain::saveAsTemplate()
{
    const QString path = FileDialogs::getSaveFileName(this, u"Brisko Template|*.mbt"_s, u"mbt"_s,
                                                      m_programFolder + ProgramFiles::kTemplates);
    if (path.isEmpty())
        return false;
    commitPanel();
    QString error;
    if (!WriteDocument(path, *m_document, &error)) {
        Messages::error(this, kUnableToCreateFileMessage);
        return false;
    }
    // The chooser's preview of the template always lives in the program's templates folder.
    if (const auto lines = buildPageHtml(pmRelative)) {
        if (!WriteHtmlFile(TemplatePreviewPath(m_programFolder, path), *lines, &error))
            Messages::error(this, error);
    }
    return true;
}

std::optional<QStringList> TfrmMain::buildPageHtml(quint8 pathMode)
{
    commitPanel();
    QStringList lines;
    m_generatorError.clear();
    {
        BusyCursor busy;
        lines = BuildPageHtml(*m_document, pathMode, ui->blockEditor->showLogo(), m_programFolder, &m_generatorError);
        selectPageTheme();
    }
    if (!m_generatorError.isEmpty()) {
        Messages::warning(this, u"Error Creating Web Page"_s);
        return std::nullopt;
    }
    return lines;
}

void TfrmMain::selectPageTheme()
{
    const int index = m_themes.Items.IndexOfName(PageThemeName(*m_document));
    if (index >= 0 && index < ui->lstThemes->count()) {
        ui->lstThemes->setCurrentRow(index);
    } else {
        ui->lstThemes->clearSelection();
        ui->lstThemes->setCurrentRow(-1);
    }
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (m_modified) {
        const int answer = askToSave(this, m_documentName);
        // Closing goes on only once the page is saved or given up: a cancelled or failed save
        // keeps the window open with the page in it.
        const bool close = answer == Messages::No || (answer == Messages::Yes && savePage());
        if (!close) {
            event->ignore();
            return;
        }
    }
    storePlacement();
    QFile::remove(m_programFolder + ProgramFiles::kProjects + u"~tmp.html");
    Help::quit();
    event->accept();
}
