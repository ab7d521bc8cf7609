// Installs the build into a scratch DESTDIR and checks what a user's system
// would get: every file in its place with its permissions, the desktop entry
// and AppStream file valid and naming one another, icons at their sizes, the
// manual page, and the Debian package built from the same rules.
#include "platform/application_id.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

const QString AppId = QString::fromLatin1(platform::applicationId);
const QString Version = QStringLiteral(KAVO_VERSION);
const QStringList IconSizes = {"16", "24", "32", "48", "64", "128", "256"};

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run run(const QString& program, const QStringList& args, const QProcessEnvironment& env = {},
        int timeoutMs = 120000) {
    QProcess p;
    if (!env.isEmpty())
        p.setProcessEnvironment(env);
    p.start(program, args);
    Run r;
    if (!p.waitForStarted()) {
        r.err = program + ": " + p.errorString();
        return r;
    }
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        r.err = program + " did not finish";
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

QString readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString gunzip(const QString& path) {
    return run("gzip", {"-dc", path}).out;
}

// The desktop entry's "Key=value" lines of its main group.
QMap<QString, QString> desktopEntry(const QString& path) {
    QMap<QString, QString> keys;
    bool inMain = false;
    for (const QString& line : readText(path).split('\n')) {
        if (line.startsWith('['))
            inMain = line == "[Desktop Entry]";
        else if (inMain && line.contains('='))
            keys.insert(line.section('=', 0, 0), line.section('=', 1));
    }
    return keys;
}

// Text of the first element of each name (path like "component/id").
QMap<QString, QString> xmlTexts(const QString& path, const QStringList& wanted,
                                QMap<QString, QString>* attributes = nullptr) {
    QFile file(path);
    QMap<QString, QString> found;
    if (!file.open(QIODevice::ReadOnly))
        return found;
    QXmlStreamReader xml(&file);
    QStringList where;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            where << xml.name().toString();
            const QString key = where.join('/');
            if (attributes && !attributes->contains(key))
                for (const auto& a : xml.attributes())
                    attributes->insert(key + "@" + a.name().toString(), a.value().toString());
            if (wanted.contains(key) && !found.contains(key))
                found.insert(key, xml.readElementText(QXmlStreamReader::IncludeChildElements));
            if (xml.isEndElement())
                where.removeLast();
        } else if (xml.isEndElement()) {
            where.removeLast();
        }
    }
    if (xml.hasError())
        found.insert("error", xml.errorString());
    return found;
}

} // namespace

class InstallTreeTest : public QObject {
    Q_OBJECT

    QTemporaryDir scratch_;
    QString root_; // DESTDIR + /usr

    QString installed(const QString& relative) const { return root_ + "/" + relative; }

    // Relative to /usr: every file the install must put there, and whether it
    // is a program.
    static QMap<QString, bool> expectedFiles() {
        QMap<QString, bool> files{
            {"bin/kavo-panel", true},
            {"bin/kavo-ctl", true},
            {"share/applications/" + AppId + ".desktop", false},
            {"share/metainfo/" + AppId + ".metainfo.xml", false},
            {"share/icons/hicolor/scalable/apps/" + AppId + ".svg", false},
            {"share/man/man1/kavo-panel.1.gz", false},
            {"share/man/man1/kavo-ctl.1.gz", false},
            {"share/doc/kavo-panel/copyright", false},
            {"share/doc/kavo-panel/changelog.gz", false},
            {"lib/modules-load.d/kavo-panel.conf", false},
        };
        for (const QString& n : IconSizes)
            files.insert(QString("share/icons/hicolor/%1x%1/apps/%2.png").arg(n, AppId), false);
#ifdef KAVO_WITH_MQTT
        files.insert("bin/kavo-mqtt", true);
        files.insert("share/man/man1/kavo-mqtt.1.gz", false);
        files.insert("lib/systemd/user/kavo-mqtt.service", false);
        files.insert("lib/systemd/system/kavo-mqtt-standalone.service", false);
        files.insert("lib/systemd/system/kavo-mqtt-standalone@.service", false);
#endif
        if (QFile::exists(KAVO_SOURCE_DIR "/packaging/udev/70-kavo-panel-relay-boards.rules"))
            files.insert("lib/udev/rules.d/70-kavo-panel-relay-boards.rules", false);
        return files;
    }

