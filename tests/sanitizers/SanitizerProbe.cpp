// Does one thing a sanitizer build must not let pass: "leak" loses memory our own code allocates
// in a Qt event handler, where library frames surround ours; "overflow" overflows a signed integer.
#include <QCoreApplication>
#include <QTimer>
#include <climits>
#include <cstdio>
#include <cstring>

namespace
{

__attribute__((noinline)) void leakFromOurCode()
{
    volatile char* lost = new char[64];
    lost[0] = 1;
}

__attribute__((noinline)) int overflowInOurCode(int by)
{
    volatile int big = INT_MAX;
    return big + by;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "leak") == 0) {
        QTimer::singleShot(0, [] {
            leakFromOurCode();
            QCoreApplication::quit();
        });
        return application.exec();
    }
    std::printf("%d\n", overflowInOurCode(argc));
    std::puts("went on after the report");
    return 0;
}
