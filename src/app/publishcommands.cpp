// Send to web: the page must be saved first, since the published page in the upload folder is
// written only by Save; then the upload wizard opens with the page's files.

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "platform/gui/busycursor.h"
#include "platform/gui/messages.h"
#include "project/pagedocument.h"
#include "publish/gui/uploadwizard.h"
#include "publish/uploadlist.h"

#include <memory>

using namespace Qt::StringLiterals;

void TfrmMain::sendToWeb()
{
    // Text typed into the open panel is an unsaved change like any other; a page that does not
    // differ from what was opened or saved goes straight to the wizard.
    commitPanel();
    if (m_doc->differsFromFile()) {
        const int answer = Messages::show(this, Messages::Kind::Confirmation,
                                          u"You need to save %1 before uploading."_s.arg(m_doc->name()),
                                          Messages::Ok | Messages::Cancel);
        if (answer == Messages::Ok)
            savePage();
        if (m_doc->differsFromFile())
            return;
    }
    std::unique_ptr<TfrmUpload> wizard;
    {
        BusyCursor busy;
        wizard = std::make_unique<TfrmUpload>(this);
        wizard->setUploadList(PublishFileList(m_doc->page(), m_doc->name(), m_doc->programFolder()));
        wizard->setPublishedPage(PublishedPagePath(m_doc->name(), m_doc->programFolder()));
    }
    wizard->exec();
}
