#include "input/VideoNames.h"

#include "platform/Paths.h"

#include <QSet>

bool IsVideoFileName(const QString& name)
{
    static const QSet<QString> extensions{"3g2",  "3gp",  "asf", "avi",  "divx", "dv",  "f4v", "flv", "m1v",
                                          "m2t",  "m2ts", "m2v", "m4v",  "mkv",  "mod", "mov", "mp4", "mpe",
                                          "mpeg", "mpg",  "mts", "mxf",  "ogm",  "ogv", "qt",  "rm",  "rmvb",
                                          "tod",  "ts",   "vob", "webm", "wmv",  "y4m"};
    return extensions.contains(Paths::ExtractFileExt(name).mid(1).toLower());
}
