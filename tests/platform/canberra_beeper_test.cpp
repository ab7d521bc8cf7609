// Runs the real libcanberra beeper against the stand-in of canberra_shim.
#include "canberra_shim.h"
#include "platform/canberra/canberra_beeper.h"
#include "platform/silent_beep.h"

#include <QTest>

#include <canberra.h>
#include <optional>

using platform::canberra::CanberraBeeper;

namespace {

// libcanberra's results as the int the beeper reports.
constexpr int Ok = CA_SUCCESS;
constexpr int NotFound = CA_ERROR_NOTFOUND;
constexpr int Disabled = CA_ERROR_DISABLED;
constexpr int NoDriver = CA_ERROR_NODRIVER;

QString shimLog() {
    return QString::fromLatin1(canberra_shim_log());
}

} // namespace

class CanberraBeeperTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { canberra_shim_reset(); }
    // Every beeper leaves no context behind.
    void cleanup() { QCOMPARE(canberra_shim_live_contexts(), 0); }

    void startsWithAnOpenContextThatNamesTheProgram() {
        CanberraBeeper beeper("com.example.Panel", "Example Panel");
        QCOMPARE(shimLog(), "create props(application.icon_name=com.example.Panel "
                            "application.id=com.example.Panel "
                            "application.name=Example Panel) open");
    }

    void eventTried_data() {
        QTest::addColumn<int>("windowSystemBell");
        QTest::addColumn<int>("plainBell");
        QTest::addColumn<QString>("log");
        QTest::addColumn<int>("result");

        QTest::newRow("theme has the window system's bell")
            << Ok << Ok << "play(bell-window-system)" << Ok;
        QTest::newRow("theme lacks it: the plain bell")
            << NotFound << Ok << "play(bell-window-system)!-9 play(bell)" << Ok;
        QTest::newRow("theme has neither")
            << NotFound << NotFound << "play(bell-window-system)!-9 play(bell)!-9" << NotFound;
        QTest::newRow("event sounds turned off: no second try")
            << Disabled << Ok << "play(bell-window-system)!-16" << Disabled;
        QTest::newRow("no sound driver: no second try")
            << NoDriver << Ok << "play(bell-window-system)!-5" << NoDriver;
    }
    void eventTried() {
        QFETCH(int, windowSystemBell);
        QFETCH(int, plainBell);
        QFETCH(QString, log);
        QFETCH(int, result);

        canberra_shim_set_play_result("bell-window-system", windowSystemBell);
        canberra_shim_set_play_result("bell", plainBell);
        CanberraBeeper beeper("com.example.Panel", "Example Panel");
        canberra_shim_clear_log();

        beeper.beep();
        QCOMPARE(shimLog(), log);
        QCOMPARE(beeper.lastResult(), result);

        // The next beep tries the same way again: a theme can change meanwhile.
        canberra_shim_clear_log();
        beeper.beep();
        QCOMPARE(shimLog(), log);
    }

    void everyBeepSoundsOnTheOneContext() {
        {
            CanberraBeeper beeper("com.example.Panel", "Example Panel");
            canberra_shim_clear_log();
            for (int i = 0; i < 3; ++i)
                beeper.beep();
            QCOMPARE(canberra_shim_live_contexts(), 1);
            canberra_shim_clear_log();
        }
        QCOMPARE(shimLog(), "destroy");
    }

    void soundIsCachedByTheServer() {
        // Without it the sound server decodes the file again on every beep.
        CanberraBeeper beeper("com.example.Panel", "Example Panel");
        beeper.beep();
        QCOMPARE(canberra_shim_last_play_property(CA_PROP_CANBERRA_CACHE_CONTROL), "permanent");
    }

    void noContextMeansSilenceThenARetry() {
        canberra_shim_set_create_result(CA_ERROR_OOM);
        CanberraBeeper beeper("com.example.Panel", "Example Panel");
        beeper.beep();
        QCOMPARE(shimLog(), "create!-4 create!-4");
        QCOMPARE(beeper.lastResult(), CA_ERROR_OOM);

        canberra_shim_set_create_result(CA_SUCCESS);
        canberra_shim_clear_log();
        beeper.beep();
        QCOMPARE(shimLog(), "create props(application.icon_name=com.example.Panel "
                            "application.id=com.example.Panel "
                            "application.name=Example Panel) open play(bell-window-system)");
        QCOMPARE(beeper.lastResult(), CA_SUCCESS);
    }

    void platformWhoseBeepIsSilent_data() {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<bool>("silent");

        QTest::newRow("wayland") << "wayland" << true;
        QTest::newRow("wayland with EGL") << "wayland-egl" << true;
        QTest::newRow("typed in capitals") << "Wayland" << true;
        QTest::newRow("X11") << "xcb" << false;
        QTest::newRow("X11 through EGL") << "xcb_egl" << false;
        QTest::newRow("offscreen") << "offscreen" << false;
        QTest::newRow("Windows") << "windows" << false;
        QTest::newRow("none yet") << "" << false;
        QTest::newRow("shorter than the word") << "way" << false;
    }
    void platformWhoseBeepIsSilent() {
        QFETCH(QString, platform);
        QFETCH(bool, silent);
        QCOMPARE(platform::platformBeepIsSilent(platform.toStdString()), silent);
    }
};

QTEST_APPLESS_MAIN(CanberraBeeperTest)
#include "canberra_beeper_test.moc"
