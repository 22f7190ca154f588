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

// Gives the test its own XDG_RUNTIME_DIR (a null value unsets it) and puts the runner's back.
class RuntimeVariableScope
{
public:
    explicit RuntimeVariableScope(const QByteArray& value) : m_saved(qgetenv(RuntimeVariable)) { set(value); }
    ~RuntimeVariableScope() { set(m_saved); }

private:
    static void set(const QByteArray& value)
    {
        if (value.isNull())
            qunsetenv(RuntimeVariable);
        else
            qputenv(RuntimeVariable, value);
    }

    QByteArray m_saved;
};

mode_t permissionsOf(const QString& path)
{
    struct stat info = {};
    return lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(RuntimeFolder, UnsetGetsAPrivateFolderOfOursAndNothingElse)
{
    struct Case {
        const char* name;
        std::function<void(const TempDir& temp, const QString& folder)> inTheWay;
        bool someoneElses;
        bool used;
    };
    const Case cases[] = {
        {"nothing there", [](const TempDir&, const QString&) {}, false, true},
        {"our own folder, open to all",
         [](const TempDir&, const QString& folder) { mkdir(QFile::encodeName(folder), 0755); }, false, true},
        {"a link to a private folder of ours",
         [](const TempDir& temp, const QString& folder) {
             const QString target = temp.MakeDir(QStringLiteral("elsewhere"));
             chmod(QFile::encodeName(target), 0700);
             QFile::link(target, folder);
         },
         false, false},
        {"a plain file", [](const TempDir& temp, const QString&) { temp.Write(QStringLiteral("run")); },
         false, false},
        {"someone else's folder",
         [](const TempDir& temp, const QString&) { temp.MakeDir(QStringLiteral("run")); }, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir temp;
        const QString folder = temp.File(QStringLiteral("run"));
        c.inTheWay(temp, folder);
        const mode_t before = permissionsOf(folder);
        const RuntimeVariableScope unset{QByteArray()};

        ProvideRuntimeFolder(folder, c.someoneElses ? geteuid() + 1 : geteuid());

        if (c.used) {
            EXPECT_EQ(qgetenv(RuntimeVariable), QFile::encodeName(folder));
            EXPECT_TRUE(QFileInfo(folder).isDir());
            EXPECT_EQ(QFileInfo(folder).ownerId(), geteuid());
            EXPECT_EQ(permissionsOf(folder), 0700u);
        } else {
            EXPECT_FALSE(qEnvironmentVariableIsSet(RuntimeVariable));
            EXPECT_EQ(permissionsOf(folder), before) << "left as it was";
        }
    }
}

TEST(RuntimeFolder, ASessionsOwnFolderIsKept)
{
    const TempDir temp;
    const QString folder = temp.File(QStringLiteral("run"));
    const RuntimeVariableScope set{"/run/user/4242"};

    ProvideRuntimeFolder(folder, geteuid());

    EXPECT_EQ(qgetenv(RuntimeVariable), "/run/user/4242");
    EXPECT_FALSE(QFileInfo::exists(folder));
}

} // namespace
