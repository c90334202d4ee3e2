#include "uploadwizard.h"

#include "animate.h"

#include "art/art.h"
#include "platform/gui/dialogframe.h"
#include "platform/gui/filedialogs.h"
#include "platform/gui/help.h"
#include "platform/gui/listboxhrz.h"
#include "platform/gui/messages.h"
#include "platform/settingsstore.h"
#include "publish/publishtarget.h"
#include "publish/serverprofiles.h"
#include "publish/uploadlist.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QThread>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

const QString kCaption = u"Upload Wizard"_s;
const QString kDuplicateMessage = u"There is already a server profile with this name."_s;
const QString kNoProfileMessage = u"Select a server profile first."_s;
// Characters a profile name cannot hold: it is one key of the settings store.
const QString kRejectedNameCharacters = u"\"*/:?\\|\u2039\u203A"_s;

constexpr QSize kClientSize(487, 425);
constexpr int kColumnLeft = 398;
constexpr int kColumnWidth = 81;
// The area the Servers page, the profile editor and the Upload page share.
constexpr QRect kPageArea(8, 76, 376, 341);

QPushButton *flatButton(const QString &caption, QWidget *parent, const char *name)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFlat(true);
    button->setAutoDefault(false);
    return button;
}

QPushButton *button(const QString &caption, QWidget *parent, const char *name)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QLabel *label(const QString &text, QWidget *parent, const char *name = nullptr)
{
    auto *l = new QLabel(text, parent);
    if (name)
        l->setObjectName(QString::fromLatin1(name));
    return l;
}

QString resultLine(const FileResult &r)
{
    return PublishResultLine(r);
}

// Writes the profiles out at once: the file is made its owner's alone, and brisko-publish sees the change.
void storeProfiles(QWidget *parent)
{
    QString error;
    if (!SettingsStore::instance().sync(&error))
        Messages::error(parent, u"The server profile could not be stored."_s, error);
}

} // namespace

TfrmUpload::TfrmUpload(QWidget *parent)
    : QDialog(parent)
{
    qRegisterMetaType<FileResult>();
    setObjectName(u"TfrmUpload"_s);
    setWindowTitle(kCaption);
    buildControls();
    connectControls();

    // Wizard start: the stored profiles, the animation.
    for (const QString &name : ServerProfiles::ReadProfileNames(SettingsStore::instance()))
        new QListWidgetItem(QIcon(Art::serverIcon()), name, lvProfiles);
    Animate->setFrames(Art::uploadAnimation(), 100);
    m_stateFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u"/publish"_s;

    DialogFrame::makeFixedSize(this, kClientSize);
    DialogFrame::centreOver(this, nullptr);
}

TfrmUpload::~TfrmUpload()
{
    if (m_thread) {
        m_worker->stop();
        m_thread->wait();
        delete m_worker;
    }
}

