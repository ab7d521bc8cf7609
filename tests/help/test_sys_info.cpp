// The system-information lookup: reading registry values as text, and the
// order of lookups that ends in a started tool or the one message.

#include "fakes.h"
#include "help/program_identity.h"
#include "help/sys_info.h"

#include <QTest>

using platform::Registry;

namespace {
constexpr const char* kKey = "SOFTWARE\\Quorvale\\Test";
constexpr const char* kValue = "Value";
constexpr const char* kToolPath = "C:\\Program Files\\Tools\\msinfo32.exe";
constexpr const char* kFolder = "C:\\Program Files\\Common Files\\MSInfo";
constexpr const char* kFolderTool = "C:\\Program Files\\Common Files\\MSInfo\\MSINFO32.EXE";
constexpr std::uint32_t kBinary = 3;
constexpr std::uint32_t kExpandSz = 2;

std::string bytes(const QByteArray& a) {
    return {a.constData(), static_cast<std::size_t>(a.size())};
}
QByteArray withNul(QByteArray text) {
    return text.append('\0');
}
QByteArray dword(quint32 v) {
    QByteArray a;
    for (int i = 0; i < 4; ++i)
        a.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    return a;
}
std::string sz(const std::string& text) {
    return text + '\0';
}

using Setup = void (*)(FakeRegistry&, FakeStarter&);

void msinfoPath(FakeRegistry& r, std::uint32_t type, const std::string& data) {
    r.setValue(help::kSysInfoKey, help::kSysInfoValue, type, data);
}
void location(FakeRegistry& r, const std::string& data) {
    r.setValue(help::kSysInfoLocationKey, help::kSysInfoLocationValue, Registry::REG_SZ, data);
}
} // namespace

Q_DECLARE_METATYPE(Setup)

class TestSysInfo : public QObject {
    Q_OBJECT
  private slots:
    void getKeyValue_data();
    void getKeyValue();
    void getKeyValueClosesTheKeyWhenTheQueryThrows();
    void startSysInfo_data();
    void startSysInfo();
};

void TestSysInfo::getKeyValue_data() {
    QTest::addColumn<bool>("keyExists");
    QTest::addColumn<bool>("valueExists");
    QTest::addColumn<bool>("readOnlyUser");
    QTest::addColumn<uint>("type");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("reportedSize"); // -1: the true size
    QTest::addColumn<QByteArray>("incoming");
    QTest::addColumn<bool>("expectedRead");
    QTest::addColumn<QByteArray>("expected");

    const uint sz = Registry::REG_SZ;
    const uint dw = Registry::REG_DWORD;
    const QByteArray full(1023, 'a');

    // clang-format off
    QTest::newRow("sz: text and its NUL") << true << true << false << sz << withNul("C:\\msinfo32.exe") << -1 << QByteArray() << true << QByteArray("C:\\msinfo32.exe");
    QTest::newRow("sz: without NUL kept to its size") << true << true << false << sz << QByteArray("C:\\msinfo32.exe") << -1 << QByteArray() << true << QByteArray("C:\\msinfo32.exe");
    QTest::newRow("sz: replaces the caller's text") << true << true << false << sz << withNul("new") << -1 << QByteArray("old") << true << QByteArray("new");
    QTest::newRow("sz: zero-length is empty text") << true << true << false << sz << QByteArray() << -1 << QByteArray("old") << true << QByteArray();
    QTest::newRow("sz: only the last NUL is cut") << true << true << false << sz << QByteArray("abc\0\0", 5) << -1 << QByteArray() << true << QByteArray("abc\0", 4);
    QTest::newRow("sz: 1024 bytes with NUL") << true << true << false << sz << withNul(full) << -1 << QByteArray() << true << full;
    QTest::newRow("sz: 1024 bytes without NUL") << true << true << false << sz << full + 'b' << -1 << QByteArray() << true << full + 'b';
    QTest::newRow("sz: 1025 bytes count as missing") << true << true << false << sz << withNul(full + 'b') << -1 << QByteArray("old") << false << QByteArray();
    QTest::newRow("sz: size beyond the buffer counts as missing") << true << true << false << sz << withNul("abc") << 4096 << QByteArray("old") << false << QByteArray();
    QTest::newRow("dword: every byte in use") << true << true << false << dw << dword(0x12345678) << -1 << QByteArray() << true << QByteArray("305419896");
    QTest::newRow("dword: a zero top byte is cut as a NUL") << true << true << false << dw << dword(0x00000102) << -1 << QByteArray() << true << QByteArray("18");
    QTest::newRow("dword: bytes above 0x7F") << true << true << false << dw << dword(0xFF000000) << -1 << QByteArray() << true << QByteArray("1044480");
    QTest::newRow("dword: digits appended to the caller's text") << true << true << false << dw << dword(0x12345678) << -1 << QByteArray("1") << true << QByteArray("4600387192");
    QTest::newRow("dword: non-hex caller's text stays text") << true << true << false << dw << dword(0x12345678) << -1 << QByteArray("xy") << true << QByteArray("&hxy12345678");
    QTest::newRow("dword: beyond 64 bits stays text") << true << true << false << dw << QByteArray(9, '\x11') << -1 << QByteArray() << true << QByteArray("&h" + QByteArray(18, '1'));
    QTest::newRow("dword: zero-length") << true << true << false << dw << QByteArray() << -1 << QByteArray() << true << QByteArray("&h");
    QTest::newRow("binary: caller's text unchanged") << true << true << false << uint(kBinary) << QByteArray("\x01\x02", 2) << -1 << QByteArray("keep") << true << QByteArray("keep");
    QTest::newRow("expand_sz: caller's text unchanged") << true << true << false << uint(kExpandSz) << withNul("%windir%") << -1 << QByteArray("keep") << true << QByteArray("keep");
    QTest::newRow("missing value") << true << false << false << sz << QByteArray() << -1 << QByteArray("old") << false << QByteArray();
    QTest::newRow("missing key") << false << false << false << sz << QByteArray() << -1 << QByteArray("old") << false << QByteArray();
    QTest::newRow("user without write rights") << true << true << true << sz << withNul("x") << -1 << QByteArray("old") << false << QByteArray();
    // clang-format on
}

