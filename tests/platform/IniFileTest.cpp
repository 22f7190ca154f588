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

// Sets one key as the settings are saved: the file read for writing, changed, written whole.
void Save(const QString& path, const QString& section, const QString& key, const QString& value)
{
    IniDocument document = ReadIniFileForWriting(path);
    document.SetValue(section, key, value);
    WriteIniFile(path, document);
}

void Save(const QString& path, const QString& section, const QString& key, int value)
{
    Save(path, section, key, QString::number(value));
}

class IniFile : public ::testing::Test
{
protected:
    QString WriteFile(const QByteArray& bytes) { return dir.Write(QStringLiteral("Korumi.ini"), bytes); }
    IniDocument Read() const { return ReadIniFile(path).value(); }

    TempDir dir;
    const QString path = dir.File(QStringLiteral("Korumi.ini"));
};

TEST_F(IniFile, MissingFileReadsAsAllKeysMissing)
{
    EXPECT_EQ(Read().Value("SET2", "C11"), std::nullopt);
    EXPECT_EQ(Read().Integer("SET", "M_LEFT"), std::nullopt);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(IniFile, SectionsAndKeysMatchCaseInsensitivelyAndTheFirstMatchCounts)
{
    WriteFile("C1=99\n"
              "[set1]\n"
              "c1=15\n"
              "C1=16\n"
              "[SET1]\n"
              "C2=700\n");
    EXPECT_EQ(Read().Integer("SET1", "C1"), 15);
    EXPECT_EQ(Read().Integer("Set1", "C2"), std::nullopt) << "only the first [SET1] section is searched";
    EXPECT_EQ(Read().Integer("SET1", "C3"), std::nullopt);
}

TEST_F(IniFile, BlanksAroundNamesAndValuesAreDroppedCommentsAreNoKeys)
{
    WriteFile("  [ SET2 ]  \r\n"
              ";C11=/commented\r\n"
              "\tC11 =  /out/my videos \t\r\n"
              "C12=\r\n");
    EXPECT_EQ(Read().Value("SET2", "C11"), "/out/my videos");
    EXPECT_EQ(Read().Value("SET2", "C12"), "") << "an empty value is not a missing key";
    EXPECT_EQ(Read().Integer("SET2", "C12"), std::nullopt);
}

TEST_F(IniFile, TextIsReadUpTo2047Characters)
{
    const QString longValue(3000, u'あ');
    WriteFile("[SET2]\nC11=" + longValue.toUtf8() + "\n");
    EXPECT_EQ(Read().Value("SET2", "C11"), longValue.left(IniDocument::MaxTextLength));
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
    EXPECT_EQ(Read().Integer("SET1", "C3").value_or(Default), GetParam().expected) << GetParam().value;
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
    Save(path, "SET", "M_LEFT", 20);
    Save(path, "SET", "M_TOP", 20);
    const int values[] = {1, 30, 2048, 1, 128, 1};
    for (int i = 0; i < 6; ++i)
        Save(path, "SET1", QStringLiteral("C%1").arg(i), values[i]);
    Save(path, "SET2", "C11", "/tools/Korumi");
    Save(path, "SET2", "C12", 0);

    EXPECT_EQ(ReadBytes(path), "[SET]\nM_LEFT=20\nM_TOP=20\n"
                               "[SET1]\nC0=1\nC1=30\nC2=2048\nC3=1\nC4=128\nC5=1\n"
                               "[SET2]\nC11=/tools/Korumi\nC12=0\n");
    EXPECT_EQ(Read().Value("SET2", "C11"), "/tools/Korumi");
    EXPECT_EQ(Read().Integer("SET1", "C2"), 2048);
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

    Save(path, "SET1", "C1", 15);
    QByteArray expected = original;
    expected.replace("  c1 = 30  \r\n", "c1=15\r\n");
    EXPECT_EQ(ReadBytes(path), expected) << "existing key changed in place";

    Save(path, "SET1", "C2", 1000);
    expected.replace("; trailing comment\r\n", "; trailing comment\r\nC2=1000\r\n");
    EXPECT_EQ(ReadBytes(path), expected) << "new key after the section's last line";

    Save(path, "SET2", "C12", 1);
    expected += "\r\nC12=1\r\n";
    EXPECT_EQ(ReadBytes(path), expected) << "last line given a line break first";

    Save(path, "SET", "M_LEFT", -40);
    expected += "[SET]\r\nM_LEFT=-40\r\n";
    EXPECT_EQ(ReadBytes(path), expected) << "new section at the end, in the file's line breaks";
    EXPECT_EQ(Read().Integer("SET", "M_LEFT"), -40);
}

TEST_F(IniFile, RewrittenFileKeepsItsPermissions)
{
    const QFileDevice::Permissions ownerAndGroupRead =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QFile::setPermissions(WriteFile("[SET]\nM_LEFT=1\n"), ownerAndGroupRead);
    Save(path, "SET", "M_LEFT", 2);
    EXPECT_EQ(QFile::permissions(path) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
              ownerAndGroupRead);
}

TEST_F(IniFile, LineBreaksInAValueCannotPlantOtherKeys)
{
    Save(path, "SET2", "C11", "/out/a\nC12=1\r[SET]");
    EXPECT_EQ(ReadBytes(path), "[SET2]\nC11=/out/a C12=1 [SET]\n");
    EXPECT_EQ(Read().Integer("SET2", "C12"), std::nullopt);
}

TEST_F(IniFile, EachLineIsReadInItsOwnEncodingAndUnchangedLinesStayByteForByte)
{
    // A UTF-8 folder beside a section written by a Windows installation in code page 932.
    const QByteArray cp932Part = "[OLD]\r\nC11=C:\\" + Cp932Sample + "\\\r\n;" + Cp932Sample + "\r\n";
    WriteFile("[SET2]\r\nC11=/ビデオ/出力\r\n" + cp932Part + "[SET1]\r\nC1=30\r\n");
    EXPECT_EQ(Read().Value("SET2", "C11"), "/ビデオ/出力");
    EXPECT_EQ(Read().Value("OLD", "C11"), "C:\\" + Cp932SampleText + "\\");

    Save(path, "SET1", "C1", 24);
    Save(path, "SET2", "C11", "/ビデオ/出力"); // the same value: the line is not rewritten
    EXPECT_EQ(ReadBytes(path), "[SET2]\r\nC11=/ビデオ/出力\r\n" + cp932Part + "[SET1]\r\nC1=24\r\n");
}

TEST_F(IniFile, OnePairOfQuotesAroundAValueIsDroppedAndEveryValueReadsBackAsWritten)
{
    WriteFile("[SET2]\nA=\"/videos/my out\"\nB=\"\"x\"\"\nC=\"open\nD=\"\n");
    EXPECT_EQ(Read().Value("SET2", "A"), "/videos/my out");
    EXPECT_EQ(Read().Value("SET2", "B"), "\"x\"");
    EXPECT_EQ(Read().Value("SET2", "C"), "\"open");
    EXPECT_EQ(Read().Value("SET2", "D"), "\"");

    const QStringList values{"/videos/out ", "\t/videos/out", "\"/videos/out\"", "\"", " ", "a \"b\""};
    for (const QString& value : values) {
        Save(path, "SET2", "C11", value);
        EXPECT_EQ(Read().Value("SET2", "C11"), value) << ReadBytes(path).toStdString();
    }
}

TEST_F(IniFile, ASymbolicLinkStaysALinkAndItsTargetGetsTheSettings)
{
    const QString target = dir.Write(QStringLiteral("shared/real.ini"), "[SET1]\nC1=30\n");
    ASSERT_TRUE(QFile::link(target, path));
    Save(path, "SET1", "C1", 12);
    EXPECT_TRUE(QFileInfo(path).isSymLink());
    EXPECT_EQ(ReadBytes(target), "[SET1]\nC1=12\n");
}

TEST_F(IniFile, WriteWhereNoFileCanBeCreatedRaisesTheWriteErrorWithTheFullPath)
{
    // Root may write into read-only folders, but nobody can create a file under a regular file.
    const QString blocker = dir.Write(QStringLiteral("not-a-folder"), "x");
    try {
        Save(blocker + QStringLiteral("/Korumi.ini"), "SET", "M_LEFT", 20);
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
    const QString relative = QStringLiteral("taken/Korumi.ini");
    EXPECT_EQ(ReadIniFile(relative), std::nullopt) << "there, but no file to read";
    try {
        Save(relative, "SET", "M_LEFT", 20);
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
void WriteOnAFullDisk(const QString& path, const QString& value)
{
    const rlimit limit{FullDiskBytes, FullDiskBytes};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, SIG_IGN);
    try {
        Save(path, "SET2", "C11", value);
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

    EXPECT_EXIT(WriteOnAFullDisk(path, longFolder), ::testing::ExitedWithCode(InterruptedExitCode), "");

    EXPECT_EQ(ReadBytes(path), original);
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