void TfrmUpload::buildControls()
{
    Label2 = label(u"Congradulations! So far you have successfully created a web page. Now all you have to do is "
                   u"send it to the web. The Upload Wizard will take care of everything for you. Just select where "
                   u"you want to send your page."_s,
                   this, "Label2");
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setGeometry(8, 8, kClientSize.width() - 16, 62);

    pnlServers = new QWidget(this);
    pnlServers->setObjectName(u"pnlServers"_s);
    pnlServers->setGeometry(kPageArea);
    Label1 = label(u"Select a server profile"_s, pnlServers, "Label1");
    Label1->setGeometry(0, 0, kPageArea.width(), 20);
    lvProfiles = new QListWidget(pnlServers);
    lvProfiles->setObjectName(u"lvProfiles"_s);
    lvProfiles->setViewMode(QListView::IconMode);
    lvProfiles->setMovement(QListView::Static);
    lvProfiles->setResizeMode(QListView::Adjust);
    lvProfiles->setWrapping(true);
    lvProfiles->setIconSize(QSize(32, 32));
    lvProfiles->setGridSize(QSize(110, 64));
    lvProfiles->setWordWrap(true);
    lvProfiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvProfiles->setSelectionMode(QAbstractItemView::SingleSelection);
    lvProfiles->setGeometry(0, 22, kPageArea.width(), 281);
    // The selection stays plain to see while another control has the focus.
    QPalette keepSelection = lvProfiles->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        keepSelection.setColor(QPalette::Inactive, role, keepSelection.color(QPalette::Active, role));
    lvProfiles->setPalette(keepSelection);
    Help::attachWhatsThis(lvProfiles, kHelpProfiles);
    btnAdd = flatButton(u"Add"_s, pnlServers, "btnAdd");
    btnDelete = flatButton(u"Delete"_s, pnlServers, "btnDelete");
    btnEdit = flatButton(u"Edit"_s, pnlServers, "btnEdit");
    int x = 0;
    for (QPushButton *b : {btnAdd, btnDelete, btnEdit}) {
        b->setGeometry(x, 309, 80, 28);
        x += 86;
    }
    btnDelete->setEnabled(false);
    btnEdit->setEnabled(false);

    auto pageButton = [this](const QString &caption, const char *name, int top) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(caption);
        b->setCheckable(true);
        b->setGeometry(kColumnLeft, top, kColumnWidth, 30);
        return b;
    };
    btnServers = pageButton(u"Servers"_s, "btnServers", kPageArea.top());
    btnUpload = pageButton(u"Upload"_s, "btnUpload", kPageArea.top() + 36);
    auto *group = new QButtonGroup(this);
    group->addButton(btnServers, 0);
    group->addButton(btnUpload, 1);
    btnServers->setChecked(true);
    btnUpload->setEnabled(false);

    btnApply = button(u"&Apply"_s, this, "btnApply");
    btnApply->setToolTip(u"Server Profile"_s);
    btnApply->setGeometry(kColumnLeft, kPageArea.top() + 96, kColumnWidth, 28);
    btnApply->hide();
    btnApply->setEnabled(false);
    btnCancel = button(u"Cancel"_s, this, "btnCancel");
    btnCancel->setGeometry(kColumnLeft, kPageArea.top() + 130, kColumnWidth, 28);
    btnCancel->hide();
    btnClose = button(u"Exit"_s, this, "btnClose");
    btnClose->setGeometry(kColumnLeft, kPageArea.bottom() - 27, kColumnWidth, 28);

    buildEditor();
    buildUploadPage();
    Help::attachF1(this, kHelpWizard);
}

void TfrmUpload::buildEditor()
{
    pnlProfiles = new QWidget(this);
    pnlProfiles->setObjectName(u"pnlProfiles"_s);
    pnlProfiles->setGeometry(kPageArea);
    pnlProfiles->setAutoFillBackground(true);
    pnlProfiles->hide();

    struct Field {
        QLineEdit **edit;
        const char *name;
        QString caption;
        int topic;
    };
    const Field fields[] = {
        {&txtProfileName, "txtProfileName", u"&Name of the Server Profile"_s, kHelpName},
        {&txtUserName, "txtUserName", u"&Username (This is your login name)"_s, kHelpUser},
        {&txtPassword, "txtPassword", u"&Password"_s, kHelpPassword},
        {&txtHostName, "txtHostName", u"Web &Server Address eg. ftp.example.com"_s, kHelpHost},
        {&txtInitialDir, "txtInitialDir", u"Initial Remote &Directory eg. public_html"_s, kHelpFolder},
    };
    int top = 0;
    for (const Field &f : fields) {
        QLabel *caption = label(f.caption, pnlProfiles);
        caption->setGeometry(0, top, kPageArea.width(), 18);
        auto *edit = new QLineEdit(pnlProfiles);
        edit->setObjectName(QString::fromLatin1(f.name));
        edit->setGeometry(0, top + 19, kPageArea.width() - 4, 25);
        caption->setBuddy(edit);
        Help::attachWhatsThis(caption, f.topic);
        Help::attachWhatsThis(edit, f.topic);
        *f.edit = edit;
        top += 52;
    }
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setStyleSheet(u"QLineEdit { lineedit-password-character: 42; }"_s); // "*" for each character
    QLabel *portCaption = label(u"P&ort:"_s, pnlProfiles);
    portCaption->setGeometry(0, top + 4, 40, 18);
    txtPort = new QLineEdit(u"21"_s, pnlProfiles);
    txtPort->setObjectName(u"txtPort"_s);
    txtPort->setGeometry(44, top, 70, 25);
    portCaption->setBuddy(txtPort);
    Help::attachWhatsThis(portCaption, kHelpPort);
    Help::attachWhatsThis(txtPort, kHelpPort);
    txtPort->installEventFilter(this);
    txtProfileName->installEventFilter(this);
}

