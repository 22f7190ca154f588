#include "app/CommandLineOptions.h"

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

} // namespace

CommandLineOptions ParseCommandLine(const QStringList& arguments)
{
    CommandLineOptions options;
    bool convert = false;
    bool help = false;
    bool version = false;
    bool optionsEnded = false;
    for (const QString& argument : arguments) {
        if (optionsEnded || !isOption(argument))
            options.Paths << argument;
        else if (argument == QStringLiteral("--"))
            optionsEnded = true;
        else if (argument == QStringLiteral("--convert"))
            convert = true;
        else if (argument == QStringLiteral("--itunes"))
            options.ITunes = true;
        else if (argument == QStringLiteral("--dry-run"))
            options.DryRun = true;
        else if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h"))
            help = true;
        else if (argument == QStringLiteral("--version"))
            version = true;
        else
            return usageError(QStringLiteral("unknown option: ") + argument);
    }
    if (help || version)
        return CommandLineOptions{help ? Mode::Help : Mode::Version, false, false, {}, {}};
    if (!convert && (options.ITunes || options.DryRun))
        return usageError((options.ITunes ? QStringLiteral("--itunes") : QStringLiteral("--dry-run")) +
                          QStringLiteral(" only goes with --convert"));
    options.RunMode = convert ? Mode::Convert : Mode::Window;
    return options;
}

QString UsageText()
{
    return QStringLiteral(
        "usage: korumi [--] [PATH...]\n"
        "       korumi --convert [--itunes] [--dry-run] [--] [PATH...]\n"
        "       korumi --help | --version\n"
        "\n"
        "Without --convert, opens the window with PATHs (files or folders) in the input list.\n"
        "Options may come in any order; a PATH that starts with \"-\" goes after \"--\".\n"
        "--convert   converts PATHs with the saved settings, without the window, and exits:\n"
        "            0 when every file converted, 1 when any failed or was cancelled, 2 on a usage error,\n"
        "            128 + N when signal N (Ctrl+C: 2) stopped the run\n"
        "--itunes    registers each converted file in the media library\n"
        "--dry-run   prints every conversion command and writes nothing");
}
