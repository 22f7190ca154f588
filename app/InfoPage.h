#pragma once

#include <QString>

// The publisher's host; a reserved name, so the address never reaches anyone else.
inline const QString PublisherHost = QStringLiteral("https://korumi.example");

// The information page for the program file `programFilePath`.
QString InfoPageUrl(const QString& programFilePath);
