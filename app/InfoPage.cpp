#include "app/InfoPage.h"

#include "platform/Paths.h"

QString InfoPageUrl(const QString& programFilePath)
{
    const QString programName = Paths::ChangeFileExt(Paths::ExtractFileName(programFilePath), QString());
    return PublisherHost + QStringLiteral("/info.php?pf=w&sn=") + programName;
}
