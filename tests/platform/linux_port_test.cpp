// Finding the ppdev device of the port at 0x378, and choosing between ppdev
// and direct outb.
#include "platform/linux/linux_port.h"
#include "platform/linux/parport_discovery.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using core::PortOutput;
using core::PortStatus;
using platform::LinuxPort;
using platform::PpdevPort;

namespace {

constexpr std::uint16_t DataRegister = 888;

// What the fake backends do, and what was done to them.
struct Bench {
    QString ppdev = "works"; // "works", "missing" or "refused"
    bool directWorks = true;
    bool regionListed = true; // /proc/ioports has a region at 0x378
    QStringList discovered = {"/fake/parport0"};
    int discoveries = 0;
    QStringList ppdevWrites; // device of each write that reached a ppdev backend
    int directWrites = 0;
};

class FakePpdev : public PpdevPort {
  public:
    FakePpdev(const std::string& device, Bench& bench)
        : PpdevPort(device), device_(device), bench_(bench) {}
    PortStatus PortOut(std::uint16_t, std::uint8_t) override {
        bench_.ppdevWrites << QString::fromStdString(device_);
        missing_ = bench_.ppdev == "missing";
        if (bench_.ppdev == "works")
            return PortStatus::success(device_);
        return PortStatus::failure(device_, missing_ ? "No such file" : "Permission denied", "");
    }
    bool deviceMissing() const override { return missing_; }

  private:
    std::string device_;
    Bench& bench_;
    bool missing_ = false;
};

class FakeDirect : public PortOutput {
  public:
    explicit FakeDirect(Bench& bench) : bench_(bench) {}
    PortStatus PortOut(std::uint16_t, std::uint8_t) override {
        ++bench_.directWrites;
        return bench_.directWorks ? PortStatus::success("direct")
                                  : PortStatus::failure("direct", "Operation not permitted", "");
    }

  private:
    Bench& bench_;
};

LinuxPort makePort(Bench& bench) {
    return LinuxPort(
        [&bench] {
            const int last = static_cast<int>(bench.discovered.size()) - 1;
            return bench.discovered.at(std::min(bench.discoveries++, last)).toStdString();
        },
        [&bench](const std::string& device) { return std::make_unique<FakePpdev>(device, bench); },
        std::make_unique<FakeDirect>(bench), [&bench] { return bench.regionListed; });
}

} // namespace

class LinuxPortTest : public QObject {
    Q_OBJECT

  private slots:
    void findsTheDeviceAt0x378_data() {
        QTest::addColumn<bool>("procTreeExists");
        // "entry=content of its base-addr file"
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("expected");

        QTest::newRow("on parport1")
            << true << QStringList{"parport0=632\t0\n", "parport1=888\t1912\n"} << "parport1";
        QTest::newRow("on parport0")
            << true << QStringList{"parport0=888\t1912\n", "parport1=632\t0\n"} << "parport0";
        QTest::newRow("numbers are not compared as text")
            << true << QStringList{"parport2=632\n", "parport12=888\n"} << "parport12";
        QTest::newRow("unreadable addresses are skipped")
            << true << QStringList{"parport0=\n", "parport3=junk\n", "parport4=888\n"}
            << "parport4";
        QTest::newRow("only parportN entries are ports")
            << true << QStringList{"default=888\n", "parport7x=888\n", "parport5=632\n"}
            << "parport0";
        QTest::newRow("no port at 0x378") << true << QStringList{"parport1=632\t0\n"} << "parport0";
        QTest::newRow("no ports listed") << true << QStringList{} << "parport0";
        QTest::newRow("no parport tree") << false << QStringList{} << "parport0";
    }
    void findsTheDeviceAt0x378() {
        QFETCH(bool, procTreeExists);
        QFETCH(QStringList, entries);
        QFETCH(QString, expected);

        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        const QString procRoot = temp.filePath(procTreeExists ? "parport" : "missing");
        for (const QString& entry : entries) {
            const QString name = entry.section('=', 0, 0);
            QVERIFY(QDir().mkpath(procRoot + "/" + name));
            QFile file(procRoot + "/" + name + "/base-addr");
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(entry.section('=', 1).toLatin1());
        }
        if (procTreeExists)
            QVERIFY(QDir().mkpath(procRoot));

        const std::string found = platform::findParportDevice(procRoot.toStdString(), "/fake-dev");
        QCOMPARE(QString::fromStdString(found), "/fake-dev/" + expected);
    }

