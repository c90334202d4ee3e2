#include "pagedocument.h"

#include "document/pagefile.h"
#include "html/formhtml.h"
#include "html/htmlfile.h"
#include "html/pagehtml.h"
#include "platform/programfolder.h"
#include "document/pagetheme.h"
#include "themes/thememodel.h"

using namespace Qt::StringLiterals;

const QString kSecondFormMessage = u"Sorry, only one E-mail form per page is allowed."_s;
const QString kPageDetailsStayMessage = u"The Page Settings Block cannot be deleted."_s;
const QString kPageNotMadeMessage = u"Error Creating Web Page"_s;
const QString kPreviewNotWrittenMessage = u"The page could not be written for the web browser."_s;

PageDocument::PageDocument(const QString &programFolder, QObject *parent)
    : QObject(parent), m_page(std::make_unique<TPagelette>()), m_programFolder(programFolder)
{
}

PageDocument::~PageDocument() = default;

int PageDocument::blockType(int index) const
{
    const TPageItem *item = m_page->Page.Items(index);
    return item ? item->BlockType : -1;
}

bool PageDocument::hasFormsBlock() const
{
    for (int i = 0; i < m_page->Page.Count(); ++i) {
        if (m_page->Page.Items(i)->BlockType == btForms)
            return true;
    }
    return false;
}

void PageDocument::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    Q_EMIT modifiedChanged(modified);
}

void PageDocument::setName(const QString &name)
{
    // Announced also when it stays the same: a new page or a reload names the window again.
    m_name = name;
    Q_EMIT nameChanged(name);
}

void PageDocument::resetToNewPage()
{
    m_page->ResetContent(true);
    m_page->AddDefaultBlocks();
}

void PageDocument::newPage()
{
    resetToNewPage();
    Q_EMIT pageReset();
    setName(kUntitled.toString());
}

DocumentOutcome PageDocument::load(const QString &path)
{
    m_page->Page.Clear();
    QString error;
    auto loaded = LoadDocument(path, &error);
    const bool read = loaded != nullptr;
    if (read)
        m_page = std::move(loaded);
    else
        resetToNewPage();
    Q_EMIT pageReset();
    // A template starts an unnamed page, and so does a file that could not be read: naming the
    // new page after it would present it as opened and aim the next save question at it.
    setName(read ? DocumentNameAfterLoad(path) : kUntitled.toString());
    if (read)
        return DocumentOutcome::success();
    return DocumentOutcome::failure(kInvalidDocumentMessage, error);
}

void PageDocument::adopt(std::unique_ptr<TPagelette> page, const QString &name)
{
    m_page = std::move(page);
    Q_EMIT pageReset();
    setName(name);
    setModified(true);
}

std::optional<int> PageDocument::insertBlock(int position, int blockType, DocumentOutcome *outcome)
{
    if (blockType < btHeading || blockType > btForms || position < 0 || position > blockCount())
        return std::nullopt;
    if (blockType == btForms && hasFormsBlock()) {
        if (outcome)
            *outcome = DocumentOutcome::failure(kSecondFormMessage);
        return std::nullopt;
    }
    // Nothing goes before the page details.
    position = std::max(position, 1);
    if (!m_page->InsertNewBlock(position, TBlockType(blockType)))
        return std::nullopt;
    Q_EMIT blockInserted(position, blockType);
    return position;
}

bool PageDocument::moveBlock(int from, int to)
{
    const int count = blockCount();
    // The page details stay first; a block dropped below the last row or onto itself stays.
    if (from <= 0 || from >= count || to <= 0 || to >= count || to == from)
        return false;
    if (!m_page->Page.MoveItem(from, to))
        return false;
    Q_EMIT blockMoved(from, to);
    return true;
}

DocumentOutcome PageDocument::deleteBlock(int index)
{
    if (index == 0)
        return DocumentOutcome::failure(kPageDetailsStayMessage);
    const TPageItem *item = m_page->Page.Items(index);
    if (!item)
        return DocumentOutcome::success();
    const bool form = item->BlockType == btForms;
    if (form)
        m_page->ResetContent(false);
    m_page->Page.Delete(index);
    if (form)
        Q_EMIT formCleared();
    Q_EMIT blockDeleted(index);
    return DocumentOutcome::success();
}

bool PageDocument::applyTheme(const TWebTheme &themes, int index)
{
    return ApplyTheme(themes, index, *m_page);
}

std::optional<QStringList> PageDocument::buildHtml(quint8 pathMode, bool showLogo, DocumentOutcome *outcome) const
{
    QString error;
    QStringList lines = BuildPageHtml(*m_page, pathMode, showLogo, m_programFolder, StoredFormAction(), &error);
    if (!error.isEmpty()) {
        if (outcome)
            *outcome = DocumentOutcome::failure(kPageNotMadeMessage, error);
        return std::nullopt;
    }
    return lines;
}

SaveOutcome PageDocument::save(const QString &path, bool showLogo)
{
    SaveOutcome result;
    QString error;
    if (!WriteDocument(path, *m_page, &error)) {
        result.project = DocumentOutcome::failure(kUnableToCreateFileMessage, error);
        return result;
    }
    const SavedPagePaths paths = SavePagePaths(m_programFolder, path);
    result.publishedName = paths.publishedName;
    if (const auto previewLines = buildHtml(pmRelative, showLogo, &result.page)) {
        WriteHtmlFile(paths.previewPage, *previewLines); // a convenience copy: its failure is not reported
        if (const auto uploadLines = buildHtml(pmUpload, showLogo, &result.page)) {
            if (!WriteHtmlFile(paths.publishedPage, *uploadLines, &result.publishError)
                && result.publishError.isEmpty())
                result.publishError = u"the file could not be written."_s;
        }
    }
    if (!result.page.ok())
        result.publishError = result.page.detail;
    setName(path);
    setModified(false);
    return result;
}

QString PageDocument::browserPreviewPath() const
{
    return m_programFolder + ProgramFiles::kProjects + u"~tmp.html";
}

DocumentOutcome PageDocument::writeBrowserPreview(bool showLogo)
{
    DocumentOutcome made;
    const auto lines = buildHtml(pmRelative, showLogo, &made);
    if (!lines)
        return made;
    QString error;
    if (!WriteHtmlFile(browserPreviewPath(), *lines, &error))
        return DocumentOutcome::failure(kPreviewNotWrittenMessage, error);
    return DocumentOutcome::success();
}

DocumentOutcome PageDocument::saveAsTemplate(const QString &path, bool showLogo)
{
    QString error;
    if (!WriteDocument(path, *m_page, &error))
        return DocumentOutcome::failure(kUnableToCreateFileMessage, error);
    // The chooser's preview of the template always lives in the program's templates folder.
    DocumentOutcome made;
    const auto lines = buildHtml(pmRelative, showLogo, &made);
    if (!lines)
        return made;
    if (!WriteHtmlFile(TemplatePreviewPath(m_programFolder, path), *lines, &error))
        return DocumentOutcome::failure(error);
    return DocumentOutcome::success();
}
