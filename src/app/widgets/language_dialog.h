#pragma once
#include <QDialog>
#include <vector>

#include "app/language_list.h"

class QButtonGroup;
class QGroupBox;
class QRadioButton;

namespace pelvoro {

// Config > Language: the languages of the language list; the choice is stored and
// takes effect at the next start.
class TfrmLanguage : public QDialog {
    Q_OBJECT
  public:
    // Built once at start. Tells the user and reports languageFileFound() false when
    // the current language file is missing.
    TfrmLanguage(SettingsStore& settings, Prompts& prompts, QWidget* parent = nullptr);

    bool languageFileFound() const { return fileFound_; }
    const LanguageList& languages() const { return list_; }
    int selectedIndex() const;
    void setSelectedIndex(int index);
    // Shows the dialog with the stored choice preselected; on OK stores the new choice.
    void choose();
    // What OK does (also used by tests).
    bool accept(int index);

  private:
    SettingsStore& settings_;
    Prompts& prompts_;
    LanguageList list_;
    QGroupBox* group_ = nullptr;
    QButtonGroup* buttons_ = nullptr;
    bool fileFound_ = true;
};

}  // namespace pelvoro
