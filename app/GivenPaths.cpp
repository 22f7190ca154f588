#include "app/GivenPaths.h"

#include "platform/Printable.h"
#include "platform/ReadInput.h"

namespace
{

QString nameOf(const PathListFile& list)
{
    return list.File == u'-' ? QStringLiteral("standard input") : Printable(list.File);
}

// How many names a run takes from its lists: more than anyone converts at once, few enough that
// whatever a list holds, Korumi's memory stays bounded.
constexpr qsizetype MaxListedNames = 1000000;

// Why the rest of a list was not read.
QString refusal(const ListedNames& names, const QString& list)
{
    switch (names.Refusal) {
    case ListRefusal::None:
        break;
    case ListRefusal::NameTooLong:
        return QStringLiteral("korumi: name %1 in the list of files %2 is longer than any path (%3 bytes); "
                              "the rest of the list is not read")
            .arg(names.RefusedEntry)
            .arg(list)
            .arg(NameListReader::MaxNameBytes);
    case ListRefusal::NulInLine:
        return QStringLiteral(
                   "korumi: name %1 in the list of files %2 holds a NUL byte (a list of names each "
                   "ended by a NUL byte is read with --files0-from); the rest of the list is not read")
            .arg(names.RefusedEntry)
            .arg(list);
    case ListRefusal::TooManyEmpty:
        return QStringLiteral(
                   "korumi: the list of files %1 holds more than %2 empty names; the rest of it is "
                   "not read")
            .arg(list)
            .arg(NameListReader::MaxEmptyEntries);
    case ListRefusal::TooManyNames:
        return QStringLiteral("korumi: the lists of files hold more than %1 names; the rest is not read")
            .arg(MaxListedNames);
    }
    return QString();
}

// Adds the names of `list` to `given`.
void readList(const PathListFile& list, GivenPaths& given)
{
    NameListReader reader(list.Separator, MaxListedNames - given.Paths.size() - given.NotText.size());
    const QString problem =
        ReadInput(list.File, [&reader](QByteArrayView piece) { return reader.Add(piece); });
    if (!problem.isEmpty()) {
        given.Problems
            << QStringLiteral("korumi: cannot read the list of files %1: %2").arg(nameOf(list), problem);
        return;
    }
    reader.Finish();
    const ListedNames& names = reader.Names();
    given.Paths += names.Paths;
    given.NotText += names.NotText;
    for (const int entry : names.EmptyEntries)
        given.Problems << QStringLiteral("korumi: name %1 in the list of files %2 is empty; it names no file")
                              .arg(entry)
                              .arg(nameOf(list));
    if (names.Refusal != ListRefusal::None)
        given.Problems << refusal(names, nameOf(list));
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
