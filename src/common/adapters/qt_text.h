#pragma once
// The user-interface boundary: texts of the core are bytes in the single-byte code page
// of the current language; file paths are native strings (UTF-8 on Linux).

#include <QString>
#include <string>

namespace pelvoro {

QString toQt(const std::string& bytes);
std::string fromQt(const QString& text);

QString pathToQt(const std::string& path);
std::string pathFromQt(const QString& path);

// "Caption (*.EXT)|*.EXT" -> "Caption (*.EXT *.ext)" as Qt's file dialogs want it, with
// the lower-case pattern added where file names are case-sensitive.
QString qtFileFilter(const std::string& filter);

}  // namespace pelvoro
