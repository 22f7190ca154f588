#include "app/CommandLineOptions.h"

#include <QThread>
#include <algorithm>
#include <limits>
#include <optional>

namespace
{

using Mode = CommandLineOptions::Mode;

CommandLineOptions usageError(const QString& error)
{
    CommandLineOptions options;
    options.RunMode = Mode::UsageError;
    options.Error = error;
    return options;
}

bool isOption(const QString& argument)
{
    return argument.startsWith(u'-') && argument != u'-';
}

// A count of files at a time: a whole number from 1 up (one too large for an int stays large).
std::optional<int> jobCount(const QString& text)
{
    bool ok = false;
    const qlonglong count = text.toLongLong(&ok);
    if (!ok || count < 1)
        return std::nullopt;
    return static_cast<int>(std::min<qlonglong>(count, std::numeric_limits<int>::max()));
}

} // namespace

CommandLineOptions ParseCommandLine(const QStringList& arguments)
{
    CommandLineOptions options;
    bool convert = false;
    bool help = false;
    bool version = false;
    bool optionsEnded = false;
    for (auto it = arguments.begin(); it != arguments.end(); ++it) {
        const QString& argument = *it;
        if (optionsEnded || !isOption(argument))
            options.Paths << argument;
        else if (argument == QStringLiteral("--jobs") || argument.startsWith(QStringLiteral("--jobs="))) {
            const QString count = argument.contains(u'=') ? argument.section(u'=', 1)
                                                          : (++it != arguments.end() ? *it : QString());
            if (!jobCount(count))
                return usageError(
                    QStringLiteral("--jobs needs a whole number from 1 up, not '%1'").arg(count));
            options.Jobs = *jobCount(count);
        } else if (argument == QStringLiteral("--"))
            optionsEnded = true;
        else if (argument == QStringLiteral("--convert"))
            convert = true;
        else if (argument == QStringLiteral("--itunes"))
            options.ITunes = true;
        else if (argument == QStringLiteral("--dry-run"))
            options.DryRun = true;
        else if (argument == QStringLiteral("--skip-existing"))
            options.SkipExisting = true;
        else if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h"))
            help = true;
        else if (argument == QStringLiteral("--version"))
            version = true;
        else
            return usageError(QStringLiteral("unknown option: ") + argument);
    }
    if (help || version) {
        CommandLineOptions asked;
        asked.RunMode = help ? Mode::Help : Mode::Version;
        return asked;
    }
    if (!convert && (options.ITunes || options.DryRun || options.SkipExisting || options.Jobs > 0))
        return usageError(
            QStringLiteral("--itunes, --dry-run, --skip-existing and --jobs only go with --convert"));
    options.RunMode = convert ? Mode::Convert : Mode::Window;
    return options;
}

int MaxJobs()
{
    constexpr int AtLeast = 16;
    return std::max(AtLeast, 2 * QThread::idealThreadCount());
}

int DefaultJobs()
{
    return QThread::idealThreadCount() >= 2 ? 3 : 1;
}

QString UsageText()
{
    return QStringLiteral(
               "usage: korumi [--] [PATH...]\n"
               "       korumi --convert [--itunes] [--dry-run] [--skip-existing] [--jobs N] [--] [PATH...]\n"
               "       korumi --help | --version\n"
               "\n"
               "Without --convert, opens the window with PATHs (files or folders) in the input list.\n"
               "Options may come in any order; a PATH that starts with \"-\" goes after \"--\".\n"
               "--convert   converts PATHs with the saved settings, without the window, and exits:\n"
               "            0 when every file converted, 1 when any failed or was cancelled, 2 on a usage "
               "error,\n"
               "            128 + N when signal N (Ctrl+C: 2) stopped the run\n"
               "--itunes    registers each converted file in the media library\n"
               "--dry-run   prints every conversion command and writes nothing\n"
               "--skip-existing\n"
               "            leaves out the files whose .mp4 exists already, so a stopped batch goes on\n"
               "--jobs N    converts up to N files at the same time (default: %1 on this machine)")
        .arg(DefaultJobs());
}
