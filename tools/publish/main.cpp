// brisko-publish: sends a saved page and its pictures to a web server, for people who publish from scripts.
#include "document/pagefile.h"
#include "platform/programfolder.h"
#include "platform/settingsstore.h"
#include "platform/version.h"
#include "publish/formcheck.h"
#include "publish/serverprofiles.h"
#include "publish/transferworker.h"
#include "publish/uploadlist.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

#include <memory>

#include <cstdio>

namespace {

constexpr int kFailed = 1;
constexpr int kBadInput = 2;

void print(FILE *to, const QString &line)
{
    std::fprintf(to, "%s\n", line.toLocal8Bit().constData());
    std::fflush(to);
}

constexpr QStringView kUsage = u"usage: brisko-publish [--all] [--check] [--connections 1-8] [--cacert FILE] "
                               u"[--known-hosts FILE] [--key FILE] (--profile NAME | URL) PROJECT.mbe\n"
                               u"URL: ftp://user@host[:port]/folder (also ftpes://, ftps://, sftp://); "
                               u"the password comes from BRISKO_PASSWORD or the profile\n"
                               u"--key: SSH private key for sftp://, its passphrase from BRISKO_KEY_PASSPHRASE or the "
                               u"profile; with neither a password nor a key, the SSH agent signs in";

int usage()
{
    print(stderr, kUsage.toString());
    return kBadInput;
}

int fail(const QString &message)
{
    print(stderr, QStringLiteral("brisko-publish: ") + message);
    return kBadInput;
}

} // namespace

