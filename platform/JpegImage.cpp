#include "platform/JpegImage.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace
{

// Pictures larger than this are refused before anything is allocated for them.
constexpr JDIMENSION MaxSide = 16384;
constexpr unsigned long long MaxPixels = 64ULL * 1024 * 1024;
// Progressive files can hold endless scans that each cost a pass over the picture.
constexpr int MaxScans = 500;

struct ErrorManager {
    jpeg_error_mgr library; // first, so libjpeg's pointer is also ours
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

ErrorManager& managerOf(j_common_ptr info)
{
    return *reinterpret_cast<ErrorManager*>(info->err);
}

// libjpeg's default ends the process; this returns to decodeInto() instead.
[[noreturn]] void onError(j_common_ptr info)
{
    (*info->err->format_message)(info, managerOf(info).message);
    std::longjmp(managerOf(info).jump, 1);
}

// Warnings about damaged data are not worth a line on standard error.
void onMessage(j_common_ptr) {}

[[noreturn]] void giveUp(j_common_ptr info, const char* reason)
{
    std::snprintf(managerOf(info).message, JMSG_LENGTH_MAX, "%s", reason);
    std::longjmp(managerOf(info).jump, 1);
}

void onProgress(j_common_ptr info)
{
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > MaxScans)
        giveUp(info, "too many scans");
}

bool acceptableSize(const jpeg_decompress_struct& decoder)
{
    return decoder.image_width <= MaxSide && decoder.image_height <= MaxSide &&
           static_cast<unsigned long long>(decoder.image_width) * decoder.image_height <= MaxPixels;
}

// Decodes `bytes` into `image`; false with errors.message set when libjpeg gives up. No object
// with a destructor lives in this function, so the long jump back skips nothing.
bool decodeInto(jpeg_decompress_struct& decoder, ErrorManager& errors, const QByteArray& bytes, QImage& image)
{
    decoder.err = jpeg_std_error(&errors.library);
    errors.library.error_exit = onError;
    errors.library.output_message = onMessage;
    errors.progress.progress_monitor = onProgress;
    if (setjmp(errors.jump) != 0)
        return false;
    jpeg_create_decompress(&decoder);
    decoder.progress = &errors.progress;
    jpeg_mem_src(&decoder, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&decoder, TRUE);
    if (!acceptableSize(decoder))
        giveUp(reinterpret_cast<j_common_ptr>(&decoder), "picture too large");
    decoder.out_color_space = JCS_RGB;
    jpeg_start_decompress(&decoder);
    image = QImage(static_cast<int>(decoder.output_width), static_cast<int>(decoder.output_height),
                   QImage::Format_RGB888);
    if (image.isNull())
        giveUp(reinterpret_cast<j_common_ptr>(&decoder), "out of memory");
    while (decoder.output_scanline < decoder.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(decoder.output_scanline));
        jpeg_read_scanlines(&decoder, &row, 1);
    }
    return true;
}

} // namespace

EJpegError::EJpegError(const QString& reason)
    : Exception(QStringLiteral("JPEG 画像を読めません: %1").arg(reason))
{
}

QImage DecodeJpeg(const QByteArray& bytes)
{
    jpeg_decompress_struct decoder{};
    ErrorManager errors{};
    QImage image;
    const bool decoded = decodeInto(decoder, errors, bytes, image);
    jpeg_destroy_decompress(&decoder);
    if (!decoded)
        throw EJpegError(QString::fromLatin1(errors.message));
    return image;
}
