// Times taking a tree of 100,000 files in 1,000 folders into the input list against
// `find DIR -type f | sort -f` on the same tree, and prints both medians and their ratio.
#include "input/InputList.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace
{

constexpr int Groups = 10;
constexpr int FoldersPerGroup = 100;
constexpr int FilesPerFolder = 100;
constexpr int FileCount = Groups * FoldersPerGroup * FilesPerFolder;
constexpr int DefaultRuns = 5;
constexpr double Goal = 1.5;

// Names in mixed letter case, so that sorting with case ignored has work to do.
QString fileName(int index)
{
    static const char* const stems[] = {"Clip", "movie", "TAKE", "scene", "Holiday"};
    static const char* const extensions[] = {"avi", "MPG", "wmv", "Mp4"};
    return QStringLiteral("%1 %2.%3")
        .arg(QLatin1String(stems[index % 5]))
        .arg((index * 37) % FilesPerFolder, 3, 10, QLatin1Char('0'))
        .arg(QLatin1String(extensions[index % 4]));
}

bool buildTree(const QString& root)
{
    for (int group = 0; group < Groups; ++group) {
        for (int folder = 0; folder < FoldersPerGroup; ++folder) {
            const QString path = QStringLiteral("%1/Group %2/folder%3")
                                     .arg(root)
                                     .arg(group)
                                     .arg(folder, 3, 10, QLatin1Char('0'));
            if (!QDir().mkpath(path))
                return false;
            for (int file = 0; file < FilesPerFolder; ++file) {
                QFile out(path + u'/' + fileName(file));
                if (!out.open(QIODevice::WriteOnly))
                    return false;
            }
        }
    }
    return true;
}

double takeIntoList(const QString& root)
{
    InputList list;
    QElapsedTimer timer;
    timer.start();
    list.AddPath(root);
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (list.Count() != FileCount)
        std::fprintf(stderr, "input list holds %d paths, expected %d\n", list.Count(), FileCount);
    return seconds;
}

double findAndSort(const QString& root)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral("sh"),
                  {QStringLiteral("-c"), QStringLiteral("find \"$0\" -type f | sort -f"), root});
    process.waitForFinished(-1);
    return timer.nsecsElapsed() / 1e9;
}

// How long removing half the list, a range from its middle as a shift-click selects it, takes.
double removeMiddleHalf(const QString& root)
{
    InputList list;
    list.AddPath(root);
    QList<int> rows;
    for (int row = FileCount / 4; row < FileCount / 4 + FileCount / 2; ++row)
        rows << row;
    QElapsedTimer timer;
    timer.start();
    list.RemoveAt(rows);
    return timer.nsecsElapsed() / 1e9;
}

double median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const std::size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : DefaultRuns;
    QTemporaryDir temporary;
    const QString root = temporary.path() + QStringLiteral("/tree");
    if (!temporary.isValid() || !buildTree(root)) {
        std::fprintf(stderr, "cannot build the tree under %s\n", qPrintable(temporary.path()));
        return 1;
    }
    const std::function<double(const QString&)> sides[] = {takeIntoList, findAndSort};
    std::vector<double> samples[2];
    for (const auto& side : sides)
        side(root); // warm both alike
    for (int run = 0; run < runs; ++run)
        for (int side = 0; side < 2; ++side)
            samples[side].push_back(sides[side](root));
    const double korumi = median(samples[0]);
    const double find = median(samples[1]);
    std::printf("    korumi: median %9.1f ms over %d runs\n", korumi * 1000, runs);
    std::printf("find|sort: median %9.1f ms over %d runs\n", find * 1000, runs);
    std::printf("goal %s: the input list takes a tree within %.2f x find | sort (ratio %.2f)\n",
                korumi / find <= Goal ? "met" : "NOT met", Goal, korumi / find);
    std::printf("  removing the middle %d files from the list: %.1f ms\n", FileCount / 2,
                removeMiddleHalf(root) * 1000);
    return 0;
}
