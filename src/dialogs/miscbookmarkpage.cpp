#include "miscbookmarkpage.h"
#include "ui_miscbookmarkpage.h"

#include "bookmarks.h"
#include "platform/gui/busycursor.h"
#include "platform/gui/filedialogs.h"
#include "platform/gui/help.h"
#include "platform/gui/messages.h"
#include "platform/settingsstore.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace {

constexpr int kHelpBookmarks = 32;

// The browser keeps its settings apart from ours, under its own key of the user's store.
Bookmarks::NetscapeSettings readNetscapeSettings()
{
    const SettingsStore &store = SettingsStore::instance();
    const QString root = u"Software/Netscape/Netscape Navigator/"_s;
    return {store.readOtherProgramString(root + u"Bookmark List"_s, u"File Location"_s),
            store.readOtherProgramString(root + u"Biff"_s, u"CurrentUser"_s),
            store.readOtherProgramString(root + u"Main"_s, u"Install Directory"_s)};
}

} // namespace

TMiscBookmarkPage::TMiscBookmarkPage(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::TMiscBookmarkPage>())
{
    ui->setupUi(this);
    Help::attachWhatsThis(ui->lstBookmarks, kHelpBookmarks);
    connect(ui->lstBookmarks, &QListWidget::itemDoubleClicked, this, &TMiscBookmarkPage::bookmarkChosen);
}

TMiscBookmarkPage::~TMiscBookmarkPage() = default;

QString TMiscBookmarkPage::selectedBookmark() const
{
    const QListWidgetItem *item = ui->lstBookmarks->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

QStringList TMiscBookmarkPage::bookmarks() const
{
    return ui->lstBookmarks->strings();
}

bool TMiscBookmarkPage::loadBookmarks(const QString &path)
{
    const BusyCursor busy;
    QFile file(path);
    if (path.isEmpty() || !file.exists() || !file.open(QIODevice::ReadOnly))
        return false;
    QStringList found;
    const bool ok = Bookmarks::scan(file, found);
    for (const QString &address : std::as_const(found))
        ui->lstBookmarks->addString(address);
    if (!ok)
        return false;
    if (ui->lstBookmarks->count() == 0)
        ui->lstBookmarks->addString(QString::fromUtf16(Bookmarks::kNoBookmarks));
    ui->lstBookmarks->setCurrentRow(0);
    return true;
}

bool TMiscBookmarkPage::prepare()
{
    if (loadBookmarks(Bookmarks::bookmarkFilePath(readNetscapeSettings())))
        return true;
    const int answer = Messages::show(window(), Messages::Kind::Information,
                                      u"Unable to find Netscape Bookmarks. Would you like to find it yourself?"_s,
                                      Messages::Yes | Messages::No);
    if (answer == Messages::Yes) {
        const QString path = FileDialogs::getOpenFileName(window(), u"HTML Files|*.htm;*.html"_s, QString());
        if (path.isEmpty())
            return false;
        // The list shows whatever this load gives, even when it fails.
        loadBookmarks(path);
        return true;
    }
    if (ui->lstBookmarks->count() == 0)
        ui->lstBookmarks->addString(QString::fromUtf16(Bookmarks::kNoBookmarks));
    ui->lstBookmarks->setCurrentRow(0);
    return false;
}
