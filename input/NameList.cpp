#include "input/NameList.h"

#include "platform/Printable.h"

ListedNames SplitNameList(const QByteArray& list, ListSeparator separator)
{
    const char end = separator == ListSeparator::Nul ? '\0' : '\n';
    ListedNames names;
    int entry = 0;
    for (qsizetype start = 0; start < list.size();) {
        qsizetype stop = list.indexOf(end, start);
        if (stop < 0)
            stop = list.size();
        const QByteArray name = list.mid(start, stop - start);
        start = stop + 1;
        ++entry;
        if (name.isEmpty()) {
            if (separator == ListSeparator::Nul)
                names.EmptyEntries << entry;
        } else if (IsUtf8(name))
            names.Paths << QString::fromUtf8(name);
        else
            names.NotText << PrintableBytes(name);
    }
    return names;
}