    static void requireTool(const char* tool) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            QSKIP(qPrintable(
                QString("%1 is not installed (scripts/setup.sh installs it)").arg(tool)));
    }

  private slots:
    void initTestCase() {
        QVERIFY(scratch_.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DESTDIR", scratch_.path() + "/root");
        const Run r = run(KAVO_CMAKE, {"--install", KAVO_BUILD_DIR, "--prefix", "/usr"}, env);
        QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
        root_ = scratch_.path() + "/root/usr";
    }

    void installedFile_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("program");
        const auto files = expectedFiles();
        for (auto it = files.begin(); it != files.end(); ++it)
            QTest::newRow(qPrintable(it.key())) << it.key() << it.value();
    }
    void installedFile() {
        QFETCH(QString, path);
        QFETCH(bool, program);
        const QFileInfo info(installed(path));
        QVERIFY2(info.isFile() && !info.isSymLink(), qPrintable(path + " is not installed"));
        QVERIFY(info.size() > 0);
        const QFile::Permissions any = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
        const QFile::Permissions read = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        QCOMPARE(info.permissions() & any, program ? any : QFile::Permissions());
        QCOMPARE(info.permissions() & read, read);
        QVERIFY(!(info.permissions() & (QFile::WriteGroup | QFile::WriteOther)));
    }

    // A stray install rule (a static library, a header, a test) would land in
    // every user's system.
    void nothingElseIsInstalled() {
        QStringList extra;
        QDirIterator it(root_, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = QDir(root_).relativeFilePath(it.next());
            if (!expectedFiles().contains(path))
                extra << path;
        }
        QCOMPARE(extra, QStringList());
    }

    void icon_data() {
        QTest::addColumn<int>("size");
        for (const QString& n : IconSizes)
            QTest::newRow(qPrintable(n + " px")) << n.toInt();
    }
    void icon() {
        QFETCH(int, size);
        const QImage image(
            installed(QString("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(AppId)));
        QCOMPARE(image.size(), QSize(size, size));
        // A rounded tile: see-through corners, an opaque middle.
        QVERIFY(image.hasAlphaChannel());
        QVERIFY(qAlpha(image.pixel(0, 0)) < 16);
        QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
    }

    void scalableIconIsASquareSvg() {
        QMap<QString, QString> attributes;
        const auto texts = xmlTexts(
            installed("share/icons/hicolor/scalable/apps/" + AppId + ".svg"), {}, &attributes);
        QVERIFY2(!texts.contains("error"), qPrintable(texts.value("error")));
        const QStringList box = attributes.value("svg@viewBox").split(' ');
        QCOMPARE(box.size(), 4);
        QCOMPARE(box[2], box[3]);
    }

    void desktopEntryIsValid() {
        requireTool("desktop-file-validate");
        const Run r =
            run("desktop-file-validate", {installed("share/applications/" + AppId + ".desktop")});
        QVERIFY2(r.exitCode == 0 && r.out.isEmpty(), qPrintable(r.out + r.err));
    }

    void desktopEntryStartsTheInstalledProgram() {
        const auto keys = desktopEntry(installed("share/applications/" + AppId + ".desktop"));
        // Started from the menu, it drives whichever board the machine has.
        QCOMPARE(keys.value("Exec"), QString("kavo-panel --board=auto"));
        QVERIFY(
            QFileInfo(installed("bin/" + keys.value("Exec").section(' ', 0, 0))).isExecutable());
        QCOMPARE(keys.value("Icon"), AppId);
        // X11 taskbars match the window to the entry by WM_CLASS, which Qt
        // takes from the program's file name.
        QCOMPARE(keys.value("StartupWMClass"), QString("kavo-panel"));
        QCOMPARE(keys.value("Terminal"), QString("false"));
    }

    void metainfoIsValid() {
        requireTool("appstreamcli");
        const Run r = run("appstreamcli", {"validate", "--no-net", "--no-color",
                                           installed("share/metainfo/" + AppId + ".metainfo.xml")});
        QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
        // Warnings do not fail the validator, but would show in software centres.
        QVERIFY2(!r.out.contains(QRegularExpression("^[EW]:", QRegularExpression::MultilineOption)),
                 qPrintable(r.out));
    }

    void metainfoNamesTheDesktopEntryAndProgram() {
        const auto texts = xmlTexts(installed("share/metainfo/" + AppId + ".metainfo.xml"),
                                    {"component/id", "component/launchable",
                                     "component/provides/binary", "component/name"});
        QCOMPARE(texts.value("component/id"), AppId);
        QCOMPARE(texts.value("component/launchable"), AppId + ".desktop");
        QVERIFY(
            QFileInfo(installed("bin/" + texts.value("component/provides/binary"))).isExecutable());
        QCOMPARE(texts.value("component/name"),
                 desktopEntry(installed("share/applications/" + AppId + ".desktop")).value("Name"));
    }

    // Each place that states the version follows the project's.
    void versionEverywhere_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("manual page header") << gunzip(installed("share/man/man1/kavo-panel.1.gz"))
                                            << "^\\.TH .*\"kavo\\\\-panel (\\S+)\"";
        QTest::newRow("kavo-ctl manual page header")
            << gunzip(installed("share/man/man1/kavo-ctl.1.gz"))
            << "^\\.TH .*\"kavo\\\\-ctl (\\S+)\"";
#ifdef KAVO_WITH_MQTT
        QTest::newRow("kavo-mqtt manual page header")
            << gunzip(installed("share/man/man1/kavo-mqtt.1.gz"))
            << "^\\.TH .*\"kavo\\\\-mqtt (\\S+)\"";
#endif
        QTest::newRow("latest AppStream release")
            << readText(installed("share/metainfo/" + AppId + ".metainfo.xml"))
            << "<release version=\"([^\"]+)\"";
        QTest::newRow("latest changelog entry")
            << gunzip(installed("share/doc/kavo-panel/changelog.gz"))
            << "^kavo-panel \\(([^)]+)\\)";
    }
    void versionEverywhere() {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        const auto match =
            QRegularExpression(pattern, QRegularExpression::MultilineOption).match(text);
        QVERIFY2(match.hasMatch(), qPrintable(pattern));
        QCOMPARE(match.captured(1), Version);
    }

    void manualPageFormatsCleanly_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("kavo-panel") << "kavo-panel";
        QTest::newRow("kavo-ctl") << "kavo-ctl";
#ifdef KAVO_WITH_MQTT
        QTest::newRow("kavo-mqtt") << "kavo-mqtt";
#endif
    }
    void manualPageFormatsCleanly() {
        QFETCH(QString, name);
        requireTool("man");
        QTemporaryDir dir;
        const QString page = dir.path() + "/" + name + ".1";
        QFile out(page);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(gunzip(installed("share/man/man1/" + name + ".1.gz")).toUtf8());
        out.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("MANWIDTH", "80");
        const Run r = run("man", {"--warnings", "-E", "UTF-8", "-l", "-Tutf8", page}, env);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QString());
    }

    void manualPageDocuments_data() {
        QTest::addColumn<QString>("phrase");
        for (const char* option :
             {"--board=BOARD", "parallel", "usb-hid", "usb-hid:SERIAL", "usb-hid:/dev/hidrawN",
              "serial:/dev/ttyUSB0", "--list-boards", "--help", "--version"})
            QTest::newRow(option) << option;
        QTest::newRow("usage errors") << "2 Usage error";
        QTest::newRow("parallel port group") << "group lp";
        QTest::newRow("ppdev at boot") << "/usr/lib/modules-load.d/kavo-panel.conf";
        QTest::newRow("udev rule") << "70-kavo-panel-relay-boards.rules";
        QTest::newRow("outputs off at start") << "Every start switches all outputs off.";
        QTest::newRow("armed times") << "armed times are lost when the program ends";
    }
    void manualPageDocuments() {
        QFETCH(QString, phrase);
        QTemporaryDir dir;
        const QString page = dir.path() + "/kavo-panel.1";
        QFile out(page);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(gunzip(installed("share/man/man1/kavo-panel.1.gz")).toUtf8());
        out.close();
        // Plain text, one long line per paragraph, so that phrases are whole.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("MANWIDTH", "1000");
        const Run r = run("man", {"-E", "ascii", "-l", page}, env);
        QString text = r.out;
        text.remove(QRegularExpression(".\b")).replace(QRegularExpression("\\s+"), " ");
        QVERIFY2(text.contains(phrase), qPrintable(phrase + " is not in the manual page"));
    }