void TfrmUpload::buildUploadPage()
{
    pnlUpload = new QWidget(this);
    pnlUpload->setObjectName(u"pnlUpload"_s);
    pnlUpload->setGeometry(kPageArea);
    pnlUpload->setAutoFillBackground(true);
    pnlUpload->hide();
    const int w = kPageArea.width();

    QLabel *Label4 = label(u"Listed below are all the files to be uploaded. If you desire, add and remove items in "
                           u"the upload list."_s,
                           pnlUpload, "Label4");
    Label4->setWordWrap(true);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label4->setGeometry(0, 0, w, 36);
    lstUpload = new TListBoxHrz(pnlUpload);
    lstUpload->setObjectName(u"lstUpload"_s);
    lstUpload->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lstUpload->setGeometry(0, 38, w, 118);
    Help::attachWhatsThis(lstUpload, kHelpUploadList);

    auto smallButton = [this](const QIcon &icon, const char *name, int left) {
        auto *b = new QToolButton(pnlUpload);
        b->setObjectName(QString::fromLatin1(name));
        b->setIcon(icon);
        b->setAutoRaise(true);
        b->setGeometry(left, 160, 26, 26);
        return b;
    };
    btnUpAdd = smallButton(Art::panelIcon(Art::PanelButton::Add), "btnUpAdd", 0);
    btnUpAdd->setToolTip(u"Add a file"_s);
    btnUpRemove = smallButton(Art::panelIcon(Art::PanelButton::Remove), "btnUpRemove", 30);
    btnUpRemove->setToolTip(u"Remove the selected file"_s);
    btnSend = button(u"Send files to the web"_s, pnlUpload, "btnSend");
    btnSend->setGeometry(w - 180, 160, 180, 28);
    btnSend->setEnabled(false);

    // The progress of a transfer, and in its place once it ends, what became of each file.
    const QRect below(0, 196, w, kPageArea.height() - 196);
    pnlProgress = new QWidget(pnlUpload);
    pnlProgress->setObjectName(u"pnlProgress"_s);
    pnlProgress->setGeometry(below);
    pnlProgress->hide();
    Animate = new TAnimate(pnlProgress);
    Animate->setObjectName(u"Animate"_s);
    Animate->setGeometry((w - 260) / 2, 0, 260, 40);
    lblProgress = label({}, pnlProgress, "lblProgress");
    lblProgress->setGeometry(0, 48, w, 36);
    lblProgress->setWordWrap(true);
    lblProgress->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pbTotal = new QProgressBar(pnlProgress);
    pbTotal->setObjectName(u"pbTotal"_s);
    pbTotal->setRange(0, 1000);
    pbTotal->setTextVisible(false);
    pbTotal->setGeometry(0, 86, w, 16);
    btnStop = button(u"Stop"_s, pnlProgress, "btnStop");
    btnStop->setGeometry(w - 90, 110, 90, 28);

    lblResult = label({}, pnlUpload, "lblResult");
    lblResult->setGeometry(below.left(), below.top(), w, 18);
    lblResult->hide();
    lstResults = new QListWidget(pnlUpload);
    lstResults->setObjectName(u"lstResults"_s);
    // A reason is read whole, never behind a scroll bar.
    lstResults->setWordWrap(true);
    lstResults->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstResults->setGeometry(below.left(), below.top() + 20, w, below.height() - 20);
    lstResults->hide();
}

