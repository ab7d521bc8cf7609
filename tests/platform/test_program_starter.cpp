// Starting the system-information tool for real: the file test, the start of
// the file itself with no shell in between, and the whole lookup (on Linux
// through the registry stand-in, on Windows from a registry value).

#include "help/sys_info.h"
#include "platform/qt/qt_program_starter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_WIN
#include "help/fakes.h"

#include <QCoreApplication>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include "platform/linux/registry_linux.h"
#endif

namespace {
#ifdef Q_OS_WIN
const QString ToolName = QStringLiteral("msinfo32.exe");
#else
const QString ToolName = QStringLiteral("gnome-system-monitor");
#endif

// A program at `path` that creates `marker` when it runs: a shell script, or
// on Windows a copy of the stand-in msinfo32.exe, which learns `marker` from
// the environment it inherits.
void makeTool(const QString& path, const QString& marker) {
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
#ifdef Q_OS_WIN
    QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/../windows/msinfo32.exe", path));
    qputenv("KAVO_MSINFO_LOG", QDir::toNativeSeparators(marker).toLocal8Bit());
#else
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\necho started > '" + marker.toLocal8Bit() + "'\n");
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
#endif
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
#ifdef Q_OS_WIN
    // There a hidden file is one marked so, whatever its name.
    QVERIFY(SetFileAttributesW(
        reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(dir.path() + "/.hidden").utf16()),
        FILE_ATTRIBUTE_HIDDEN));
#endif
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
    QTest::addColumn<bool>("viaLookup"); // found through the registry and started by StartSysInfo
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
    const QString tool = dir.path() + '/' + folder + '/' + ToolName;
    makeTool(tool, marker);

    platform::qt::QtProgramStarter starter;
    if (viaLookup) {
#ifdef Q_OS_WIN
        FakeRegistry registry;
        registry.set(platform::SysInfoKey, platform::SysInfoValue, platform::Registry::RegSz,
                     QDir::toNativeSeparators(tool).toStdString());
#else
        platform::LinuxRegistry registry(
            {(dir.path() + '/' + folder).toStdString(), platform::defaultSysInfoPrograms()});
#endif
        int messages = 0;
        help::StartSysInfo(registry, starter,
                           [&](const std::string&, const std::string&) { ++messages; });
        QCOMPARE(messages, 0);
    } else {
        std::string path = tool.toStdString();
        QVERIFY(starter.start(trailingNul ? path + '\0' : path));
    }
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 20000);
}

QTEST_GUILESS_MAIN(TestProgramStarter)
#include "test_program_starter.moc"
