#include "error_report.h"

#include <QMessageBox>

#include <cstdlib>
#include <exception>

namespace ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    report_ = [](const QString& message) {
        QMessageBox::critical(nullptr, QStringLiteral("Quorvale Rivavavo Control System KAVO x"),
                              message);
        std::exit(EXIT_FAILURE);
    };
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        fail(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        fail("An unexpected error occurred.");
    }
    return false;
}

void Application::fail(const QString& message) {
    report_("Run-time error: " + message);
}

} // namespace ui
