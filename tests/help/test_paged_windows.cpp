// The operation guide and wiring diagram windows: their frame and layout,
// the stepping through the pages, and their life as single instances.

#include "help/help_windows.h"
#include "quiet_raise.h"
#include "ui/secondary_window.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <functional>

namespace {
using Factory = QWidget* (*)();

Factory factoryFor(const QString& window) {
    return window == "og" ? &help::createOperationGuide : &help::createWiringDiagram;
}

QStringList holdersOf(const QString& window) {
    return window == "og" ? QStringList{"Picture2", "Picture3", "Picture4"}
                          : QStringList{"Picture1", "Picture2", "Picture3", "Picture4"};
}

QStringList buttonsOf(const QString& window) {
    return window == "og" ? QStringList{"Command1", "Command2", "Command3", "Command4"}
                          : QStringList{"Command1", "Command2", "Command3", "Command4", "Command5"};
}

// The holder that shows, or "cover" when only the window's own picture does.
QString visiblePage(QWidget* w, const QString& window) {
    QStringList shown;
    for (const QString& name : holdersOf(window)) {
        auto* holder = w->findChild<QLabel*>(name);
        if (holder && holder->isVisible())
            shown << name;
    }
    if (shown.isEmpty())
        return "cover";
    return shown.join('+');
}

QStringList enabledButtons(QWidget* w, const QString& window) {
    QStringList enabled;
    for (const QString& name : buttonsOf(window)) {
        if (w->findChild<QPushButton*>(name)->isEnabled())
            enabled << name;
    }
    return enabled;
}

void click(QWidget* w, const QString& button) {
    auto* b = w->findChild<QPushButton*>(button);
    QVERIFY2(b, qPrintable(button));
    QTest::mouseClick(b, Qt::LeftButton);
}

void processDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
} // namespace

class TestPagedWindows : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { quiet_raise::install(); }
    void cleanupTestCase() { quiet_raise::uninstall(); }
    void frame_data();
    void frame();
    void layout_data();
    void layout();
    void tabOrder_data();
    void tabOrder();
    void stepping_data();
    void stepping();
    void descriptions_data();
    void descriptions();
    void centredEachTimeItOpens_data();
    void centredEachTimeItOpens();
    void singleInstanceAndFreshAfterClose_data();
    void singleInstanceAndFreshAfterClose();
    void bothWindowsKeepTheirOwnPage();
};

void TestPagedWindows::frame_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("clientSize");
    QTest::newRow("guide") << "og"
                           << "frmOG"
                           << "Instalation & Operartion Guide.." << QSize(727, 696);
    QTest::newRow("wiring") << "wiring"
                            << "frmWiring"
                            << "Quorvale Automation- Wiring Diagram for KAVOxp H1.10"
                            << QSize(710, 695);
}

void TestPagedWindows::frame() {
    QFETCH(QString, window);
    QFETCH(QString, objectName);
    QFETCH(QString, caption);
    QFETCH(QSize, clientSize);

    std::unique_ptr<QWidget> w(factoryFor(window)());
    QCOMPARE(w->objectName(), objectName);
    QCOMPARE(w->windowTitle(), caption);
    QVERIFY(w->isWindow());
    QCOMPARE(w->parentWidget(), nullptr);
    QCOMPARE(w->minimumSize(), clientSize);
    QCOMPARE(w->maximumSize(), clientSize);
    const Qt::WindowFlags flags = w->windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
    QVERIFY(flags.testFlag(Qt::MSWindowsFixedSizeDialogHint));
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(w->font().pixelSize(), 11);
    QVERIFY(!w->font().bold());
}

