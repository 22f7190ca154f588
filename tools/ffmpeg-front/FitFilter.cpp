#include "tools/ffmpeg-front/FitFilter.h"

#include <cstdlib>

namespace
{

// Two positive whole numbers on either side of `separator`, as text.
bool Split(const std::string& text, char separator, std::string& first, std::string& second)
{
    const std::size_t at = text.find(separator);
    if (at == std::string::npos)
        return false;
    first = text.substr(0, at);
    second = text.substr(at + 1);
    const auto positiveNumber = [](const std::string& part) {
        char* end = nullptr;
        return !part.empty() && std::strtol(part.c_str(), &end, 10) > 0 && *end == '\0';
    };
    return positiveNumber(first) && positiveNumber(second);
}

std::string EvenDown(const std::string& expression)
{
    return "trunc(" + expression + "/2)*2";
}

} // namespace

std::string FitFilter(const std::string& size, const std::string& aspect, const std::string& scaleOptions,
                      const std::string& pixelFormat)
{
    std::string width, height, across, up;
    if (!Split(size, 'x', width, height) || !Split(aspect, ':', across, up))
        return {};
    // In ffmpeg's expressions `dar` is the picture's own display shape; the frame's pixels are
    // `pixel` times as wide as high.
    const std::string frame = "(" + across + "/" + up + ")";
    const std::string pixel = "(" + frame + "*" + height + "/" + width + ")";
    const std::string wider = "gte(dar," + frame + ")";
    const std::string scaler = scaleOptions.empty() ? std::string() : "flags=" + scaleOptions + ":";
    const std::string format = pixelFormat.empty() ? std::string() : ",format=" + pixelFormat;
    return "scale=" + scaler + "w='if(" + wider + "," + width + "," + EvenDown(height + "*dar/" + pixel) +
           ")'" + ":h='if(" + wider + "," + EvenDown(width + "*" + pixel + "/dar") + "," + height + ")'" +
           format + ",setsar=1,pad=" + width + ":" + height + ":(ow-iw)/2:(oh-ih)/2";
}
