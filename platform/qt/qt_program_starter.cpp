#include "qt_program_starter.h"
#include "platform/default_program_starter.h"

#include <QFileInfo>
#include <QProcess>
#include <QString>

namespace platform::qt {
namespace {
QString toPath(const std::string& path) {
    return QString::fromUtf8(path.c_str());
}
} // namespace

bool QtProgramStarter::isFile(const std::string& path) const {
    const QString file = toPath(path);
    if (file.isEmpty())
        return false;
    const QFileInfo info(file);
    return info.isFile() && !info.isHidden();
}

bool QtProgramStarter::start(const std::string& path) {
    const QString program = toPath(path);
    // An empty name would make QProcess fail anyway; say so without trying.
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, {});
}

} // namespace platform::qt

namespace platform {
std::unique_ptr<ProgramStarter> makeProgramStarter() {
    return std::make_unique<qt::QtProgramStarter>();
}
} // namespace platform