void TestSysInfo::getKeyValue() {
    QFETCH(bool, keyExists);
    QFETCH(bool, valueExists);
    QFETCH(bool, readOnlyUser);
    QFETCH(uint, type);
    QFETCH(QByteArray, data);
    QFETCH(int, reportedSize);
    QFETCH(QByteArray, incoming);
    QFETCH(bool, expectedRead);
    QFETCH(QByteArray, expected);

    FakeRegistry registry;
    if (keyExists)
        registry.keys[kKey];
    if (valueExists)
        registry.setValue(kKey, kValue, type, bytes(data));
    registry.readOnlyUser = readOnlyUser;
    if (reportedSize >= 0)
        registry.reportedSize = static_cast<std::uint32_t>(reportedSize);

    std::string result = bytes(incoming);
    const bool read =
        help::GetKeyValue(registry, Registry::HKEY_LOCAL_MACHINE, kKey, kValue, result);

    QCOMPARE(read, expectedRead);
    QCOMPARE(QByteArray(result.data(), static_cast<qsizetype>(result.size())), expected);
    // One open, one close, whatever happened; nothing left open.
    QCOMPARE(registry.openCalls, 1);
    QCOMPARE(registry.closeCalls, 1);
    QVERIFY(registry.openKeys.empty());
    QCOMPARE(registry.accessMasks, std::vector<std::uint32_t>{0x2003F});
    for (std::uint32_t size : registry.sizesOnEntry)
        QCOMPARE(size, 1024u);
    QVERIFY(registry.buffersWereClear);
}

void TestSysInfo::getKeyValueClosesTheKeyWhenTheQueryThrows() {
    FakeRegistry registry;
    registry.setValue(kKey, kValue, Registry::REG_SZ, sz("x"));
    registry.throwOnQuery = true;
    std::string result;
    QVERIFY_THROWS_EXCEPTION(
        std::runtime_error,
        help::GetKeyValue(registry, Registry::HKEY_LOCAL_MACHINE, kKey, kValue, result));
    QCOMPARE(registry.closeCalls, registry.openCalls);
    QVERIFY(registry.openKeys.empty());
}

