#include "pagedocument.h"

#include "document/pagefile.h"
#include "html/formhtml.h"
#include "html/htmlfile.h"
#include "html/pagehtml.h"
#include "platform/programfolder.h"
#include "document/pagetheme.h"
#include "themes/thememodel.h"

#include <QUndoStack>

using namespace Qt::StringLiterals;

const QString kSecondFormMessage = u"Sorry, only one E-mail form per page is allowed."_s;
const QString kPageDetailsStayMessage = u"The Page Settings Block cannot be deleted."_s;
const QString kPageNotMadeMessage = u"Error Creating Web Page"_s;
const QString kPreviewNotWrittenMessage = u"The page could not be written for the web browser."_s;

namespace {

QString blockName(int type)
{
    return type >= 0 && type < kBlockTypeCount ? BlockTypeNames[size_t(type)].toString() : QString();
}

} // namespace

// Every change to the page. A command changes the page only through redo and undo, marks the
// page modified and says what changed.
class PageDocument::Command : public QUndoCommand
{
public:
    Command(PageDocument &doc, const QString &text) : QUndoCommand(text), m_doc(doc) {}

    void redo() final
    {
        apply(true);
        done();
    }
    void undo() final
    {
        apply(false);
        done();
    }

protected:
    virtual void apply(bool forward) = 0;
    TPagelette &page() { return *m_doc.m_page; }

    PageDocument &m_doc;

private:
    void done()
    {
        m_doc.setModified(true);
        Q_EMIT m_doc.changed();
    }
};

// New fields of one block: a panel's commit or a theme.
class PageDocument::BlockCommand : public Command
{
public:
    BlockCommand(PageDocument &doc, const QString &text, int index, TBlockEdit before, TBlockEdit after)
        : Command(doc, text), m_index(index), m_before(std::move(before)), m_after(std::move(after))
    {
    }

protected:
    void apply(bool forward) override
    {
        const TBlockEdit &edit = forward ? m_after : m_before;
        ApplyBlockEdit(page(), m_index, edit);
        Q_EMIT m_doc.blockChanged(m_index);
        if (edit.Item.BlockType == btForms && m_before.Form != m_after.Form)
            Q_EMIT m_doc.formChanged();
    }

private:
    int m_index;
    TBlockEdit m_before;
    TBlockEdit m_after;
};

class PageDocument::InsertCommand : public Command
{
public:
    InsertCommand(PageDocument &doc, int position, int type)
        : Command(doc, u"Add "_s + blockName(type)), m_position(position), m_type(type)
    {
    }

protected:
    void apply(bool forward) override
    {
        if (forward) {
            page().InsertNewBlock(m_position, TBlockType(m_type));
            Q_EMIT m_doc.blockInserted(m_position, m_type);
        } else {
            page().Page.Delete(m_position);
            Q_EMIT m_doc.blockDeleted(m_position);
        }
    }

private:
    int m_position;
    int m_type;
};

class PageDocument::MoveCommand : public Command
{
public:
    MoveCommand(PageDocument &doc, int from, int to)
        : Command(doc, u"Move "_s + blockName(doc.blockType(from))), m_from(from), m_to(to)
    {
    }

protected:
    void apply(bool forward) override
    {
        const int from = forward ? m_from : m_to;
        const int to = forward ? m_to : m_from;
        page().Page.MoveItem(from, to);
        Q_EMIT m_doc.blockMoved(from, to);
    }

private:
    int m_from;
    int m_to;
};

// Deleting a block; the Forms block takes the form with it, and brings it back on undo.
class PageDocument::DeleteCommand : public Command
{
public:
    DeleteCommand(PageDocument &doc, int index)
        : Command(doc, u"Delete "_s + blockName(doc.blockType(index))), m_index(index),
          m_item(*doc.page().Page.Items(index)), m_form(FormStateOf(doc.page()))
    {
    }

protected:
    void apply(bool forward) override
    {
        const bool form = m_item.BlockType == btForms;
        if (forward) {
            if (form)
                page().ResetContent(false);
            page().Page.Delete(m_index);
            Q_EMIT m_doc.blockDeleted(m_index);
        } else {
            *page().Page.Insert(m_index) = m_item;
            if (form)
                SetFormState(page(), m_form);
            Q_EMIT m_doc.blockInserted(m_index, m_item.BlockType);
        }
        if (form)
            Q_EMIT m_doc.formChanged();
    }

private:
    int m_index;
    TPageItem m_item;
    TFormState m_form;
};

