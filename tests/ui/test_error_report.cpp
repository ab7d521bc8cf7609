#include "ui/error_report.h"

#include <QTest>
#include <QTimer>

#include <stdexcept>

// An error no handler traps reaches the one top-level report, whatever
// delivered the event that raised it, and the program goes on to end there.
class TestErrorReport : public QObject {
    Q_OBJECT
  private slots:
    void uncaughtErrorsReachTheReport() {
        auto* app = static_cast<ui::Application*>(QCoreApplication::instance());
        QStringList reports;
        app->setReport([&](const QString& message) { reports << message; });
        QTimer::singleShot(0, [] { throw std::runtime_error("the window could not be created"); });
        QTimer::singleShot(0, [] { throw 42; });
        QTRY_COMPARE(reports.size(), 2);
        QVERIFY(reports[0].contains("the window could not be created"));
        QVERIFY(!reports[1].isEmpty());
    }
};

int main(int argc, char** argv) {
    ui::Application app(argc, argv);
    TestErrorReport test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_error_report.moc"
