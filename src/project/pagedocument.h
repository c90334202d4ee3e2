#pragma once

#include "document/pagemodel.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class TWebTheme;

// The fixed messages of the document's refusals and failures.
extern const QString kSecondFormMessage;
extern const QString kPageDetailsStayMessage;
extern const QString kPageNotMadeMessage;
extern const QString kPreviewNotWrittenMessage;

// What a command did, in words the user can read: a fixed message and, where there is one, the
// reason behind it (the file and the system's error). Empty message means it went through.
struct DocumentOutcome
{
    QString message;
    QString detail;

    bool ok() const { return message.isEmpty(); }
    static DocumentOutcome success() { return {}; }
    static DocumentOutcome failure(const QString &message, const QString &detail = {}) { return {message, detail}; }
};

// What Save did beyond writing the project file.
struct SaveOutcome
{
    DocumentOutcome project;  // the project file itself: a failure stops the save
    DocumentOutcome page;     // making the page's HTML
    QString publishedName;    // the published page's file name, as the user is told
    QString publishError;     // why the published page could not be written; empty when it was
};

// The open page: the document, its name, its modified flag and the program folder it lives in,
// with the commands that change them and the rules of the block list. The windows watch its
// signals and turn its outcomes into messages; it shows nothing itself.
class PageDocument : public QObject
{
    Q_OBJECT

public:
    static constexpr QStringView kUntitled = u"Untitled";

    // programFolder ends with "/". The page starts empty and unnamed, until newPage or load.
    explicit PageDocument(const QString &programFolder, QObject *parent = nullptr);
    ~PageDocument() override;

    TPagelette &page() { return *m_page; }
    const TPagelette &page() const { return *m_page; }
    int blockCount() const { return m_page->Page.Count(); }
    int blockType(int index) const;
    bool hasFormsBlock() const;

    // "Untitled", or the path of the project file last saved or opened.
    QString name() const { return m_name; }
    bool isModified() const { return m_modified; }
    QString programFolder() const { return m_programFolder; }

    // Unsaved changes are assumed from now on (the open panel was stored into its block).
    void markModified() { setModified(true); }
    void setModified(bool modified);

    // The four blocks of a new page, named "Untitled"; the modified flag is left alone.
    void newPage();

    // Replaces the page with the file at path. A file that cannot be read leaves a new page
    // named "Untitled" and returns the reason; a template starts an unnamed page.
    DocumentOutcome load(const QString &path);

    // Takes page as the document named name, with unsaved changes (recovered work).
    void adopt(std::unique_ptr<TPagelette> page, const QString &name);

    // The block-list rules. insertBlock puts a new block of blockType at position (never before
    // the page details) and returns where it went; a second form is refused with its message.
    std::optional<int> insertBlock(int position, int blockType, DocumentOutcome *outcome = nullptr);
    // Moves block from to position to, as the block list does; false when nothing moved.
    bool moveBlock(int from, int to);
    // The page details block cannot be deleted; deleting the form's block empties the form.
    DocumentOutcome deleteBlock(int index);

    // Gives the page the colours, background and margin of theme index of themes.
    bool applyTheme(const TWebTheme &themes, int index);

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
    // The whole page was replaced (new page, load): every list of blocks is rebuilt.
    void pageReset();
    void blockInserted(int index, int blockType);
    void blockMoved(int from, int to);
    void blockDeleted(int index);
    // The form was emptied because its block went.
    void formCleared();
    void nameChanged(const QString &name);
    void modifiedChanged(bool modified);

private:
    void setName(const QString &name);
    void resetToNewPage();

    std::unique_ptr<TPagelette> m_page;
    QString m_programFolder;
    QString m_name;
    bool m_modified = false;
};
