#include "platform/XdgFolders.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace
{

TEST(XdgFolders, TheVideosFolderIsTheOneUserDirsNamesElseVideosAtHome)
{
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"XDG_VIDEOS_DIR=\"$HOME/ビデオ\"\n", "/home/u/ビデオ"},
        {"# c\nXDG_MUSIC_DIR=\"$HOME/M\"\nXDG_VIDEOS_DIR=\"/media/films\"\n", "/media/films"},
        {"XDG_VIDEOS_DIR=\"$HOME\"\n", "/home/u"},
        {"XDG_VIDEOS_DIR=\"$HOMEWORK/x\"\n", "/home/u/Videos"},
        {"XDG_VIDEOS_DIR=\"relative\"\n", "/home/u/Videos"},
        {"#XDG_VIDEOS_DIR=\"$HOME/V\"\n", "/home/u/Videos"},
        {nullptr, "/home/u/Videos"},
    };
    for (const Case& c : cases) {
        const TempDir config;
        if (c.text != nullptr)
            config.Write(QStringLiteral("user-dirs.dirs"), c.text);
        EXPECT_EQ(XdgFolders::Videos("/home/u", config.Path().toStdString()), c.expected)
            << (c.text != nullptr ? c.text : "no user-dirs.dirs");
    }
}

TEST(XdgFolders, ARelativeConfigurationFolderIsIgnored)
{
    const QByteArray runner = qgetenv("XDG_CONFIG_HOME");
    for (const auto& [variable, expected] : {std::pair{"/etc/u/", "/etc/u/"}, {"conf", "/home/u/.config"}}) {
        qputenv("XDG_CONFIG_HOME", variable);
        EXPECT_EQ(XdgFolders::ConfigHome("/home/u"), expected) << variable;
    }
    qputenv("XDG_CONFIG_HOME", runner); // empty counts as unset
}

} // namespace
