// Starting the system-information tool for real: the file test, the detached
// start without a shell, and the whole lookup on Linux.

#include "help/qt_program_starter.h"
#include "help/sys_info.h"
#include "platform/linux/registry_linux.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
// An executable script that writes `marker` when it runs.
QString makeTool(const QString& path, const QString& marker) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("#!/bin/sh\necho started > '" + marker.toLocal8Bit() + "'\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}
} // namespace

class TestProgramStarter : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void isFile_data();
    void isFile();
    void startFails_data();
    void startFails();
    void startsTheFileItself_data();
    void startsTheFileItself();
    void lookupStartsTheToolOnPath();
    void lookupWithoutToolShowsTheMessage();

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString root_;
};

void TestProgramStarter::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    root_ = dir_->path();
    QFile plain(root_ + "/plain.txt");
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    QFile hidden(root_ + "/.hidden");
    QVERIFY(hidden.open(QIODevice::WriteOnly));
    hidden.close();
    QVERIFY(QDir().mkpath(root_ + "/folder"));
    QVERIFY(QFile::link(root_ + "/plain.txt", root_ + "/link"));
}

void TestProgramStarter::isFile_data() {
    QTest::addColumn<QString>("path"); // "@" stands for the temporary folder
    QTest::addColumn<bool>("expected");
    QTest::newRow("plain file") << "@/plain.txt" << true;
    QTest::newRow("link to a file") << "@/link" << true;
    QTest::newRow("hidden file") << "@/.hidden" << false;
    QTest::newRow("folder") << "@/folder" << false;
    QTest::newRow("missing") << "@/missing" << false;
    QTest::newRow("empty") << "" << false;
}

void TestProgramStarter::isFile() {
    QFETCH(QString, path);
    QFETCH(bool, expected);
    help::QtProgramStarter starter;
    QCOMPARE(starter.isFile(path.replace('@', root_).toStdString()), expected);
}

void TestProgramStarter::startFails_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("empty") << "";
    QTest::newRow("missing") << "@/missing";
    QTest::newRow("not executable") << "@/plain.txt";
    QTest::newRow("folder") << "@/folder";
}

void TestProgramStarter::startFails() {
    QFETCH(QString, path);
    help::QtProgramStarter starter;
    QVERIFY(!starter.start(path.replace('@', root_).toStdString()));
}

void TestProgramStarter::startsTheFileItself_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("trailingNul");
    // A shell would split or run these names; the start must not.
    QTest::newRow("plain name") << "tool" << false;
    QTest::newRow("spaces and shell syntax") << "sys info; touch $(echo x) &" << false;
    QTest::newRow("text read with its NUL") << "tool" << true;
}

void TestProgramStarter::startsTheFileItself() {
    QFETCH(QString, name);
    QFETCH(bool, trailingNul);
    const QString marker = root_ + "/marker";
    const QString tool = makeTool(root_ + "/bin/" + name, marker);
    QVERIFY(!tool.isEmpty());
    std::string path = tool.toStdString();
    if (trailingNul)
        path += '\0';

    help::QtProgramStarter starter;
    QVERIFY(starter.start(path));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 60000);
}

void TestProgramStarter::lookupStartsTheToolOnPath() {
    const QString marker = root_ + "/marker";
    QVERIFY(!makeTool(root_ + "/bin/gnome-system-monitor", marker).isEmpty());
    platform::LinuxRegistry registry(
        {(root_ + "/bin").toStdString(), platform::defaultSysInfoPrograms()});
    help::QtProgramStarter starter;
    int messages = 0;
    help::StartSysInfo(registry, starter,
                       [&](const std::string&, const std::string&) { ++messages; });
    QCOMPARE(messages, 0);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 60000);
}

void TestProgramStarter::lookupWithoutToolShowsTheMessage() {
    QVERIFY(QDir().mkpath(root_ + "/bin"));
    platform::LinuxRegistry registry(
        {(root_ + "/bin").toStdString(), platform::defaultSysInfoPrograms()});
    help::QtProgramStarter starter;
    std::vector<std::string> messages;
    help::StartSysInfo(registry, starter, [&](const std::string& text, const std::string&) {
        messages.push_back(text);
    });
    QCOMPARE(messages, std::vector<std::string>{"System Information Is Unavailable At This Time"});
}

QTEST_GUILESS_MAIN(TestProgramStarter)
#include "test_program_starter.moc"