void TestPagedWindows::layout_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");   // buttons
    QTest::addColumn<QSize>("pictureSize"); // picture holders

    const QSize none;
    QTest::newRow("og Picture2") << "og"
                                 << "Picture2" << QRect(0, 0, 697, 641) << "" << QSize(628, 637);
    QTest::newRow("og Picture3") << "og"
                                 << "Picture3" << QRect(-8, 0, 697, 649) << "" << QSize(694, 637);
    QTest::newRow("og Picture4") << "og"
                                 << "Picture4" << QRect(0, 0, 697, 657) << "" << QSize(628, 637);
    QTest::newRow("og Command1") << "og"
                                 << "Command1" << QRect(8, 664, 81, 25) << "&Repete" << none;
    QTest::newRow("og Command2") << "og"
                                 << "Command2" << QRect(584, 664, 25, 25) << "&1" << none;
    QTest::newRow("og Command3") << "og"
                                 << "Command3" << QRect(616, 664, 25, 25) << "&2" << none;
    QTest::newRow("og Command4") << "og"
                                 << "Command4" << QRect(648, 664, 25, 25) << "&3" << none;
    QTest::newRow("wiring Picture1")
        << "wiring"
        << "Picture1" << QRect(0, 0, 625, 577) << "" << QSize(600, 450);
    QTest::newRow("wiring Picture2")
        << "wiring"
        << "Picture2" << QRect(0, 0, 633, 585) << "" << QSize(343, 344);
    QTest::newRow("wiring Picture3")
        << "wiring"
        << "Picture3" << QRect(0, 0, 705, 601) << "" << QSize(703, 596);
    QTest::newRow("wiring Picture4")
        << "wiring"
        << "Picture4" << QRect(0, 0, 665, 585) << "" << QSize(495, 519);
    QTest::newRow("wiring Command5") << "wiring"
                                     << "Command5" << QRect(24, 640, 81, 25) << "&Repete" << none;
    QTest::newRow("wiring Command1") << "wiring"
                                     << "Command1" << QRect(520, 640, 25, 25) << "&1" << none;
    QTest::newRow("wiring Command2") << "wiring"
                                     << "Command2" << QRect(560, 640, 25, 25) << "&2" << none;
    QTest::newRow("wiring Command3") << "wiring"
                                     << "Command3" << QRect(600, 640, 25, 25) << "&3" << none;
    QTest::newRow("wiring Command4") << "wiring"
                                     << "Command4" << QRect(640, 640, 25, 25) << "&4" << none;
}

void TestPagedWindows::layout() {
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(QSize, pictureSize);

    std::unique_ptr<QWidget> w(factoryFor(window)());
    auto* widget = w->findChild<QWidget*>(control);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget(), w.get());
    QCOMPARE(widget->geometry(), geometry);
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QCOMPARE(button->text(), caption);
        return;
    }
    auto* holder = qobject_cast<QLabel*>(widget);
    QVERIFY(holder);
    QCOMPARE(holder->pixmap().size(), pictureSize);
    QCOMPARE(holder->alignment(), Qt::AlignLeft | Qt::AlignTop);
    QVERIFY(holder->autoFillBackground());
    QCOMPARE(holder->palette().color(QPalette::Window),
             QApplication::palette().color(QPalette::HighlightedText));
}

void TestPagedWindows::tabOrder_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("og") << "og" << QStringList{"Command1", "Command2", "Command3", "Command4",
                                               "Picture2", "Picture3", "Picture4"};
    QTest::newRow("wiring") << "wiring" << QStringList{"Command1", "Command2", "Command3",
                                                       "Command4", "Picture1", "Picture2",
                                                       "Picture3", "Picture4", "Command5"};
}

void TestPagedWindows::tabOrder() {
    QFETCH(QString, window);
    QFETCH(QStringList, order);

    std::unique_ptr<QWidget> w(factoryFor(window)());
    QStringList chain;
    QWidget* next = w->findChild<QWidget*>(order.first());
    do {
        if (order.contains(next->objectName()))
            chain << next->objectName();
        next = next->nextInFocusChain();
    } while (next && next->objectName() != order.first());
    QCOMPARE(chain, order);
}

