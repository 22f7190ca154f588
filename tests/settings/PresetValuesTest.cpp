#include "settings/PresetValues.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>

namespace
{

// Runs `convert` and returns the conversion error's message, or "no error".
template <typename Convert> QString ConversionMessage(Convert convert)
{
    try {
        convert();
    } catch (const EConvertError& error) {
        return error.Message();
    }
    return QStringLiteral("no error");
}

TEST(StrToInt, AcceptsLeadingSpacesASignAndDigits)
{
    EXPECT_EQ(StrToInt("30"), 30);
    EXPECT_EQ(StrToInt("030"), 30);
    EXPECT_EQ(StrToInt("  30"), 30);
    EXPECT_EQ(StrToInt("-5"), -5);
    EXPECT_EQ(StrToInt("+5"), 5);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
}

TEST(StrToInt, RaisesTheConversionErrorForAnythingElse)
{
    EXPECT_EQ(ConversionMessage([] { StrToInt(""); }), "'' は整数ではありません");
    EXPECT_EQ(ConversionMessage([] { StrToInt("29.97"); }), "'29.97' は整数ではありません");
    for (const char* text : {"30 ", "\t30", "0x1E", "+", "- 5", "2147483648", "３０", "1,000"})
        EXPECT_EQ(ConversionMessage([&] { StrToInt(text); }),
                  QStringLiteral("'%1' は整数ではありません").arg(text));
}

TEST(NumberBeforeUnit, ReadsTheNumberBeforeTheFirstUnit)
{
    EXPECT_EQ(NumberBeforeUnit("30fps", "fps"), 30);
    EXPECT_EQ(NumberBeforeUnit("30fpsX", "fps"), 30);
    EXPECT_EQ(NumberBeforeUnit("030fps", "fps"), 30);
    EXPECT_EQ(NumberBeforeUnit("2048kbps", "kbps"), 2048);
    EXPECT_EQ(NumberBeforeUnit("48000HzHz", "Hz"), 48000);
}

TEST(NumberBeforeUnit, MissingMisspeltOrLeadingUnitIsEmptyText)
{
    EXPECT_EQ(ConversionMessage([] { NumberBeforeUnit("fps30", "fps"); }), "'' は整数ではありません");
    EXPECT_EQ(ConversionMessage([] { NumberBeforeUnit("30FPS", "fps"); }), "'' は整数ではありません");
    EXPECT_EQ(ConversionMessage([] { NumberBeforeUnit("2048Kbps", "kbps"); }), "'' は整数ではありません");
    EXPECT_EQ(ConversionMessage([] { NumberBeforeUnit("", "Hz"); }), "'' は整数ではありません");
    EXPECT_EQ(ConversionMessage([] { NumberBeforeUnit("29.97fps", "fps"); }), "'29.97' は整数ではありません");
}

TEST(PresetValues, SizesAndSampleRatesMatchExactly)
{
    EXPECT_EQ(PictureSizeIndex("640x480"), 0);
    EXPECT_EQ(PictureSizeIndex("1280x720"), 3);
    EXPECT_EQ(PictureSizeIndex("1280X720"), std::nullopt);
    EXPECT_EQ(PictureSizeIndex(" 1280x720"), std::nullopt);
    EXPECT_EQ(SampleRateIndex(48000), 0);
    EXPECT_EQ(SampleRateIndex(8000), 4);
    EXPECT_EQ(SampleRateIndex(32000), std::nullopt);
}

} // namespace
