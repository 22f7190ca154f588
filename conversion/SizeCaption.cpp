#include "conversion/SizeCaption.h"

QString SizeCaption(qint64 sourceBytes, qint64 targetBytes)
{
    return QString::number(sourceBytes / 1000) + QStringLiteral("KB -> ") +
           QString::number(targetBytes / 1000) + QStringLiteral("KB");
}
