// The Linux stand-in for the registry: which system-information program it
// names, and how it answers the three registry calls.

#include "help/sys_info.h"
#include "platform/linux/registry_linux.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using platform::LinuxRegistry;
using platform::Registry;

namespace {
constexpr const char* kKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

// Creates `relative` under `root`: "d" makes a folder, "x" an executable
// file, "r" a plain file.
void make(const QString& root, const QString& relative, char kind) {
    const QString path = root + '/' + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (kind == 'd') {
        QDir().mkpath(path);
        return;
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\nexit 0\n");
    file.close();
    QFile::Permissions perms = QFile::ReadOwner | QFile::WriteOwner;
    if (kind == 'x')
        perms |= QFile::ExeOwner;
    QVERIFY(file.setPermissions(perms));
}

std::string queryPath(Registry& registry, Registry::Handle key, long& status) {
    char buffer[1024] = {};
    std::uint32_t type = 0;
    std::uint32_t size = sizeof buffer;
    status = registry.RegQueryValueExA(key, "PATH", type, buffer, size);
    if (status != Registry::Success)
        return {};
    if (type != Registry::REG_SZ || size == 0 || buffer[size - 1] != '\0')
        return "<malformed>";
    return std::string(buffer, size - 1);
}
} // namespace

class TestRegistryLinux : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void findsTheTool_data();
    void findsTheTool();
    void keyAnswers();
    void otherKeysDoNotExist_data();
    void otherKeysDoNotExist();
    void smallBufferAndHandles();
    void followsPathAtEachOpen();

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString root_;
};

void TestRegistryLinux::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    root_ = dir_->path();
}

void TestRegistryLinux::findsTheTool_data() {
    QTest::addColumn<QStringList>("files"); // "kind:relative path"
    QTest::addColumn<QStringList>("path");  // entries; "@" stands for the temporary folder
    QTest::addColumn<QString>("expected");  // relative to it, empty: no key

    // clang-format off
    QTest::newRow("preference order beats PATH order") << QStringList{"x:a/lxtask", "x:b/hardinfo"} << QStringList{"@/a", "@/b"} << "b/hardinfo";
    QTest::newRow("PATH order for one program") << QStringList{"x:a/kinfocenter", "x:b/kinfocenter"} << QStringList{"@/a", "@/b"} << "a/kinfocenter";
    QTest::newRow("each listed program") << QStringList{"x:a/mate-system-monitor"} << QStringList{"@/a"} << "a/mate-system-monitor";
    QTest::newRow("last listed program") << QStringList{"x:a/lxtask"} << QStringList{"@/a"} << "a/lxtask";
    QTest::newRow("not executable is skipped") << QStringList{"r:a/hardinfo", "x:a/gnome-system-monitor"} << QStringList{"@/a"} << "a/gnome-system-monitor";
    QTest::newRow("folder is skipped") << QStringList{"d:a/hardinfo", "x:b/hardinfo"} << QStringList{"@/a", "@/b"} << "b/hardinfo";
    QTest::newRow("trailing slash") << QStringList{"x:a/xfce4-taskmanager"} << QStringList{"@/a/"} << "a/xfce4-taskmanager";
    QTest::newRow("empty and relative entries skipped") << QStringList{"x:hardinfo", "x:rel/hardinfo", "x:b/lxtask"} << QStringList{"", "rel", "@/b", ""} << "b/lxtask";
    QTest::newRow("unknown programs ignored") << QStringList{"x:a/htop", "x:a/top"} << QStringList{"@/a"} << "";
    QTest::newRow("empty PATH") << QStringList{"x:a/hardinfo"} << QStringList{} << "";
    // clang-format on
}

void TestRegistryLinux::findsTheTool() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, path);
    QFETCH(QString, expected);

    for (const QString& f : files)
        make(root_, f.mid(2), f.at(0).toLatin1());
    // Relative entries would resolve against the temporary folder.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(root_);
    QStringList entries;
    for (const QString& p : path)
        entries << QString(p).replace('@', root_);

    LinuxRegistry registry({entries.join(':').toStdString(), platform::defaultSysInfoPrograms()});
    std::string value = "old";
    const bool read =
        help::GetKeyValue(registry, Registry::HKEY_LOCAL_MACHINE, kKey, "PATH", value);
    QDir::setCurrent(previous);

    QCOMPARE(read, !expected.isEmpty());
    QCOMPARE(QString::fromStdString(value),
             expected.isEmpty() ? QString() : root_ + '/' + expected);
}

