// The Linux stand-in for the registry: which system-information program it
// names, and that it names it only under the first lookup's key.

#include "help/sys_info.h"
#include "platform/default_registry.h"
#include "platform/linux/registry_linux.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using platform::Registry;

namespace {
// Creates `relative` under `root`: "d" makes a folder, "x" an executable
// file, "r" a plain file.
void make(const QString& root, const QString& relative, char kind) {
    const QString path = root + '/' + relative;
    QVERIFY(QDir().mkpath(kind == 'd' ? path : QFileInfo(path).absolutePath()));
    if (kind == 'd')
        return;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(
        file.setPermissions(kind == 'x' ? QFile::ReadOwner | QFile::ExeOwner : QFile::ReadOwner));
}

QString lookup(Registry& registry) {
    std::string result;
    if (!help::GetKeyValue(registry, Registry::HkeyLocalMachine, help::kSysInfoKey,
                           help::kSysInfoValue, result))
        return "<missing>";
    return QString::fromStdString(result);
}
} // namespace

class TestRegistryLinux : public QObject {
    Q_OBJECT
  private slots:
    void findsTheTool_data();
    void findsTheTool();
    void followsPathAtEachOpen();
};

void TestRegistryLinux::findsTheTool_data() {
    QTest::addColumn<QStringList>("files"); // "kind:relative path"
    QTest::addColumn<QStringList>("path");  // entries; "@" stands for the temporary folder
    QTest::addColumn<QString>("expected");  // relative to it

    // clang-format off
    QTest::newRow("list order beats PATH order") << QStringList{"x:a/lxtask", "x:b/hardinfo"} << QStringList{"@/a", "@/b"} << "@/b/hardinfo";
    QTest::newRow("PATH order for one program") << QStringList{"x:a/kinfocenter", "x:b/kinfocenter"} << QStringList{"@/a", "@/b"} << "@/a/kinfocenter";
    QTest::newRow("plain files, folders, empty and relative entries skipped") << QStringList{"r:a/hardinfo", "d:b/hardinfo", "x:hardinfo", "x:rel/hardinfo", "x:c/lxtask"} << QStringList{"", "rel", "@/a", "@/b", "@/c/"} << "@/c/lxtask";
    QTest::newRow("none found: no key") << QStringList{"x:a/htop"} << QStringList{"@/a"} << "<missing>";
    // clang-format on
}

void TestRegistryLinux::findsTheTool() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, path);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    for (const QString& f : files)
        make(dir.path(), f.mid(2), f.at(0).toLatin1());
    // Relative entries would resolve against the temporary folder.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    platform::LinuxRegistry registry({path.join(':').replace('@', dir.path()).toStdString(),
                                      platform::defaultSysInfoPrograms()});
    const QString found = lookup(registry);
    QDir::setCurrent(previous);

    QCOMPARE(found, expected.replace('@', dir.path()));
    Registry::Handle key = 0; // the second lookup's key is never there
    QCOMPARE(registry.RegOpenKeyExA(Registry::HkeyLocalMachine, help::kSysInfoLocationKey, 0,
                                    help::kSysInfoKeyAccess, key),
             platform::LinuxRegistry::ErrorFileNotFound);
    // As Windows answers a standard user: write rights are refused.
    QCOMPARE(
        registry.RegOpenKeyExA(Registry::HkeyLocalMachine, platform::SysInfoKey, 0, 0x2003F, key),
        platform::LinuxRegistry::ErrorAccessDenied);
}

void TestRegistryLinux::followsPathAtEachOpen() {
    QTemporaryDir dir;
    make(dir.path(), "bin/kinfocenter", 'x');
    const QByteArray saved = qgetenv("PATH");
    const auto registry = platform::makeSystemRegistry();
    qputenv("PATH", (dir.path() + "/none").toLocal8Bit());
    const QString before = lookup(*registry);
    qputenv("PATH", (dir.path() + "/none:" + dir.path() + "/bin").toLocal8Bit());
    const QString after = lookup(*registry);
    qputenv("PATH", saved);
    QCOMPARE(before, QString("<missing>"));
    QCOMPARE(after, dir.path() + "/bin/kinfocenter");
}

QTEST_APPLESS_MAIN(TestRegistryLinux)
#include "test_registry_linux.moc"
