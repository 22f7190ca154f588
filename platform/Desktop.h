#pragma once

#include <QString>

// Opening documents and web pages with the desktop's default application.
namespace Desktop
{

// Opens a local file; failures are ignored, as the window has nothing to do about them.
void OpenDocument(const QString& path);

// Opens a web address.
void OpenUrl(const QString& url);

} // namespace Desktop
