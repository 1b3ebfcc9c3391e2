#pragma once
// Makes a language file current for the length of a test.

#include <memory>
#include <string>

#include "common/lang_text.h"

namespace pelvoro::testing {

class ScopedLanguage {
  public:
    // `iniText` holds a "[Language]" section.
    explicit ScopedLanguage(const std::string& iniText) : previous_(currentLanguageFile()) {
        setCurrentLanguageFile(LanguageFile::fromText(iniText));
    }
    ~ScopedLanguage() { setCurrentLanguageFile(previous_); }

  private:
    std::shared_ptr<LanguageFile> previous_;
};

// A temporary folder removed at the end of the test.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    void write(const std::string& name, const std::string& bytes) const;

  private:
    std::string path_;
};

}  // namespace pelvoro::testing
