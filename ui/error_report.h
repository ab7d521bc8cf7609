#pragma once
// The one place an error that no handler traps ends up, start-up included:
// one line on the log (stderr), then everything that could switch the board
// is stopped (the halt), then the error in a message box, and then the
// program ends through its event loop with a failure status. The box is
// shown from the event loop, not inside the frame that failed, and its own
// event loop can no longer switch anything: the halt came first.

#include <QApplication>

#include <functional>
#include <iosfwd>

namespace ui {

class Application : public QApplication {
    Q_OBJECT
  public:
    using Report = std::function<void(const QString& message)>;

    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Runs `start` (which builds and shows the windows) from inside the event
    // loop, so that an error while the windows are built is reported like
    // any other, and returns the program's exit status.
    int run(const std::function<void()>& start);

    // Replaceable for tests: how the message is shown, and where the line goes.
    void setReport(Report report) { report_ = std::move(report); }
    // What stops every switch (the rows' timers, the retry, the commands)
    // before an error is shown.
    void setHalt(std::function<void()> halt) { halt_ = std::move(halt); }
    void setLog(std::ostream& log) { log_ = &log; }

  private:
    void fail(const QString& message);
    void halt();
    Report report_;
    std::function<void()> halt_;
    std::ostream* log_;
    bool reporting_ = false;
};

} // namespace ui
