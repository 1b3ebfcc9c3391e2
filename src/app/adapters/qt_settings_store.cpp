#include "app/adapters/qt_settings_store.h"

#include <QFileInfo>
#include <QIODevice>

#include "common/identity.h"

namespace pelvoro {

namespace {

// Strings are kept byte for byte: the store does not know whether a value is a path
// (native bytes) or a text (code-page bytes), so it never converts.
QString bytesToQ(const std::string& s) {
    return QString::fromLatin1(s.data(), qsizetype(s.size()));
}
std::string qToBytes(const QString& s) {
    return s.toLatin1().toStdString();
}

QByteArray escape(const QByteArray& in) {
    QByteArray out;
    for (char c : in) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\0':
                out += "\\0";
                break;
            default:
                out += c;
        }
    }
    return out;
}

QByteArray unescape(const QByteArray& in) {
    QByteArray out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        char c = in[i];
        if (c == '\\' && i + 1 < in.size()) {
            char n = in[++i];
            out += n == 'n' ? '\n' : n == 'r' ? '\r' : n == '0' ? '\0' : n;
        } else {
            out += c;
        }
    }
    return out;
}

bool readTyped(QIODevice& device, QSettings::SettingsMap& map) {
    while (!device.atEnd()) {
        QByteArray line = device.readLine();
        while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
        if (line.isEmpty() || line.startsWith('#')) continue;
        qsizetype eq = line.indexOf('=');
        if (eq <= 0) continue;
        QString name = QString::fromLatin1(unescape(line.left(eq)));
        QByteArray rest = line.mid(eq + 1);
        if (rest.size() < 2 || rest[1] != ':') continue;
        QByteArray body = unescape(rest.mid(2));
        switch (rest[0]) {
            case 's':
                map.insert(name, QString::fromLatin1(body));
                break;
            case 'i': {
                bool ok = false;
                int v = body.toInt(&ok);
                if (ok) map.insert(name, v);
                break;
            }
            case 'b':
                map.insert(name, body == "true");
                break;
            default:
                break;
        }
    }
    return true;
}

bool writeTyped(QIODevice& device, const QSettings::SettingsMap& map) {
    device.write("# Tamvisto settings: name=type:value (s string, i integer, b boolean)\n");
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        QByteArray line = escape(it.key().toLatin1());
        line += '=';
        const QVariant& v = it.value();
        if (v.typeId() == QMetaType::Bool)
            line += QByteArray("b:") + (v.toBool() ? "true" : "false");
        else if (v.typeId() == QMetaType::Int)
            line += "i:" + QByteArray::number(v.toInt());
        else
            line += "s:" + escape(v.toString().toLatin1());
        line += '\n';
        device.write(line);
    }
    return true;
}

}  // namespace

QSettings::Format typedSettingsFormat() {
    static const QSettings::Format format =
        QSettings::registerFormat("conf", readTyped, writeTyped, Qt::CaseSensitive);
    return format;
}

QtSettingsStore::QtSettingsStore() {
#ifdef Q_OS_WIN
    settings_ = std::make_unique<QSettings>(
        QString("HKEY_CURRENT_USER\\Software\\%1").arg(identity::kBrandTitle),
        QSettings::NativeFormat);
    existedAtStart_ = !settings_->allKeys().isEmpty();
#else
    settings_ = std::make_unique<QSettings>(typedSettingsFormat(), QSettings::UserScope, "Software",
                                            identity::kBrandTitle);
    existedAtStart_ = QFileInfo::exists(settings_->fileName());
#endif
}

QtSettingsStore::QtSettingsStore(const QString& filePath) {
    existedAtStart_ = QFileInfo::exists(filePath);
    settings_ = std::make_unique<QSettings>(filePath, typedSettingsFormat());
}

bool QtSettingsStore::available() const {
    return settings_->status() != QSettings::AccessError;
}

std::optional<SettingValue> QtSettingsStore::value(const std::string& name) const {
    QVariant v = settings_->value(QString::fromLatin1(name.c_str()));
    if (!v.isValid()) return std::nullopt;
    switch (v.typeId()) {
        case QMetaType::Bool:
            return SettingValue(v.toBool());
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
            return SettingValue(v.toInt());
        default:
            return SettingValue(qToBytes(v.toString()));
    }
}

void QtSettingsStore::setValue(const std::string& name, const SettingValue& value) {
    QString key = QString::fromLatin1(name.c_str());
    if (auto s = std::get_if<std::string>(&value))
        settings_->setValue(key, bytesToQ(*s));
    else if (auto i = std::get_if<int>(&value))
        settings_->setValue(key, *i);
    else
        settings_->setValue(key, std::get<bool>(value));
}

void QtSettingsStore::remove(const std::string& name) {
    settings_->remove(QString::fromLatin1(name.c_str()));
}

void QtSettingsStore::flush() {
    settings_->sync();
}

}  // namespace pelvoro
