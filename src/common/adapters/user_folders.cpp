#include "common/adapters/user_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "common/adapters/qt_text.h"
#include "common/settings_store.h"

namespace pelvoro {

std::string userDocumentsFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
    return pathFromQt(QDir::cleanPath(folder));
}

std::string rememberedFolder(SettingsStore& settings, const char* settingName,
                             const std::string& fallback) {
    if (settings.available())
        if (auto stored = settings.readString(settingName))
            if (!stored->empty() && QFileInfo(pathToQt(*stored)).isDir()) return *stored;
    return fallback;
}

void rememberFolder(SettingsStore& settings, const char* settingName, const std::string& folder) {
    if (!folder.empty()) settings.writeString(settingName, folder);
}

}  // namespace pelvoro
