#include "reports/adapters/qt_safe_file.h"

#include <QFileInfo>
#include <QSaveFile>

#include "common/adapters/qt_text.h"

namespace pelvoro {

std::string writeFileSafely(const std::string& path, const std::string& bytes) {
    QString target = pathToQt(path);
    // Write through a symbolic link, to the file it names.
    QFileInfo info(target);
    if (info.isSymLink()) target = info.symLinkTarget();
    if (QFileInfo(target).isDir()) return "is a folder";
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString().toStdString();
    if (file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
        std::string reason = file.errorString().toStdString();
        file.cancelWriting();
        return reason.empty() ? "write error" : reason;
    }
    if (!file.commit()) {
        std::string reason = file.errorString().toStdString();
        return reason.empty() ? "write error" : reason;
    }
    return {};
}

}  // namespace pelvoro
