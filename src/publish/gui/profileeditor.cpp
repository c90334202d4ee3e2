#include "profileeditor.h"

#include "ui_profileeditor.h"

#include "platform/gui/help.h"

#include <QKeyEvent>

using namespace Qt::StringLiterals;

namespace {

// Characters a profile name cannot hold: it is one key of the settings store.
const QString kRejectedNameCharacters = u"\"*/:?\\|\u2039\u203A"_s;

} // namespace

TProfileEditor::TProfileEditor(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TProfileEditor>())
{
    ui->setupUi(this);
    setObjectName(u"pnlProfiles"_s);
    setAutoFillBackground(true);
    const std::pair<QLabel *, int> topics[] = {
        {ui->lblProfileName, kHelpName}, {ui->lblUserName, kHelpUser},     {ui->lblPassword, kHelpPassword},
        {ui->lblHostName, kHelpHost},    {ui->lblInitialDir, kHelpFolder}, {ui->lblPort, kHelpPort},
    };
    for (const auto &[label, topic] : topics) {
        Help::attachWhatsThis(label, topic);
        Help::attachWhatsThis(label->buddy(), topic);
    }
    ui->txtPassword->setEchoMode(QLineEdit::Password);
    ui->txtPassword->setStyleSheet(u"QLineEdit { lineedit-password-character: 42; }"_s); // "*" for each character
    ui->txtPort->installEventFilter(this);
    ui->txtProfileName->installEventFilter(this);
    connect(ui->txtProfileName, &QLineEdit::textChanged, this, &TProfileEditor::nameChanged);
}

TProfileEditor::~TProfileEditor() = default;

QLineEdit *TProfileEditor::nameEdit() const
{
    return ui->txtProfileName;
}

void TProfileEditor::clear()
{
    for (QLineEdit *edit : findChildren<QLineEdit *>())
        edit->clear();
    ui->txtPort->setText(u"21"_s);
    ui->updnConnections->setValue(ServerProfile().connections);
}

void TProfileEditor::load(const ServerProfile &p)
{
    ui->txtProfileName->setText(p.name);
    ui->txtUserName->setText(p.userName);
    ui->txtPassword->setText(p.password);
    ui->txtHostName->setText(p.host);
    ui->txtInitialDir->setText(p.initialDir);
    ui->txtPort->setText(p.port);
    ui->txtKeyFile->setText(p.keyFile);
    ui->updnConnections->setValue(p.connections);
}

ServerProfile TProfileEditor::profile(const ServerProfile &base) const
{
    ServerProfile p = base;
    p.name = ui->txtProfileName->text();
    p.userName = ui->txtUserName->text();
    p.password = ui->txtPassword->text();
    p.host = ui->txtHostName->text();
    p.initialDir = ui->txtInitialDir->text();
    p.port = ui->txtPort->text();
    if (p.keyFile != ui->txtKeyFile->text().trimmed())
        p.keyPassphrase.clear(); // another key, another passphrase
    p.keyFile = ui->txtKeyFile->text().trimmed();
    p.connections = ui->updnConnections->value();
    return p;
}

QString TProfileEditor::problem(QLineEdit **focus) const
{
    // The key filters stop these characters from being typed; a pasted name can still hold them.
    *focus = ui->txtProfileName;
    for (const QChar c : ui->txtProfileName->text()) {
        if (kRejectedNameCharacters.contains(c)) {
            return u"A server profile name cannot contain the character %1. These characters are not allowed: "
                   u"\" * / : ? \\ | \u2039 \u203A"_s.arg(c);
        }
    }
    *focus = ui->txtPort;
    const QString port = ui->txtPort->text();
    bool ok = !port.isEmpty();
    for (const QChar c : port)
        ok = ok && c >= u'0' && c <= u'9';
    const int number = ok ? port.toInt(&ok) : 0;
    if (!ok || number < 1 || number > 65535)
        return u"The port must be a number from 1 to 65535."_s;
    return {};
}

bool TProfileEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    const QString text = key->text();
    // Keys that type no character (arrows, Delete, Tab, Enter) and shortcuts (Ctrl+A, Ctrl+C) are
    // not filtered.
    if (text.isEmpty() || key->key() == Qt::Key_Delete || !text.at(0).isPrint()
        || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    const QChar c = text.at(0);
    if (watched == ui->txtPort)
        return !(c == u'\b' || (c >= u'0' && c <= u'9'));
    return kRejectedNameCharacters.contains(c);
}
