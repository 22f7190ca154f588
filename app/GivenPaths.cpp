#include "app/GivenPaths.h"

#include "platform/Printable.h"
#include "platform/WholeInput.h"

namespace
{

QString nameOf(const PathListFile& list)
{
    return list.File == u'-' ? QStringLiteral("standard input") : Printable(list.File);
}

// Adds the names of `list` to `given`.
void readList(const PathListFile& list, GivenPaths& given)
{
    const WholeInput content = ReadWholeInput(list.File);
    if (!content.Problem.isEmpty()) {
        given.Problems << QStringLiteral("korumi: cannot read the list of files %1: %2")
                              .arg(nameOf(list), content.Problem);
        return;
    }
    const ListedNames names = SplitNameList(content.Bytes, list.Separator);
    given.Paths += names.Paths;
    given.NotText += names.NotText;
    for (const int entry : names.EmptyEntries)
        given.Problems << QStringLiteral("korumi: name %1 in the list of files %2 is empty; it names no file")
                              .arg(entry)
                              .arg(nameOf(list));
}

} // namespace

GivenPaths ReadGivenPaths(const CommandLineOptions& options)
{
    GivenPaths given;
    given.NotText = options.PathsNotText;
    qsizetype taken = 0;
    for (const PathListFile& list : options.Lists) {
        given.Paths += options.Paths.mid(taken, list.Position - taken);
        taken = list.Position;
        readList(list, given);
    }
    given.Paths += options.Paths.mid(taken);
    return given;
}
