#include "panelcommands.h"

#include "art/art.h"
#include "dialogs/miscdialog.h"
#include "platform/cp1252.h"
#include "platform/gui/busycursor.h"
#include "platform/gui/filedialogs.h"
#include "platform/inifile.h"
#include "platform/textutils.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringDecoder>

#include <optional>

using namespace Qt::StringLiterals;

namespace PanelCommands {

namespace {

// A text file as the user wrote it: UTF-8 when the bytes are valid UTF-8, the Windows code
// page otherwise.
QString decodeTextFile(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return Cp1252::decode(bytes);
    if (text.startsWith(QChar::ByteOrderMark))
        text.remove(0, 1);
    return text;
}

} // namespace

void setUpLinkTargetButtons(QWidget *panel, QAbstractButton *browse, QAbstractButton *favorites,
                            QAbstractButton *bookmarks, QLineEdit *target)
{
    browse->setIcon(Art::buttonPicture(Art::Button::Browse));
    favorites->setIcon(Art::panelIcon(Art::PanelButton::Favorites));
    bookmarks->setIcon(Art::panelIcon(Art::PanelButton::Bookmarks));
    QObject::connect(browse, &QAbstractButton::clicked, target, [=] { browseForLinkTarget(panel, target); });
    QObject::connect(favorites, &QAbstractButton::clicked, target, [=] { pickFavorite(panel, target); });
    QObject::connect(bookmarks, &QAbstractButton::clicked, target, [=] { pickBookmark(panel, target); });
}

void setUpImportButton(QWidget *panel, QAbstractButton *button, QPlainTextEdit *memo)
{
    button->setIcon(Art::panelIcon(Art::PanelButton::ImportText));
    QObject::connect(button, &QAbstractButton::clicked, memo, [=] { importTextFile(panel, memo); });
}

void browseForLinkTarget(QWidget *parent, QLineEdit *target)
{
    const QString path = FileDialogs::getOpenFileName(parent, u"All Files|*.*"_s, {});
    if (!path.isEmpty())
        target->setText(QDir::toNativeSeparators(path));
}

void pickFavorite(QWidget *parent, QLineEdit *target)
{
    const QString path = FileDialogs::getOpenFileName(parent, u"Internet Shortcuts|*.url"_s, favoritesFolder());
    if (path.isEmpty())
        return;
    const QString url = IniFile(path).readString(u"InternetShortcut"_s, u"URL"_s);
    if (!url.isEmpty())
        target->setText(url);
}

void pickBookmark(QWidget *parent, QLineEdit *target)
{
    std::optional<BusyCursor> busy(std::in_place);
    TfrmMisc dialog(parent);
    dialog.setDialogMode(TfrmMisc::BookmarkMode);
    busy.reset();
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString line = dialog.selectedBookmark();
    if (!line.isEmpty())
        target->setText(line);
}

QString favoritesFolder()
{
    const QString favorites = QDir::home().filePath(u"Favorites"_s);
    return QFileInfo(favorites).isDir() ? favorites : QDir::homePath();
}

void importTextFile(QWidget *parent, QPlainTextEdit *memo)
{
    const QString path = FileDialogs::getOpenFileName(parent, u"Text Files|*.txt"_s, {});
    if (path.isEmpty())
        return;
    BusyCursor busy;
    QFile file(path);
    // A file that cannot be read changes nothing.
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return;
    // Every line keeps its break, the last one included.
    QString text;
    for (const QString &line : Text::splitLines(decodeTextFile(bytes)))
        text += line + u'\n';
    memo->insertPlainText(text);
}

} // namespace PanelCommands
