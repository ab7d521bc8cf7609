#pragma once
// SIGTERM and SIGINT as an event of the program's own loop: the signal
// handler only writes a byte down a pipe, and the loop ends the program in
// order (a pulse's OFF written, offline said). Windows sends no such
// signals: there it never fires.

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace platform {

class TerminationRequest : public QObject {
    Q_OBJECT
  public:
    // One a program: the signals have one handler.
    explicit TerminationRequest(QObject* parent = nullptr);
    ~TerminationRequest() override;

    // False when the signals could not be caught (then they end the program
    // at once, as by default).
    bool catching() const { return catching_; }

  signals:
    void requested(); // once

  private:
    bool catching_ = false;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace platform
