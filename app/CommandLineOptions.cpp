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

// The value of `option` when the argument at `at` is that option, as "--option=value" or as
// "--option value" (then `at` moves on to the value; empty when none follows).
std::optional<QString> valueOf(const QString& option, QStringList::const_iterator& at,
                               QStringList::const_iterator end)
{
    if (at->startsWith(option + u'='))
        return at->mid(option.size() + 1);
    if (*at != option)
        return std::nullopt;
    return ++at != end ? *at : (--at, QString());
}

// The options that name a list of paths, by how the list separates them.
std::optional<ListSeparator> listOption(const QString& argument)
{
    const QString name = argument.section(u'=', 0, 0);
    if (name == QStringLiteral("--files-from"))
        return ListSeparator::Line;
    if (name == QStringLiteral("--files0-from"))
        return ListSeparator::Nul;
    return std::nullopt;
}

bool readsStandardInput(const QList<PathListFile>& lists)
{
    return std::any_of(lists.begin(), lists.end(),
                       [](const PathListFile& list) { return list.File == u'-'; });
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
        else if (const std::optional<QString> count =
                     valueOf(QStringLiteral("--jobs"), it, arguments.end())) {
            if (!jobCount(*count))
                return usageError(
                    QStringLiteral("--jobs needs a whole number from 1 up, not '%1'").arg(*count));
            options.Jobs = *jobCount(*count);
        } else if (const std::optional<ListSeparator> separator = listOption(argument)) {
            const QString option = argument.section(u'=', 0, 0);
            const QString file = *valueOf(option, it, arguments.end());
            if (file.isEmpty())
                return usageError(option +
                                  QStringLiteral(" needs a file that lists paths (- for standard input)"));
            if (file == u'-' && readsStandardInput(options.Lists))
                return usageError(QStringLiteral("standard input can give only one list of files"));
            options.Lists << PathListFile{file, *separator, static_cast<int>(options.Paths.size())};
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
    if (!convert && (options.ITunes || options.DryRun || options.SkipExisting || options.Jobs > 0 ||
                     !options.Lists.isEmpty()))
        return usageError(QStringLiteral("--itunes, --dry-run, --skip-existing, --jobs, --files-from and "
                                         "--files0-from only go with --convert"));
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
    return QStringLiteral("usage: korumi [--] [PATH...]\n"
                          "       korumi --convert [OPTION...] [--] [PATH...]\n"
                          "       korumi --help | --version\n"
                          "\n"
                          "Without --convert, opens the window with PATHs (files or folders) in its list.\n"
                          "Options may come in any order; a PATH that starts with \"-\" goes after \"--\".\n"
                          "  --convert           converts PATHs with the saved settings, without the\n"
                          "                      window, and exits: 0 when every file converted, 1 when\n"
                          "                      any failed or was cancelled, 2 on a usage error,\n"
                          "                      128 + N when signal N (Ctrl+C: 2) stopped the run\n"
                          "  --itunes            registers each converted file in the media library\n"
                          "  --dry-run           prints every conversion command and writes nothing\n"
                          "  --skip-existing     leaves out the files whose .mp4 exists already, so a\n"
                          "                      stopped batch goes on\n"
                          "  --jobs N            converts up to N files at the same time (default: %1\n"
                          "                      on this machine)\n"
                          "  --files-from FILE   converts the paths FILE lists too, one a line\n"
                          "                      (- for standard input)\n"
                          "  --files0-from FILE  the same for a list of paths each ended by a NUL byte\n"
                          "                      (find -print0)\n"
                          "  -h, --help          prints this help\n"
                          "  --version           prints the version\n"
                          "See man korumi for more.")
        .arg(DefaultJobs());
}