#ifdef KAVO_WITH_MQTT
    // Each unit starts the program this install put in place, whatever prefix
    // the build was set up with.
    void unitStartsTheInstalledProgram_data() {
        QTest::addColumn<QString>("unit");
        for (const char* unit : {"lib/systemd/user/kavo-mqtt.service",
                                 "lib/systemd/system/kavo-mqtt-standalone.service",
                                 "lib/systemd/system/kavo-mqtt-standalone@.service"})
            QTest::newRow(unit) << unit;
    }
    void unitStartsTheInstalledProgram() {
        QFETCH(QString, unit);
        const auto start =
            QRegularExpression("^ExecStart=(\\S+)", QRegularExpression::MultilineOption)
                .match(readText(installed(unit)));
        QCOMPARE(start.captured(1), QString("/usr/bin/kavo-mqtt"));
    }

    // systemd finds nothing to fault in the standalone bridge's units, and
    // their sandbox keeps the exposure the README states (2.0 at most).
    void systemUnitIsValidAndConfined_data() {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("name"); // the unit checked
        QTest::newRow("one board") << "kavo-mqtt-standalone.service"
                                   << "kavo-mqtt-standalone.service";
        QTest::newRow("a board per instance") << "kavo-mqtt-standalone@.service"
                                              << "kavo-mqtt-standalone@kitchen.service";
    }
    void systemUnitIsValidAndConfined() {
        QFETCH(QString, unit);
        QFETCH(QString, name);
        requireTool("systemd-analyze");
        // verify wants the program where the unit names it: the installed unit
        // then names the scratch tree's. The manual page is not the system's
        // yet, so man: links go unchecked.
        QTemporaryDir dir;
        QFile copy(dir.filePath(unit));
        QVERIFY(copy.open(QIODevice::WriteOnly));
        copy.write(readText(installed("lib/systemd/system/" + unit))
                       .replace("ExecStart=/usr/bin/kavo-mqtt ",
                                "ExecStart=" + installed("bin/kavo-mqtt") + " ")
                       .toUtf8());
        copy.close();
        const Run verify = run("systemd-analyze", {"verify", "--man=no", dir.filePath(name)});
        QVERIFY2(verify.exitCode == 0 && verify.out.isEmpty() && verify.err.isEmpty(),
                 qPrintable(verify.out + verify.err));
        const Run security = run(
            "systemd-analyze", {"security", "--offline=yes", "--threshold=20", dir.filePath(name)});
        QVERIFY2(security.exitCode == 0, qPrintable(security.out.trimmed().section('\n', -1)));
    }