void TestPagedWindows::stepping_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("enabled");

    // clang-format off
    QTest::newRow("og fresh") << "og" << QStringList{} << "cover" << QStringList{"Command2"};
    QTest::newRow("og &1") << "og" << QStringList{"Command2"} << "Picture2" << QStringList{"Command3"};
    QTest::newRow("og &2") << "og" << QStringList{"Command2", "Command3"} << "Picture3" << QStringList{"Command4"};
    QTest::newRow("og &3") << "og" << QStringList{"Command2", "Command3", "Command4"} << "Picture4" << QStringList{"Command1"};
    QTest::newRow("og &Repete back to the cover") << "og" << QStringList{"Command2", "Command3", "Command4", "Command1"} << "cover" << QStringList{"Command2"};
    QTest::newRow("og second round") << "og" << QStringList{"Command2", "Command3", "Command4", "Command1", "Command2"} << "Picture2" << QStringList{"Command3"};
    QTest::newRow("og disabled buttons do nothing") << "og" << QStringList{"Command3", "Command4", "Command1"} << "cover" << QStringList{"Command2"};
    QTest::newRow("og no skipping ahead") << "og" << QStringList{"Command2", "Command4", "Command1"} << "Picture2" << QStringList{"Command3"};
    QTest::newRow("wiring fresh") << "wiring" << QStringList{} << "cover" << QStringList{"Command1"};
    QTest::newRow("wiring &1") << "wiring" << QStringList{"Command1"} << "Picture1" << QStringList{"Command2"};
    QTest::newRow("wiring &2") << "wiring" << QStringList{"Command1", "Command2"} << "Picture2" << QStringList{"Command3"};
    QTest::newRow("wiring &3") << "wiring" << QStringList{"Command1", "Command2", "Command3"} << "Picture3" << QStringList{"Command4"};
    QTest::newRow("wiring &4") << "wiring" << QStringList{"Command1", "Command2", "Command3", "Command4"} << "Picture4" << QStringList{"Command5"};
    QTest::newRow("wiring &Repete back to the cover") << "wiring" << QStringList{"Command1", "Command2", "Command3", "Command4", "Command5"} << "cover" << QStringList{"Command1"};
    QTest::newRow("wiring second round") << "wiring" << QStringList{"Command1", "Command2", "Command3", "Command4", "Command5", "Command1"} << "Picture1" << QStringList{"Command2"};
    QTest::newRow("wiring disabled buttons do nothing") << "wiring" << QStringList{"Command2", "Command5", "Command4"} << "cover" << QStringList{"Command1"};
    // clang-format on
}

void TestPagedWindows::stepping() {
    QFETCH(QString, window);
    QFETCH(QStringList, clicks);
    QFETCH(QString, page);
    QFETCH(QStringList, enabled);

    std::unique_ptr<QWidget> w(factoryFor(window)());
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    for (const QString& button : clicks)
        click(w.get(), button);
    QCOMPARE(visiblePage(w.get(), window), page);
    QCOMPARE(enabledButtons(w.get(), window), enabled);
}

void TestPagedWindows::descriptions_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("holder"); // empty: the window's own picture
    QTest::addColumn<QString>("key");
    QTest::newRow("og cover") << "og"
                              << ""
                              << "og_cover";
    QTest::newRow("og page 1") << "og"
                               << "Picture2"
                               << "og_page1";
    QTest::newRow("og page 2") << "og"
                               << "Picture3"
                               << "og_page2";
    QTest::newRow("og page 3") << "og"
                               << "Picture4"
                               << "og_page3";
    QTest::newRow("wiring cover") << "wiring"
                                  << ""
                                  << "wiring_cover";
    QTest::newRow("wiring page 1") << "wiring"
                                   << "Picture1"
                                   << "wiring_page1";
    QTest::newRow("wiring page 2") << "wiring"
                                   << "Picture2"
                                   << "wiring_page2";
    QTest::newRow("wiring page 3") << "wiring"
                                   << "Picture3"
                                   << "wiring_page3";
    QTest::newRow("wiring page 4") << "wiring"
                                   << "Picture4"
                                   << "wiring_page4";
}

void TestPagedWindows::descriptions() {
    QFETCH(QString, window);
    QFETCH(QString, holder);
    QFETCH(QString, key);

    std::unique_ptr<QWidget> w(factoryFor(window)());
    QWidget* picture = holder.isEmpty() ? w.get() : w->findChild<QWidget*>(holder);
    QVERIFY(picture);
    const QString description = picture->accessibleDescription();
    QVERIFY(!description.isEmpty());
    // The artist's text is embedded when the build found it.
    QFile source(QStringLiteral(KAVO_DESCRIPTIONS_DIR "/") + key + ".txt");
    if (source.open(QIODevice::ReadOnly))
        QCOMPARE(description, QString::fromUtf8(source.readAll()).trimmed());
}

