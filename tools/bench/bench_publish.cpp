// Times brisko-publish against Debian's lftp ("mirror -R") on one FTP test server that answers every
// command late, as a distant host does: the first send and the unchanged resend of a page with many
// small pictures, and the rate of one big file on a server without delay. Prints wall times and the
// ratios brisko-publish / lftp. A benchmark for people, not a timed test.
// Usage: brisko-bench-publish [pictures, default 500] [reply delay in ms, default 10] [big file MB, default 100]

#include "document/pagefile.h"
#include "document/pagemodel.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

const QString kUser = QStringLiteral("bench");
const QString kPassword = QStringLiteral("bench-pass");

bool writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

QByteArray picture(int size, int seed)
{
    QByteArray data(size, Qt::Uninitialized);
    quint32 x = quint32(seed) * 2654435761u + 1;
    for (char &c : data) {
        x = x * 1664525u + 1013904223u;
        c = char(x >> 24);
    }
    return data;
}

// A program folder of its own with brisko-publish, the pictures in Upload/images, a project naming them
// and its published page; the same files lie flat in "site" for lftp.
struct Site {
    QString program, project, flat;
};

Site makeSite(const QString &root, int pictures, int pictureSize)
{
    Site s{root + QStringLiteral("/Brisko/"), {}, root + QStringLiteral("/site")};
    QDir().mkpath(s.flat);
    QDir().mkpath(s.program);
    QFile::copy(QStringLiteral(BRISKO_PUBLISH), s.program + QStringLiteral("brisko-publish"));
    QFile::setPermissions(s.program + QStringLiteral("brisko-publish"), QFile::ReadOwner | QFile::ExeOwner);
    TPagelette page;
    page.AddDefaultBlocks();
    QByteArray html = "<HTML><BODY>\r\n";
    for (int i = 0; i < page.Page.Count(); ++i) {
        if (page.Page.Items(i)->BlockType == btImage)
            page.Page.Items(i)->ImageBlock.FileName.clear();
    }
    for (int i = 0; i < pictures; ++i) {
        const QString name = QStringLiteral("picture%1.gif").arg(i, 4, 10, QLatin1Char('0'));
        TPageItem &item = page.Page.Add();
        item.BlockType = btImage;
        item.ImageBlock.FileName = name;
        const QByteArray data = picture(pictureSize, i);
        writeFile(s.program + QStringLiteral("Upload/images/") + name, data);
        writeFile(s.flat + QLatin1Char('/') + name, data);
        html += "<IMG SRC=\"" + name.toLatin1() + "\">\r\n";
    }
    html += "</BODY></HTML>\r\n";
    s.project = s.program + QStringLiteral("BriskoFiles/Bench.mbe");
    writeFile(s.project, DocumentBytes(page));
    writeFile(s.program + QStringLiteral("Upload/Bench.html"), html);
    writeFile(s.flat + QStringLiteral("/Bench.html"), html);
    return s;
}

// The test server of the publishing tests, on 127.0.0.1.
class Server
{
public:
    Server(const QString &root, int delayMs)
    {
        QDir().mkpath(root);
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_process.start(QStringLiteral("/usr/bin/python3"),
                        {QStringLiteral(BRISKO_TEST_SERVER), QStringLiteral("ftp"), root, kUser, kPassword,
                         QStringLiteral("--delay"), QString::number(delayMs)});
        while (m_process.state() != QProcess::NotRunning && !m_process.canReadLine())
            m_process.waitForReadyRead(10000);
        m_port = m_process.readLine().split(' ').value(0).toInt();
    }
    ~Server()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    int port() const { return m_port; }

private:
    QProcess m_process;
    int m_port = 0;
};

// Runs a command to its end and returns its wall time in seconds, or -1 when it failed.
double timed(const QString &program, const QStringList &args, const QProcessEnvironment &env = {})
{
    QProcess p;
    if (!env.isEmpty())
        p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    p.waitForFinished(-1);
    const double seconds = double(t.nsecsElapsed()) / 1e9;
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "%s failed:\n%s\n", qPrintable(program), p.readAll().right(2000).constData());
        return -1;
    }
    return seconds;
}

struct Runner {
    QString root;
    Site site;
    int port = 0;
    QProcessEnvironment env;

