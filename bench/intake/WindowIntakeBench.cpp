// How the window answers while a tree of 1,000,000 files, dropped on it, is searched and taken
// into its input list: a timer that should tick every 10 ms records the longest pause of the
// event loop from the drop until the list holds every file; then how long one Delete on the
// middle half of the files holds the window.
#include "app/MainWindow1.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QItemSelectionModel>
#include <QListView>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace
{

constexpr int Folders = 1000;
constexpr int FilesPerFolder = 1000;
constexpr int TickMs = 10;
constexpr qint64 GoalMs = 100;

bool buildTree(const QString& root)
{
    for (int folder = 0; folder < Folders; ++folder) {
        const QString path = QStringLiteral("%1/Folder %2").arg(root).arg(folder, 4, 10, QLatin1Char('0'));
        if (!QDir().mkpath(path))
            return false;
        for (int file = 0; file < FilesPerFolder; ++file) {
            const QByteArray name = QFile::encodeName(QStringLiteral("%1/Clip %2.avi").arg(path).arg(file));
            const int descriptor = open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
            if (descriptor < 0)
                return false;
            close(descriptor);
        }
    }
    return true;
}

void drop(TMainForm1& form, const QString& path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint where(form.width() / 2, form.height() / 2);
    QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&form, &enter);
    QDropEvent dropped(where, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&form, &dropped);
}

// Selects rows `first` to `last` as one range, as a shift-click does, and presses Delete; gives
// how long the window was held.
qint64 deleteRange(TMainForm1& form, int first, int last)
{
    const QAbstractItemModel* model = form.Inputs.Model();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form))
        return -1;
    form.ListBox1->setFocus();
    form.ListBox1->selectionModel()->select(QItemSelection(model->index(first, 0), model->index(last, 0)),
                                            QItemSelectionModel::ClearAndSelect);
    QElapsedTimer held;
    held.start();
    QTest::keyClick(form.ListBox1, Qt::Key_Delete);
    return held.elapsed();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir temporary;
    const QString root = temporary.path() + QStringLiteral("/tree");
    QFile::copy(QStringLiteral(KORUMI_PROGRAM_DIR "/profile.txt"), temporary.filePath("profile.txt"));
    std::fprintf(stderr, "making %d files...\n", Folders * FilesPerFolder);
    if (!temporary.isValid() || !buildTree(root)) {
        std::fprintf(stderr, "cannot build the tree under %s\n", qPrintable(temporary.path()));
        return 1;
    }
    TMainForm1 form(ProgramFiles(temporary.path()), {});
    form.show();

    qint64 longestPauseMs = 0;
    QElapsedTimer sinceTick;
    QEventLoop intake;
    QTimer ticks;
    ticks.setInterval(TickMs);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        longestPauseMs = std::max(longestPauseMs, sinceTick.restart() - TickMs);
        if (!form.TakingPaths())
            intake.quit(); // the application's own quit would close the window
    });
    QElapsedTimer total;
    total.start();
    sinceTick.start();
    ticks.start();
    drop(form, root);
    intake.exec();

    const bool met = longestPauseMs <= GoalMs && form.InputFiles().size() == Folders * FilesPerFolder;
    std::printf("  files taken: %lld in %.1f s\n", static_cast<long long>(form.InputFiles().size()),
                total.nsecsElapsed() / 1e9);
    std::printf("goal %s: the window takes a dropped tree with no pause over %lld ms (longest %lld ms)\n",
                met ? "met" : "NOT met", static_cast<long long>(GoalMs),
                static_cast<long long>(longestPauseMs));

    // Not a goal: half the list, from its middle, removed with one Delete.
    const int half = Folders * FilesPerFolder / 2;
    const qint64 deleteMs = deleteRange(form, half / 2, half / 2 + half - 1);
    std::printf("  Delete on %d selected files of the middle: %lld ms, %lld files left\n", half,
                static_cast<long long>(deleteMs), static_cast<long long>(form.InputFiles().size()));
    return 0;
}
