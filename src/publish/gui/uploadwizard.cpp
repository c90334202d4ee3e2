#include "uploadwizard.h"

#include "profileeditor.h"
#include "transfercontroller.h"
#include "transferview.h"
#include "trustdecision.h"
#include "uploadlistmodel.h"

#include "art/art.h"
#include "platform/gui/dialogframe.h"
#include "platform/gui/filedialogs.h"
#include "platform/gui/help.h"
#include "platform/gui/listboxhrz.h"
#include "platform/gui/messages.h"
#include "platform/settingsstore.h"
#include "publish/credentials.h"
#include "publish/formcheck.h"
#include "publish/publishtarget.h"
#include "publish/serverprofiles.h"
#include "publish/uploadlist.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

const QString kCaption = u"Upload Wizard"_s;
const QString kDuplicateMessage = u"There is already a server profile with this name."_s;
const QString kNoProfileMessage = u"Select a server profile first."_s;
const QString kLastProfile = u"LastProfile"_s; // value of the program's key: the profile sent to last

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
    l->setTextFormat(Qt::PlainText); // host and file names are shown as they are
    if (name)
        l->setObjectName(QString::fromLatin1(name));
    return l;
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
    , m_transfer(new TransferController(this))
    , m_list(std::make_unique<UploadListModel>())
{
    setObjectName(u"TfrmUpload"_s);
    setWindowTitle(kCaption);
    buildControls();
    connectControls();

    // Wizard start: the stored profiles, the animation.
    for (const QString &name : ServerProfiles::ReadProfileNames(SettingsStore::instance()))
        new QListWidgetItem(QIcon(Art::serverIcon()), name, lvProfiles);
    selectLastProfile();
    m_stateFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u"/publish"_s;

    DialogFrame::makeFixedSize(this, kClientSize);
    DialogFrame::centreOver(this, nullptr);
}

TfrmUpload::~TfrmUpload()
{
    // Stops and waits for a running transfer before any control it reports to goes.
    disconnect(m_transfer, nullptr, this, nullptr);
    delete m_transfer;
}

bool TfrmUpload::isSending() const
{
    return m_transfer->isRunning();
}

