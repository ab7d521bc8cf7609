#include "fakes.h"
#include "platform/qt/device_thread.h"

#include <QSignalSpy>
#include <QTest>

// The board on its own thread, against a board whose writes the test holds.
class TestDeviceThread : public QObject {
    Q_OBJECT

    struct Rig {
        fakes::HeldPort* board;
        platform::DeviceThread device;
        std::vector<core::PortStatus> observed;
        QSignalSpy answered{&device, &platform::DeviceThread::answered};
        explicit Rig(std::unique_ptr<fakes::HeldPort> held = std::make_unique<fakes::HeldPort>())
            : board(held.get()), device(std::move(held), "stand-in") {
            device.setObserver([this](const core::PortStatus& s) { observed.push_back(s); });
        }
        std::uint64_t lastAnswered() const {
            return answered.isEmpty() ? 0 : answered.last().at(0).value<std::uint64_t>();
        }
    };

  private slots:
    // While the board answers, every byte reaches it, in order, and each
    // write is answered with its own outcome.
    void everyByteInOrderWhileTheBoardAnswers() {
        Rig rig;
        for (std::uint8_t value : {1, 3, 7, 6})
            rig.device.PortOut(core::ParallelDataPort, value);
        QCOMPARE(rig.device.lastWrite(), 4u);
        QTRY_COMPARE(rig.lastAnswered(), 4u);
        QCOMPARE(rig.board->values(), (std::vector<int>{1, 3, 7, 6}));
        QCOMPARE(rig.observed.size(), 4u);
        QVERIFY(rig.observed.back().ok);
    }

    // A write stuck in the board is answered "not answering" after a
    // second, with every write behind it; of those only the newest is
    // written once the board lets go, and its outcome tells the observer
    // the board works again.
    void aStuckWriteLeavesOnlyTheNewestWaiting() {
        Rig rig;
        rig.board->hold();
        rig.device.PortOut(core::ParallelDataPort, 1);
        QTRY_VERIFY(rig.board->inside());
        rig.device.PortOut(core::ParallelDataPort, 3);
        rig.device.PortOut(core::ParallelDataPort, 7);
        QTRY_COMPARE(rig.lastAnswered(), 3u);
        QCOMPARE(rig.answered.last().at(1).value<core::PortStatus>().error, "not answering");
        QCOMPARE(rig.observed.size(), 1u);
        QCOMPARE(rig.observed[0].error, "not answering");

        rig.board->release();
        QTRY_COMPARE(rig.observed.size(), 3u);
        QCOMPARE(rig.board->values(), (std::vector<int>{1, 7}));
        QVERIFY(rig.observed.back().ok);
    }

    // The end waits for the writes on their way, a second at most.
    void theEndWaitsASecondAtMost() {
        Rig answering;
        answering.device.PortOut(core::ParallelDataPort, 0);
        const auto last = answering.device.finish();
        QVERIFY(last && last->ok);
        QVERIFY(!answering.device.abandonedDevice());

        Rig hung;
        hung.board->hold();
        hung.device.PortOut(core::ParallelDataPort, 0);
        QVERIFY(!hung.device.finish());
        QVERIFY(hung.device.abandonedDevice());
        hung.board->release(); // the thread it left behind ends on its own
    }
};

QTEST_GUILESS_MAIN(TestDeviceThread)
#include "test_device_thread.moc"
