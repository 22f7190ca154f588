#include "platform/ProgramFolder.h"

#include "platform/Paths.h"

#include <QCoreApplication>

QString ProgramFolder()
{
    return Paths::ExcludeTrailingSeparator(QCoreApplication::applicationDirPath());
}
