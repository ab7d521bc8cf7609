// Starting the system-information tool for real: the file test, the start of
// the file itself with no shell in between, and the whole lookup on Linux.

#include "help/sys_info.h"
#include "platform/linux/registry_linux.h"
#include "platform/qt/qt_program_starter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {
// An executable script at `path` that creates `marker` when it runs.
void makeTool(const QString& path, const QString& marker) {
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\necho started > '" + marker.toLocal8Bit() + "'\n");
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}
} // namespace

class TestProgramStarter : public QObject {
    Q_OBJECT
  private slots:
    void startsOnlyExecutableFiles();
    void startsTheFileItself_data();
    void startsTheFileItself();
};

void TestProgramStarter::startsOnlyExecutableFiles() {
    QTemporaryDir dir;
    for (const char* name : {"/plain", "/.hidden"})
        QVERIFY(QFile(dir.path() + name).open(QIODevice::WriteOnly));
    QVERIFY(QDir().mkpath(dir.path() + "/folder"));
    // A plain file is a file but does not start; nothing else is one or starts.
    const std::pair<const char*, bool> cases[] = {
        {"/plain", true}, {"/.hidden", false}, {"/folder", false}, {"/missing", false}};
    platform::qt::QtProgramStarter starter;
    for (const auto& [name, isFile] : cases) {
        QCOMPARE(starter.isFile((dir.path() + name).toStdString()), isFile);
        QVERIFY(!starter.start((dir.path() + name).toStdString()));
    }
    QVERIFY(!starter.isFile(""));
    QVERIFY(!starter.start(""));
}

void TestProgramStarter::startsTheFileItself_data() {
    // A shell would split or run these names; the start must not.
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("viaLookup"); // found by the Linux registry and started by StartSysInfo
    QTest::addColumn<bool>("trailingNul");
    QTest::newRow("shell syntax, direct") << "sys info; touch $(echo x) &" << false << false;
    QTest::newRow("shell syntax, via the lookup") << "it's `x` & $HOME" << true << false;
    QTest::newRow("path read with its NUL") << "bin" << false << true;
}

void TestProgramStarter::startsTheFileItself() {
    QFETCH(QString, folder);
    QFETCH(bool, viaLookup);
    QFETCH(bool, trailingNul);
    QTemporaryDir dir;
    const QString marker = dir.path() + "/marker";
    makeTool(dir.path() + '/' + folder + "/gnome-system-monitor", marker);

    platform::qt::QtProgramStarter starter;
    if (viaLookup) {
        platform::LinuxRegistry registry(
            {(dir.path() + '/' + folder).toStdString(), platform::defaultSysInfoPrograms()});
        int messages = 0;
        help::StartSysInfo(registry, starter,
                           [&](const std::string&, const std::string&) { ++messages; });
        QCOMPARE(messages, 0);
    } else {
        std::string path = (dir.path() + '/' + folder + "/gnome-system-monitor").toStdString();
        QVERIFY(starter.start(trailingNul ? path + '\0' : path));
    }
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 20000);
}

QTEST_GUILESS_MAIN(TestProgramStarter)
#include "test_program_starter.moc"
