// The real system clock follows a change of the computer's time zone while
// the program runs, both a new TZ and a new /etc/localtime.
#include "platform/qt/system_clock.h"

#include <QDateTime>
#include <QFile>
#include <QTest>

#include <cstdlib>
#include <ctime>
#include <sched.h>
#include <sys/mount.h>

namespace {

// The clock's offset from UTC in whole minutes, read once the clock has had
// its once-a-second chance to look at the zone again.
int offsetMinutes(const core::Clock& clock) {
    QTest::qWait(1100);
    const std::int64_t utc = QDateTime::currentMSecsSinceEpoch();
    const std::int64_t local = clock.localMsecs();
    return static_cast<int>((local - utc + 30'000) / 60'000);
}

bool zoneInstalled(const char* zone) {
    return QFile::exists(QStringLiteral("/usr/share/zoneinfo/") + zone);
}

} // namespace

class TestSystemClock : public QObject {
    Q_OBJECT
  private slots:
    void followsAChangeOfTz() {
        if (!zoneInstalled("Asia/Tokyo"))
            QSKIP("the time zone database (tzdata) is not installed");
        platform::qt::SystemClock clock;
        qputenv("TZ", "UTC");
        QCOMPARE(offsetMinutes(clock), 0);
        qputenv("TZ", "Asia/Tokyo"); // no daylight saving time: always +9 h
        QCOMPARE(offsetMinutes(clock), 9 * 60);
        qputenv("TZ", "UTC");
        QCOMPARE(offsetMinutes(clock), 0);
        qunsetenv("TZ");
    }

    // As a desktop changes the zone: a new /etc/localtime with TZ unset. The
    // file is replaced in a mount namespace of this test's own.
    void followsANewEtcLocaltime() {
        if (!zoneInstalled("Asia/Tokyo") || !zoneInstalled("UTC"))
            QSKIP("the time zone database (tzdata) is not installed");
        if (!QFile::exists("/etc/localtime"))
            QSKIP("this system has no /etc/localtime");
        if (::unshare(CLONE_NEWNS) != 0)
            QSKIP("no private mount namespace here (needs root or user namespaces)");
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("/usr/share/zoneinfo/UTC", "/etc/localtime", nullptr, MS_BIND, nullptr) != 0)
            QSKIP("cannot bind-mount over /etc/localtime here");
        qunsetenv("TZ");
        platform::qt::SystemClock clock;
        QCOMPARE(offsetMinutes(clock), 0);
        QCOMPARE(::umount("/etc/localtime"), 0);
        QCOMPARE(
            ::mount("/usr/share/zoneinfo/Asia/Tokyo", "/etc/localtime", nullptr, MS_BIND, nullptr),
            0);
        QCOMPARE(offsetMinutes(clock), 9 * 60);
    }
};

QTEST_GUILESS_MAIN(TestSystemClock)
#include "test_system_clock.moc"
