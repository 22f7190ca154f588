#include "platform/RuntimeFolder.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr char RuntimeVariable[] = "XDG_RUNTIME_DIR";

// Sets XDG_RUNTIME_DIR; null unsets it.
void setRuntimeVariable(const char* value)
{
    if (value == nullptr)
        qunsetenv(RuntimeVariable);
    else
        qputenv(RuntimeVariable, value);
}

// XDG_RUNTIME_DIR as setRuntimeVariable takes it, in a form that tells empty from unset.
std::optional<std::string> runtimeVariable()
{
    if (!qEnvironmentVariableIsSet(RuntimeVariable))
        return std::nullopt;
    return qgetenv(RuntimeVariable).toStdString();
}

std::optional<std::string> asVariable(const char* value)
{
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

mode_t permissionsOf(const QString& path)
{
    struct stat info = {};
    return lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(RuntimeFolder, APrivateFolderOfOursStandsInForAMissingOneAndGoesWithItsContent)
{
    struct Case {
        const char* name;
        const char* session; // XDG_RUNTIME_DIR as the session left it (null: unset)
        const char* parent;
        mode_t mask;
        bool made;
    };
    const Case cases[] = {
        {"unset", nullptr, "tmp", 022, true},
        {"empty", "", "tmp", 022, true},
        {"a umask that takes the owner's own rights", nullptr, "tmp", 0277, true},
        {"no folder to make it in", nullptr, "missing", 022, false},
        {"set by the session", "/run/user/4242", "tmp", 022, false},
    };
    const std::optional<std::string> runner = runtimeVariable();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir temp;
        // What another user may have put at the fixed name used before.
        temp.Write(QStringLiteral("tmp/korumi-runtime-") + QString::number(geteuid()));
        setRuntimeVariable(c.session);
        const mode_t mask = umask(c.mask);
        QString made;
        {
            const RuntimeFolder folder(temp.File(QString::fromLatin1(c.parent)));
            umask(mask);
            made = folder.Path();
            if (c.made) {
                EXPECT_EQ(runtimeVariable(), QFile::encodeName(made).toStdString());
                EXPECT_EQ(QFileInfo(made).path(), temp.File(QStringLiteral("tmp")));
                EXPECT_EQ(QFileInfo(made).ownerId(), geteuid());
                EXPECT_EQ(permissionsOf(made), 0700u);
                temp.Write(QStringLiteral("tmp/") + QFileInfo(made).fileName() +
                           QStringLiteral("/passlog/0.log"));
            } else {
                EXPECT_EQ(made, QString());
                EXPECT_EQ(runtimeVariable(), asVariable(c.session));
            }
        }
        EXPECT_EQ(runtimeVariable(), asVariable(c.session)) << "put back as it was";
        EXPECT_TRUE(made.isEmpty() || !QFileInfo::exists(made)) << "removed with its content";
    }
    setRuntimeVariable(runner ? runner->c_str() : nullptr);
}

TEST(RuntimeFolder, TheFoldersOfThisUsersRunsThatAreProvablyGoneAreRemoved)
{
    const std::optional<std::string> runner = runtimeVariable();
    const TempDir temp;
    const QString parent = temp.MakeDir(QStringLiteral("tmp"));
    setRuntimeVariable(nullptr);
    std::optional<RuntimeFolder> live(std::in_place, parent); // a run that goes on
    // A run that was killed left its folder with its lock file, which nobody holds now.
    const QString killed = temp.MakeDir(QStringLiteral("tmp/korumi-runtime-Killed"));
    temp.Write(QStringLiteral("tmp/korumi-runtime-Killed/run.lock"));
    temp.Write(QStringLiteral("tmp/korumi-runtime-Killed/korumi-passlog/0-0.log"), "pass log");
    // Folders that cannot be proven gone: without a lock file, or another user's.
    QStringList kept{live->Path(), temp.MakeDir(QStringLiteral("tmp/korumi-runtime-NoLock"))};
    if (geteuid() == 0) {
        kept << temp.MakeDir(QStringLiteral("tmp/korumi-runtime-Others"));
        const QString lock = temp.Write(QStringLiteral("tmp/korumi-runtime-Others/run.lock"));
        for (const QString& path : {kept.last(), lock})
            ASSERT_EQ(chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
    }

    setRuntimeVariable(nullptr);
    const RuntimeFolder next(parent);

    EXPECT_FALSE(QFileInfo::exists(killed));
    for (const QString& folder : kept)
        EXPECT_TRUE(QFileInfo::exists(folder)) << folder.toStdString();
    live.reset();
    setRuntimeVariable(runner ? runner->c_str() : nullptr);
}

} // namespace
