// The main window's document commands: New, Open, Save, Save As Template, loading a file,
// generating the page and closing. The page document carries them out; the window asks the
// questions, commits the open panel and shows what came of them.

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "app/blockeditor.h"
#include "dialogs/templatesdialog.h"
#include "document/pagefile.h"
#include "html/pagehtml.h"
#include "platform/gui/busycursor.h"
#include "platform/gui/filedialogs.h"
#include "platform/gui/help.h"
#include "platform/gui/messages.h"
#include "platform/gui/shell.h"
#include "platform/programfolder.h"
#include "project/pagedocument.h"
#include "project/recovery.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

namespace {

constexpr int kTopicSaved = 171;

int askToSave(QWidget *parent, const QString &documentName)
{
    return Messages::show(parent, Messages::Kind::Confirmation,
                          u"Would you like to save changes to %1?"_s.arg(documentName),
                          Messages::Yes | Messages::No | Messages::Cancel);
}

} // namespace

const TPagelette &TfrmMain::document() const
{
    return m_doc->page();
}

QString TfrmMain::documentName() const
{
    return m_doc->name();
}

QString TfrmMain::programFolder() const
{
    return m_doc->programFolder();
}

bool TfrmMain::modified() const
{
    return m_doc->isModified();
}

void TfrmMain::report(const DocumentOutcome &outcome, bool warning)
{
    if (outcome.ok())
        return;
    if (warning)
        Messages::warning(this, outcome.message, outcome.detail);
    else
        Messages::error(this, outcome.message, outcome.detail);
}

void TfrmMain::setTitle()
{
    setWindowTitle(TitleBarText(m_doc->name(), kApplicationTitle.toString()));
}

bool TfrmMain::newPage()
{
    if (m_doc->isModified()) {
        const int answer = askToSave(this, m_doc->name());
        if (answer == Messages::Yes)
            savePage();
        else if (answer == Messages::No)
            m_doc->setModified(false);
        else
            return false;
    }
    if (m_doc->isModified())
        return false; // the save was cancelled or failed: the page stays
    m_doc->newPage();
    showCreateView();
    return true;
}

void TfrmMain::openPage()
{
    newPage();
    if (m_doc->isModified())
        return;
    std::unique_ptr<TfrmTemplates> chooser;
    {
        BusyCursor busy;
        chooser = std::make_unique<TfrmTemplates>(m_doc->programFolder(), this);
    }
    if (chooser->exec() == QDialog::Accepted && !chooser->SelectedFile().isEmpty())
        loadDocument(chooser->SelectedFile());
}

void TfrmMain::loadDocument(const QString &path)
{
    // The list and the panels follow the document's reset; the message comes once they have.
    report(m_doc->load(path));
}

bool TfrmMain::savePage()
{
    // Saving over the page's own file needs no question; over any other file it does.
    const QString path = FileDialogs::getSaveFileName(this, u"Brisko Files|*.mbe"_s, u"mbe"_s,
                                                      m_doc->programFolder() + ProgramFiles::kProjects, m_doc->name());
    if (path.isEmpty())
        return false;
    // The project file holds what the open panel shows, like the pages written with it.
    commitPanel();
    SaveOutcome outcome;
    {
        BusyCursor busy;
        outcome = m_doc->save(path, ui->blockEditor->showLogo());
        selectPageTheme();
    }
    if (!outcome.project.ok()) {
        report(outcome.project);
        return false;
    }
    report(outcome.page, true);
    if (outcome.publishError.isEmpty()) {
        Messages::show(this, Messages::Kind::Information,
                       u"\"%1\" page has been automatically saved in your Uploads folder."_s.arg(outcome.publishedName),
                       Messages::Ok | Messages::Help, kTopicSaved);
    } else {
        Messages::warning(this, u"The page was saved, but \"%1\" could not be written to your Uploads folder:\n%2"_s.arg(
                                    outcome.publishedName, outcome.publishError));
    }
    return true;
}