    double brisko(const QString &folder) const
    {
        return timed(site.program + QStringLiteral("brisko-publish"),
                     {QStringLiteral("ftp://%1@127.0.0.1:%2/%3").arg(kUser).arg(port).arg(folder), site.project}, env);
    }
    double lftp(const QString &folder, int parallel) const
    {
        const QString script = QStringLiteral("set ftp:ssl-allow no; set net:max-retries 1; mirror -R "
                                              "--parallel=%1 %2 %3; bye")
                                   .arg(parallel)
                                   .arg(site.flat, folder);
        return timed(QStringLiteral("lftp"), {QStringLiteral("-u"), kUser + QLatin1Char(',') + kPassword,
                                              QStringLiteral("-e"), script,
                                              QStringLiteral("ftp://127.0.0.1:%1").arg(port)});
    }
};

void row(const char *what, double brisko, double lftp)
{
    std::printf("  %-34s %9.2f s %9.2f s %8.2f\n", what, brisko, lftp, lftp > 0 ? brisko / lftp : 0.0);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (QStandardPaths::findExecutable(QStringLiteral("lftp")).isEmpty()) {
        std::fprintf(stderr, "brisko-bench-publish: lftp is not installed (make deps)\n");
        return 1;
    }
    const int pictures = argc > 1 ? std::atoi(argv[1]) : 500;
    const int delay = argc > 2 ? std::atoi(argv[2]) : 10;
    const int bigMb = argc > 3 ? std::atoi(argv[3]) : 100;
    QTemporaryDir dir;
    Runner r;
    r.root = dir.path();
    r.env = QProcessEnvironment::systemEnvironment();
    r.env.insert(QStringLiteral("BRISKO_PASSWORD"), kPassword);
    r.env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    r.env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));

    std::printf("brisko-publish against lftp: %d pictures of 3 KB and the page, the server answers %d ms late\n",
                pictures, delay);
    std::printf("  %-34s %11s %11s %8s\n", "", "brisko", "lftp", "ratio");
    {
        r.site = makeSite(dir.filePath(QStringLiteral("small")), pictures, 3000);
        Server server(dir.filePath(QStringLiteral("remote")), delay);
        r.port = server.port();
        const double lftp1 = r.lftp(QStringLiteral("lftp1"), 1);
        const double lftp4 = r.lftp(QStringLiteral("lftp4"), 4);
        const double lftpAgain = r.lftp(QStringLiteral("lftp4"), 4);
        const double first = r.brisko(QStringLiteral("brisko"));
        const double again = r.brisko(QStringLiteral("brisko"));
        row("first send (lftp one connection)", first, lftp1);
        row("first send (lftp --parallel=4)", first, lftp4);
        row("resend, nothing changed", again, lftpAgain);
    }
    if (bigMb > 0) {
        Runner big = r;
        big.site = makeSite(dir.filePath(QStringLiteral("big")), 0, 0);
        const QString name = QStringLiteral("big.jpg");
        TPagelette page;
        page.AddDefaultBlocks();
        for (int i = 0; i < page.Page.Count(); ++i) {
            if (page.Page.Items(i)->BlockType == btImage)
                page.Page.Items(i)->ImageBlock.FileName = name;
        }
        writeFile(big.site.project, DocumentBytes(page));
        const QByteArray data = picture(bigMb << 20, 7);
        writeFile(big.site.program + QStringLiteral("Upload/images/") + name, data);
        writeFile(big.site.flat + QLatin1Char('/') + name, data);
        Server server(dir.filePath(QStringLiteral("remote-big")), 0);
        big.port = server.port();
        const double lftp = big.lftp(QStringLiteral("lftp"), 1);
        const double brisko = big.brisko(QStringLiteral("brisko"));
        std::printf("  %-34s %7.1f MB/s %7.1f MB/s %8.2f\n", qPrintable(QStringLiteral("one file of %1 MB, no delay").arg(bigMb)),
                    brisko > 0 ? bigMb / brisko : 0.0, lftp > 0 ? bigMb / lftp : 0.0,
                    brisko > 0 && lftp > 0 ? lftp / brisko : 0.0);
    }
    return 0;
}
