#include "platform/IniFile.h"
#include "platform/Errors.h"
#include "platform/TextDecoding.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace
{

// "おまかせ ｶﾞｿ表" in code page 932; 0x5C is the second byte of "ソ" and "表".
const QByteArray Cp932Sample("\x82\xa8\x82\xdc\x82\xa9\x82\xb9 \xb6\xde\x83\x5c\x95\x5c");
const QString Cp932SampleText = QStringLiteral("おまかせ ｶﾞソ表");

class IniFile : public ::testing::Test
{
protected:
    QString WriteFile(const QByteArray& bytes) { return dir.Write(QStringLiteral("Korumi.ini"), bytes); }

    TempDir dir;
    TIniFile ini{dir.File(QStringLiteral("Korumi.ini"))};
};

TEST_F(IniFile, MissingFileReadsAsAllKeysMissing)
{
    EXPECT_EQ(ini.ReadString("SET2", "C11", "none"), "none");
    EXPECT_EQ(ini.ReadInteger("SET", "M_LEFT", 20), 20);
    EXPECT_FALSE(QFile::exists(ini.FileName()));
}

TEST_F(IniFile, SectionsAndKeysMatchCaseInsensitivelyAndTheFirstMatchCounts)
{
    WriteFile("C1=99\n"
              "[set1]\n"
              "c1=15\n"
              "C1=16\n"
              "[SET1]\n"
              "C2=700\n");
    EXPECT_EQ(ini.ReadInteger("SET1", "C1", 0), 15);
    EXPECT_EQ(ini.ReadInteger("Set1", "C2", 0), 0) << "only the first [SET1] section is searched";
    EXPECT_EQ(ini.ReadInteger("SET1", "C3", -5), -5);
}

TEST_F(IniFile, BlanksAroundNamesAndValuesAreDroppedCommentsAreNoKeys)
{
    WriteFile("  [ SET2 ]  \r\n"
              ";C11=/commented\r\n"
              "\tC11 =  /out/my videos \t\r\n"
              "C12=\r\n");
    EXPECT_EQ(ini.ReadString("SET2", "C11", ""), "/out/my videos");
    EXPECT_EQ(ini.ReadString("SET2", "C12", "default"), "") << "an empty value is not a missing key";
    EXPECT_EQ(ini.ReadInteger("SET2", "C12", 7), 7);
}

TEST_F(IniFile, TextIsReadUpTo2047Characters)
{
    const QString longValue(3000, u'あ');
    WriteFile("[SET2]\nC11=" + longValue.toUtf8() + "\n");
    EXPECT_EQ(ini.ReadString("SET2", "C11", ""), longValue.left(IniDocument::MaxTextLength));
}

struct IntegerCase {
    const char* value;
    int expected;
};

class IniInteger : public IniFile, public ::testing::WithParamInterface<IntegerCase>
{
};

constexpr int Default = 1234;

TEST_P(IniInteger, ReadsHexAfter0xElseADecimalWholeNumberElseTheDefault)
{
    WriteFile(QByteArray("[SET1]\nC3=") + GetParam().value + "\n");
    EXPECT_EQ(ini.ReadInteger("SET1", "C3", Default), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Values, IniInteger,
                         ::testing::Values(IntegerCase{"15", 15}, IntegerCase{"-3", -3}, IntegerCase{"+7", 7},
                                           IntegerCase{"0x2", 2}, IntegerCase{"0X1f", 31},
                                           IntegerCase{"0xFFFFFFFF", -1}, IntegerCase{"0x", Default},
                                           IntegerCase{"0x1G", Default}, IntegerCase{"0x-1", Default},
                                           IntegerCase{"0x123456789", Default}, IntegerCase{"abc", Default},
                                           IntegerCase{"12abc", Default}, IntegerCase{"1 2", Default},
                                           IntegerCase{"2147483647", 2147483647},
                                           IntegerCase{"-2147483648", -2147483647 - 1},
                                           IntegerCase{"2147483648", Default}, IntegerCase{"", Default}));

TEST_F(IniFile, FirstWriteCreatesTheFileInTheSavedLayout)
{
    ini.WriteInteger("SET", "M_LEFT", 20);
    ini.WriteInteger("SET", "M_TOP", 20);
    const int values[] = {1, 30, 2048, 1, 128, 1};
    for (int i = 0; i < 6; ++i)
        ini.WriteInteger("SET1", QStringLiteral("C%1").arg(i), values[i]);
    ini.WriteString("SET2", "C11", "/tools/Korumi");
    ini.WriteInteger("SET2", "C12", 0);

    EXPECT_EQ(ReadBytes(ini.FileName()), "[SET]\nM_LEFT=20\nM_TOP=20\n"
                                         "[SET1]\nC0=1\nC1=30\nC2=2048\nC3=1\nC4=128\nC5=1\n"
                                         "[SET2]\nC11=/tools/Korumi\nC12=0\n");
    EXPECT_EQ(ini.ReadString("SET2", "C11", ""), "/tools/Korumi");
    EXPECT_EQ(ini.ReadInteger("SET1", "C2", 0), 2048);
}

TEST_F(IniFile, WritingOneKeyLeavesEveryOtherByteAsItWas)
{
    const QByteArray original("\xEF\xBB\xBF; written by hand\r\n"
                              "[Other]\r\n"
                              "c1 = keep me\r\n"
                              "\r\n"
                              "[set1]\r\n"
                              "  c1 = 30  \r\n"
                              "Unknown=値\r\n"
                              "; trailing comment\r\n"
                              "\r\n"
                              "[SET2]\r\n"
                              "C11=/out");
    WriteFile(original);

    ini.WriteInteger("SET1", "C1", 15);
    QByteArray expected = original;
    expected.replace("  c1 = 30  \r\n", "c1=15\r\n");
    EXPECT_EQ(ReadBytes(ini.FileName()), expected) << "existing key changed in place";

    ini.WriteInteger("SET1", "C2", 1000);
    expected.replace("; trailing comment\r\n", "; trailing comment\r\nC2=1000\r\n");
    EXPECT_EQ(ReadBytes(ini.FileName()), expected) << "new key after the section's last line";

    ini.WriteInteger("SET2", "C12", 1);
    expected += "\r\nC12=1\r\n";
    EXPECT_EQ(ReadBytes(ini.FileName()), expected) << "last line given a line break first";

    ini.WriteInteger("SET", "M_LEFT", -40);
    expected += "[SET]\r\nM_LEFT=-40\r\n";
    EXPECT_EQ(ReadBytes(ini.FileName()), expected) << "new section at the end, in the file's line breaks";
    EXPECT_EQ(ini.ReadInteger("SET", "M_LEFT", 0), -40);
}

TEST_F(IniFile, RewrittenFileKeepsItsPermissions)
{
    const QFileDevice::Permissions ownerAndGroupRead =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QFile::setPermissions(WriteFile("[SET]\nM_LEFT=1\n"), ownerAndGroupRead);
    ini.WriteInteger("SET", "M_LEFT", 2);
    EXPECT_EQ(QFile::permissions(ini.FileName()) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
              ownerAndGroupRead);
}

TEST_F(IniFile, LineBreaksInAValueCannotPlantOtherKeys)
{
    ini.WriteString("SET2", "C11", "/out/a\nC12=1\r[SET]");
    EXPECT_EQ(ReadBytes(ini.FileName()), "[SET2]\nC11=/out/a C12=1 [SET]\n");
    EXPECT_EQ(ini.ReadInteger("SET2", "C12", 0), 0);
}

TEST_F(IniFile, EachLineIsReadInItsOwnEncodingAndUnchangedLinesStayByteForByte)
{
    // A UTF-8 folder beside a section written by a Windows installation in code page 932.
    const QByteArray cp932Part = "[OLD]\r\nC11=C:\\" + Cp932Sample + "\\\r\n;" + Cp932Sample + "\r\n";
    WriteFile("[SET2]\r\nC11=/ビデオ/出力\r\n" + cp932Part + "[SET1]\r\nC1=30\r\n");
    EXPECT_EQ(ini.ReadString("SET2", "C11", ""), "/ビデオ/出力");
    EXPECT_EQ(ini.ReadString("OLD", "C11", ""), "C:\\" + Cp932SampleText + "\\");

    ini.WriteInteger("SET1", "C1", 24);
    ini.WriteString("SET2", "C11", "/ビデオ/出力"); // the same value: the line is not rewritten
    EXPECT_EQ(ReadBytes(ini.FileName()),
              "[SET2]\r\nC11=/ビデオ/出力\r\n" + cp932Part + "[SET1]\r\nC1=24\r\n");
}

TEST_F(IniFile, OnePairOfQuotesAroundAValueIsDropped)
{
    WriteFile("[SET2]\nA=\"/videos/my out\"\nB=\"\"x\"\"\nC=\"open\nD=\"\n");
    EXPECT_EQ(ini.ReadString("SET2", "A", ""), "/videos/my out");
    EXPECT_EQ(ini.ReadString("SET2", "B", ""), "\"x\"");
    EXPECT_EQ(ini.ReadString("SET2", "C", ""), "\"open");
    EXPECT_EQ(ini.ReadString("SET2", "D", ""), "\"");
}

TEST_F(IniFile, ASymbolicLinkStaysALinkAndItsTargetGetsTheSettings)
{
    const QString target = dir.Write(QStringLiteral("shared/real.ini"), "[SET1]\nC1=30\n");
    ASSERT_TRUE(QFile::link(target, ini.FileName()));
    ini.WriteInteger("SET1", "C1", 12);
    EXPECT_TRUE(QFileInfo(ini.FileName()).isSymLink());
    EXPECT_EQ(ReadBytes(target), "[SET1]\nC1=12\n");
}

TEST_F(IniFile, WriteWhereNoFileCanBeCreatedRaisesTheWriteErrorWithTheFullPath)
{
    // Root may write into read-only folders, but nobody can create a file under a regular file.
    const QString blocker = dir.Write(QStringLiteral("not-a-folder"), "x");
    TIniFile blocked(blocker + QStringLiteral("/Korumi.ini"));
    try {
        blocked.WriteInteger("SET", "M_LEFT", 20);
        FAIL() << "no error raised";
    } catch (const EIniFileError& error) {
        EXPECT_EQ(error.Message(), blocker + "/Korumi.ini に書き込めません");
    }
    EXPECT_EQ(ReadBytes(blocker), "x");
}

TEST_F(IniFile, WriteErrorNamesTheFullPathOfARelativeFileName)
{
    dir.MakeDir(QStringLiteral("taken/Korumi.ini")); // a folder where the file should be
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.Path());
    TIniFile relative(QStringLiteral("taken/Korumi.ini"));
    EXPECT_EQ(relative.ReadInteger("SET", "M_LEFT", 20), 20);
    try {
        relative.WriteInteger("SET", "M_LEFT", 20);
        ADD_FAILURE() << "no error raised";
    } catch (const EIniFileError& error) {
        EXPECT_EQ(error.Message(), dir.Path() + "/taken/Korumi.ini に書き込めません");
    }
    QDir::setCurrent(previous);
    EXPECT_TRUE(QFileInfo(dir.File(QStringLiteral("taken/Korumi.ini"))).isDir());
}

constexpr int InterruptedExitCode = 3;
constexpr rlim_t FullDiskBytes = 16;

// Runs in a child process: files may grow to FullDiskBytes only, so the new file stops half-way
// as on a full disk. Exits with InterruptedExitCode when the write reports its failure.
void WriteOnAFullDisk(TIniFile& ini, const QString& value)
{
    const rlimit limit{FullDiskBytes, FullDiskBytes};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, SIG_IGN);
    try {
        ini.WriteString("SET2", "C11", value);
    } catch (const EIniFileError&) {
        std::_Exit(InterruptedExitCode);
    }
    std::_Exit(0);
}

