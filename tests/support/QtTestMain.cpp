// Test entry: a QApplication (offscreen by default) around GoogleTest.
#include "platform/Application.h"
#include "platform/RuntimeFolder.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    ::testing::InitGoogleTest(&argc, argv);
    const RuntimeFolder runtimeFolder;
    Application application(argc, argv);
    return RUN_ALL_TESTS();
}
