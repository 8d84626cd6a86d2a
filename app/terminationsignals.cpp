#include "terminationsignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int Watched[] = {SIGTERM, SIGINT};

int writeEnd = -1;
struct sigaction previous[std::size(Watched)];

extern "C" void onTerminationSignal(int signal)
{
    const int savedErrno = errno;
    const char byte = char(signal);
    // Non-blocking: with a byte already waiting, one more signal adds nothing.
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal, QObject *parent)
    : QObject(parent)
    , m_onSignal(std::move(onSignal))
{
    Q_ASSERT(writeEnd == -1);
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, m_fds) != 0)
        return; // the signals keep their default action: the program still ends
    writeEnd = m_fds[0];
    m_notifier = new QSocketNotifier(m_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPending);

    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(Watched); ++i)
        ::sigaction(Watched[i], &action, &previous[i]);
}

TerminationSignals::~TerminationSignals()
{
    if (writeEnd == -1)
        return;
    for (std::size_t i = 0; i < std::size(Watched); ++i)
        ::sigaction(Watched[i], &previous[i], nullptr);
    delete m_notifier;
    ::close(m_fds[0]);
    ::close(m_fds[1]);
    writeEnd = -1;
}

void TerminationSignals::readPending()
{
    char bytes[16];
    while (::read(m_fds[1], bytes, sizeof bytes) > 0) {
    }
    m_onSignal();
}