    void readsTheKernelsPortRegions_data() {
        QTest::addColumn<QString>("ioports");
        QTest::addColumn<bool>("listed");
        QTest::newRow("parport region") << "0000-0cf7 : PCI Bus 0000:00\n  0378-037a : parport0\n"
                                        << true;
        QTest::newRow("region that ends there") << "  0370-0378 : something\n" << false;
        QTest::newRow("only the PCI bus around it") << "0000-0cf7 : PCI Bus 0000:00\n" << false;
        QTest::newRow("no port at 0x378") << "  03f8-03ff : serial\n  0278-027a : parport1\n"
                                          << false;
        QTest::newRow("unprivileged view: all zeros") << "0000-0000 : PCI Bus 0000:00\n" << false;
        QTest::newRow("garbage") << "0378\n-037a : x\n zz-yy : parport0\n" << false;
        QTest::newRow("no file") << QString() << false;
    }
    void readsTheKernelsPortRegions() {
        QFETCH(QString, ioports);
        QFETCH(bool, listed);
        QTemporaryDir dir;
        const QString path = dir.filePath("ioports");
        if (!ioports.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(ioports.toLatin1());
        }
        QCOMPARE(platform::ioRegionListed(path.toStdString()), listed);
    }

    void prefersPpdevAndFallsBackOnlyWithoutADevice_data() {
        QTest::addColumn<QString>("ppdev");
        QTest::addColumn<bool>("directWorks");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("reportedDevice");
        QTest::addColumn<int>("directWrites");
        QTest::addColumn<bool>("regionListed");
        QTest::addColumn<QString>("error");

        QTest::newRow("ppdev works")
            << "works" << true << true << "/fake/parport0" << 0 << true << "";
        QTest::newRow("no ppdev device, outb allowed")
            << "missing" << true << true << "direct" << 1 << true << "";
        QTest::newRow("ppdev refused: tell, do not go around it")
            << "refused" << true << false << "/fake/parport0" << 0 << true << "Permission denied";
        QTest::newRow("no ppdev device, outb refused: report ppdev")
            << "missing" << false << false << "/fake/parport0" << 1 << true << "No such file";
        QTest::newRow("no ppdev device and no port region: nothing written directly")
            << "missing" << true << false << "/fake/parport0" << 0 << false
            << "no parallel port found";
    }
    void prefersPpdevAndFallsBackOnlyWithoutADevice() {
        QFETCH(QString, ppdev);
        QFETCH(bool, directWorks);
        QFETCH(bool, ok);
        QFETCH(QString, reportedDevice);
        QFETCH(int, directWrites);
        QFETCH(bool, regionListed);
        QFETCH(QString, error);

        Bench bench;
        bench.ppdev = ppdev;
        bench.directWorks = directWorks;
        bench.regionListed = regionListed;
        LinuxPort port = makePort(bench);

        const PortStatus status = port.PortOut(DataRegister, 0x01);
        QCOMPARE(status.ok, ok);
        QCOMPARE(QString::fromStdString(status.device), reportedDevice);
        QCOMPARE(QString::fromStdString(status.error), error);
        QCOMPARE(bench.ppdevWrites, QStringList{"/fake/parport0"});
        QCOMPARE(bench.directWrites, directWrites);
    }

    void staysBoundAndLooksAgainAfterAFailure() {
        Bench bench;
        bench.discovered = {"/fake/parport0", "/fake/parport1"};
        LinuxPort port = makePort(bench);

        for (int i = 0; i < 3; ++i)
            QVERIFY(port.PortOut(DataRegister, 0x01).ok);
        QCOMPARE(bench.discoveries, 1);

        // The bound device fails; only the next write looks for the device again.
        bench.ppdev = "refused";
        QVERIFY(!port.PortOut(DataRegister, 0x02).ok);
        QCOMPARE(bench.discoveries, 1);
        bench.ppdev = "works";
        QVERIFY(port.PortOut(DataRegister, 0x03).ok);
        QCOMPARE(bench.discoveries, 2);
        QCOMPARE(bench.ppdevWrites.last(), "/fake/parport1");

        // Then the device is gone for good: outb takes over and keeps the job.
        bench.ppdev = "refused";
        QVERIFY(!port.PortOut(DataRegister, 0x04).ok);
        bench.ppdev = "missing";
        QVERIFY(port.PortOut(DataRegister, 0x05).ok);
        QVERIFY(port.PortOut(DataRegister, 0x06).ok);
        QCOMPARE(bench.directWrites, 2);
        QCOMPARE(bench.ppdevWrites.size(), 7);
    }
};

QTEST_APPLESS_MAIN(LinuxPortTest)
#include "linux_port_test.moc"