void TestPagedWindows::centredEachTimeItOpens_data() {
    QTest::addColumn<QString>("window");
    QTest::newRow("og") << "og";
    QTest::newRow("wiring") << "wiring";
}

void TestPagedWindows::centredEachTimeItOpens() {
    QFETCH(QString, window);

    ui::SecondaryWindow secondary(factoryFor(window));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const auto centred = [&](QWidget* w) {
        const QRect frame = w->frameGeometry();
        return qAbs(frame.center().x() - screen.center().x()) <= 1 &&
               qAbs(frame.center().y() - screen.center().y()) <= 1;
    };

    QWidget* w = secondary.show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QVERIFY(centred(w));

    // Brought to the front again, it stays where the user put it.
    w->move(screen.topLeft() + QPoint(5, 7));
    QTRY_COMPARE(w->pos(), screen.topLeft() + QPoint(5, 7));
    QCOMPARE(secondary.show(), w);
    QCOMPARE(w->pos(), screen.topLeft() + QPoint(5, 7));

    // Opened again after closing, it is centred again.
    w->close();
    processDeferredDeletes();
    w = secondary.show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QVERIFY(centred(w));
}

void TestPagedWindows::singleInstanceAndFreshAfterClose_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("toPage2");
    QTest::addColumn<QString>("page2");
    QTest::addColumn<QStringList>("enabledOnPage2");
    QTest::addColumn<QStringList>("enabledAtStart");
    QTest::newRow("og") << "og" << QStringList{"Command2", "Command3"} << "Picture3"
                        << QStringList{"Command4"} << QStringList{"Command2"};
    QTest::newRow("wiring") << "wiring" << QStringList{"Command1", "Command2"} << "Picture2"
                            << QStringList{"Command3"} << QStringList{"Command1"};
}

void TestPagedWindows::singleInstanceAndFreshAfterClose() {
    QFETCH(QString, window);
    QFETCH(QStringList, toPage2);
    QFETCH(QString, page2);
    QFETCH(QStringList, enabledOnPage2);
    QFETCH(QStringList, enabledAtStart);

    ui::SecondaryWindow secondary(factoryFor(window));
    QPointer<QWidget> first = secondary.show();
    QVERIFY(QTest::qWaitForWindowExposed(first));
    for (const QString& button : toPage2)
        click(first, button);

    // Opening again while on page 2 brings the same window, still on page 2.
    QCOMPARE(secondary.show(), first.data());
    QCOMPARE(visiblePage(first, window), page2);
    QCOMPARE(enabledButtons(first, window), enabledOnPage2);

    // Closing discards it; the next opening builds it afresh on the cover.
    first->close();
    processDeferredDeletes();
    QVERIFY(first.isNull());
    QCOMPARE(secondary.window(), nullptr);
    QWidget* second = secondary.show();
    QVERIFY(QTest::qWaitForWindowExposed(second));
    QCOMPARE(visiblePage(second, window), QString("cover"));
    QCOMPARE(enabledButtons(second, window), enabledAtStart);
}

void TestPagedWindows::bothWindowsKeepTheirOwnPage() {
    ui::SecondaryWindow guide(&help::createOperationGuide);
    ui::SecondaryWindow wiring(&help::createWiringDiagram);
    QWidget* og = guide.show();
    QWidget* wd = wiring.show();
    QVERIFY(QTest::qWaitForWindowExposed(og));
    QVERIFY(QTest::qWaitForWindowExposed(wd));
    click(og, "Command2");
    click(wd, "Command1");
    click(wd, "Command2");
    click(wd, "Command3");
    QCOMPARE(guide.show(), og);
    QCOMPARE(visiblePage(og, "og"), QString("Picture2"));
    QCOMPARE(visiblePage(wd, "wiring"), QString("Picture3"));
}

QTEST_MAIN(TestPagedWindows)
#include "test_paged_windows.moc"