// Any change to the form's fields or options.
class PageDocument::FormCommand : public Command
{
public:
    FormCommand(PageDocument &doc, const QString &text, TFormState before, TFormState after)
        : Command(doc, text), m_before(std::move(before)), m_after(std::move(after))
    {
    }

protected:
    void apply(bool forward) override
    {
        SetFormState(page(), forward ? m_after : m_before);
        Q_EMIT m_doc.formChanged();
    }

private:
    TFormState m_before;
    TFormState m_after;
};

PageDocument::PageDocument(const QString &programFolder, QObject *parent)
    : QObject(parent), m_page(std::make_unique<TPagelette>()), m_undo(std::make_unique<QUndoStack>()),
      m_programFolder(programFolder)
{
}

PageDocument::~PageDocument()
{
    // The commands refer to the page: they go first, without telling anyone.
    m_undo->blockSignals(true);
    m_undo.reset();
}

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

bool PageDocument::differsFromFile() const
{
    return m_unsavedBase || !m_undo->isClean();
}

void PageDocument::undo()
{
    m_undo->undo();
}

void PageDocument::redo()
{
    m_undo->redo();
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

void PageDocument::startHistory()
{
    m_undo->clear();
    Q_EMIT pageReset();
    Q_EMIT changed();
}

void PageDocument::newPage()
{
    m_unsavedBase = false;
    resetToNewPage();
    startHistory();
    setName(kUntitled.toString());
}

DocumentOutcome PageDocument::load(const QString &path)
{
    m_undo->clear();
    m_unsavedBase = false;
    m_page->Page.Clear();
    QString error;
    auto loaded = LoadDocument(path, &error);
    const bool read = loaded != nullptr;
    if (read)
        m_page = std::move(loaded);
    else
        resetToNewPage();
    startHistory();
    // A template starts an unnamed page, and so does a file that could not be read: naming the
    // new page after it would present it as opened and aim the next save question at it.
    setName(read ? DocumentNameAfterLoad(path) : kUntitled.toString());
    if (read)
        return DocumentOutcome::success();
    return DocumentOutcome::failure(DocumentError::InvalidDocument, kInvalidDocumentMessage, error);
}

void PageDocument::adopt(std::unique_ptr<TPagelette> page, const QString &name)
{
    m_undo->clear();
    m_page = std::move(page);
    // Recovered work was never saved, however far its new history goes back.
    m_unsavedBase = true;
    startHistory();
    setName(name);
    setModified(true);
}

bool PageDocument::commitBlock(int index, const TBlockEdit &edit)
{
    setModified(true);
    const TPageItem *item = m_page->Page.Items(index);
    if (!item)
        return false;
    TBlockEdit before = BlockEditOf(*m_page, index);
    // A block's type stays what it is; the Forms block alone carries the form's address.
    TBlockEdit after = edit;
    after.Item.BlockType = item->BlockType;
    if (item->BlockType != btForms)
        after.Form = before.Form;
    if (after == before)
        return false;
    m_undo->push(new BlockCommand(*this, u"Edit "_s + blockName(item->BlockType), index, std::move(before),
                                  std::move(after)));
    return true;
}

std::optional<int> PageDocument::insertBlock(int position, int blockType, DocumentOutcome *outcome)
{
    if (blockType < btHeading || blockType > btForms || position < 0 || position > blockCount())
        return std::nullopt;
    if (blockType == btForms && hasFormsBlock()) {
        if (outcome)
            *outcome = DocumentOutcome::failure(DocumentError::SecondForm, kSecondFormMessage);
        return std::nullopt;
    }
    // Nothing goes before the page details.
    position = std::max(position, 1);
    m_undo->push(new InsertCommand(*this, position, blockType));
    return position;
}

bool PageDocument::moveBlock(int from, int to)
{
    const int count = blockCount();
    // The page details stay first; a block dropped below the last row or onto itself stays.
    if (from <= 0 || from >= count || to <= 0 || to >= count || to == from)
        return false;
    m_undo->push(new MoveCommand(*this, from, to));
    return true;
}

DocumentOutcome PageDocument::deleteBlock(int index)
{
    if (index == 0)
        return DocumentOutcome::failure(DocumentError::PageDetailsStay, kPageDetailsStayMessage);
    if (!m_page->Page.Items(index))
        return DocumentOutcome::success();
    m_undo->push(new DeleteCommand(*this, index));
    return DocumentOutcome::success();
}

bool PageDocument::applyTheme(const TWebTheme &themes, int index)
{
    const TThemeItem *theme = themes.Items.Items(index);
    if (!theme || !m_page->Page.Items(0))
        return false;
    TBlockEdit before = BlockEditOf(*m_page, 0);
    TBlockEdit after = before;
    ApplyTheme(themes, index, after.Item.PagePropertiesBlock);
    // Choosing a theme is a change the user made, even when the page had it already.
    setModified(true);
    if (after != before)
        m_undo->push(new BlockCommand(*this, u"Apply Theme "_s + theme->ThemeName, 0, std::move(before),
                                      std::move(after)));
    return true;
}

bool PageDocument::changeForm(const TFormState &after, const QString &text)
{
    TFormState before = FormStateOf(*m_page);
    if (after == before)
        return false;
    m_undo->push(new FormCommand(*this, text, std::move(before), after));
    return true;
}

bool PageDocument::addField(const TFormElement &field)
{
    TFormState state = FormStateOf(*m_page);
    state.WebForm.Add() = field;
    return changeForm(state, u"Add Field"_s);
}

bool PageDocument::replaceField(int index, const TFormElement &field)
{
    TFormState state = FormStateOf(*m_page);
    TFormElement *element = state.WebForm.Items(index);
    if (!element)
        return false;
    *element = field;
    return changeForm(state, u"Edit Field"_s);
}

bool PageDocument::removeField(int index)
{
    TFormState state = FormStateOf(*m_page);
    return state.WebForm.Delete(index) && changeForm(state, u"Remove Field"_s);
}

bool PageDocument::moveField(int from, int to)
{
    TFormState state = FormStateOf(*m_page);
    return from != to && state.WebForm.MoveField(from, to) && changeForm(state, u"Move Field"_s);
}

bool PageDocument::exchangeFields(int a, int b)
{
    TFormState state = FormStateOf(*m_page);
    return state.WebForm.ExchangeFields(a, b) && changeForm(state, u"Move Field"_s);
}

bool PageDocument::clearFields()
{
    TFormState state = FormStateOf(*m_page);
    state.WebForm.Clear();
    return changeForm(state, u"Clear All Fields"_s);
}

bool PageDocument::loadBasicFields(const TWebForm &fields)
{
    TFormState state = FormStateOf(*m_page);
    state.WebForm = fields;
    return changeForm(state, u"Load Basic Fields"_s);
}

bool PageDocument::setFormOptions(const TFormOptions &options)
{
    TFormState state = FormStateOf(*m_page);
    state.Options = options;
    return changeForm(state, u"Change Form Options"_s);
}

std::optional<QStringList> PageDocument::buildHtml(quint8 pathMode, bool showLogo, DocumentOutcome *outcome) const
{
    QString error;
    QStringList lines = BuildPageHtml(*m_page, pathMode, showLogo, m_programFolder, StoredFormAction(), &error);
    if (!error.isEmpty()) {
        if (outcome)
            *outcome = DocumentOutcome::failure(DocumentError::PageNotMade, kPageNotMadeMessage, error);
        return std::nullopt;
    }
    return lines;
}

SaveOutcome PageDocument::save(const QString &path, bool showLogo)
{
    SaveOutcome result;
    QString error;
    if (!WriteDocument(path, *m_page, &error)) {
        result.project = DocumentOutcome::failure(DocumentError::UnableToCreateFile, kUnableToCreateFileMessage, error);
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
    m_unsavedBase = false;
    m_undo->setClean();
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
        return DocumentOutcome::failure(DocumentError::PreviewNotWritten, kPreviewNotWrittenMessage, error);
    return DocumentOutcome::success();
}

DocumentOutcome PageDocument::saveAsTemplate(const QString &path, bool showLogo)
{
    QString error;
    if (!WriteDocument(path, *m_page, &error))
        return DocumentOutcome::failure(DocumentError::UnableToCreateFile, kUnableToCreateFileMessage, error);
    // The chooser's preview of the template always lives in the program's templates folder.
    DocumentOutcome made;
    const auto lines = buildHtml(pmRelative, showLogo, &made);
    if (!lines)
        return made;
    if (!WriteHtmlFile(TemplatePreviewPath(m_programFolder, path), *lines, &error))
        return DocumentOutcome::failure(DocumentError::PreviewNotWritten, error);
    return DocumentOutcome::success();
}
