// The system-information lookup: reading registry values as text, and the
// order of lookups that ends in a started tool or the one message.

#include "fakes.h"
#include "help/sys_info.h"

#include <QTest>

using platform::Registry;

namespace {
constexpr const char* kKey = "SOFTWARE\\Quorvale\\Test";
constexpr int kNoKey = -1, kNoValue = -2; // in place of a value type
constexpr std::uint32_t kBinary = 3;
const std::string kTool = "C:\\Tools\\msinfo32.exe";
const std::string kFolder = "C:\\Common\\MSInfo";
const std::string kFolderTool = "C:\\Common\\MSInfo\\MSINFO32.EXE";

std::string bytes(const QByteArray& a) {
    return {a.constData(), static_cast<std::size_t>(a.size())};
}
QByteArray dword(quint32 v) {
    return QByteArray(reinterpret_cast<const char*>(&v), 4); // little-endian, as stored
}

using Setup = void (*)(FakeRegistry&, FakeStarter&);
void pathValue(FakeRegistry& r, std::uint32_t type = Registry::RegSz,
               const std::string& data = kTool + '\0') {
    r.set(help::kSysInfoKey, help::kSysInfoValue, type, data);
}
void folderValue(FakeRegistry& r) {
    r.set(help::kSysInfoLocationKey, help::kSysInfoLocationValue, Registry::RegSz, kFolder + '\0');
}
} // namespace

Q_DECLARE_METATYPE(Setup)

class TestSysInfo : public QObject {
    Q_OBJECT
  private slots:
    void getKeyValue_data();
    void getKeyValue();
    void startSysInfo_data();
    void startSysInfo();
};

void TestSysInfo::getKeyValue_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("reportedSize"); // -1: the true size
    QTest::addColumn<QByteArray>("incoming");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QByteArray>("expected");

    const int sz = Registry::RegSz, dw = Registry::RegDword;
    const QByteArray full(1024, 'a');
    const QByteArray old = "old";
    // clang-format off
    QTest::newRow("sz: its NUL cut, caller's text replaced") << sz << QByteArray("C:\\x.exe\0", 9) << -1 << old << true << QByteArray("C:\\x.exe");
    QTest::newRow("sz: without NUL kept to its size") << sz << QByteArray("C:\\x.exe") << -1 << old << true << QByteArray("C:\\x.exe");
    QTest::newRow("sz: only the last NUL cut") << sz << QByteArray("abc\0\0", 5) << -1 << old << true << QByteArray("abc\0", 4);
    QTest::newRow("sz: zero-length is empty text") << sz << QByteArray() << -1 << old << true << QByteArray();
    QTest::newRow("sz: 1024 bytes fit") << sz << full << -1 << old << true << full;
    QTest::newRow("sz: 1025 bytes count as missing") << sz << full + '\0' << -1 << old << false << QByteArray();
    QTest::newRow("sz: size beyond the buffer counts as missing") << sz << QByteArray("abc\0", 4) << 4096 << old << false << QByteArray();
    QTest::newRow("dword: every byte in use") << dw << dword(0x12345678) << -1 << QByteArray() << true << QByteArray("305419896");
    QTest::newRow("dword: a zero top byte is cut as a NUL") << dw << dword(0x00000102) << -1 << QByteArray() << true << QByteArray("18");
    QTest::newRow("dword: bytes above 0x7F") << dw << dword(0xFF000000) << -1 << QByteArray() << true << QByteArray("1044480");
    QTest::newRow("dword: digits appended to the caller's text") << dw << dword(0x12345678) << -1 << QByteArray("1") << true << QByteArray("4600387192");
    QTest::newRow("dword: non-hex caller's text stays text") << dw << dword(0x12345678) << -1 << QByteArray("xy") << true << QByteArray("&hxy12345678");
    QTest::newRow("dword: beyond 64 bits stays text") << dw << QByteArray(9, '\x11') << -1 << QByteArray() << true << QByteArray("&h" + QByteArray(18, '1'));
    QTest::newRow("dword: zero-length") << dw << QByteArray() << -1 << QByteArray() << true << QByteArray("&h");
    QTest::newRow("unknown type: caller's text unchanged") << int(kBinary) << QByteArray("\1\2") << -1 << old << true << old;
    QTest::newRow("missing value") << kNoValue << QByteArray() << -1 << old << false << QByteArray();
    QTest::newRow("failed open") << kNoKey << QByteArray() << -1 << old << false << QByteArray();
    // clang-format on
}

