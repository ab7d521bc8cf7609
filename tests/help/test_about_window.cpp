// The About window: its frame and layout, the texts of every opening, the
// keyboard (Enter and Esc) and the system-information button.

#include "fakes.h"
#include "help/frm_about.h"
#include "help/help_windows.h"
#include "help/sys_info.h"
#include "quiet_raise.h"
#include "ui/secondary_window.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {
const QString kTitle = "Quorvale Rivavavo Control System KAVO x";
const QString kDescription =
    "Ideal Home/SOHO Automation system to control elctrical appliances with just mouse "
    "click.....from PC or Laptop in various ways.With added timer for On-to-Off as well as "
    "Off-to-On facility scheduler.User can insert logic in existing electrical home circuits.  "
    "for Win9x/NT/XP/2000";

void processDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

template <typename T> T* child(QWidget* w, const char* name) {
    return w->findChild<T*>(QString::fromLatin1(name));
}
} // namespace

class TestAboutWindow : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { quiet_raise::install(); }
    void cleanupTestCase() { quiet_raise::uninstall(); }
    void frame();
    void layout_data();
    void layout();
    void labels_data();
    void labels();
    void textsAfterEveryOpening();
    void opensWithFocusOnOk();
    void keyboard_data();
    void keyboard();
    void sysInfoButton_data();
    void sysInfoButton();

  private:
    FakeRegistry registry_;
    FakeStarter starter_;
};

void TestAboutWindow::frame() {
    std::unique_ptr<QWidget> w(help::createAbout(registry_, starter_));
    QCOMPARE(w->objectName(), QString("frmAbout"));
    QCOMPARE(w->parentWidget(), nullptr);
    QCOMPARE(w->minimumSize(), QSize(382, 237));
    QCOMPARE(w->maximumSize(), QSize(382, 237));
    const Qt::WindowFlags flags = w->windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
    QVERIFY(flags.testFlag(Qt::MSWindowsFixedSizeDialogHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!w->windowIcon().isNull());
    QCOMPARE(w->font().pixelSize(), 11);

    // Not centred: the client area goes to 156, 129 on the screen.
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QCOMPARE(w->geometry(), QRect(156, 129, 382, 237));
}

void TestAboutWindow::layout_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("takesFocus");
    QTest::newRow("cmdOK") << "cmdOK" << QRect(264, 168, 76, 23) << true;
    QTest::newRow("picIcon") << "picIcon" << QRect(0, 0, 54, 54) << true;
    QTest::newRow("cmdSysInfo") << "cmdSysInfo" << QRect(264, 200, 75, 23) << true;
    QTest::newRow("lblDescription") << "lblDescription" << QRect(56, 56, 259, 94) << false;
    QTest::newRow("lblDisclaimer") << "lblDisclaimer" << QRect(8, 152, 258, 63) << false;
    QTest::newRow("lblTitle") << "lblTitle" << QRect(56, 8, 267, 31) << false;
    QTest::newRow("lblVersion") << "lblVersion" << QRect(56, 40, 115, 21) << false;
    QTest::newRow("Shape1") << "Shape1" << QRect(8, 8, 329, 145) << false;
    QTest::newRow("Line1") << "Line1" << QRect(0, 151, 344, 2) << false;
}

void TestAboutWindow::layout() {
    QFETCH(QString, control);
    QFETCH(QRect, geometry);
    QFETCH(bool, takesFocus);

    std::unique_ptr<QWidget> w(help::createAbout(registry_, starter_));
    auto* widget = w->findChild<QWidget*>(control);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->focusPolicy() != Qt::NoFocus, takesFocus);
}

void TestAboutWindow::labels_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("lblDescription") << "lblDescription" << QColor(255, 255, 0);
    QTest::newRow("lblDisclaimer") << "lblDisclaimer" << QColor(0, 255, 0);
    QTest::newRow("lblTitle") << "lblTitle" << QColor(255, 255, 0);
    QTest::newRow("lblVersion") << "lblVersion" << QColor(255, 255, 0);
}

void TestAboutWindow::labels() {
    QFETCH(QString, label);
    QFETCH(QColor, colour);

    std::unique_ptr<QWidget> w(help::createAbout(registry_, starter_));
    auto* l = w->findChild<QLabel*>(label);
    QVERIFY(l);
    QVERIFY(l->font().bold());
    QCOMPARE(l->font().pixelSize(), 11);
    QCOMPARE(l->palette().color(QPalette::WindowText), colour);
    QVERIFY(!l->autoFillBackground()); // transparent over the picture
    QVERIFY(!l->text().isEmpty());
}

void TestAboutWindow::textsAfterEveryOpening() {
    ui::SecondaryWindow about([this] { return help::createAbout(registry_, starter_); });
    QWidget* previous = nullptr;
    // Open, open again while open (same window), close; three times over.
    for (int round = 0; round < 3; ++round) {
        QWidget* w = about.show();
        QVERIFY(w != previous);
        QCOMPARE(about.show(), w);
        QCOMPARE(w->windowTitle(), "About " + kTitle);
        QCOMPARE(child<QLabel>(w, "lblTitle")->text(), kTitle);
        QCOMPARE(child<QLabel>(w, "lblVersion")->text(), QString("Version 1.1.0"));
        QCOMPARE(child<QLabel>(w, "lblDescription")->text(), kDescription);
        QCOMPARE(child<QPushButton>(w, "cmdOK")->text(), QString("OK"));
        QCOMPARE(child<QPushButton>(w, "cmdSysInfo")->text(), QString("&System Info..."));
        previous = w;
        w->close();
        processDeferredDeletes();
        QCOMPARE(about.window(), nullptr);
    }
}