TEST_F(IniFile, SaveInterruptedByAFullDiskLeavesTheOldFileIntact)
{
    // A forked child, so that it writes to this test's own file.
    GTEST_FLAG_SET(death_test_style, "fast");
    const QByteArray original("[SET1]\nC1=30\n[SET2]\nC11=/out\n");
    WriteFile(original);
    const QString longFolder = QStringLiteral("/out/") + QString(400, u'x');

    EXPECT_EXIT(WriteOnAFullDisk(ini, longFolder), ::testing::ExitedWithCode(InterruptedExitCode), "");

    EXPECT_EQ(ReadBytes(ini.FileName()), original);
    EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Korumi.ini"})
        << "the half-written new file is removed";
}

TEST(TextDecoding, Utf8WhenValidElseCodePage932)
{
    EXPECT_EQ(DetectEncoding(Cp932SampleText.toUtf8()), TextEncoding::Utf8);
    EXPECT_EQ(DetectEncoding(QByteArray()), TextEncoding::Utf8);
    EXPECT_EQ(DetectEncoding(Cp932Sample), TextEncoding::Cp932);
    EXPECT_EQ(DecodeText(Cp932Sample), Cp932SampleText);
    EXPECT_EQ(DecodeText("\x87\x40\x81\x5f"), QStringLiteral("①＼"))
        << "NEC extension and full-width backslash";
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF"
                         "abc"),
              "abc")
        << "the byte-order mark is no text";
}

} // namespace
