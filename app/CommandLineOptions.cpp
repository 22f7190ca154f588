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

CommandLineOptions parseConvert(const QStringList& arguments)
{
    CommandLineOptions options;
    options.RunMode = Mode::Convert;
    bool optionsEnded = false;
    for (const QString& argument : arguments.mid(1)) {
        if (optionsEnded || !argument.startsWith(u'-') || argument == u'-')
            options.Paths << argument;
        else if (argument == QStringLiteral("--"))
            optionsEnded = true;
        else if (argument == QStringLiteral("--itunes"))
            options.ITunes = true;
        else if (argument == QStringLiteral("--dry-run"))
            options.DryRun = true;
        else
            return usageError(QStringLiteral("unknown option: ") + argument);
    }
    return options;
}

} // namespace

CommandLineOptions ParseCommandLine(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return {};
    const QString& first = arguments.first();
    if (first == QStringLiteral("--help") || first == QStringLiteral("-h"))
        return CommandLineOptions{Mode::Help, false, false, {}, {}};
    if (first == QStringLiteral("--version"))
        return CommandLineOptions{Mode::Version, false, false, {}, {}};
    if (first == QStringLiteral("--convert"))
        return parseConvert(arguments);
    CommandLineOptions options;
    options.Paths = arguments;
    return options;
}

QString UsageText()
{
    return QStringLiteral(
        "usage: korumi [PATH...]\n"
        "       korumi --convert [--itunes] [--dry-run] [--] [PATH...]\n"
        "       korumi --help | --version\n"
        "\n"
        "Without options, opens the window with PATHs (files or folders) in the input list.\n"
        "--convert   converts PATHs with the saved settings, without the window, and exits:\n"
        "            0 when every file converted, 1 when any failed or was cancelled, 2 on a usage error\n"
        "--itunes    registers each converted file in the media library\n"
        "--dry-run   prints every conversion command and writes nothing");
}
