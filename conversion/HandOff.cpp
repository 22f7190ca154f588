#include "conversion/HandOff.h"

namespace
{
// The tool returns at once; one that has not ended by then never will.
constexpr int LimitMs = 60000;
} // namespace

HandOff::HandOff(QObject* parent) : QObject(parent)
{
    m_limit.setSingleShot(true);
    m_limit.setInterval(LimitMs);
    connect(&m_limit, &QTimer::timeout, this, [this] {
        m_tool.Stop();
        fail(QStringLiteral("応答がありません"));
    });
    connect(&m_tool, &HiddenProcess::ErrorsArrived, this,
            [this](const QByteArray& bytes) { m_errors += bytes; });
    connect(&m_tool, &HiddenProcess::FailedToStart, this, [this](const QString& message) { fail(message); });
    connect(&m_tool, &HiddenProcess::Finished, this, [this](int exitCode, bool crashed) {
        if (!m_limit.isActive())
            return; // already reported
        if (!crashed && exitCode == 0) {
            m_limit.stop();
            emit Done(QString());
            return;
        }
        const QString said = QString::fromUtf8(m_errors).trimmed().section(u'\n', -1);
        fail(said.isEmpty() ? QStringLiteral("終了コード %1").arg(exitCode) : said);
    });
}

void HandOff::Start(const QString& target, const QString& programFolder)
{
    m_errors.clear();
    m_limit.start();
    m_tool.Start(Command(RegistrationProgram).AddPath(target), programFolder);
}

void HandOff::fail(const QString& why)
{
    m_limit.stop();
    emit Done(QStringLiteral("メディアライブラリに登録できませんでした (%1)").arg(why));
}
