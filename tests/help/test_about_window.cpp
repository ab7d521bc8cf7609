// The About window: its frame and texts at every opening, and the keyboard
// (Enter and Esc), which also reaches the system-information lookup.

#include "fakes.h"
#include "help/frm_about.h"
#include "help/sys_info.h"
#include "ui/secondary_window.h"
#include "window_rig.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

namespace {
const std::string kTool = "/usr/bin/sysinfo-tool";

// An About window over fakes that name a startable tool.
struct AboutRig {
    AboutRig() {
        registry.set(help::kSysInfoKey, help::kSysInfoValue, platform::Registry::RegSz,
                     kTool + '\0');
        starter.startable = {kTool};
    }
    FakeRegistry registry;
    FakeStarter starter;
    int messages = 0;
    ui::SecondaryWindow about{[this] {
        return new help::FrmAbout(registry, starter,
                                  [this](const std::string&, const std::string&) { ++messages; });
    }};
};
} // namespace

class TestAboutWindow : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { rig::quietRaise(); }
    void frameAndTextsAtEveryOpening();
    void keyboard_data();
    void keyboard();
};

void TestAboutWindow::frameAndTextsAtEveryOpening() {
    AboutRig fixture;
    const QString title = "Quorvale Rivavavo Control System KAVO x";
    // Open, open again while open (the same window), close; three times over.
    for (int round = 0; round < 3; ++round) {
        QPointer<QWidget> w = fixture.about.show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QCOMPARE(fixture.about.show(), w.data());
        // Fixed size, not centred: the client area goes to 156, 129 on the screen.
        QCOMPARE(w->geometry(), QRect(156, 129, 382, 237));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QCOMPARE(w->windowTitle(), "About " + title);
        QCOMPARE(w->findChild<QLabel*>("lblTitle")->text(), title);
        QCOMPARE(w->findChild<QLabel*>("lblVersion")->text(), QString("Version 1.1.0"));
        rig::close(w);
        QVERIFY(w.isNull());
        QCOMPARE(fixture.about.window(), nullptr);
    }
}

void TestAboutWindow::keyboard_data() {
    QTest::addColumn<QStringList>("focusPath"); // controls given the focus in turn
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("closes"); // otherwise it starts the tool and stays open

    const int esc = Qt::Key_Escape, ret = Qt::Key_Return, enter = Qt::Key_Enter;
    // clang-format off
    QTest::newRow("Esc on cmdOK") << QStringList{"cmdOK"} << esc << true;
    QTest::newRow("Esc on picIcon") << QStringList{"picIcon"} << esc << true;
    QTest::newRow("Esc on cmdSysInfo") << QStringList{"cmdSysInfo"} << esc << true;
    QTest::newRow("Return as it opens: focus on cmdOK") << QStringList{} << ret << true;
    QTest::newRow("Enter on cmdOK") << QStringList{"cmdOK"} << enter << true;
    QTest::newRow("Return on picIcon") << QStringList{"picIcon"} << ret << true;
    QTest::newRow("Return on picIcon after cmdSysInfo") << QStringList{"cmdSysInfo", "picIcon"} << ret << true;
    QTest::newRow("Return on cmdOK after cmdSysInfo") << QStringList{"cmdSysInfo", "cmdOK"} << ret << true;
    QTest::newRow("Return on cmdSysInfo") << QStringList{"cmdSysInfo"} << ret << false;
    QTest::newRow("Enter on cmdSysInfo") << QStringList{"picIcon", "cmdSysInfo"} << enter << false;
    // clang-format on
}

void TestAboutWindow::keyboard() {
    QFETCH(QStringList, focusPath);
    QFETCH(int, key);
    QFETCH(bool, closes);

    AboutRig fixture;
    QPointer<QWidget> w = fixture.about.show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    for (const QString& name : focusPath) {
        QWidget* control = w->findChild<QWidget*>(name);
        control->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), control);
    }
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key));
    rig::close(nullptr);

    QCOMPARE(w.isNull(), closes);
    QCOMPARE(fixture.starter.calls,
             closes ? QStringList{} : QStringList{QString::fromStdString("start " + kTool)});
    QCOMPARE(fixture.messages, 0);
    rig::close(w);
}

QTEST_MAIN(TestAboutWindow)
#include "test_about_window.moc"
