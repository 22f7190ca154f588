#include "platform/ShellWords.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace
{

// What sh makes of the printed line: each word as its bytes, ended by a NUL.
QByteArray wordsAsShellReadsThem(const QString& line)
{
    QProcess shell;
    shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("printf '%s\\0' ") + line});
    shell.waitForFinished();
    return shell.readAllStandardOutput();
}

TEST(ShellWords, ShReadsBackExactlyTheWordsAndTheLineStaysOneLine)
{
    const QStringList words{
        QStringLiteral("plain-word_1.mp4"),
        QString(),
        QStringLiteral("/v/a b.avi"),
        QStringLiteral("$(touch PWNED).avi"),
        QStringLiteral("`id`;\"quoted\" it's \\ 100% *.avi"),
        QStringLiteral("line\nbreak.avi"),
        QStringLiteral("\ttab\x1b]0;title\x07.avi"),
        QStringLiteral("two\n\nbreaks"),
        QStringLiteral("C1 \u0085 and ビデオ 😀\n😀"),
        QStringLiteral("%s\\n'\n%"),
    };
    QByteArray expected;
    for (const QString& word : words)
        expected += word.toUtf8() + '\0';

    const QString line = ShellLine(words);

    EXPECT_EQ(wordsAsShellReadsThem(line), expected) << line.toStdString();
    EXPECT_FALSE(line.contains(u'\n') || line.contains(u'\x1b') || line.contains(u'\u0085'));
    EXPECT_EQ(ShellWord(QStringLiteral("/out/clip.mp4")), "/out/clip.mp4");
}

} // namespace
