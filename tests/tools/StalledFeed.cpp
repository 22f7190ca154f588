#include "tests/tools/StalledFeed.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace
{
constexpr int PatienceMs = 60000;
// The shell opens the pipe, which waits for a reader there and not in the test. After the share,
// cat holds the pipe open, waiting on a standard input the test never writes to.
const char* const FeedScript = "exec >\"$FIFO\"; head -c \"$SHARE\" \"$SOURCE\"; echo fed >&2; exec cat";
} // namespace

StalledFeed::StalledFeed(const QString& fifo, const QString& source, double share)
{
    mkfifo(QFile::encodeName(fifo).constData(), 0600);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FIFO"), fifo);
    environment.insert(QStringLiteral("SOURCE"), source);
    environment.insert(QStringLiteral("SHARE"), QString::number(qint64(QFileInfo(source).size() * share)));
    m_feeder.setProcessEnvironment(environment);
    m_feeder.setReadChannel(QProcess::StandardError);
    m_feeder.start(QStringLiteral("sh"), {QStringLiteral("-c"), QString::fromLatin1(FeedScript)});
}

StalledFeed::~StalledFeed()
{
    m_feeder.kill();
    m_feeder.waitForFinished();
}

bool StalledFeed::WaitUntilFed()
{
    QByteArray said;
    while (!said.contains("fed")) {
        if (!m_feeder.waitForReadyRead(PatienceMs))
            return false;
        said += m_feeder.readAllStandardError();
    }
    return true;
}
