#include "conversion/ConsoleProgress.h"

#include "conversion/FileConversion.h"
#include "conversion/TimeLeft.h"
#include "platform/Console.h"
#include "platform/Paths.h"
#include "platform/Printable.h"
#include "platform/Processes.h"
#include "platform/ShellWords.h"

#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <utility>

namespace
{

// How often the progress is shown: a rewritten line may change often, a log line may not.
constexpr qint64 TerminalIntervalMs = 250;
constexpr qint64 LogIntervalMs = 5000;

QString Percent(double fraction)
{
    return QString::number(static_cast<int>(std::floor(fraction * 100))) + QStringLiteral(" %");
}

} // namespace

QString ProgressText(const RunProgress& progress)
{
    QStringList parts;
    for (const FileProgress& file : progress.Running)
        parts << Printable(Paths::ExtractFileName(file.Source)) + u' ' + Percent(file.Fraction);
    parts << QStringLiteral("run ") + Percent(progress.Fraction);
    if (progress.SecondsLeft)
        parts << ClockText(*progress.SecondsLeft) + QStringLiteral(" left");
    return parts.join(QStringLiteral(", "));
}

void ConsoleProgress::Close()
{
    writeCommands();
    if (m_lineOpen)
        RewriteLine(stdout, QString());
    m_lineOpen = false;
}

void ConsoleProgress::writeCommands()
{
    const QByteArray commands = std::exchange(m_commands, QByteArray());
    if (commands.isEmpty() || m_outputFailed || WriteBytes(stdout, commands))
        return;
    // A command cut short is no command: nothing more is written.
    m_outputFailed = true;
    if (errno != EINTR)
        m_outputProblem = qt_error_string(errno);
    if (OnOutputFailed)
        OnOutputFailed();
}

void ConsoleProgress::ShowProgress(const RunProgress& progress)
{
    if (m_dryRun || progress.Running.isEmpty() ||
        m_sinceShown.elapsed() < (m_terminal ? TerminalIntervalMs : LogIntervalMs))
        return;
    m_sinceShown.restart();
    if (m_terminal)
        m_lineOpen = OfferRewrite(stdout, ProgressText(progress)) || m_lineOpen;
    else
        OfferLine(stdout, ProgressText(progress));
}

QString ConsoleProgress::shellLine(const QStringList& arguments)
{
    m_quotedWords.resize(arguments.size());
    m_lastWords.resize(arguments.size());
    qsizetype length = m_quotedProgram.size();
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        // The same characters in memory are the same word: the last word is held, so its memory
        // cannot have been given to another.
        const bool same = arguments[i].constData() == m_lastWords[i].constData() &&
                          arguments[i].size() == m_lastWords[i].size() && !m_quotedWords[i].isNull();
        if (!same) {
            m_quotedWords[i] = ShellWord(arguments[i]);
            m_lastWords[i] = arguments[i];
        }
        length += 1 + m_quotedWords[i].size();
    }
    // Copied into a line of its final length: appending word by word costs more than the words.
    QString line(length, Qt::Uninitialized);
    QChar* end = std::copy(m_quotedProgram.cbegin(), m_quotedProgram.cend(), line.data());
    for (const QString& word : std::as_const(m_quotedWords)) {
        *end++ = u' ';
        end = std::copy(word.cbegin(), word.cend(), end);
    }
    return line;
}

void ConsoleProgress::AnnouncePass(const PassStart& pass)
{
    if (m_dryRun) {
        if (m_outputFailed)
            return;
        // Looked up once: every pass runs the same encoder.
        if (m_quotedProgram.isEmpty())
            m_quotedProgram = ShellWord(FindProgram(pass.Conversion.Program(), m_programFolder));
        m_commands += shellLine(pass.Conversion.Arguments()).toUtf8();
        m_commands += '\n';
        constexpr qsizetype HeldBytes = 64 * 1024;
        if (m_commands.size() >= HeldBytes)
            writeCommands();
        return;
    }
    Close();
    OfferLine(stdout, QStringLiteral("[%1/%2] pass %3/%4: %5 -> %6")
                          .arg(pass.FileIndex + 1)
                          .arg(pass.FileCount)
                          .arg(pass.Pass)
                          .arg(pass.Passes)
                          .arg(Printable(Paths::ExtractFileName(pass.Source)),
                               Printable(Paths::ExtractFileName(pass.Target))));
}