void TfrmUpload::connectControls()
{
    connect(lvProfiles, &QListWidget::itemSelectionChanged, this, &TfrmUpload::lvProfilesClick);
    connect(lvProfiles, &QListWidget::itemDoubleClicked, this, &TfrmUpload::btnEditClick);
    connect(btnServers, &QToolButton::clicked, this, [this] { showPage(0); });
    connect(btnUpload, &QToolButton::clicked, this, [this] { showPage(1); });
    connect(btnAdd, &QPushButton::clicked, this, &TfrmUpload::btnAddClick);
    connect(btnEdit, &QPushButton::clicked, this, &TfrmUpload::btnEditClick);
    connect(btnDelete, &QPushButton::clicked, this, &TfrmUpload::btnDeleteClick);
    connect(btnApply, &QPushButton::clicked, this, &TfrmUpload::btnApplyClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmUpload::btnCancelClick);
    connect(btnClose, &QPushButton::clicked, this, &TfrmUpload::close);
    connect(txtProfileName, &QLineEdit::textChanged, this,
            [this](const QString &text) { btnApply->setEnabled(!text.isEmpty()); });
    connect(btnUpAdd, &QToolButton::clicked, this, &TfrmUpload::btnUpAddClick);
    connect(btnUpRemove, &QToolButton::clicked, this, &TfrmUpload::btnUpRemoveClick);
    connect(lstUpload, &QListWidget::itemSelectionChanged, this,
            [this] { btnUpRemove->setEnabled(!isSending() && !lstUpload->selectedItems().isEmpty()); });
    connect(btnSend, &QPushButton::clicked, this, &TfrmUpload::btnSendClick);
    connect(btnStop, &QPushButton::clicked, this, [this] {
        if (m_worker)
            m_worker->stop();
        btnStop->setEnabled(false);
    });
}

void TfrmUpload::setUploadList(const QStringList &files)
{
    lstUpload->clearStrings();
    for (const QString &f : files)
        lstUpload->addString(f);
}

QStringList TfrmUpload::uploadList() const
{
    return lstUpload->strings();
}

