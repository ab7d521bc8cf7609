// The panel's bus service against the panel's model, with no window, on the
// recording port and counting beeper. Every call goes from a second
// connection through the bus daemon, so it reaches the model as an event on
// its thread, as another program's call would. Each method is checked
// against the window's step it stands for, on a second model.
#include "panel/model_rig.h"
#include "remote/bus_names.h"
#include "remote/panel_service.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>

using namespace remote;

namespace {

// A value as it arrived, with the containers QtDBus leaves marshalled
// unpacked, so it compares with what the window shows.
QVariant plain(const QVariant& value) {
    QVariant v = value.metaType() == QMetaType::fromType<QDBusVariant>()
                     ? value.value<QDBusVariant>().variant()
                     : value;
    if (v.metaType() == QMetaType::fromType<QDBusArgument>()) {
        const auto arg = v.value<QDBusArgument>();
        if (arg.currentSignature() == "ab")
            return QVariant::fromValue(qdbus_cast<QList<bool>>(arg));
        if (arg.currentSignature() == "as")
            return qdbus_cast<QStringList>(arg);
    }
    if (v.metaType() == QMetaType::fromType<short>())
        return v.toInt();
    return v;
}

// The D-Bus type a value travelled as.
QString signatureOf(const QVariant& value) {
    const QVariant v = value.value<QDBusVariant>().variant();
    if (v.metaType() == QMetaType::fromType<QDBusArgument>())
        return v.value<QDBusArgument>().currentSignature();
    return QString::fromLatin1(QDBusMetaType::typeToSignature(v.metaType()));
}

// What the model holds, as the service's properties should say it.
QVariantMap shownBy(ModelRig& rig) {
    const panel::PanelModel& m = rig.model;
    QList<bool> on;
    QStringList armed;
    for (int n = 1; n <= 4; ++n) {
        on << m.isOn(n);
        armed << QString::fromStdString(m.armedTime(n));
    }
    return {
        {"PortValue", int(m.portValue())},
        {"ChannelsOn", QVariant::fromValue(on)},
        {"ArmedTimes", armed},
        {"PortFailing", m.portFailing()},
        {"PortError",
         m.portFailing() ? QString::fromStdString(m.portStatus().describe()) : QString()},
        {"Board", QString("parallel")}, // the service's, not the model's
    };
}

// Everything a method could touch, to compare two models or one model
// before and after.
QStringList everything(ModelRig& rig) {
    panel::PanelModel& m = rig.model;
    QStringList state;
    for (int n = 1; n <= 4; ++n) {
        state << QString("channel %1: on %2, flag %3")
                     .arg(n)
                     .arg(m.isOn(n))
                     .arg(m.outputRegister().ChannelOff(n));
        state << QString("row %1: armed %2 for \"%3\", timer %4")
                     .arg(n)
                     .arg(m.isArmed(n))
                     .arg(QString::fromStdString(m.armedTime(n)))
                     .arg(m.rows().timer(n)->isActive());
    }
    state << QString("PortValue %1").arg(m.portValue());
    return state;
}

// The panel's service, published on the test's session bus.
struct PublishedRig : ModelRig {
    int raised = 0;
    PanelService service{model, [this] { ++raised; }};
    QString whyNot;
    bool published = false;
    PublishedRig() {
        model.startupReset(); // as the panel starts
        published = service.publish(QDBusConnection::sessionBus(), &whyNot);
    }
};

} // namespace

