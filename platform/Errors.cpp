#include "platform/Errors.h"

EFOpenError::EFOpenError(const QString& path)
    : Exception(QStringLiteral("ファイル %1 は開けません").arg(path))
{
}

EConvertError::EConvertError(const QString& text)
    : Exception(QStringLiteral("'%1' は整数ではありません").arg(text))
{
}

EIniFileError::EIniFileError(const QString& path) : Exception(QStringLiteral("%1 に書き込めません").arg(path))
{
}

EListError::EListError(int index)
    : Exception(QStringLiteral("リストのインデックスが範囲を超えています (%1)").arg(index))
{
}

QString MessageOf(const std::exception& error)
{
    if (const auto* own = dynamic_cast<const Exception*>(&error))
        return own->Message();
    return QString::fromUtf8(error.what());
}