QListWidgetItem *TfrmUpload::selectedProfile() const
{
    const QList<QListWidgetItem *> selected = lvProfiles->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QListWidgetItem *TfrmUpload::findProfile(const QString &name) const
{
    for (int i = 0; i < lvProfiles->count(); ++i) {
        if (lvProfiles->item(i)->text().compare(name, Qt::CaseInsensitive) == 0)
            return lvProfiles->item(i);
    }
    return nullptr;
}

// The buttons follow the selection at once, also when it goes away with a deleted profile.
void TfrmUpload::lvProfilesClick()
{
    const bool selected = selectedProfile() != nullptr;
    btnDelete->setEnabled(selected);
    btnEdit->setEnabled(selected);
    btnUpload->setEnabled(selected && !pnlProfiles->isVisible());
}

void TfrmUpload::showPage(int tag)
{
    if (tag == 0) {
        pnlUpload->hide();
        pnlServers->show();
        btnServers->setChecked(true);
        return;
    }
    refreshUploadButtons();
    pnlServers->hide();
    pnlUpload->raise();
    pnlUpload->show();
    btnUpload->setChecked(true);
}

void TfrmUpload::refreshUploadButtons()
{
    const bool any = lstUpload->count() > 0 && !isSending();
    btnSend->setEnabled(any);
    btnUpRemove->setEnabled(any);
    btnUpAdd->setEnabled(!isSending());
}

void TfrmUpload::btnAddClick()
{
    m_mode = EditorMode::Add;
    setWindowTitle(kCaption + u" - Add"_s);
    for (QLineEdit *edit : {txtProfileName, txtUserName, txtPassword, txtHostName, txtInitialDir, txtPort})
        edit->clear();
    txtPort->setText(u"21"_s);
    startEditor();
}

void TfrmUpload::btnEditClick()
{
    QListWidgetItem *item = selectedProfile();
    if (!item)
        return;
    ServerProfile p;
    p.name = item->text();
    ServerProfiles::LoadProfile(SettingsStore::instance(), item->text(), &p);
    txtProfileName->setText(p.name);
    txtUserName->setText(p.userName);
    txtPassword->setText(p.password);
    txtHostName->setText(p.host);
    txtInitialDir->setText(p.initialDir);
    txtPort->setText(p.port);
    m_mode = EditorMode::Edit;
    setWindowTitle(kCaption + u" - Edit"_s);
    startEditor();
}

void TfrmUpload::startEditor()
{
    btnApply->show();
    btnCancel->show();
    btnApply->setEnabled(!txtProfileName->text().isEmpty());
    btnUpload->setEnabled(false);
    // The editor is opened from the Servers page only; the Upload page never lies beneath it.
    pnlUpload->hide();
    btnServers->setChecked(true);
    pnlServers->hide();
    pnlProfiles->raise();
    pnlProfiles->show();
    txtProfileName->setFocus();
}

QString TfrmUpload::profileProblem() const
{
    // The key filters stop these characters from being typed; a pasted name can still hold them.
    const QString name = txtProfileName->text();
    for (const QChar c : name) {
        if (kRejectedNameCharacters.contains(c)) {
            return u"A server profile name cannot contain the character %1. These characters are not allowed: "
                   u"\" * / : ? \\ | \u2039 \u203A"_s.arg(c);
        }
    }
    const QString port = txtPort->text();
    bool ok = !port.isEmpty();
    for (const QChar c : port)
        ok = ok && c >= u'0' && c <= u'9';
    const int number = ok ? port.toInt(&ok) : 0;
    if (!ok || number < 1 || number > 65535)
        return u"The port must be a number from 1 to 65535."_s;
    return {};
}

void TfrmUpload::btnApplyClick()
{
    const QString name = txtProfileName->text();
    if (name.isEmpty())
        return;
    if (const QString problem = profileProblem(); !problem.isEmpty()) {
        Messages::show(this, Messages::Kind::Information, problem, Messages::Ok);
        (problem.contains(u"port"_s) ? txtPort : txtProfileName)->setFocus();
        return;
    }
    QListWidgetItem *item = nullptr;
    QString oldName;
    SettingsStore &store = SettingsStore::instance();
    ServerProfile stored;
    if (m_mode == EditorMode::Add) {
        if (findProfile(name)) {
            Messages::beep();
            Messages::information(this, kDuplicateMessage);
            txtProfileName->setFocus();
            return;
        }
    } else {
        item = selectedProfile();
        if (!item)
            return;
        if (name != item->text() && findProfile(name)) {
            Messages::beep();
            Messages::information(this, kDuplicateMessage);
            txtProfileName->setFocus();
            return;
        }
        if (name != item->text())
            oldName = item->text();
        ServerProfiles::LoadProfile(store, item->text(), &stored);
    }
    ServerProfile p;
    p.name = name;
    p.userName = txtUserName->text();
    p.password = txtPassword->text();
    p.host = txtHostName->text();
    p.initialDir = txtInitialDir->text();
    p.port = txtPort->text();
    // A key the user trusted belongs to the server it came from: another address drops it.
    const bool sameServer = stored.host == p.host && stored.port == p.port;
    if (sameServer)
        p.trustedKey = stored.trustedKey;
    else if (!stored.trustedKey.isEmpty() && oldName.isEmpty())
        oldName = stored.name; // rewrites the profile without the key
    ServerProfiles::SaveProfile(store, p, oldName);
    storeProfiles(this);
    if (!item)
        item = new QListWidgetItem(QIcon(Art::serverIcon()), name, lvProfiles);
    item->setText(name);
    lvProfiles->setCurrentItem(item);
    btnCancelClick();
}

void TfrmUpload::btnCancelClick()
{
    const QString caption = windowTitle();
    const qsizetype dash = caption.indexOf(u'-');
    if (dash >= 0)
        setWindowTitle(caption.left(dash));
    pnlProfiles->hide();
    pnlServers->show();
    btnApply->hide();
    btnCancel->hide();
    btnUpload->setEnabled(true);
    lvProfiles->setFocus();
    if (QListWidgetItem *current = lvProfiles->currentItem(); current && selectedProfile())
        current->setSelected(true);
}

void TfrmUpload::btnDeleteClick()
{
    Messages::beep();
    const int answer = Messages::show(this, Messages::Kind::Confirmation,
                                      u"Do you want to delete the selected server profile?"_s,
                                      Messages::Yes | Messages::No);
    QListWidgetItem *item = selectedProfile();
    if (answer != Messages::Yes || !item)
        return;
    ServerProfiles::DeleteProfile(SettingsStore::instance(), item->text());
    storeProfiles(this);
    delete item;
    // Nothing is selected now, and the buttons say so.
    lvProfiles->selectionModel()->clear();
    lvProfiles->doItemsLayout();
    lvProfilesClick();
}

void TfrmUpload::btnUpAddClick()
{
    const QString path = FileDialogs::getOpenFileName(this, u"All Files|*.*"_s, QString());
    if (!path.isEmpty()) {
        lstUpload->addString(path);
        lstUpload->setCurrentRow(lstUpload->count() - 1);
    }
    lstUpload->setFocus();
    refreshUploadButtons();
}

void TfrmUpload::btnUpRemoveClick()
{
    const int row = lstUpload->currentRow();
    if (row >= 0 && lstUpload->item(row)->isSelected()) {
        lstUpload->deleteString(row);
        // The next line moves into the removed line's place and is selected.
        if (lstUpload->count() > 0)
            lstUpload->setCurrentRow(qMin(row, lstUpload->count() - 1));
    }
    lstUpload->setFocus();
    refreshUploadButtons();
}

void TfrmUpload::btnSendClick()
{
    QListWidgetItem *item = selectedProfile();
    if (!item) {
        Messages::information(this, kNoProfileMessage);
        return;
    }
    const QStringList files = uploadList();
    if (files.isEmpty() || isSending())
        return;
    if (!m_publishedPage.isEmpty() && files.contains(m_publishedPage)) {
        const QStringList problems = PrePublishCheck(m_publishedPage, files);
        if (!problems.isEmpty()) {
            const int answer = Messages::show(
                this, Messages::Kind::Confirmation,
                u"Some files your page uses will not be on the web server:\n\n%1\n\nDo you want to send the page "
                u"anyway?"_s.arg(problems.join(u'\n')),
                Messages::Yes | Messages::No);
            if (answer != Messages::Yes)
                return;
        }
    }
    startTransfer(item->text());
}

void TfrmUpload::startTransfer(const QString &profileName)
{
    ServerProfile p;
    if (!ServerProfiles::LoadProfile(SettingsStore::instance(), profileName, &p)) {
        Messages::error(this, u"The server profile \"%1\" could not be read."_s.arg(profileName));
        return;
    }
    TransferOptions options;
    options.target = PublishTarget::fromProfile(p.host, p.port, p.userName, p.password, p.initialDir);
    options.files = uploadList();
    options.stateDir = m_stateFolder;
    options.timeouts = m_timeouts;
    options.trustedFingerprint = p.trustedKey;
    if (!m_publishedPage.isEmpty()) // the page lies in the Upload folder: nothing outside it goes to the web
        options.uploadFolder = QFileInfo(m_publishedPage).absolutePath();
    m_sendingProfile = profileName;
    m_results.clear();

    m_thread = new QThread(this);
    m_worker = new TransferWorker(options);
    m_worker->moveToThread(m_thread);
    connect(m_thread, &QThread::started, m_worker, &TransferWorker::run);
    connect(m_worker, &TransferWorker::finished, m_thread, &QThread::quit);
    connect(m_thread, &QThread::finished, this, &TfrmUpload::transferFinished);
    connect(m_worker, &TransferWorker::fileStarted, this, [this](const QString &name, qint64 size) {
        m_currentFile = name;
        lblProgress->setText(u"Sending %1 (%2 bytes)"_s.arg(name, QLocale().toString(size)));
    });
    connect(m_worker, &TransferWorker::progress, this,
            [this](qint64 fileBytes, qint64 fileSize, qint64 doneBytes, qint64 totalBytes) {
                // The last bytes can wait in the system's buffers: only the server's answer makes the file sent.
                lblProgress->setText(fileBytes < fileSize
                                         ? u"Sending %1: %2 of %3 bytes"_s.arg(m_currentFile, QLocale().toString(fileBytes),
                                                                                QLocale().toString(fileSize))
                                         : u"Sending %1: all %2 bytes are on their way; waiting for the server to "
                                           u"confirm them"_s.arg(m_currentFile, QLocale().toString(fileSize)));
                pbTotal->setValue(totalBytes > 0 ? int(doneBytes * 1000 / totalBytes) : 0);
            });
    connect(m_worker, &TransferWorker::fileFinished, this, [this](const FileResult &r) {
        lstResults->addItem(resultLine(r));
    });

    lstResults->clear();
    lblProgress->setText(u"Connecting to %1"_s.arg(options.target.host));
    pbTotal->setValue(0);
    setSending(true);
    m_thread->start();
}

void TfrmUpload::setSending(bool sending)
{
    // Send, step 1 and 3: the progress panel and the animation for the duration of the transfer.
    if (sending) {
        lblResult->hide();
        lstResults->hide();
        Animate->setActive(true);
        pnlProgress->show();
        btnStop->setEnabled(true);
    } else {
        pnlProgress->hide();
        Animate->setActive(false);
        Animate->rewind();
    }
    btnServers->setEnabled(!sending);
    refreshUploadButtons();
}

void TfrmUpload::transferFinished()
{
    m_results = m_worker->results();
    const QString untrusted = m_worker->untrustedFingerprint();
    const bool changed = m_worker->keyChanged();
    delete m_worker;
    m_worker = nullptr;
    m_thread->deleteLater();
    m_thread = nullptr;
    setSending(false);

    int sent = 0, unchanged = 0, failed = 0;
    lstResults->clear();
    for (const FileResult &r : std::as_const(m_results)) {
        lstResults->addItem(resultLine(r));
        (r.status == FileResult::Sent ? sent : r.status == FileResult::Unchanged ? unchanged : failed)++;
    }
    lblResult->setText(u"%1 sent, %2 unchanged, %3 failed"_s.arg(sent).arg(unchanged).arg(failed));
    lblResult->show();
    lstResults->show();
    Q_EMIT transferEnded();

    if (m_closeWhenDone) {
        close();
        return;
    }
    if (changed) {
        Messages::warning(this,
                          u"The web server's key has changed since you chose to trust it. Nothing was sent: the "
                          u"server may not be yours. Ask your web host whether they changed it."_s,
                          m_results.isEmpty() ? QString() : m_results.first().reason);
    } else if (!untrusted.isEmpty()) {
        const int answer = Messages::show(
            this, Messages::Kind::Confirmation,
            u"The web server's identity could not be verified, so nothing was sent.\n\nSHA-256 fingerprint of its "
            u"key:\n%1\n\nCompare it with the fingerprint your web host gives you. Do you want to trust this key "
            u"for the server profile \"%2\" and send the files?"_s.arg(untrusted, m_sendingProfile),
            Messages::Yes | Messages::No);
        if (answer == Messages::Yes) {
            SettingsStore &store = SettingsStore::instance();
            ServerProfile p;
            if (ServerProfiles::LoadProfile(store, m_sendingProfile, &p)) {
                p.trustedKey = untrusted;
                ServerProfiles::SaveProfile(store, p);
                storeProfiles(this);
                startTransfer(m_sendingProfile);
            }
        }
    }
}

bool TfrmUpload::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || (watched != txtPort && watched != txtProfileName))
        return QDialog::eventFilter(watched, event);
    const QString text = static_cast<QKeyEvent *>(event)->text();
    // Keys that type no character (arrows, Delete) are not filtered.
    if (text.isEmpty() || static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete)
        return false;
    const QChar c = text.at(0);
    if (watched == txtPort)
        return !(c == u'\b' || (c >= u'0' && c <= u'9'));
    return kRejectedNameCharacters.contains(c);
}

void TfrmUpload::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    // The raised line that frames the column of page buttons.
    QPainter p(this);
    const int x = kColumnLeft - 8;
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(x, kPageArea.top(), x, kPageArea.bottom());
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(x + 1, kPageArea.top(), x + 1, kPageArea.bottom());
}

void TfrmUpload::closeEvent(QCloseEvent *event)
{
    if (isSending()) {
        // Closing stops the transfer; the wizard goes once the worker has let go of its files.
        m_closeWhenDone = true;
        m_worker->stop();
        event->ignore();
        return;
    }
    QDialog::reject();
    event->accept();
}

void TfrmUpload::reject()
{
    // Escape answers Cancel while the editor is open; the wizard itself closes through Exit.
    if (pnlProfiles->isVisible())
        btnCancelClick();
}