// Another program on the bus: calls the panel and follows its announcements.
class Caller : public QObject {
    Q_OBJECT
  public:
    explicit Caller(QDBusConnection bus) : bus_(std::move(bus)) {
        bus_.connect(ServiceName, ObjectPath, PropertiesInterface, "PropertiesChanged", this,
                     SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
        mirror = getAll();
    }
    ~Caller() override {
        bus_.disconnect(ServiceName, ObjectPath, PropertiesInterface, "PropertiesChanged", this,
                        SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    }

    QDBusMessage call(const QString& method, const QVariantList& args = {},
                      const QString& interface = Interface) {
        QDBusMessage message =
            QDBusMessage::createMethodCall(ServiceName, ObjectPath, interface, method);
        message.setArguments(args);
        const QDBusPendingCall pending = bus_.asyncCall(message, 5000);
        QDBusPendingCallWatcher watcher(pending);
        if (!watcher.isFinished()) {
            QSignalSpy finished(&watcher, &QDBusPendingCallWatcher::finished);
            finished.wait(6000);
        }
        return watcher.reply();
    }
    QVariantMap getAll() {
        const QDBusMessage reply = call("GetAll", {QString(Interface)}, PropertiesInterface);
        QVariantMap values;
        const auto raw = qdbus_cast<QVariantMap>(reply.arguments().value(0));
        for (auto it = raw.begin(); it != raw.end(); ++it)
            values.insert(it.key(), plain(it.value()));
        return values;
    }
    // One round trip: whatever the panel announced before it has arrived.
    void sync() { call("Get", {QString(Interface), QString("PortValue")}, PropertiesInterface); }

    QList<QVariantMap> announcements; // in order of arrival
    QVariantMap mirror;               // the state as followed from the announcements alone

  private slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changed,
                           const QStringList& invalidated) {
        if (interface != Interface)
            return;
        QVariantMap values;
        for (auto it = changed.begin(); it != changed.end(); ++it)
            values.insert(it.key(), plain(it.value()));
        if (!invalidated.isEmpty()) // every change carries its value; none is left to fetch
            values.insert("(invalidated)", invalidated);
        announcements << values;
        mirror.insert(values);
    }

  private:
    QDBusConnection bus_;
};

class TestPanelService : public QObject {
    Q_OBJECT

    QDBusConnection callerBus{QString()};

    // A step as a script sends it over the bus.
    static QDBusMessage send(Caller& caller, const QString& step) {
        const QStringList w = step.split(' ');
        if (w[0] == "on")
            return caller.call("SwitchOn", {w[1].toInt()});
        if (w[0] == "off")
            return caller.call("SwitchOff", {w[1].toInt()});
        if (w[0] == "all-on")
            return caller.call("AllOn");
        if (w[0] == "all-off")
            return caller.call("AllOff");
        if (w[0] == "at")
            return caller.call("Arm", {w[1].toInt(), w[2]});
        return caller.call("Disarm", {w[1].toInt()});
    }
    // The same step as the window takes it from its user.
    static void doByHand(ModelRig& rig, const QString& step) {
        const QStringList w = step.split(' ');
        const int n = w.size() > 1 ? w[1].toInt() : 0;
        if (w[0] == "on")
            rig.model.switchOn(n);
        else if (w[0] == "off")
            rig.model.switchOff(n);
        else if (w[0] == "all-on")
            rig.model.allOn();
        else if (w[0] == "all-off")
            rig.model.allOff();
        else if (w[0] == "at")
            rig.model.arm(n, w[2].toStdString());
        else
            rig.model.disarm(n);
    }

  private slots:
    void initTestCase() {
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("no session bus: run this test inside dbus-run-session (ctest does)");
        callerBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "caller");
        QVERIFY(callerBus.isConnected());
    }
    void cleanupTestCase() { QDBusConnection::disconnectFromBus("caller"); }