// The profile sent to last, or the only one, is selected: Upload is ready at once.
void TfrmUpload::selectLastProfile()
{
    const QString last = SettingsStore::instance().readString(QString(), kLastProfile);
    QListWidgetItem *item = lvProfiles->count() == 1 ? lvProfiles->item(0) : nullptr;
    if (const QList<QListWidgetItem *> found = lvProfiles->findItems(last, Qt::MatchExactly);
        !last.isEmpty() && !found.isEmpty())
        item = found.first();
    if (item) {
        lvProfiles->setCurrentItem(item);
        item->setSelected(true);
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
    lvProfiles->setAccessibleName(u"Server profiles"_s);
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
    btnApply->setDefault(true); // Enter applies the profile being edited; hidden, it takes no key
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
    pnlProfiles = new TProfileEditor(this);
    pnlProfiles->setGeometry(kPageArea);
    pnlProfiles->hide();
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
    m_view = new TTransferView(m_transfer, pnlUpload);
    m_view->setGeometry(0, 196, w, kPageArea.height() - 196);
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
    connect(pnlProfiles, &TProfileEditor::nameChanged, this,
            [this](const QString &text) { btnApply->setEnabled(!text.isEmpty()); });
    connect(btnUpAdd, &QToolButton::clicked, this, &TfrmUpload::btnUpAddClick);
    connect(btnUpRemove, &QToolButton::clicked, this, &TfrmUpload::btnUpRemoveClick);
    connect(lstUpload, &QListWidget::itemSelectionChanged, this,
            [this] { btnUpRemove->setEnabled(m_list->canRemove(selectedUploadRow(), isSending())); });
    connect(btnSend, &QPushButton::clicked, this, &TfrmUpload::btnSendClick);
    connect(m_transfer, &TransferController::finished, this, &TfrmUpload::transferFinished);
}

void TfrmUpload::setUploadList(const QStringList &files)
{
    m_list->setFiles(files);
    showUploadList(-1);
}

QStringList TfrmUpload::uploadList() const
{
    return m_list->files();
}

void TfrmUpload::showUploadList(int selectRow)
{
    lstUpload->clearStrings();
    for (const QString &f : m_list->files())
        lstUpload->addString(f);
    if (selectRow >= 0)
        lstUpload->setCurrentRow(selectRow);
}

int TfrmUpload::selectedUploadRow() const
{
    const int row = lstUpload->currentRow();
    return row >= 0 && lstUpload->item(row)->isSelected() ? row : -1;
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
    const bool any = m_list->canSend(isSending());
    btnSend->setEnabled(any);
    btnUpRemove->setEnabled(any);
    btnUpAdd->setEnabled(!isSending());
}

void TfrmUpload::btnAddClick()
{
    m_mode = EditorMode::Add;
    setWindowTitle(kCaption + u" - Add"_s);
    pnlProfiles->clear();
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
    pnlProfiles->load(p);
    m_mode = EditorMode::Edit;
    setWindowTitle(kCaption + u" - Edit"_s);
    startEditor();
}

void TfrmUpload::startEditor()
{
    btnApply->show();
    btnCancel->show();
    btnApply->setEnabled(!pnlProfiles->nameEdit()->text().isEmpty());
    btnUpload->setEnabled(false);
    // The editor is opened from the Servers page only; the Upload page never lies beneath it.
    pnlUpload->hide();
    btnServers->setChecked(true);
    pnlServers->hide();
    pnlProfiles->raise();
    pnlProfiles->show();
    pnlProfiles->nameEdit()->setFocus();
}

void TfrmUpload::btnApplyClick()
{
    QLineEdit *txtProfileName = pnlProfiles->nameEdit();
    const QString name = txtProfileName->text();
    if (name.isEmpty())
        return;
    QLineEdit *focus = nullptr;
    if (const QString problem = pnlProfiles->problem(&focus); !problem.isEmpty()) {
        Messages::show(this, Messages::Kind::Information, problem, Messages::Ok);
        focus->setFocus();
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
    ServerProfile p = pnlProfiles->profile(stored);
    // A key the user trusted, and a consent to clear text, belong to the server they came from: another
    // address drops them.
    if (stored.host != p.host || stored.port != p.port) {
        p.trustedKey.clear();
        p.clearTextAccepted = false;
        if (oldName.isEmpty())
            oldName = stored.name; // rewrites the profile without them
    }
    tellWherePasswordIs(saveProfile(p, oldName));
    if (!item)
        item = new QListWidgetItem(QIcon(Art::serverIcon()), name, lvProfiles);
    item->setText(name);
    lvProfiles->setCurrentItem(item);
    btnCancelClick();
}

SecretPlace TfrmUpload::saveProfile(const ServerProfile &profile, const QString &oldName)
{
    const SecretPlace place = ServerProfiles::SaveProfile(SettingsStore::instance(), profile, oldName);
    storeProfiles(this);
    return place;
}

void TfrmUpload::tellWherePasswordIs(SecretPlace place)
{
    if (place == SecretPlace::SettingsFile && !m_toldPasswordInFile) {
        m_toldPasswordInFile = true;
        Messages::information(this, u"No secret store of the desktop answered, so the password is kept in the "
                                    u"settings file, scrambled but not encrypted."_s);
    }
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
    if (!path.isEmpty())
        showUploadList(m_list->add(path));
    lstUpload->setFocus();
    refreshUploadButtons();
}

void TfrmUpload::btnUpRemoveClick()
{
    if (const int row = selectedUploadRow(); row >= 0)
        showUploadList(m_list->remove(row));
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
        // A form that cannot deliver mail is worth knowing about, not a reason to hold the page back.
        const QString formWarning = PrePublishFormWarning(m_publishedPage);
        if (!problems.isEmpty()) {
            const int answer = Messages::show(
                this, Messages::Kind::Confirmation,
                u"Some files your page uses will not be on the web server:\n\n%1\n\nDo you want to send the page "
                u"anyway?"_s.arg(problems.join(u'\n')),
                Messages::Yes | Messages::No, 0, formWarning);
            if (answer != Messages::Yes)
                return;
        } else if (!formWarning.isEmpty()) {
            Messages::warning(this, formWarning);
        }
    }
    startTransfer(item->text());
}

bool TfrmUpload::askPassphrase(ServerProfile *p)
{
    if (p->keyFile.isEmpty() || !p->keyPassphrase.isEmpty() || !KeyFileIsEncrypted(p->keyFile))
        return true;
    QInputDialog dialog(this);
    dialog.setObjectName(u"dlgPassphrase"_s);
    dialog.setWindowTitle(u"Key Passphrase"_s);
    dialog.setLabelText(u"The key %1 is protected by a passphrase. Enter it to sign in to the server:"_s.arg(
        QFileInfo(p->keyFile).fileName()));
    dialog.setTextEchoMode(QLineEdit::Password);
    for (QLabel *text : dialog.findChildren<QLabel *>())
        text->setTextFormat(Qt::PlainText); // the file name is the user's, never markup
    if (dialog.exec() != QDialog::Accepted || dialog.textValue().isEmpty())
        return false;
    p->keyPassphrase = dialog.textValue();
    saveProfile(*p);
    return true;
}

bool TfrmUpload::startTransfer(const QString &profileName)
{
    ServerProfile p;
    if (!ServerProfiles::LoadProfile(SettingsStore::instance(), profileName, &p)) {
        Messages::error(this, u"The server profile \"%1\" could not be read."_s.arg(profileName));
        return false;
    }
    if (!askPassphrase(&p))
        return false;
    TransferOptions options;
    options.target = PublishTarget::fromProfile(p.host, p.port, p.userName, p.password, p.initialDir);
    options.files = uploadList();
    options.stateDir = m_stateFolder;
    options.timeouts = m_timeouts;
    options.trustedFingerprint = p.trustedKey;
    options.privateKeyFile = p.keyFile;
    options.keyPassphrase = p.keyPassphrase;
    options.connections = p.connections;
    // Clear text only with the user's consent, and never to a server whose TLS key was trusted.
    options.requireTls = !p.clearTextAccepted || !p.trustedKey.isEmpty();
    if (!m_publishedPage.isEmpty()) // the page lies in the Upload folder: nothing outside it goes to the web
        options.uploadFolder = QFileInfo(m_publishedPage).absolutePath();
    m_sendingProfile = profileName;
    m_results.clear();
    SettingsStore::instance().writeString(QString(), kLastProfile, profileName);

    m_view->begin(options.target.host);
    m_transfer->start(options);
    setSending(true);
    return true;
}

void TfrmUpload::setSending(bool sending)
{
    btnServers->setEnabled(!sending);
    refreshUploadButtons();
}

void TfrmUpload::transferFinished()
{
    const TransferOutcome outcome = m_transfer->outcome();
    m_results = outcome.results;
    setSending(false);
    m_view->end(m_results);
    Q_EMIT transferEnded();

    if (m_closeWhenDone) {
        close();
        return;
    }
    ServerProfile p;
    if (!ServerProfiles::LoadProfile(SettingsStore::instance(), m_sendingProfile, &p))
        return;
    // A kept passphrase that no longer opens the key is forgotten, and asked for again.
    if (outcome.keyRefused && !p.keyPassphrase.isEmpty() && KeyFileIsEncrypted(p.keyFile)) {
        p.keyPassphrase.clear();
        saveProfile(p);
        startTransfer(m_sendingProfile);
        return;
    }
    const TrustDecision decision = TrustDecision::after(outcome, p);
    switch (decision.kind) {
    case TrustDecision::Kind::None:
        return;
    case TrustDecision::Kind::KeyChanged:
    case TrustDecision::Kind::TlsDropped:
        Messages::warning(this, decision.text, decision.detail);
        return;
    case TrustDecision::Kind::TrustKey:
    case TrustDecision::Kind::ClearText:
        break;
    }
    const int answer = Messages::show(this, Messages::Kind::Confirmation, decision.text, Messages::Yes | Messages::No);
    if (answer != Messages::Yes || !decision.accept(outcome, &p))
        return;
    saveProfile(p);
    startTransfer(m_sendingProfile);
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
        m_transfer->stop();
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
