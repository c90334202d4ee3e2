#pragma once

#include "document/blockedit.h"
#include "document/pagemodel.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QUndoStack;
class TWebTheme;

// The fixed messages of the document's refusals and failures.
extern const QString kSecondFormMessage;
extern const QString kPageDetailsStayMessage;
extern const QString kPageNotMadeMessage;
extern const QString kPreviewNotWrittenMessage;

// Why a command did not go through, for the window to decide on; the text is for the user.
enum class DocumentError {
    None,
    SecondForm,         // a page has one e-mail form at most
    PageDetailsStay,    // the page details block cannot be deleted
    InvalidDocument,    // the file is not a page
    UnableToCreateFile, // the project or template file could not be written
    PageNotMade,        // the page's HTML could not be made
    PreviewNotWritten,  // a page made for a preview could not be written
    RecoveryUnreadable, // a recovery copy could not be read
};

// What a command did: a code, and in words the user can read a fixed message and, where there
// is one, the reason behind it (the file and the system's error).
struct DocumentOutcome
{
    DocumentError code = DocumentError::None;
    QString message;
    QString detail;

    bool ok() const { return code == DocumentError::None; }
    static DocumentOutcome success() { return {}; }
    static DocumentOutcome failure(DocumentError code, const QString &message, const QString &detail = {})
    {
        return {code, message, detail};
    }
};

// What Save did beyond writing the project file.
struct SaveOutcome
{
    DocumentOutcome project; // the project file itself: a failure stops the save
    DocumentOutcome page;    // making the page's HTML
    QString publishedName;   // the published page's file name, as the user is told
    QString publishError;    // why the published page could not be written; empty when it was
};

// The open page: the document, its name, its modified flag and the program folder it lives in,
// with the commands that change them and the rules of the block list. Nothing else writes into
// the page: every change is a command on the document's undo stack, which compares before it
// changes, and is announced by a signal so that the windows follow, also on undo and redo. The
// windows turn its outcomes into messages; it shows nothing itself.
class PageDocument : public QObject
{
    Q_OBJECT

public:
    static constexpr QStringView kUntitled = u"Untitled";

    // programFolder ends with "/". The page starts empty and unnamed, until newPage or load.
    explicit PageDocument(const QString &programFolder, QObject *parent = nullptr);
    ~PageDocument() override;

    const TPagelette &page() const { return *m_page; }
    int blockCount() const { return m_page->Page.Count(); }
    int blockType(int index) const;
    bool hasFormsBlock() const;

    // "Untitled", or the path of the project file last saved or opened.
    QString name() const { return m_name; }
    // Unsaved changes are assumed: set by every commit of a panel and every change, cleared by
    // Save and by giving the changes up. It decides the save questions.
    bool isModified() const { return m_modified; }
    // The page differs from what was opened, saved or started (the undo stack is not clean).
    bool differsFromFile() const;
    QString programFolder() const { return m_programFolder; }

    // The history of changes since the page was started, opened or recovered.
    QUndoStack &undoStack() const { return *m_undo; }
    void undo();
    void redo();

    void markModified() { setModified(true); }
    void setModified(bool modified);

    // The four blocks of a new page, named "Untitled"; the modified flag is left alone.
    void newPage();

    // Replaces the page with the file at path. A file that cannot be read leaves a new page
    // named "Untitled" and returns the reason; a template starts an unnamed page.
    DocumentOutcome load(const QString &path);

    // Takes page as the document named name, with unsaved changes (recovered work).
    void adopt(std::unique_ptr<TPagelette> page, const QString &name);

    // Commit: the edited copy of block index from its panel. Sets the modified flag; records a
    // change only when edit differs from the block. False when nothing changed.
    bool commitBlock(int index, const TBlockEdit &edit);

    // The block-list rules. insertBlock puts a new block of blockType at position (never before
    // the page details) and returns where it went; a second form is refused with its message.
    std::optional<int> insertBlock(int position, int blockType, DocumentOutcome *outcome = nullptr);
    // Moves block from to position to, as the block list does; false when nothing moved.
    bool moveBlock(int from, int to);
    // The page details block cannot be deleted; deleting the form's block empties the form.
    DocumentOutcome deleteBlock(int index);

    // Gives the page the colours, background and margin of theme index of themes.
    bool applyTheme(const TWebTheme &themes, int index);

    // The form's fields and options. Each is false when nothing changed.
    bool addField(const TFormElement &field);
    bool replaceField(int index, const TFormElement &field);
    bool removeField(int index);
    // Field from goes to position to, the others keep their order.
    bool moveField(int from, int to);
    // Fields a and b change places.
    bool exchangeFields(int a, int b);
    bool clearFields();
    // The fields read from the field bank replace the form's.
    bool loadBasicFields(const TWebForm &fields);
    bool setFormOptions(const TFormOptions &options);

    // The page's HTML for pathMode (a TPathMode); the reason when it cannot be made.
    std::optional<QStringList> buildHtml(quint8 pathMode, bool showLogo, DocumentOutcome *outcome = nullptr) const;

    // Save: the project file at path, the preview page beside the projects and the published
    // page in the upload folder. The document takes the path as its name and is unmodified
    // once the project file is written.
    SaveOutcome save(const QString &path, bool showLogo);
    // Where the page goes to be opened in the web browser: "~tmp.html" beside the projects.
    QString browserPreviewPath() const;
    // Writes the page (pathMode relative) to the browser preview file; the reason when it
    // cannot be made or written, so that an older copy is never shown as this page.
    DocumentOutcome writeBrowserPreview(bool showLogo);

    // The page as a template at path, with its preview page in the templates folder. The name
    // and the modified flag do not change.
    DocumentOutcome saveAsTemplate(const QString &path, bool showLogo);

Q_SIGNALS:
    // The whole page was replaced (new page, load, recovery): every list of blocks is rebuilt.
    void pageReset();
    void blockInserted(int index, int blockType);
    void blockMoved(int from, int to);
    void blockDeleted(int index);
    // The fields of block index changed (a commit, a theme, or their undo).
    void blockChanged(int index);
    // The form's fields, options or address changed.
    void formChanged();
    // Any change to the page, done, undone or redone.
    void changed();
    void nameChanged(const QString &name);
    void modifiedChanged(bool modified);

private:
    class Command;
    class BlockCommand;
    class InsertCommand;
    class MoveCommand;
    class DeleteCommand;
    class FormCommand;

    void setName(const QString &name);
    void resetToNewPage();
    // The page was replaced: a new history starts, clean.
    void startHistory();
    bool changeForm(const TFormState &after, const QString &text);

    std::unique_ptr<TPagelette> m_page;
    std::unique_ptr<QUndoStack> m_undo;
    QString m_programFolder;
    QString m_name;
    bool m_modified = false;
    bool m_unsavedBase = false; // the history starts from recovered work, not from a file
};