void TestRegistryLinux::keyAnswers() {
    make(root_, "bin/hardinfo", 'x');
    LinuxRegistry registry({(root_ + "/bin").toStdString(), {"hardinfo"}});
    const std::string tool = (root_ + "/bin/hardinfo").toStdString();

    // The access mask of the lookup is accepted: nothing can be written anyway.
    Registry::Handle key = 0;
    QCOMPARE(registry.RegOpenKeyExA(Registry::HKEY_LOCAL_MACHINE, kKey, 0, 0x2003F, key),
             Registry::Success);
    long status = -1;
    QCOMPARE(queryPath(registry, key, status), tool);
    QCOMPARE(status, Registry::Success);
    QCOMPARE(registry.RegCloseKey(key), Registry::Success);

    // Names compare without regard to case, as on Windows.
    QCOMPARE(registry.RegOpenKeyExA(Registry::HKEY_LOCAL_MACHINE,
                                    "software\\microsoft\\SHARED TOOLS\\msinfo", 0, 0x20019, key),
             Registry::Success);
    char buffer[1024] = {};
    std::uint32_t type = 0;
    std::uint32_t size = sizeof buffer;
    QCOMPARE(registry.RegQueryValueExA(key, "path", type, buffer, size), Registry::Success);
    QCOMPARE(size, static_cast<std::uint32_t>(tool.size() + 1));
    size = sizeof buffer;
    QCOMPARE(registry.RegQueryValueExA(key, "MSINFO", type, buffer, size),
             LinuxRegistry::ErrorFileNotFound);
    QCOMPARE(registry.RegCloseKey(key), Registry::Success);
}

void TestRegistryLinux::otherKeysDoNotExist_data() {
    QTest::addColumn<quint64>("root");
    QTest::addColumn<QString>("key");
    QTest::newRow("second lookup key")
        << quint64(Registry::HKEY_LOCAL_MACHINE) << "SOFTWARE\\Microsoft\\Shared Tools Location";
    QTest::newRow("parent key") << quint64(Registry::HKEY_LOCAL_MACHINE)
                                << "SOFTWARE\\Microsoft\\Shared Tools";
    QTest::newRow("longer path") << quint64(Registry::HKEY_LOCAL_MACHINE)
                                 << "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO\\More";
    QTest::newRow("current user") << quint64(0x80000001u) << kKey;
}

void TestRegistryLinux::otherKeysDoNotExist() {
    QFETCH(quint64, root);
    QFETCH(QString, key);

    make(root_, "bin/hardinfo", 'x');
    LinuxRegistry registry({(root_ + "/bin").toStdString(), {"hardinfo"}});
    Registry::Handle handle = 0;
    QCOMPARE(registry.RegOpenKeyExA(static_cast<Registry::Handle>(root), key.toStdString(), 0,
                                    0x2003F, handle),
             LinuxRegistry::ErrorFileNotFound);
    QCOMPARE(handle, Registry::Handle{0});
}

void TestRegistryLinux::smallBufferAndHandles() {
    make(root_, "bin/hardinfo", 'x');
    LinuxRegistry registry({(root_ + "/bin").toStdString(), {"hardinfo"}});
    const std::uint32_t needed = static_cast<std::uint32_t>((root_ + "/bin/hardinfo").size() + 1);

    Registry::Handle key = 0;
    QCOMPARE(registry.RegOpenKeyExA(Registry::HKEY_LOCAL_MACHINE, kKey, 0, 0x2003F, key),
             Registry::Success);
    // Too small a buffer: nothing written past it, the size needed reported.
    char buffer[8] = {};
    std::uint32_t type = 0;
    std::uint32_t size = 4;
    QCOMPARE(registry.RegQueryValueExA(key, "PATH", type, buffer, size),
             LinuxRegistry::ErrorMoreData);
    QCOMPARE(size, needed);
    QCOMPARE(QByteArray(buffer, sizeof buffer), QByteArray(sizeof buffer, '\0'));
    // No buffer at all: only the size.
    size = 0;
    QCOMPARE(registry.RegQueryValueExA(key, "PATH", type, nullptr, size), Registry::Success);
    QCOMPARE(size, needed);

    // Closed keys are gone.
    QCOMPARE(registry.RegCloseKey(key), Registry::Success);
    QCOMPARE(registry.RegCloseKey(key), LinuxRegistry::ErrorInvalidHandle);
    size = sizeof buffer;
    QCOMPARE(registry.RegQueryValueExA(key, "PATH", type, buffer, size),
             LinuxRegistry::ErrorInvalidHandle);
    QCOMPARE(registry.RegCloseKey(0), LinuxRegistry::ErrorInvalidHandle);
}

void TestRegistryLinux::followsPathAtEachOpen() {
    const QByteArray saved = qgetenv("PATH");
    make(root_, "bin/kinfocenter", 'x');
    auto registry = platform::makeSystemRegistry();
    std::string value;

    qputenv("PATH", (root_ + "/none").toLocal8Bit());
    QVERIFY(!help::GetKeyValue(*registry, Registry::HKEY_LOCAL_MACHINE, kKey, "PATH", value));

    qputenv("PATH", (root_ + "/none:" + root_ + "/bin").toLocal8Bit());
    const bool read =
        help::GetKeyValue(*registry, Registry::HKEY_LOCAL_MACHINE, kKey, "PATH", value);
    qputenv("PATH", saved);
    QVERIFY(read);
    QCOMPARE(QString::fromStdString(value), root_ + "/bin/kinfocenter");
}

QTEST_APPLESS_MAIN(TestRegistryLinux)
#include "test_registry_linux.moc"
