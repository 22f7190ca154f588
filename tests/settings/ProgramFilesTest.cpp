#include "settings/ProgramFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace
{

TEST(ProgramFiles, AWritableProgramFolderKeepsEverythingBesideTheProgramElseTheUsersFoldersDo)
{
    struct Case {
        const char* name;
        bool writable;
        UserFolders user;
        QString settingsFolder;
        QString outputFolder;
    };
    const UserFolders session{"/home/u/conf/", "/home/u/ビデオ/"};
    const Case cases[] = {
        {"portable copy", true, session, "/opt/korumi", "/opt/korumi"},
        {"installed", false, session, "/home/u/conf/korumi", "/home/u/ビデオ"},
        {"configuration at the root", false, {"/", "/Videos"}, "/korumi", "/Videos"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ProgramFiles files = LocateProgramFiles("/opt/korumi", c.writable, c.user);
        EXPECT_EQ(files.ProgramFolder, "/opt/korumi");
        EXPECT_EQ(files.SettingsFolder, c.settingsFolder);
        EXPECT_EQ(files.SettingsFile(), c.settingsFolder + "/Korumi.ini");
        EXPECT_EQ(files.DefaultOutputFolder, c.outputFolder);
    }
}

TEST(ProgramFiles, PresetsOfTheUsersOwnWinOverTheShippedOnes)
{
    const TempDir temp;
    const QString shipped = temp.Write("program/profile.txt");
    const QString own = temp.File("settings/profile.txt");
    ProgramFiles files(temp.File("program"));
    files.SettingsFolder = temp.File("settings");

    EXPECT_EQ(files.PresetFile(), shipped);
    temp.Write("settings/profile.txt");
    EXPECT_EQ(files.PresetFile(), own);
}

} // namespace