#endif

    void ppdevLoadsAtBoot() {
        QStringList modules;
        for (const QString& line :
             readText(installed("lib/modules-load.d/kavo-panel.conf")).split('\n')) {
            if (!line.trimmed().isEmpty() && !line.startsWith('#') && !line.startsWith(';'))
                modules << line.trimmed();
        }
        QCOMPARE(modules, QStringList{"ppdev"});
    }

    void debianPackage() {
        requireTool("dpkg-deb");
        requireTool("dpkg-shlibdeps");
        QTemporaryDir out;
        const Run pack =
            run(KAVO_CPACK,
                {"-G", "DEB", "--config", KAVO_BUILD_DIR "/CPackConfig.cmake", "-B", out.path()},
                {}, 600000);
        QVERIFY2(pack.exitCode == 0, qPrintable(pack.out + pack.err));
        const QStringList debs = QDir(out.path()).entryList({"*.deb"}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        QVERIFY2(QRegularExpression("^kavo-panel_" + QRegularExpression::escape(Version) +
                                    "_[a-z0-9]+\\.deb$")
                     .match(debs.first())
                     .hasMatch(),
                 qPrintable(debs.first()));
        const QString deb = out.filePath(debs.first());

        // The package holds exactly what the install puts in place.
        QStringList contents;
        for (const QString& line : run("dpkg-deb", {"--contents", deb}).out.split('\n')) {
            if (line.startsWith('-'))
                contents << line.section(" ./usr/", 1).trimmed();
        }
        contents.sort();
        QStringList expected = expectedFiles().keys();
        expected.sort();
        QCOMPARE(contents, expected);

        // dpkg-shlibdeps found the libraries the program links.
        const QString depends = run("dpkg-deb", {"--field", deb, "Depends"}).out;
        for (const char* library : {"libc6", "libqt6core6", "libqt6gui6", "libqt6widgets6"})
            QVERIFY2(depends.contains(QLatin1String(library)), qPrintable(depends));

        // The scripts that add the group kavo-relay and tell systemd and udev.
        const QString info = run("dpkg-deb", {"--info", deb}).out;
        for (const char* script : {"postinst", "prerm", "postrm"})
            QVERIFY2(info.contains(QRegularExpression(QString("\\*\\s+%1\\s").arg(script))),
                     qPrintable(info));
        QVERIFY2(depends.contains(QRegularExpression("\\badduser\\b")), qPrintable(depends));

        if (QStandardPaths::findExecutable("lintian").isEmpty())
            QSKIP("lintian is not installed (scripts/setup.sh installs it)");
        const Run lint =
            run("lintian", {"--fail-on", "error", "--tag-display-limit", "0", deb}, {}, 600000);
        qInfo().noquote() << "lintian:" << (lint.out.isEmpty() ? "no tags" : lint.out);
        QVERIFY2(lint.exitCode == 0, qPrintable(lint.out + lint.err));
    }
};

QTEST_GUILESS_MAIN(InstallTreeTest)
#include "test_install_tree.moc"
