// libFuzzer target: any bytes given to the thumbnail decoder either decode or raise EJpegError.
#include "platform/JpegImage.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        DecodeJpeg(
            QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    } catch (const EJpegError&) {
    }
    return 0;
}
