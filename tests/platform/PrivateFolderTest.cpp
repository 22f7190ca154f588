#include "platform/PrivateFolder.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{

constexpr char RuntimeVariable[] = "XDG_RUNTIME_DIR";

TEST(PrivateFolder, EachIsItsOwnUnderTheRuntimeFolderElseTheTemporaryOneAndGoesWithItsContent)
{
    const TempDir runtime;
    struct Case {
        const char* name;
        QByteArray variable;
        QString parent;
    };
    const Case cases[] = {
        {"runtime folder", QFile::encodeName(runtime.Path()), runtime.Path()},
        {"none named", "", QDir::tempPath()},
        {"a relative name", "run", QDir::tempPath()},
        {"a folder that is gone", QFile::encodeName(runtime.File("gone")), QDir::tempPath()},
    };
    const QByteArray runner = qgetenv(RuntimeVariable);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qputenv(RuntimeVariable, c.variable);
        QString first;
        {
            const PrivateFolder one;
            const PrivateFolder two;
            first = one.Path();
            EXPECT_EQ(QFileInfo(first).absolutePath(), c.parent);
            EXPECT_NE(first, two.Path());
            struct stat info = {};
            ASSERT_EQ(stat(QFile::encodeName(first).constData(), &info), 0);
            EXPECT_EQ(info.st_mode & 0777, 0700u);
            QFile picture(first + "/_thumb.jpg");
            ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
        }
        EXPECT_FALSE(QFileInfo::exists(first));
    }
    qputenv(RuntimeVariable, runner);
}

} // namespace
