// The operation guide and wiring diagram windows: their frame, the stepping
// through the pages, and their life as single instances.

#include "help/help_windows.h"
#include "ui/secondary_window.h"
#include "window_rig.h"

#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace {
template <typename T> QList<T*> controls(QWidget* w) {
    return w->findChildren<T*>(QString(), Qt::FindDirectChildrenOnly);
}

// "<shown page holders, or cover> <enabled buttons' captions>".
QString state(QWidget* w) {
    QStringList pages, enabled;
    for (QLabel* page : controls<QLabel>(w)) {
        if (page->isVisibleTo(w))
            pages << page->objectName();
    }
    for (QPushButton* button : controls<QPushButton>(w)) {
        if (button->isEnabled())
            enabled << button->text();
    }
    return (pages.isEmpty() ? "cover" : pages.join('+')) + ' ' + enabled.join('+');
}

void click(QWidget* w, const QString& caption) {
    for (QPushButton* button : controls<QPushButton>(w)) {
        if (button->text() == caption)
            return QTest::mouseClick(button, Qt::LeftButton);
    }
    QFAIL(qPrintable("no button " + caption));
}

bool centred(QWidget* w) {
    const QPoint offset = w->frameGeometry().center() - w->screen()->geometry().center();
    return qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1;
}
} // namespace

class TestPagedWindows : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { rig::quietRaise(); }
    void frameAndStepping_data();
    void frameAndStepping();
    void singleInstanceCentredAndFreshAfterClose();
};

void TestPagedWindows::frameAndStepping_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("clientSize");
    // Each step: the button clicked ("-": none), then the state after it.
    // Disabled buttons do nothing; "&Repete" goes back to the cover.
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("og") << "og"
                        << "Instalation & Operartion Guide.." << QSize(727, 696)
                        << QStringList{"- cover &1",          "&2 cover &1",
                                       "&Repete cover &1",    "&1 Picture2 &2",
                                       "&3 Picture2 &2",      "&2 Picture3 &3",
                                       "&3 Picture4 &Repete", "&1 Picture4 &Repete",
                                       "&Repete cover &1",    "&1 Picture2 &2"};
    QTest::newRow("wiring") << "wiring"
                            << "Quorvale Automation- Wiring Diagram for KAVOxp H1.10"
                            << QSize(710, 695)
                            << QStringList{
                                   "- cover &1",       "&2 cover &1",         "&Repete cover &1",
                                   "&1 Picture1 &2",   "&4 Picture1 &2",      "&2 Picture2 &3",
                                   "&3 Picture3 &4",   "&4 Picture4 &Repete", "&1 Picture4 &Repete",
                                   "&Repete cover &1", "&1 Picture1 &2"};
}

void TestPagedWindows::frameAndStepping() {
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(QSize, clientSize);
    QFETCH(QStringList, steps);

    std::unique_ptr<QWidget> w(window == "og" ? help::createOperationGuide()
                                              : help::createWiringDiagram());
    QCOMPARE(w->windowTitle(), caption);
    QCOMPARE(w->minimumSize(), clientSize);
    QCOMPARE(w->maximumSize(), clientSize);
    // The program's icon, as on the main window.
    QCOMPARE(w->windowIcon().pixmap(32).toImage(), QIcon(":/main/icon").pixmap(32).toImage());
    // Every picture is there and described; each of the artist's texts for
    // this window describes one of its pictures.
    QStringList descriptions{w->accessibleDescription()};
    for (QLabel* page : controls<QLabel>(w.get()))
        descriptions << page->accessibleDescription();
    QVERIFY(!descriptions.contains(QString()));
    const QDir texts(KAVO_DESCRIPTIONS_DIR);
    for (const QString& name : texts.entryList({window + "_*.txt"})) {
        QFile file(texts.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(descriptions.contains(QString::fromUtf8(file.readAll()).trimmed()),
                 qPrintable(name));
    }

    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    for (const QString& step : steps) {
        const QString button = step.section(' ', 0, 0);
        if (button != "-")
            click(w.get(), button);
        QCOMPARE(state(w.get()), step.section(' ', 1));
        // The page on view has its picture; the others keep none in memory.
        for (QLabel* page : controls<QLabel>(w.get()))
            QCOMPARE(page->pixmap().isNull(), !page->isVisibleTo(w.get()));
    }
}

void TestPagedWindows::singleInstanceCentredAndFreshAfterClose() {
    ui::SecondaryWindow guide(&help::createOperationGuide), wiring(&help::createWiringDiagram);
    QWidget* og = guide.show();
    QWidget* wd = wiring.show();
    QVERIFY(QTest::qWaitForWindowExposed(og));
    QVERIFY(QTest::qWaitForWindowExposed(wd));
    QVERIFY(centred(og));
    QVERIFY(centred(wd));
    click(og, "&1");
    for (const char* button : {"&1", "&2", "&3"})
        click(wd, button);
    const QPoint moved = og->screen()->geometry().topLeft() + QPoint(5, 7);
    og->move(moved);
    QTRY_COMPARE(og->pos(), moved);

    // Opening again brings the same window where it was, each on its own page.
    QCOMPARE(guide.show(), og);
    QCOMPARE(wiring.show(), wd);
    QCOMPARE(og->pos(), moved);
    QCOMPARE(state(og), QString("Picture2 &2"));
    QCOMPARE(state(wd), QString("Picture3 &4"));
    // Minimised, it has no taskbar button to come back from: opening it
    // again brings it back.
    og->showMinimized();
    QTRY_VERIFY(og->isMinimized());
    QCOMPARE(guide.show(), og);
    QVERIFY(!og->isMinimized());
    QCOMPARE(state(og), QString("Picture2 &2"));

    // Closing discards it; the next opening builds it afresh, centred, on the cover.
    QPointer<QWidget> closed = og;
    rig::close(og);
    QVERIFY(closed.isNull());
    QCOMPARE(guide.window(), nullptr);
    og = guide.show();
    QVERIFY(QTest::qWaitForWindowExposed(og));
    QVERIFY(centred(og));
    QCOMPARE(state(og), QString("cover &1"));
    QCOMPARE(state(wd), QString("Picture3 &4"));
}

QTEST_MAIN(TestPagedWindows)
#include "test_paged_windows.moc"
