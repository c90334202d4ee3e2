#pragma once

#include "publish/serverprofiles.h"
#include "publish/transferworker.h"

#include <QDialog>
#include <QList>

#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QToolButton;
class TListBoxHrz;
class TProfileEditor;
class TransferController;
class TTransferView;
class UploadListModel;

// The upload wizard: the Servers page keeps the user's server profiles, the Upload page lists
// the files of the published page and sends them to the selected profile's server. The transfer
// runs on a worker thread; the wizard stays responsive and can stop it.
class TfrmUpload : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kHelpWizard = 56;
    static constexpr int kHelpProfiles = 63;
    static constexpr int kHelpUploadList = 75;

    explicit TfrmUpload(QWidget *parent = nullptr);
    ~TfrmUpload() override;

    // The files to send, in order; the published page is checked before sending when it is
    // among them.
    void setUploadList(const QStringList &files);
    QStringList uploadList() const;
    void setPublishedPage(const QString &path) { m_publishedPage = path; }

    // Where the record of what was sent is kept; the user's data folder unless set.
    void setStateFolder(const QString &folder) { m_stateFolder = folder; }
    void setTimeouts(const TransferTimeouts &timeouts) { m_timeouts = timeouts; }

    bool isSending() const;
    // The running transfer, whose progress signals a test may watch.
    TransferController *transfer() const { return m_transfer; }
    // What the last transfer did with each file.
    QList<FileResult> results() const { return m_results; }

Q_SIGNALS:
    // A transfer ended and its results are shown.
    void transferEnded();

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    enum class EditorMode { Add, Edit };

    void buildControls();
    void buildEditor();
    void buildUploadPage();
    void connectControls();

    void lvProfilesClick();
    void showPage(int tag);
    void btnAddClick();
    void btnEditClick();
    void startEditor();
    void btnApplyClick();
    void btnCancelClick();
    void btnDeleteClick();
    void btnUpAddClick();
    void btnUpRemoveClick();
    void btnSendClick();
    QListWidgetItem *findProfile(const QString &name) const;
    QListWidgetItem *selectedProfile() const;
    void refreshUploadButtons();
    // The list box shows the model again, with the given row selected (none for -1).
    void showUploadList(int selectRow);
    int selectedUploadRow() const;

    void selectLastProfile();
    // Sends to the profile; false when the user declined a question before anything started.
    bool startTransfer(const QString &profileName);
    bool askPassphrase(ServerProfile *profile);
    SecretPlace saveProfile(const ServerProfile &profile, const QString &oldName = {});
    // Once per wizard: where no secret store answers, the user learns that the password is in the settings file.
    void tellWherePasswordIs(SecretPlace place);
    void transferFinished();
    void setSending(bool sending);

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QWidget *pnlServers = nullptr;
    QListWidget *lvProfiles = nullptr;
    QPushButton *btnAdd = nullptr;
    QPushButton *btnDelete = nullptr;
    QPushButton *btnEdit = nullptr;
    QToolButton *btnServers = nullptr;
    QToolButton *btnUpload = nullptr;
    QPushButton *btnClose = nullptr;
    QPushButton *btnApply = nullptr;
    QPushButton *btnCancel = nullptr;

    TProfileEditor *pnlProfiles = nullptr;

    QWidget *pnlUpload = nullptr;
    TListBoxHrz *lstUpload = nullptr;
    QToolButton *btnUpAdd = nullptr;
    QToolButton *btnUpRemove = nullptr;
    QPushButton *btnSend = nullptr;
    TTransferView *m_view = nullptr;

    EditorMode m_mode = EditorMode::Add;
    QString m_publishedPage;
    QString m_stateFolder;
    TransferTimeouts m_timeouts;

    TransferController *m_transfer = nullptr;
    std::unique_ptr<UploadListModel> m_list;
    QString m_sendingProfile;
    QList<FileResult> m_results;
    bool m_closeWhenDone = false;
    bool m_toldPasswordInFile = false;
};
