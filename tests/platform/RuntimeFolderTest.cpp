#include "platform/RuntimeFolder.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr char RuntimeVariable[] = "XDG_RUNTIME_DIR";

// Sets XDG_RUNTIME_DIR; a null value unsets it.
void setRuntimeVariable(const QByteArray& value)
{
    if (value.isNull())
        qunsetenv(RuntimeVariable);
    else
        qputenv(RuntimeVariable, value);
}

mode_t permissionsOf(const QString& path)
{
    struct stat info = {};
    return lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(RuntimeFolder, OnlyAPrivateFolderOfOursStandsInForAMissingOne)
{
    using Prepare = std::function<void(const TempDir& temp, const QString& folder)>;
    const Prepare nothing = [](const TempDir&, const QString&) {};
    struct Case {
        const char* name;
        QByteArray session; // XDG_RUNTIME_DIR as the session left it (null: unset)
        Prepare inTheWay;
        uid_t user;
        bool used;
    };
    const uid_t us = geteuid();
    const Case cases[] = {
        {"unset, nothing there", {}, nothing, us, true},
        {"empty, nothing there", "", nothing, us, true},
        {"our own folder, open to all",
         {},
         [](const TempDir&, const QString& folder) { mkdir(QFile::encodeName(folder), 0755); },
         us,
         true},
        {"a link to a private folder of ours",
         {},
         [](const TempDir& temp, const QString& folder) {
             const QString target = temp.MakeDir(QStringLiteral("elsewhere"));
             chmod(QFile::encodeName(target), 0700);
             QFile::link(target, folder);
         },
         us,
         false},
        {"a plain file",
         {},
         [](const TempDir& temp, const QString&) { temp.Write(QStringLiteral("run")); },
         us,
         false},
        {"someone else's folder",
         {},
         [](const TempDir& temp, const QString&) { temp.MakeDir(QStringLiteral("run")); },
         us + 1,
         false},
        {"set by the session", "/run/user/4242", nothing, us, false},
    };
    const QByteArray runner = qgetenv(RuntimeVariable);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir temp;
        const QString folder = temp.File(QStringLiteral("run"));
        c.inTheWay(temp, folder);
        const mode_t before = permissionsOf(folder);
        setRuntimeVariable(c.session);

        ProvideRuntimeFolder(folder, c.user);

        if (c.used) {
            EXPECT_EQ(qgetenv(RuntimeVariable), QFile::encodeName(folder));
            EXPECT_TRUE(QFileInfo(folder).isDir());
            EXPECT_EQ(QFileInfo(folder).ownerId(), us);
            EXPECT_EQ(permissionsOf(folder), 0700u);
        } else {
            EXPECT_EQ(qgetenv(RuntimeVariable), c.session);
            EXPECT_EQ(permissionsOf(folder), before) << "left as it was";
        }
    }
    setRuntimeVariable(runner);
}

} // namespace
