#include "app/startup.h"

#include "common/identity.h"
#include "common/lang_text.h"
#include "instrument/models.h"

namespace pelvoro {

StartupOutcome runStartup(StartupHost& host, const std::string& dataDir,
                          const StartupOptions& options) {
    StartupOutcome out;
    AppEnvironment& env = appEnvironment();
    env.dataDir = dataDir;

    // 2. identity
    host.setMainCaption(identity::kBrandTitle);

    // 3, 4. settings and language
    SettingsStore& settings = host.settings();
    IniFile mainIni = IniFile::load(env.mainIniPath());
    out.language = chooseStartupLanguage(settings, mainIni, dataDir);
    env.language = out.language.language;
    env.languageFile = out.language.languageFile;
    env.helpFile = out.language.helpFile;
    env.codePage = codePageByName(out.language.codepage).value_or(CodePage::Windows1252);
    setCurrentLanguageFile(LanguageFile::load(env.languageFilePath()));

    // 5. logo
    if (settings.available())
        if (auto logo = settings.readString("LogoImage")) env.logoImage = *logo;

    // 6. printer check
    if (host.printerCount() <= 0) {
        host.prompts().error("No printer installed. Application will be terminated!");
        host.terminate();
        out.terminated = true;
        return out;
    }

    // 7. brand profile
    MainWindowState& state = host.mainState();
    if (options.allCommands) {
        host.offerAllCommands();
    } else {
        host.applyBrandProfile();
        // 8. this brand always works with one model
        selectModel(state, kForcedModelKey);
        host.showCheckedModel();
        saveSetting(settings, state, "InstrModel");
    }

    // 9, 10
    host.setDocumentFilters(identity::kDocumentFilter);
    host.resetDocumentCounters();
    host.refreshCommandState();

    // 11, 12
    host.configurePortBuffers();
    host.refreshAddItemCommands();

    // 13. recent files, then the stored model
    state.recentFiles.clear();
    loadSetting(settings, state, "LastOpFiles");
    loadSetting(settings, state, "InstrModel");
    host.showCheckedModel();

    // 14, 15
    host.setInitialDirectories(env.resultsDir());
    currentTextCodes().fill(*currentLanguageFile());
    host.translateCaptions();
    return out;
}

}  // namespace pelvoro