int main(int argc, char *argv[])
{
    if (const auto answered = AnswerHelpOrVersion(argc, argv, u"brisko-publish", kUsage))
        return *answered;
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Marlowen Software"));
    QCoreApplication::setApplicationName(QStringLiteral("HTML Brisko4"));
    QStringList args = app.arguments().mid(1);
    TransferOptions options;
    options.connections = 0; // the profile's, or 4
    bool checkOnly = false;
    QString profileName, url, project, keyFile;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        const bool hasValue = !args.isEmpty();
        if (arg == u"--all")
            options.sendAll = true;
        else if (arg == u"--check")
            checkOnly = true;
        else if (arg == u"--connections" && hasValue) {
            bool ok = false;
            options.connections = args.takeFirst().toInt(&ok);
            if (!ok || options.connections < 1 || options.connections > 8)
                return usage();
        } else if (arg == u"--cacert" && hasValue)
            options.caFile = args.takeFirst();
        else if (arg == u"--known-hosts" && hasValue)
            options.knownHostsFile = args.takeFirst();
        else if (arg == u"--key" && hasValue)
            keyFile = args.takeFirst();
        else if (arg == u"--profile" && hasValue)
            profileName = args.takeFirst();
        else if (arg.startsWith(u"--"))
            return usage();
        else if (url.isEmpty() && profileName.isEmpty() && arg.contains(u"://"))
            url = arg;
        else if (project.isEmpty())
            project = arg;
        else
            return usage();
    }
    if (project.isEmpty() || profileName.isEmpty() == url.isEmpty())
        return usage();

    QString error;
    if (!url.isEmpty()) {
        if (!PublishTarget::fromUrl(url, &options.target, &error))
            return fail(error);
    } else {
        ServerProfile profile;
        if (!ServerProfiles::LoadProfile(SettingsStore::instance(), profileName, &profile))
            return fail(QStringLiteral("no server profile named \"%1\"").arg(profileName));
        options.target = PublishTarget::fromProfile(profile.host, profile.port, profile.userName, profile.password,
                                                    profile.initialDir);
        options.trustedFingerprint = profile.trustedKey;
        options.privateKeyFile = profile.keyFile;
        options.keyPassphrase = profile.keyPassphrase;
        if (options.connections == 0)
            options.connections = profile.connections;
    }
    if (options.connections == 0)
        options.connections = ServerProfile().connections;
    if (qEnvironmentVariableIsSet("BRISKO_PASSWORD"))
        options.target.password = qEnvironmentVariable("BRISKO_PASSWORD");
    if (!keyFile.isEmpty() && keyFile != options.privateKeyFile) {
        options.privateKeyFile = keyFile;
        options.keyPassphrase.clear();
    }
    if (qEnvironmentVariableIsSet("BRISKO_KEY_PASSPHRASE"))
        options.keyPassphrase = qEnvironmentVariable("BRISKO_KEY_PASSPHRASE");
    if (!options.privateKeyFile.isEmpty() && !QFileInfo(options.privateKeyFile).isReadable())
        return fail(QStringLiteral("cannot read the key file %1").arg(options.privateKeyFile));

    const auto page = LoadDocument(project, &error);
    if (!page)
        return fail(QStringLiteral("%1: %2").arg(project, kInvalidDocumentMessage));
    if (const QString problem = CurrentProgramFolder().error; !problem.isEmpty())
        print(stderr, QStringLiteral("warning: ") + problem);
    const QString folder = ProgramFolder();
    options.files = PublishFileList(*page, project, folder);
    const QString html = PublishedPagePath(project, folder);

    const QStringList problems = PrePublishCheck(html, options.files);
    for (const QString &p : problems)
        print(stderr, QStringLiteral("warning: ") + p);
    // Named, but it fails nothing: the page is still sent.
    if (const QString formWarning = PrePublishFormWarning(html); !formWarning.isEmpty())
        print(stderr, QStringLiteral("warning: ") + formWarning);
    // A project may name any file as a picture; only what lies in the Upload folder goes to the web.
    options.uploadFolder = folder + ProgramFiles::kUpload;
    if (checkOnly) {
        bool refused = false;
        for (const QString &f : std::as_const(options.files)) {
            const bool inside = LiesInside(f, options.uploadFolder);
            refused = refused || !inside;
            print(stdout, (inside ? QStringLiteral("would send ") : QStringLiteral("would refuse ")) +
                              QFileInfo(f).fileName());
        }
        return problems.isEmpty() && !refused ? 0 : kFailed;
    }

    options.stateDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/publish");
    // A server without TLS is found out before any password goes to it: then a warning, and the send in clear
    // text; never to a server whose TLS key was trusted.
    options.requireTls = true;
    TransferWorker first(options);
    std::unique_ptr<TransferWorker> second;
    TransferWorker *worker = &first;
    const bool plainFtp = options.target.protocol == PublishProtocol::Ftp;
    const auto report = [&worker, &first, plainFtp](const FileResult &r) {
        // The first try's refusals of a server without TLS are not the user's failures: a second try follows.
        const bool triedAgain = plainFtp && worker == &first && r.failure == TransferFailure::NoTls;
        if (!triedAgain && r.failure != TransferFailure::AnotherPublish)
            print(stdout, PublishResultLine(r));
    };
    QObject::connect(&first, &TransferWorker::fileFinished, report);
    first.run();
    if (plainFtp && first.tlsRefused()) {
        if (!options.trustedFingerprint.isEmpty()) {
            print(stderr, QStringLiteral("brisko-publish: the server no longer offers TLS, although its key is "
                                         "trusted; refused, it may not be your server"));
            return kFailed;
        }
        print(stderr, QStringLiteral("warning: this server does not encrypt the connection: your password and your "
                                     "files can be read on the way"));
        options.requireTls = false;
        second = std::make_unique<TransferWorker>(options);
        worker = second.get();
        QObject::connect(worker, &TransferWorker::fileFinished, report);
        worker->run();
    }
    if (worker->runFailure() == TransferFailure::AnotherPublish) {
        print(stderr, QStringLiteral("brisko-publish: ") + describeFailure(worker->runFailure(), {}));
        return kFailed;
    }
    int sent = 0, unchanged = 0, failed = 0;
    for (const FileResult &r : worker->results())
        (r.status == FileResult::Sent ? sent : r.status == FileResult::Unchanged ? unchanged : failed)++;
    print(stdout, QStringLiteral("%1 sent, %2 unchanged, %3 failed").arg(sent).arg(unchanged).arg(failed));
    if (!worker->stateError().isEmpty())
        print(stderr, QStringLiteral("warning: the record of what was sent could not be written (") +
                          worker->stateError() +
                          QStringLiteral("); the next publish cannot tell unchanged files and will send every file "
                                         "again"));
    if (!worker->untrustedFingerprint().isEmpty())
        print(stderr, QStringLiteral("The server's key %1 is not trusted; pass --cacert or --known-hosts, or trust it "
                                     "in the upload wizard's profile.")
                          .arg(worker->untrustedFingerprint()));
    return failed == 0 && problems.isEmpty() ? 0 : kFailed;
}
