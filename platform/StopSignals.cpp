#include "platform/StopSignals.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace
{

constexpr std::array<int, 3> Handled{SIGINT, SIGTERM, SIGHUP};

int g_pipe[2] = {-1, -1};
volatile sig_atomic_t g_first = 0;
volatile sig_atomic_t g_count = 0;

// Async-signal-safe: records the number and wakes the event loop.
void onSignal(int signalNumber)
{
    const int savedErrno = errno;
    if (g_first == 0)
        g_first = signalNumber;
    g_count = g_count + 1;
    const char number = static_cast<char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &number, 1);
    errno = savedErrno;
}

void setHandler(int signalNumber, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    // No restart: a write blocked on a reader that never reads returns, and the stop goes on.
    action.sa_flags = 0;
    sigemptyset(&action.sa_mask);
    sigaction(signalNumber, &action, nullptr);
}

} // namespace

StopSignals::StopSignals(QObject* parent) : QObject(parent)
{
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // without a pipe the signals keep their default effect
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &StopSignals::readPipe);
    for (int signalNumber : Handled)
        setHandler(signalNumber, onSignal);
}

StopSignals::~StopSignals()
{
    if (!m_notifier)
        return;
    for (int signalNumber : Handled)
        setHandler(signalNumber, SIG_DFL);
    delete m_notifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

int StopSignals::First()
{
    return g_first;
}

int StopSignals::Count()
{
    return g_count;
}

void StopSignals::readPipe()
{
    char number = 0;
    while (::read(g_pipe[0], &number, 1) == 1)
        emit Received(number);
}
