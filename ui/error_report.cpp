#include "error_report.h"
#include "look.h"
#include "program_identity.h"

#include <QMessageBox>

#include <cstdlib>
#include <exception>
#include <iostream>
#include <utility>

namespace ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv), log_(&std::cerr) {
    // Every window of the program was designed in the one font; making it the
    // default also spares loading the desktop's font for nothing.
    setFont(designFont(11, false));
    report_ = [](const QString& message) {
        QMessageBox::critical(nullptr,
                              QString::fromUtf8(identity::title.data(),
                                                static_cast<qsizetype>(identity::title.size())),
                              message);
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

int Application::run(const std::function<void()>& start) {
    QMetaObject::invokeMethod(
        this, [start] { start(); }, Qt::QueuedConnection);
    return exec();
}

void Application::fail(const QString& message) {
    const QString text = "Run-time error: " + message;
    *log_ << applicationName().toStdString() << ": " << text.toStdString() << std::endl;
    halt();
    // A second error while the report is on screen ends the program just the
    // same; one box is enough.
    if (reporting_)
        return QCoreApplication::exit(EXIT_FAILURE);
    QMetaObject::invokeMethod(
        this,
        [this, text] {
            reporting_ = true;
            report_(text);
            reporting_ = false;
            QCoreApplication::exit(EXIT_FAILURE);
        },
        Qt::QueuedConnection);
}

void Application::halt() {
    if (!halt_)
        return;
    const std::function<void()> halt = std::exchange(halt_, nullptr);
    try {
        halt();
    } catch (const std::exception& error) {
        *log_ << applicationName().toStdString() << ": while stopping: " << error.what()
              << std::endl;
    } catch (...) {
        *log_ << applicationName().toStdString() << ": while stopping: an unexpected error"
              << std::endl;
    }
}

} // namespace ui