void TestSysInfo::getKeyValue() {
    QFETCH(int, type);
    QFETCH(QByteArray, data);
    QFETCH(int, reportedSize);
    QFETCH(QByteArray, incoming);
    QFETCH(bool, read);
    QFETCH(QByteArray, expected);

    FakeRegistry registry;
    if (type != kNoKey)
        registry.keys[kKey];
    if (type >= 0)
        registry.set(kKey, "Value", static_cast<std::uint32_t>(type), bytes(data));
    if (reportedSize >= 0)
        registry.reportedSize = static_cast<std::uint32_t>(reportedSize);

    std::string result = bytes(incoming);
    QCOMPARE(help::GetKeyValue(registry, Registry::HkeyLocalMachine, kKey, "Value", result), read);
    QCOMPARE(QByteArray::fromStdString(result), expected);
    // One open with read rights alone (KEY_READ) and one close, whatever happened.
    QCOMPARE(registry.accessMasks, std::set<std::uint32_t>{0x20019});
    QCOMPARE(registry.opens, 1);
    QCOMPARE(registry.closes, 1);
    QVERIFY(registry.openKeys.empty());
}

void TestSysInfo::startSysInfo_data() {
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QStringList>("calls"); // to the starter, in order
    QTest::addColumn<bool>("message");

    const QString startTool = QString::fromStdString("start " + kTool);
    const QString testFolderTool = QString::fromStdString("isFile " + kFolderTool);
    const QString startFolderTool = QString::fromStdString("start " + kFolderTool);
    using R = FakeRegistry&;
    using S = FakeStarter&;
    // clang-format off
    QTest::newRow("PATH names the tool") << Setup([](R r, S s) { pathValue(r); s.startable = {kTool}; })
        << QStringList{startTool} << false;
    QTest::newRow("PATH's start fails: no second lookup") << Setup([](R r, S s) { pathValue(r); folderValue(r); s.files = s.startable = {kFolderTool}; })
        << QStringList{startTool} << true;
    QTest::newRow("MSINFO key without PATH: folder used") << Setup([](R r, S s) { r.keys[help::kSysInfoKey]; folderValue(r); s.files = s.startable = {kFolderTool}; })
        << QStringList{testFolderTool, startFolderTool} << false;
    QTest::newRow("folder lacks MSINFO32.EXE") << Setup([](R r, S s) { folderValue(r); s.startable = {kFolderTool}; })
        << QStringList{testFolderTool} << true;
    QTest::newRow("no key at all") << Setup([](R, S) {}) << QStringList{} << true;
    QTest::newRow("PATH of another type: empty path tried") << Setup([](R r, S) { pathValue(r, kBinary, "\1\2"); })
        << QStringList{"start "} << true;
    QTest::newRow("zero-length PATH: empty path tried") << Setup([](R r, S) { pathValue(r, Registry::RegSz, ""); })
        << QStringList{"start "} << true;
    QTest::newRow("registry throws") << Setup([](R r, S s) { pathValue(r); r.throwOnQuery = true; s.startable = {kTool}; })
        << QStringList{} << true;
    QTest::newRow("start throws") << Setup([](R r, S s) { pathValue(r); s.throwIn = "start"; })
        << QStringList{startTool} << true;
    QTest::newRow("file test throws") << Setup([](R r, S s) { folderValue(r); s.throwIn = "isFile"; })
        << QStringList{testFolderTool} << true;
    // clang-format on
}

void TestSysInfo::startSysInfo() {
    QFETCH(Setup, setup);
    QFETCH(QStringList, calls);
    QFETCH(bool, message);

    FakeRegistry registry;
    FakeStarter starter;
    setup(registry, starter);
    QStringList messages;
    help::StartSysInfo(registry, starter, [&](const std::string& text, const std::string& title) {
        messages << QString::fromStdString(title + ": " + text);
    });

    QCOMPARE(starter.calls, calls);
    QCOMPARE(messages, message ? QStringList{"Quorvale Rivavavo Control System KAVO x: "
                                             "System Information Is Unavailable At This Time"}
                               : QStringList{});
    QCOMPARE(registry.closes, registry.opens); // also when the registry throws
    QVERIFY(registry.openKeys.empty());
}

QTEST_APPLESS_MAIN(TestSysInfo)
#include "test_sys_info.moc"
