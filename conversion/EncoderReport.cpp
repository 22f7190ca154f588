#include "conversion/EncoderReport.h"

#include "conversion/BatchResult.h"

#include <algorithm>

namespace
{

constexpr double MicrosecondsPerSecond = 1e6;
// A line longer than this is no message of ffmpeg's; only its end is kept.
constexpr qsizetype MaxLineBytes = 4096;

// What ffmpeg writes after the message that tells why a pass failed.
constexpr const char* Consequences[] = {
    "Conversion failed!",
    "Error marking filters as finished",
    "Error while processing the decoded data",
    "Error while filtering",
    "Failed to inject frame into filter network",
    "Error submitting",
    "Error initializing output stream",
    "Error sending frames to consumers",
    "Error closing",
};
// A packet that could not be decoded, and a picture decoded with parts of it concealed.
constexpr const char FailedPacket[] = "Error while decoding stream #";
constexpr const char Concealed[] = "concealing ";
constexpr const char ConcealedEnd[] = " errors in ";

bool isConsequence(const QString& message)
{
    return std::any_of(std::begin(Consequences), std::end(Consequences),
                       [&message](const char* words) { return message.contains(QLatin1String(words)); });
}

bool tellsOfDamage(const QString& message)
{
    return message.startsWith(QLatin1String(FailedPacket)) ||
           (message.contains(QLatin1String(Concealed)) && message.contains(QLatin1String(ConcealedEnd)));
}

// Feeds every whole line of `rest` + `bytes` to `take`, keeping an unfinished last line in `rest`.
template <typename Take> void SplitLines(QByteArray& rest, const QByteArray& bytes, Take take)
{
    rest += bytes;
    qsizetype start = 0;
    for (qsizetype end; (end = rest.indexOf('\n', start)) >= 0; start = end + 1)
        take(rest.mid(start, end - start).trimmed());
    rest.remove(0, start);
    if (rest.size() > MaxLineBytes)
        rest = rest.right(MaxLineBytes);
}

// A path as the front writes it on one line, its escapes undone.
QString Unescaped(const QByteArray& text)
{
    QByteArray path;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\\' || i + 1 == text.size()) {
            path += c;
            continue;
        }
        const char escaped = text[++i];
        path += escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : escaped;
    }
    return QString::fromUtf8(path);
}

std::optional<double> Number(const QByteArray& text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && value >= 0 ? std::optional<double>(value) : std::nullopt;
}

} // namespace

void EncoderReport::AddOutput(const QByteArray& bytes)
{
    SplitLines(m_outputRest, bytes, [this](const QByteArray& line) { takeOutputLine(line); });
}

void EncoderReport::AddErrors(const QByteArray& bytes)
{
    SplitLines(m_errorRest, bytes, [this](const QByteArray& line) { takeErrorLine(line); });
}

std::optional<double> EncoderReport::Fraction() const
{
    if (m_ended)
        return 1.0;
    if (!m_durationSeconds || !m_doneSeconds || *m_durationSeconds <= 0)
        return std::nullopt;
    return std::clamp(*m_doneSeconds / *m_durationSeconds, 0.0, 1.0);
}

QString EncoderReport::Reason() const
{
    return !m_cause.isEmpty() ? m_cause : !m_lastSpecific.isEmpty() ? m_lastSpecific : m_last;
}

void EncoderReport::takeOutputLine(const QByteArray& line)
{
    const qsizetype equals = line.indexOf('=');
    const QByteArray key = line.left(equals);
    const QByteArray value = line.mid(equals + 1).trimmed();
    if (key == "duration")
        m_durationSeconds = Number(value);
    else if (key == "writing")
        m_writingPath = Unescaped(value);
    else if (key == "subtitle_left_out")
        m_subtitlesLeftOut << QString::fromUtf8(value);
    else if (const auto microseconds = key == "out_time_us" ? Number(value) : std::nullopt)
        m_doneSeconds = *microseconds / MicrosecondsPerSecond;
    else if (key == "progress" && value == "end")
        m_ended = true;
}

void EncoderReport::takeErrorLine(const QByteArray& line)
{
    if (line.isEmpty())
        return;
    QString reason = QString::fromUtf8(line);
    for (const QString& prefix :
         {m_source + QStringLiteral(": "), QStringLiteral("file:") + m_source + ": "}) {
        if (!m_source.isEmpty() && reason.startsWith(prefix))
            reason = reason.mid(prefix.size());
    }
    m_last = reason;
    if (tellsOfDamage(reason)) {
        if (m_decodeErrors++ == 0)
            m_firstDecodeError = m_doneSeconds.value_or(0);
        return;
    }
    if (m_cause.isEmpty() && !PlainCause(reason).isEmpty())
        m_cause = reason;
    if (!isConsequence(reason))
        m_lastSpecific = reason;
}