    void methodsDoWhatTheirControlsDo_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("on 1") << QStringList{"on 1"};
        QTest::newRow("on 1, on 4, off 1") << QStringList{"on 1", "on 4", "off 1"};
        QTest::newRow("all-on leaves All On in view") << QStringList{"all-on"};
        QTest::newRow("1 and 2 on, all-on writes 15") << QStringList{"on 1", "on 2", "all-on"};
        QTest::newRow("all-off twice writes and beeps twice")
            << QStringList{"on 3", "all-off", "all-off"};
        QTest::newRow("all-on, then off 2 and on 2") << QStringList{"all-on", "off 2", "on 2"};
        QTest::newRow("arm") << QStringList{"at 3 18:00:00"};
        QTest::newRow("arm and cancel") << QStringList{"at 3 18:00:00", "cancel 3"};
        QTest::newRow("arm again after a cancel")
            << QStringList{"on 2", "at 2 07:30:00", "cancel 2", "at 2 08:00:00"};
        QTest::newRow("every row") << QStringList{"at 1 00:00:00", "at 2 23:59:59", "at 3 12:00:00",
                                                  "at 4 06:00:00", "cancel 2"};
    }
    // Each step goes over the bus to one model and as the window's step to
    // another: the same beeps and writes in the same order, the same
    // channels, flags and rows; and a caller that follows the announcements
    // alone sees what the model holds.
    void methodsDoWhatTheirControlsDo() {
        QFETCH(QStringList, steps);
        PublishedRig remote;
        QVERIFY2(remote.published, qPrintable(remote.whyNot));
        ModelRig user;
        user.model.startupReset();
        Caller caller(callerBus);
        QCOMPARE(caller.mirror, shownBy(remote));
        for (const QString& step : steps) {
            const int announcedBefore = caller.announcements.size();
            const QVariantMap before = shownBy(remote);
            const QDBusMessage reply = send(caller, step);
            QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
            doByHand(user, step);
            QCOMPARE(remote.journal, user.journal);
            QCOMPARE(everything(remote), everything(user));
            caller.sync();
            QCOMPARE(caller.mirror, shownBy(remote));
            QCOMPARE(caller.getAll(), shownBy(remote));
            // Announced when, and only when, something changed.
            QCOMPARE(caller.announcements.size() > announcedBefore, shownBy(remote) != before);
        }
    }

    void refusalsChangeNothing_data() {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("method");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("beeps");
        const QString prefix = error::Prefix;
        QTest::newRow("on, for a channel that is on")
            << QStringList{"on 1"} << "SwitchOn" << QVariantList{1} << error::AlreadyOn << false;
        QTest::newRow("on, after all-on")
            << QStringList{"all-on"} << "SwitchOn" << QVariantList{3} << error::AlreadyOn << false;
        QTest::newRow("off, for a channel that is off")
            << QStringList{} << "SwitchOff" << QVariantList{2} << error::AlreadyOff << false;
        QTest::newRow("off, after all-off") << QStringList{"on 4", "all-off"} << "SwitchOff"
                                            << QVariantList{4} << error::AlreadyOff << false;
        QTest::newRow("channel 0")
            << QStringList{} << "SwitchOn" << QVariantList{0} << error::NoSuchChannel << false;
        QTest::newRow("channel 5")
            << QStringList{} << "SwitchOff" << QVariantList{5} << error::NoSuchChannel << false;
        QTest::newRow("arm channel -1") << QStringList{} << "Arm" << QVariantList{-1, "18:00:00"}
                                        << error::NoSuchChannel << false;
        QTest::newRow("disarm channel 9")
            << QStringList{} << "Disarm" << QVariantList{9} << error::NoSuchChannel << false;
        QTest::newRow("a time without its leading zero")
            << QStringList{} << "Arm" << QVariantList{1, "6:00:00"} << error::NotATime << true;
        QTest::newRow("the row's placeholder")
            << QStringList{} << "Arm" << QVariantList{1, "hh:mm:ss"} << error::NotATime << true;
        QTest::newRow("an empty time")
            << QStringList{} << "Arm" << QVariantList{2, ""} << error::NotATime << true;
        QTest::newRow("blanks around the time")
            << QStringList{} << "Arm" << QVariantList{3, " 18:00:00"} << error::NotATime << true;
        QTest::newRow("hour 24") << QStringList{} << "Arm" << QVariantList{4, "24:00:00"}
                                 << error::NotATime << true;
        QTest::newRow("a line break in the time")
            << QStringList{} << "Arm" << QVariantList{4, "18:00\n:00"} << error::NotATime << true;
        QTest::newRow("arm an armed row")
            << QStringList{"at 1 18:00:00"} << "Arm" << QVariantList{1, "19:00:00"}
            << error::AlreadyArmed << false;
        QTest::newRow("arm an armed row with its own time")
            << QStringList{"at 2 18:00:00"} << "Arm" << QVariantList{2, "18:00:00"}
            << error::AlreadyArmed << false;
        QTest::newRow("disarm an idle row")
            << QStringList{} << "Disarm" << QVariantList{3} << error::NotArmed << false;
        QTest::newRow("disarm after a cancel")
            << QStringList{"at 3 18:00:00", "cancel 3"} << "Disarm" << QVariantList{3}
            << error::NotArmed << false;
        QTest::newRow("a channel number as text")
            << QStringList{} << "SwitchOn" << QVariantList{"1"}
            << "org.freedesktop.DBus.Error.UnknownMethod" << false;
    }
    // A refused request answers with its error and leaves every output,
    // channel, flag and row as it was. Only a time the row itself refuses
    // beeps, as it does for the user.
    void refusalsChangeNothing() {
        QFETCH(QStringList, setup);
        QFETCH(QString, method);
        QFETCH(QVariantList, args);
        QFETCH(QString, error);
        QFETCH(bool, beeps);
        PublishedRig rig;
        QVERIFY2(rig.published, qPrintable(rig.whyNot));
        Caller caller(callerBus);
        for (const QString& step : setup)
            QCOMPARE(send(caller, step).type(), QDBusMessage::ReplyMessage);
        caller.sync();
        const QStringList before = everything(rig);
        const fakes::Journal journal = rig.journal;
        const int announced = caller.announcements.size();

        const QDBusMessage reply = caller.call(method, args);
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(reply.errorName(), error);
        QVERIFY(!reply.errorMessage().isEmpty());
        QVERIFY(!reply.errorMessage().contains('\n'));
        QCOMPARE(everything(rig), before);
        fakes::Journal expected = journal;
        if (beeps)
            expected.push_back("beep");
        QCOMPARE(rig.journal, expected);
        caller.sync();
        QCOMPARE(caller.announcements.size(), announced);
    }

    // A row armed over the bus fires at its second like one armed by hand,
    // without a beep; the switch and the row going idle are announced, and
    // so is a hand click afterwards.
    void scheduledSwitchesAndClicksAreAnnounced() {
        PublishedRig rig;
        QVERIFY2(rig.published, qPrintable(rig.whyNot));
        Caller caller(callerBus);
        QCOMPARE(send(caller, "at 1 18:00:00").type(), QDBusMessage::ReplyMessage);
        QCOMPARE(caller.mirror.value("ArmedTimes").toStringList(),
                 (QStringList{"18:00:00", "", "", ""}));
        caller.announcements.clear();

        rig.clock.setTime(18, 0, 0, 5);
        QTRY_COMPARE(rig.port.values(), (std::vector<int>{0, 1}));
        QTRY_COMPARE(caller.announcements.size(), 2);
        QCOMPARE(caller.announcements[0],
                 (QVariantMap{
                     {"PortValue", 1},
                     {"ChannelsOn", QVariant::fromValue(QList<bool>{true, false, false, false})}}));
        QCOMPARE(caller.announcements[1],
                 (QVariantMap{{"ArmedTimes", QStringList{"", "", "", ""}}}));
        QCOMPARE(rig.beeper.count, 0);

        rig.model.switchOn(2); // by hand at the window
        QTRY_COMPARE(caller.announcements.size(), 3);
        QCOMPARE(caller.announcements[2].value("PortValue"), QVariant(3));
        QCOMPARE(caller.mirror, shownBy(rig));
    }

    // A write the board does not take is still the panel's switch: the call
    // succeeds, and the failure and its reason are part of the state until
    // the retried write gets through. KavoPanel2's answer is the command's own
    // write, failed or written.
    void aFailingPortIsPartOfTheState() {
        PublishedRig rig;
        QVERIFY2(rig.published, qPrintable(rig.whyNot));
        Caller caller(callerBus);
        rig.port.failing = true;
        QCOMPARE(send(caller, "on 1").type(), QDBusMessage::ReplyMessage);
        caller.sync();
        QCOMPARE(caller.mirror.value("PortFailing"), QVariant(true));
        const QString reason = caller.mirror.value("PortError").toString();
        QVERIFY2(reason.contains("No such device") && reason.contains("Plug it in."),
                 qPrintable(reason));
        QCOMPARE(caller.mirror.value("PortValue"), QVariant(1));
        const QDBusMessage failed = caller.call("SwitchOn", {2}, Interface2);
        QCOMPARE(failed.arguments(),
                 (QVariantList{false, "/dev/fake", "No such device", "Plug it in."}));

        rig.port.failing = false;
        rig.model.health().PortRetry_Timer();
        caller.sync();
        QCOMPARE(caller.mirror.value("PortFailing"), QVariant(false));
        QCOMPARE(caller.mirror.value("PortError"), QVariant(QString()));
        QCOMPARE(caller.mirror, shownBy(rig));
        QCOMPARE(rig.port.values(), (std::vector<int>{0, 1, 3, 3}));
        QCOMPARE(caller.call("AllOff", {}, Interface2).arguments(),
                 (QVariantList{true, "/dev/fake", "", ""}));
        QCOMPARE(caller.call("SwitchOff", {1}, Interface2).errorName(), error::AlreadyOff);
    }

    // A pulse is the channel's ON, then after its length its OFF, answered
    // with the ON's write; refused while the channel is on or for a length
    // out of range. Another switch of the channel drops the pending OFF, and
    // closing writes it at once.
    void aPulseIsOnThenOff() {
        PublishedRig rig;
        QVERIFY2(rig.published, qPrintable(rig.whyNot));
        Caller caller(callerBus);
        const auto pulse = [&](int channel, uint ms) {
            return caller.call("Pulse", {channel, QVariant::fromValue(ms)}, Interface2);
        };
        QCOMPARE(pulse(1, 100).arguments(), (QVariantList{true, "/dev/fake", "", ""}));
        QCOMPARE(pulse(1, 100).errorName(), error::AlreadyOn);
        QCOMPARE(pulse(2, 99).errorName(), error::NotAPulse);
        QCOMPARE(pulse(2, 3600001).errorName(), error::NotAPulse);
        QTRY_COMPARE(rig.port.values(), (std::vector<int>{0, 1, 0}));

        QCOMPARE(pulse(3, 100).type(), QDBusMessage::ReplyMessage);
        rig.model.allOn();
        QTest::qWait(250);
        QCOMPARE(rig.port.values(), (std::vector<int>{0, 1, 0, 4, 15}));

        rig.model.allOff();
        QCOMPARE(pulse(4, 3600000).type(), QDBusMessage::ReplyMessage);
        rig.model.close();
        QCOMPARE(rig.port.values(), (std::vector<int>{0, 1, 0, 4, 15, 0, 8, 0}));
        QVERIFY(!rig.model.isPulsing(4));
    }

    // What the object exports is the interface files, and each property
    // travels as the type the file gives it.
    void theExportedObjectIsTheInterfaceFile_data() {
        QTest::addColumn<QString>("interface");
        QTest::addColumn<QString>("path");
        QTest::newRow("KavoPanel1") << Interface << KAVO_INTERFACE_XML;
        QTest::newRow("KavoPanel2") << Interface2 << KAVO_INTERFACE2_XML;
    }
    void theExportedObjectIsTheInterfaceFile() {
        QFETCH(QString, interface);
        QFETCH(QString, path);
        PublishedRig rig;
        QVERIFY2(rig.published, qPrintable(rig.whyNot));
        Caller caller(callerBus);
        const QDBusMessage reply =
            caller.call("Introspect", {}, "org.freedesktop.DBus.Introspectable");
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto ours = [&interface](const QString& xml) {
            // The interface's members, their arguments and annotations, one a line.
            QStringList members;
            QXmlStreamReader reader(xml);
            bool inside = false;
            while (!reader.atEnd()) {
                if (!reader.readNextStartElement()) {
                    if (reader.isEndElement() && reader.name() == u"interface")
                        inside = false;
                    continue;
                }
                const QXmlStreamAttributes a = reader.attributes();
                if (reader.name() == u"interface")
                    inside = a.value("name") == interface;
                else if (inside)
                    members << QStringList{reader.name().toString(), a.value("name").toString(),
                                           a.value("type").toString(),
                                           a.value("direction").toString(),
                                           a.value("access").toString() +
                                               a.value("value").toString()}
                                   .join(' ');
            }
            return members;
        };
        const QStringList exported = ours(reply.arguments().value(0).toString());
        QVERIFY(exported.contains("method SwitchOn   "));
        QVERIFY(exported.contains("method Arm   "));
        QCOMPARE(exported, ours(QString::fromUtf8(file.readAll())));

        for (const QString& line : exported) {
            const QStringList w = line.split(' ');
            if (w[0] != "property")
                continue;
            const QDBusMessage value =
                caller.call("Get", {QString(Interface), w[1]}, PropertiesInterface);
            QCOMPARE(value.type(), QDBusMessage::ReplyMessage);
            QCOMPARE(signatureOf(value.arguments().value(0)), w[2]);
        }
    }

    // The name is the panel's while it is open; a second panel cannot take it
    // and says who has it. Once the panel is closed (its window by the window
    // manager) the name is given up, and nothing reaches the port.
    void theNameIsHeldWhileTheWindowIsOpen() {
        auto rig = std::make_unique<PublishedRig>();
        QVERIFY2(rig->published, qPrintable(rig->whyNot));
        QDBusConnectionInterface* names = callerBus.interface();
        QVERIFY(names->isServiceRegistered(ServiceName));

        QDBusConnection secondBus =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, "second panel");
        {
            ModelRig second;
            PanelService other(second.model);
            QString whyNot;
            QVERIFY(!other.publish(secondBus, &whyNot));
            QCOMPARE(whyNot, QString("com.quorvale.KavoPanel is taken on the session bus by "
                                     "process %1 (another panel?)")
                                 .arg(QCoreApplication::applicationPid()));
            QVERIFY(!other.isPublished());
        }
        QDBusConnection::disconnectFromBus("second panel");
        Caller caller(callerBus);
        QCOMPARE(send(caller, "on 1").type(), QDBusMessage::ReplyMessage); // still the first

        rig->model.close();
        QVERIFY(!rig->service.isPublished());
        QTRY_VERIFY(!names->isServiceRegistered(ServiceName));
        QCOMPARE(send(caller, "on 2").errorName(),
                 QString("org.freedesktop.DBus.Error.ServiceUnknown"));
        // Nor does a call already on its way when the window closed.
        rig->service.SwitchOn(2);
        rig->service.AllOn();
        rig->service.Arm(3, "18:00:00");
        QCOMPARE(rig->port.values(), (std::vector<int>{0, 1}));
        QCOMPARE(rig->beeper.count, 1);
        QVERIFY(!rig->model.isArmed(3));
    }

    // Raise, as a second panel for the board sends it, is the window's to
    // carry out; it switches nothing.
    void raiseIsHandedToTheWindow() {
        PublishedRig rig;
        QVERIFY2(rig.published, qPrintable(rig.whyNot));
        const fakes::Journal journal = rig.journal;
        Caller caller(callerBus);
        QCOMPARE(caller.call("Raise").type(), QDBusMessage::ReplyMessage);
        QCOMPARE(rig.raised, 1);
        QCOMPARE(rig.journal, journal); // no beep, no write
    }

    void withoutABusThereIsNoService() {
        ModelRig rig;
        PanelService service(rig.model);
        QString whyNot;
        QVERIFY(!service.publish(QDBusConnection(QString("no such connection")), &whyNot));
        QVERIFY2(whyNot.startsWith("no session bus"), qPrintable(whyNot));
        QVERIFY(!service.isPublished());
    }
};

QTEST_GUILESS_MAIN(TestPanelService)
#include "test_panel_service.moc"
