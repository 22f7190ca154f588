#include "platform/Desktop.h"

#include <QDesktopServices>
#include <QUrl>

namespace Desktop
{

void OpenDocument(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void OpenUrl(const QString& url)
{
    QDesktopServices::openUrl(QUrl(url));
}

} // namespace Desktop