bool TfrmMain::saveAsTemplate()
{
    const QString path = FileDialogs::getSaveFileName(this, u"Brisko Template|*.mbt"_s, u"mbt"_s,
                                                      m_doc->programFolder() + ProgramFiles::kTemplates);
    if (path.isEmpty())
        return false;
    commitPanel();
    DocumentOutcome outcome;
    {
        BusyCursor busy;
        outcome = m_doc->saveAsTemplate(path, ui->blockEditor->showLogo());
        selectPageTheme();
    }
    // A template that could not be written stops here; a preview page that could not be made
    // or written is reported, and the template stays saved.
    report(outcome, outcome.code == DocumentError::PageNotMade);
    return outcome.code != DocumentError::UnableToCreateFile;
}

std::optional<QStringList> TfrmMain::buildPageHtml(quint8 pathMode)
{
    commitPanel();
    std::optional<QStringList> lines;
    DocumentOutcome outcome;
    {
        BusyCursor busy;
        lines = m_doc->buildHtml(pathMode, ui->blockEditor->showLogo(), &outcome);
        selectPageTheme();
    }
    report(outcome, true);
    return lines;
}

void TfrmMain::previewInBrowser()
{
    commitPanel();
    DocumentOutcome outcome;
    {
        BusyCursor busy;
        outcome = m_doc->writeBrowserPreview(ui->blockEditor->showLogo());
        selectPageTheme();
    }
    // A preview file that could not be written is reported: opening the path would show an
    // older page as if it were this one.
    if (!outcome.ok()) {
        report(outcome, outcome.code == DocumentError::PageNotMade);
        return;
    }
    // The page is written: where no browser can show it, the user can still open the file.
    const QString path = m_doc->browserPreviewPath();
    if (!OpenWithDesktop(path)) {
        Messages::information(this, u"No program to open web pages was found. The preview page is in %1."_s.arg(
                                        QDir::toNativeSeparators(path)));
    }
}

void TfrmMain::offerRecovery()
{
    for (const RecoveryKeeper::Orphan &orphan : RecoveryKeeper::orphans(m_recovery->folder())) {
        // Only an explicit No gives the work up: Escape or the close button leave the copy for
        // the next start.
        const int answer =
            Messages::show(this, Messages::Kind::Confirmation,
                           u"Brisko closed without saving your changes to %1. Restore them?"_s.arg(orphan.documentName),
                           Messages::Yes | Messages::No | Messages::CloseIsNoAnswer);
        if (answer == Messages::No) {
            RecoveryKeeper::remove(orphan);
            continue;
        }
        if (answer != Messages::Yes)
            break;
        const DocumentOutcome outcome = RecoveryKeeper::restore(orphan, *m_doc);
        report(outcome, true);
        if (outcome.ok())
            break; // one page at a time: other copies wait for the next start
    }
    QString error;
    if (!m_recovery->start(&error))
        Messages::warning(this, u"Unsaved work cannot be kept for recovery."_s, error);
}

void TfrmMain::selectPageTheme()
{
    const int index = m_themes.Items.IndexOfName(PageThemeName(m_doc->page()));
    if (index >= 0 && index < ui->lstThemes->count()) {
        ui->lstThemes->setCurrentRow(index);
    } else {
        ui->lstThemes->clearSelection();
        ui->lstThemes->setCurrentRow(-1);
    }
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (m_doc->isModified()) {
        const int answer = askToSave(this, m_doc->name());
        // Closing goes on only once the page is saved or given up: a cancelled or failed save
        // keeps the window open with the page in it.
        const bool close = answer == Messages::No || (answer == Messages::Yes && savePage());
        if (!close) {
            event->ignore();
            return;
        }
    }
    storePlacement();
    m_recovery->discard();
    QFile::remove(m_doc->browserPreviewPath());
    Help::quit();
    event->accept();
}
