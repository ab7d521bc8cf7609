#pragma once
#include <QApplication>

#include <functional>

namespace ui {

// The one place an error that no handler traps ends up: it is shown in a
// message box and the program ends. `report` is replaceable for tests.
class Application : public QApplication {
    Q_OBJECT
  public:
    using Report = std::function<void(const QString& message)>;

    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
    void setReport(Report report) { report_ = std::move(report); }

  private:
    void fail(const QString& message);
    Report report_;
};

} // namespace ui
