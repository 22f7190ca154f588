#pragma once

#include "platform/Errors.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// Data that libjpeg cannot decode as a JPEG picture.
class EJpegError : public Exception
{
public:
    explicit EJpegError(const QString& reason);
};

// Decodes a JPEG picture with libjpeg. Throws EJpegError when the data is not a decodable JPEG;
// a picture cut short yields the part that could be decoded. Never ends the process.
QImage DecodeJpeg(const QByteArray& bytes);
