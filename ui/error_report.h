#pragma once
// The one place an error that no handler traps ends up, start-up included:
// one line on the log (stderr), the error in a message box, and then the
// program ends through its event loop with a failure status.

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
    void setLog(std::ostream& log) { log_ = &log; }

  private:
    void fail(const QString& message);
    Report report_;
    std::ostream* log_;
    bool reporting_ = false;
};

} // namespace ui
