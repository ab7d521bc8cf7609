#include "termination_request.h"

#include <QSocketNotifier>
#include <QtGlobal>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace platform {

#if defined(Q_OS_UNIX)
namespace {

int signalPipe[2] = {-1, -1};

// Only the write is safe here; the event loop does the rest.
void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

bool catchTermination() {
    if (signalPipe[0] < 0 && ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGTERM, &action, nullptr) == 0 && sigaction(SIGINT, &action, nullptr) == 0;
}

} // namespace
#endif

TerminationRequest::TerminationRequest(QObject* parent) : QObject(parent) {
#if defined(Q_OS_UNIX)
    catching_ = catchTermination();
    if (!catching_)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        notifier_->setEnabled(false);
        emit requested();
    });
#else
    catching_ = true;
#endif
}

TerminationRequest::~TerminationRequest() = default;

} // namespace platform
