#include "common/adapters/qt_text.h"

#include <QStringList>

#include "common/identity.h"
#include "common/codepage.h"

namespace pelvoro {

QString toQt(const std::string& bytes) {
    return QString::fromStdString(toUtf8(bytes, appEnvironment().codePage));
}

std::string fromQt(const QString& text) {
    return fromUtf8(text.toStdString(), appEnvironment().codePage);
}

QString pathToQt(const std::string& path) {
    return QString::fromStdString(path);
}
std::string pathFromQt(const QString& path) {
    return path.toStdString();
}

QString qtFileFilter(const std::string& filter) {
    QString f = QString::fromStdString(filter);
    QStringList parts = f.split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString caption = parts[i];
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        QStringList all;
        for (const QString& p : patterns) {
            all << p;
            if (p.toLower() != p) all << p.toLower();
        }
        int paren = caption.indexOf('(');
        if (paren >= 0) caption = caption.left(paren).trimmed();
        out << QString("%1 (%2)").arg(caption, all.join(' '));
    }
    if (out.isEmpty()) return f;
    return out.join(";;");
}

}  // namespace pelvoro