void TestAboutWindow::opensWithFocusOnOk() {
    ui::SecondaryWindow about([this] { return help::createAbout(registry_, starter_); });
    QWidget* w = about.show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QCOMPARE(QApplication::focusWidget(), child<QWidget>(w, "cmdOK"));
    // Tab goes on to the picture box, then to "&System Info...".
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), child<QWidget>(w, "picIcon"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), child<QWidget>(w, "cmdSysInfo"));
    w->close();
    processDeferredDeletes();
}

void TestAboutWindow::keyboard_data() {
    QTest::addColumn<QStringList>("focusPath"); // controls given the focus in turn
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("startsSysInfo");

    const int esc = Qt::Key_Escape;
    const int ret = Qt::Key_Return;
    const int enter = Qt::Key_Enter;
    QTest::newRow("Esc on cmdOK") << QStringList{"cmdOK"} << esc << true << false;
    QTest::newRow("Esc on picIcon") << QStringList{"picIcon"} << esc << true << false;
    QTest::newRow("Esc on cmdSysInfo") << QStringList{"cmdSysInfo"} << esc << true << false;
    QTest::newRow("Return on cmdOK") << QStringList{"cmdOK"} << ret << true << false;
    QTest::newRow("Enter on cmdOK") << QStringList{"cmdOK"} << enter << true << false;
    QTest::newRow("Return on picIcon") << QStringList{"picIcon"} << ret << true << false;
    QTest::newRow("Return on picIcon after cmdSysInfo")
        << QStringList{"cmdSysInfo", "picIcon"} << ret << true << false;
    QTest::newRow("Return on cmdSysInfo") << QStringList{"cmdSysInfo"} << ret << false << true;
    QTest::newRow("Enter on cmdSysInfo") << QStringList{"cmdSysInfo"} << enter << false << true;
    QTest::newRow("Return on cmdOK after cmdSysInfo")
        << QStringList{"cmdSysInfo", "cmdOK"} << ret << true << false;
}

void TestAboutWindow::keyboard() {
    QFETCH(QStringList, focusPath);
    QFETCH(int, key);
    QFETCH(bool, closes);
    QFETCH(bool, startsSysInfo);

    // No tool anywhere: StartSysInfo ends in the message.
    FakeRegistry registry;
    FakeStarter starter;
    int messages = 0;
    ui::SecondaryWindow about([&] {
        return new help::FrmAbout(registry, starter,
                                  [&](const std::string&, const std::string&) { ++messages; });
    });
    QPointer<QWidget> w = about.show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QWidget* focus = nullptr;
    for (const QString& name : focusPath) {
        focus = w->findChild<QWidget*>(name);
        focus->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), focus);
    }
    QTest::keyClick(focus, static_cast<Qt::Key>(key));
    processDeferredDeletes();

    QCOMPARE(w.isNull(), closes);
    QCOMPARE(messages, startsSysInfo ? 1 : 0);
    QCOMPARE(registry.openCalls, startsSysInfo ? 2 : 0);
    if (w)
        w->close();
    processDeferredDeletes();
}

void TestAboutWindow::sysInfoButton_data() {
    QTest::addColumn<bool>("toolRegistered");
    QTest::addColumn<QStringList>("starts");
    QTest::addColumn<int>("messages");
    QTest::newRow("tool registered") << true << QStringList{"/usr/bin/sysinfo-tool"} << 0;
    QTest::newRow("no tool") << false << QStringList{} << 1;
}

void TestAboutWindow::sysInfoButton() {
    QFETCH(bool, toolRegistered);
    QFETCH(QStringList, starts);
    QFETCH(int, messages);

    FakeRegistry registry;
    FakeStarter starter;
    if (toolRegistered) {
        registry.setValue(help::kSysInfoKey, help::kSysInfoValue, platform::Registry::REG_SZ,
                          std::string("/usr/bin/sysinfo-tool") + '\0');
        starter.startable = {"/usr/bin/sysinfo-tool"};
    }
    int shown = 0;
    QString shownTitle;
    ui::SecondaryWindow about([&] {
        return new help::FrmAbout(registry, starter,
                                  [&](const std::string&, const std::string& title) {
                                      ++shown;
                                      shownTitle = QString::fromStdString(title);
                                  });
    });
    QPointer<QWidget> w = about.show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTest::mouseClick(child<QPushButton>(w, "cmdSysInfo"), Qt::LeftButton);
    processDeferredDeletes();

    QStringList started;
    for (const std::string& s : starter.starts)
        started << QString::fromStdString(s);
    QCOMPARE(started, starts);
    QCOMPARE(shown, messages);
    if (shown)
        QCOMPARE(shownTitle, kTitle);
    QVERIFY(!w.isNull()); // the About window stays open either way
    QVERIFY(w->isVisible());
    w->close();
    processDeferredDeletes();
}

QTEST_MAIN(TestAboutWindow)
#include "test_about_window.moc"