void TestSysInfo::startSysInfo_data() {
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QStringList>("expectedFileTests");
    QTest::addColumn<QStringList>("expectedStarts");
    QTest::addColumn<bool>("expectedMessage");

    const QString tool = kToolPath;
    const QString folderTool = kFolderTool;

    QTest::newRow("PATH names the tool") << Setup([](FakeRegistry& r, FakeStarter& s) {
        msinfoPath(r, Registry::REG_SZ, sz(kToolPath));
        s.startable = {kToolPath};
    }) << QStringList{} << QStringList{tool}
                                         << false;
    QTest::newRow("PATH's start fails: no second lookup")
        << Setup([](FakeRegistry& r, FakeStarter& s) {
               msinfoPath(r, Registry::REG_SZ, sz(kToolPath));
               location(r, sz(kFolder));
               s.files = {kFolderTool};
               s.startable = {kFolderTool};
           })
        << QStringList{} << QStringList{tool} << true;
    QTest::newRow("folder holds MSINFO32.EXE") << Setup([](FakeRegistry& r, FakeStarter& s) {
        location(r, sz(kFolder));
        s.files = {kFolderTool};
        s.startable = {kFolderTool};
    }) << QStringList{folderTool} << QStringList{folderTool}
                                               << false;
    QTest::newRow("MSINFO key without PATH: folder used")
        << Setup([](FakeRegistry& r, FakeStarter& s) {
               r.keys[help::kSysInfoKey];
               location(r, sz(kFolder));
               s.files = {kFolderTool};
               s.startable = {kFolderTool};
           })
        << QStringList{folderTool} << QStringList{folderTool} << false;
    QTest::newRow("folder lacks MSINFO32.EXE")
        << Setup([](FakeRegistry& r, FakeStarter&) { location(r, sz(kFolder)); })
        << QStringList{folderTool} << QStringList{} << true;
    QTest::newRow("no key at all")
        << Setup([](FakeRegistry&, FakeStarter&) {}) << QStringList{} << QStringList{} << true;
    QTest::newRow("user without write rights") << Setup([](FakeRegistry& r, FakeStarter& s) {
        msinfoPath(r, Registry::REG_SZ, sz(kToolPath));
        location(r, sz(kFolder));
        r.readOnlyUser = true;
        s.files = {kFolderTool};
        s.startable = {kToolPath, kFolderTool};
    }) << QStringList{} << QStringList{} << true;
    QTest::newRow("PATH of another type: empty path tried")
        << Setup([](FakeRegistry& r, FakeStarter&) { msinfoPath(r, kBinary, "\x01\x02"); })
        << QStringList{} << QStringList{QString()} << true;
    QTest::newRow("zero-length PATH: empty path tried")
        << Setup([](FakeRegistry& r, FakeStarter&) { msinfoPath(r, Registry::REG_SZ, ""); })
        << QStringList{} << QStringList{QString()} << true;
    QTest::newRow("PATH over 1024 bytes counts as missing")
        << Setup([](FakeRegistry& r, FakeStarter& s) {
               msinfoPath(r, Registry::REG_SZ, sz(std::string(1100, 'p')));
               location(r, sz(kFolder));
               s.files = {kFolderTool};
               s.startable = {kFolderTool};
           })
        << QStringList{folderTool} << QStringList{folderTool} << false;
    QTest::newRow("folder over 1024 bytes counts as missing")
        << Setup([](FakeRegistry& r, FakeStarter&) { location(r, sz(std::string(1100, 'f'))); })
        << QStringList{} << QStringList{} << true;
    QTest::newRow("registry throws") << Setup([](FakeRegistry& r, FakeStarter& s) {
        msinfoPath(r, Registry::REG_SZ, sz(kToolPath));
        r.throwOnQuery = true;
        s.startable = {kToolPath};
    }) << QStringList{} << QStringList{}
                                     << true;
    QTest::newRow("start throws") << Setup([](FakeRegistry& r, FakeStarter& s) {
        msinfoPath(r, Registry::REG_SZ, sz(kToolPath));
        s.throwOnStart = true;
    }) << QStringList{} << QStringList{tool}
                                  << true;
    QTest::newRow("file test throws") << Setup([](FakeRegistry& r, FakeStarter& s) {
        location(r, sz(kFolder));
        s.throwOnIsFile = true;
    }) << QStringList{folderTool} << QStringList{}
                                      << true;
}

void TestSysInfo::startSysInfo() {
    QFETCH(Setup, setup);
    QFETCH(QStringList, expectedFileTests);
    QFETCH(QStringList, expectedStarts);
    QFETCH(bool, expectedMessage);

    FakeRegistry registry;
    FakeStarter starter;
    setup(registry, starter);
    std::vector<std::pair<std::string, std::string>> messages;
    help::StartSysInfo(registry, starter, [&](const std::string& text, const std::string& title) {
        messages.emplace_back(text, title);
    });

    const auto toList = [](const std::vector<std::string>& v) {
        QStringList list;
        for (const std::string& s : v)
            list << QString::fromStdString(s);
        return list;
    };
    QCOMPARE(toList(starter.fileTests), expectedFileTests);
    QCOMPARE(toList(starter.starts), expectedStarts);
    QCOMPARE(messages.size(), expectedMessage ? 1u : 0u);
    if (expectedMessage) {
        QCOMPARE(messages[0].first, std::string("System Information Is Unavailable At This Time"));
        QCOMPARE(messages[0].second, std::string(help::identity::title));
    }
    QCOMPARE(registry.closeCalls, registry.openCalls);
    QVERIFY(registry.openKeys.empty());
}

QTEST_APPLESS_MAIN(TestSysInfo)
#include "test_sys_info.moc"
