#include "filedialogs.h"

#include "dialogframe.h"
#include "messages.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QQueue>
#include <QStringList>

#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace FileDialogs {

namespace {

struct HookState
{
    QQueue<QString> nextFileNames;
    QString lastFilter;
    QString lastFolder;
};

HookState &hooks()
{
    static HookState state;
    return state;
}

QString withDefaultExtension(const QString &path, const QString &defaultExtension)
{
    if (path.isEmpty() || defaultExtension.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + u'.' + defaultExtension;
}

// Whether path may be written: it names no existing file, it is ownFile, or the user agrees
// to replace it.
bool mayReplace(QWidget *parent, const QString &path, const QString &ownFile)
{
    const QFileInfo chosen(path);
    if (path.isEmpty() || !chosen.isFile())
        return true;
    const QFileInfo own(ownFile);
    if (own.isAbsolute() && own.isFile() && own.canonicalFilePath() == chosen.canonicalFilePath())
        return true;
    return Messages::show(parent, Messages::Kind::Confirmation,
                          u"%1 already exists. Do you want to replace it?"_s.arg(chosen.fileName()),
                          Messages::Yes | Messages::No) == Messages::Yes;
}

// The save dialog asks before it takes an existing file, so that No leaves it open.
class SaveDialog : public QFileDialog
{
public:
    SaveDialog(QWidget *parent, const QString &ownFile) : QFileDialog(parent, u"Save As"_s), m_ownFile(ownFile) {}

    void accept() override
    {
        const QString path = selectedFiles().value(0);
        // One Enter in the name box reaches accept() twice: the refused name is not asked
        // about again until the key has been handled.
        if (!path.isEmpty() && path == m_refused)
            return;
        if (!mayReplace(this, path, m_ownFile)) {
            m_refused = path;
            QMetaObject::invokeMethod(
                this, [this] { m_refused.clear(); }, Qt::QueuedConnection);
            return;
        }
        QFileDialog::accept();
    }

private:
    QString m_ownFile;
    QString m_refused;
};

// Runs a dialog made by makeDialog, or answers from the test hook without making one. Records
// what the dialog was opened with either way.
template <typename MakeDialog> QString run(MakeDialog makeDialog, const QString &filter, const QString &initialFolder)
{
    if (std::optional<QString> answer = takeTestAnswer(filter, initialFolder))
        return *answer;
    std::unique_ptr<QFileDialog> dialog = makeDialog();
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    const QStringList filters = toQtFilters(filter);
    if (!filters.isEmpty())
        dialog->setNameFilters(filters);
    if (!initialFolder.isEmpty())
        dialog->setDirectory(initialFolder);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().constFirst();
}

} // namespace

std::optional<QString> takeTestAnswer(const QString &filter, const QString &initialFolder)
{
    HookState &state = hooks();
    state.lastFilter = filter;
    state.lastFolder = initialFolder;
    if (state.nextFileNames.isEmpty())
        return std::nullopt;
    return state.nextFileNames.dequeue();
}

QStringList toQtFilters(const QString &filter)
{
    QStringList filters;
    if (filter.isEmpty())
        return filters;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        QString description = parts.at(i).trimmed();
        const QString masks = i + 1 < parts.size() ? parts.at(i + 1) : QString();
        QStringList patterns;
        for (const QString &mask : masks.split(u';', Qt::SkipEmptyParts)) {
            const QString pattern = mask.trimmed();
            // "*.*" means every file to the program; to Qt it means names with a dot.
            patterns.append(pattern == u"*.*" ? u"*"_s : pattern);
        }
        if (patterns.isEmpty())
            patterns.append(u"*"_s);
        // A description that already shows its masks, "Pictures (*.gif;*.jpg)", keeps the
        // text and only gets Qt's notation in the parentheses.
        const qsizetype open = description.lastIndexOf(u'(');
        if (description.endsWith(u')') && open >= 0)
            description = description.left(open).trimmed();
        if (description.isEmpty())
            description = patterns.join(u' ');
        filters.append(description + u" ("_s + patterns.join(u' ') + u')');
    }
    return filters;
}

QString getSaveFileName(QWidget *parent, const QString &filter, const QString &defaultExtension,
                        const QString &initialFolder, const QString &ownFile)
{
    // A test's answer meets the question after the answer; No takes the next answer, or
    // cancels when there is none.
    bool answeredByTest = false;
    while (std::optional<QString> answer = takeTestAnswer(filter, initialFolder)) {
        answeredByTest = true;
        const QString path = withDefaultExtension(*answer, defaultExtension);
        if (mayReplace(parent, path, ownFile))
            return path;
    }
    if (answeredByTest)
        return {};
    const auto makeDialog = [&] {
        std::unique_ptr<QFileDialog> dialog = std::make_unique<SaveDialog>(DialogFrame::ownerWindow(parent), ownFile);
        dialog->setObjectName(u"dlgSave"_s);
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setDefaultSuffix(defaultExtension);
        return dialog;
    };
    return withDefaultExtension(run(makeDialog, filter, initialFolder), defaultExtension);
}

QString getOpenFileName(QWidget *parent, const QString &filter, const QString &initialFolder, const QString &title)
{
    const auto makeDialog = [&] {
        auto dialog =
            std::make_unique<QFileDialog>(DialogFrame::ownerWindow(parent), title.isEmpty() ? u"Open"_s : title);
        dialog->setObjectName(u"dlgOpen"_s);
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
        return dialog;
    };
    return run(makeDialog, filter, initialFolder);
}

void setNextFileName(const QString &path)
{
    hooks().nextFileNames.enqueue(path);
}

QString lastFilter()
{
    return hooks().lastFilter;
}

QString lastFolder()
{
    return hooks().lastFolder;
}

} // namespace FileDialogs
