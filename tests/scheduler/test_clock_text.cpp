#include "scheduler/clock_text.h"

#include <QTest>

using namespace scheduler;

namespace {
constexpr std::int64_t Day = 20000LL * 86400 * 1000;
std::int64_t at(int h, int m, int s, int ms = 0, int days = 0) {
    return Day + days * 86400000LL + ((h * 60 + m) * 60 + s) * 1000LL + ms;
}
} // namespace

class TestClockText : public QObject {
    Q_OBJECT
  private slots:
    void clockTextIsFixedFormat_data() {
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<QString>("text");
        QTest::newRow("morning has its leading zero") << qint64(at(6, 0, 0)) << "06:00:00";
        QTest::newRow("evening is 24-hour") << qint64(at(18, 0, 0, 999)) << "18:00:00";
        QTest::newRow("last second of the day") << qint64(at(23, 59, 59, 999)) << "23:59:59";
        QTest::newRow("midnight") << qint64(at(0, 0, 0, 0, 1)) << "00:00:00";
        QTest::newRow("before 1970") << qint64(-1) << "23:59:59";
    }
    void clockTextIsFixedFormat() {
        QFETCH(qint64, ms);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(clockText(ms)), text);
    }

    void onlyExactClockTextsAreTimes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("second");
        QTest::newRow("18:00:00") << "18:00:00" << 64800;
        QTest::newRow("00:00:00") << "00:00:00" << 0;
        QTest::newRow("23:59:59") << "23:59:59" << 86399;
        QTest::newRow("the idle text") << "hh:mm:ss" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("no leading zero") << "6:00:00" << -1;
        QTest::newRow("hour 24") << "24:00:00" << -1;
        QTest::newRow("hour 25") << "25:00:00" << -1;
        QTest::newRow("minute 60") << "18:60:00" << -1;
        QTest::newRow("second 60") << "18:00:60" << -1;
        QTest::newRow("blank before") << " 18:00:00" << -1;
        QTest::newRow("blank after") << "18:00:00 " << -1;
        QTest::newRow("other separators") << "18.00.00" << -1;
        QTest::newRow("signs are not digits") << "+1:00:00" << -1;
        QTest::newRow("with a date") << "2026-01-01 18:00:00" << -1;
    }
    void onlyExactClockTextsAreTimes() {
        QFETCH(QString, text);
        QFETCH(int, second);
        const auto parsed = secondOfDay(text.toStdString());
        QCOMPARE(parsed.value_or(-1), second);
    }

    // The rule that keeps a late or coarse tick from losing a schedule.
    void dueBetweenTwoTicks_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("from");
        QTest::addColumn<qint64>("to");
        QTest::addColumn<bool>("due");
        QTest::newRow("tick inside the armed second")
            << "18:00:00" << qint64(at(17, 59, 59, 995)) << qint64(at(18, 0, 0, 5)) << true;
        QTest::newRow("both ticks before it")
            << "18:00:00" << qint64(at(17, 59, 58, 500)) << qint64(at(17, 59, 59, 999)) << false;
        QTest::newRow("late tick jumped over the armed second")
            << "18:00:00" << qint64(at(17, 59, 59, 900)) << qint64(at(18, 0, 1, 100)) << true;
        QTest::newRow("armed second already behind the previous tick")
            << "18:00:00" << qint64(at(18, 0, 1)) << qint64(at(18, 0, 2)) << false;
        QTest::newRow("across midnight")
            << "00:00:01" << qint64(at(23, 59, 59)) << qint64(at(0, 0, 2, 0, 1)) << true;
        QTest::newRow("forward clock step over the time")
            << "02:30:00" << qint64(at(2, 0, 0)) << qint64(at(3, 0, 0)) << true;
        QTest::newRow("backward clock step: only the second now counts")
            << "02:30:00" << qint64(at(3, 0, 0)) << qint64(at(2, 0, 0)) << false;
        QTest::newRow("backward step landing on the time")
            << "02:00:00" << qint64(at(3, 0, 0)) << qint64(at(2, 0, 0, 10)) << true;
        QTest::newRow("a whole day passed")
            << "12:00:00" << qint64(at(13, 0, 0)) << qint64(at(13, 0, 0, 0, 1)) << true;
        QTest::newRow("never for a text that is no time")
            << "hh:mm:ss" << qint64(at(0, 0, 0)) << qint64(at(0, 0, 0, 0, 3)) << false;
        QTest::newRow("same second")
            << "18:00:00" << qint64(at(18, 0, 0, 100)) << qint64(at(18, 0, 0, 100)) << true;
    }
    void dueBetweenTwoTicks() {
        QFETCH(QString, text);
        QFETCH(qint64, from);
        QFETCH(qint64, to);
        QFETCH(bool, due);
        QCOMPARE(dueBetween(text.toStdString(), from, to), due);
    }
};

QTEST_GUILESS_MAIN(TestClockText)
#include "test_clock_text.moc"
