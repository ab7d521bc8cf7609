#pragma once
// A pseudo-terminal standing in for a USB serial relay board: the code under
// test opens the slave by its path, the test reads what arrives at the
// master. Closing the master is the board being unplugged.

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

class PtyPair {
  public:
    PtyPair() {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
            master_ = slave_ = -1;
            return;
        }
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        ::fcntl(master_, F_SETFD, FD_CLOEXEC);
        ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
        path_ = QString::fromLocal8Bit(name);
    }
    ~PtyPair() {
        unplug();
        if (slave_ >= 0)
            ::close(slave_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0; }
    // The slave device, e.g. /dev/pts/3. The test keeps a slave descriptor
    // open, so what was written stays readable after the code closes it.
    QString path() const { return path_; }

    // Everything written so far and not yet read.
    QByteArray readAll() {
        QByteArray bytes;
        char buffer[256];
        for (ssize_t n; master_ >= 0 && (n = ::read(master_, buffer, sizeof buffer)) > 0;)
            bytes.append(buffer, n);
        return bytes;
    }
    // Waits up to `timeoutMs` for at least `count` bytes.
    QByteArray read(int count, int timeoutMs) {
        QByteArray bytes = readAll();
        QElapsedTimer waited;
        waited.start();
        while (bytes.size() < count && waited.elapsed() < timeoutMs) {
            pollfd fd{master_, POLLIN, 0};
            ::poll(&fd, 1, 50);
            bytes += readAll();
        }
        return bytes;
    }

    void unplug() {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

  private:
    int master_ = -1;
    int slave_ = -1;
    QString path_;
};

// Bytes as "a0 01 01 a2".
inline QString hex(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' '));
}
