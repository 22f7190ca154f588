#pragma once

#include <QString>

// Opening documents and web pages with the desktop's default application.
namespace Desktop
{

// Opens a local file; false when no application could be started for it.
bool OpenDocument(const QString& path);

// Opens a web address.
void OpenUrl(const QString& url);

} // namespace Desktop
