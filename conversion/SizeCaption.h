#pragma once

#include <QString>

// "S KB -> T KB" for the source and target sizes in bytes; kilobytes of 1000 bytes, truncated,
// so a missing file (-1) shows as 0KB.
QString SizeCaption(qint64 sourceBytes, qint64 targetBytes);
