#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Turns SIGTERM (the session ending, a service manager stopping the program) and SIGINT into a
// call on the event loop's thread, so the program can end through its normal close path rather
// than be killed with the base open. The handler only writes a byte into a socket pair; the
// notifier reads it on the loop. One watcher at a time; the previous dispositions come back
// when it is destroyed.
class TerminationSignals : public QObject
{
public:
    explicit TerminationSignals(std::function<void()> onSignal, QObject *parent = nullptr);
    ~TerminationSignals() override;

    TerminationSignals(const TerminationSignals &) = delete;
    TerminationSignals &operator=(const TerminationSignals &) = delete;

private:
    void readPending();

    std::function<void()> m_onSignal;
    int m_fds[2] = {-1, -1};
    QSocketNotifier *m_notifier = nullptr;
};
