#include "platform/Desktop.h"

#include <QDesktopServices>
#include <QUrl>

namespace Desktop
{

bool OpenDocument(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void OpenUrl(const QString& url)
{
    QDesktopServices::openUrl(QUrl(url));
}

} // namespace Desktop
