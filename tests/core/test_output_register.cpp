#include "core/output_register.h"
#include "fakes.h"

#include <QTest>

using core::OutputRegister;

class TestOutputRegister : public QObject {
    Q_OBJECT
  private slots:
    void startupResetWritesZeroOnce() {
        fakes::RecordingPort port;
        OutputRegister reg(port);
        reg.setPortValue(9);
        reg.invertChannelOff(2);
        reg.startupReset();
        QCOMPARE(port.values(), std::vector<int>{0});
        QCOMPARE(port.writes[0].port, std::uint16_t{888});
        QCOMPARE(reg.PortValue(), std::int16_t{0});
        for (int n = 1; n <= 4; ++n)
            QCOMPARE(reg.ChannelOff(n), core::TrueFlag);
    }

    void writeOutput_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("written");
        QTest::newRow("all four relays") << 15 << true;
        QTest::newRow("data line 4 high, relays clear") << 16 << true;
        QTest::newRow("whole byte") << 255 << true;
        QTest::newRow("zero") << 0 << true;
        QTest::newRow("one past a byte is not wrapped to 0") << 256 << false;
        QTest::newRow("negative") << -1 << false;
        QTest::newRow("far out") << 32767 << false;
    }
    void writeOutput() {
        QFETCH(int, value);
        QFETCH(bool, written);
        fakes::RecordingPort port;
        OutputRegister reg(port);
        reg.setPortValue(static_cast<std::int16_t>(value));
        reg.WriteOutput();
        QCOMPARE(port.writes.size(), written ? 1u : 0u);
        if (written)
            QCOMPARE(int(port.writes[0].value), value);
    }

    void arithmeticIsSixteenBitAndKeepsOldValueOnOverflow_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("channel");
        QTest::addColumn<bool>("add");
        QTest::addColumn<int>("expected");
        QTest::newRow("add to max keeps it") << 32767 << 1 << true << 32767;
        QTest::newRow("subtract below min keeps it") << -32765 << 4 << false << -32765;
        QTest::newRow("adding a channel already on carries") << 1 << 1 << true << 2;
        QTest::newRow("subtracting a channel already off borrows") << 0 << 3 << false << -4;
        QTest::newRow("edge that still fits") << 32759 << 4 << true << 32767;
    }
    void arithmeticIsSixteenBitAndKeepsOldValueOnOverflow() {
        QFETCH(int, start);
        QFETCH(int, channel);
        QFETCH(bool, add);
        QFETCH(int, expected);
        fakes::RecordingPort port;
        OutputRegister reg(port);
        reg.setPortValue(static_cast<std::int16_t>(start));
        add ? reg.addWeight(channel) : reg.subtractWeight(channel);
        QCOMPARE(int(reg.PortValue()), expected);
        QVERIFY(port.writes.empty());
    }

    void flagsInvertBitwiseAndSetTogether() {
        fakes::RecordingPort port;
        OutputRegister reg(port);
        reg.invertChannelOff(3);
        QCOMPARE(reg.ChannelOff(3), core::FalseFlag);
        reg.invertChannelOff(3);
        QCOMPARE(reg.ChannelOff(3), core::TrueFlag);
        reg.setAllChannelOff(core::FalseFlag);
        for (int n = 1; n <= 4; ++n)
            QCOMPARE(reg.ChannelOff(n), core::FalseFlag);
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, reg.invertChannelOff(5));
    }

    void exitWritesZeroEvenFromOutOfRangeAndKeepsFlags() {
        fakes::RecordingPort port;
        OutputRegister reg(port);
        reg.setPortValue(-32765);
        reg.invertChannelOff(1);
        reg.resetForExit();
        QCOMPARE(port.values(), std::vector<int>{0});
        QCOMPARE(reg.ChannelOff(1), core::FalseFlag);
        QCOMPARE(reg.ChannelOff(2), core::TrueFlag);
    }

    void failedWritesChangeNothingElse() {
        fakes::RecordingPort port;
        port.failing = true;
        OutputRegister reg(port);
        reg.startupReset();
        reg.addWeight(2);
        reg.WriteOutput();
        QCOMPARE(int(reg.PortValue()), 2);
        QCOMPARE(port.values(), (std::vector<int>{0, 2}));
    }
};

QTEST_GUILESS_MAIN(TestOutputRegister)
#include "test_output_register.moc"
