#include "settings/QtSettingsStore.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <optional>

namespace {
// Where Qt keeps a user's INI settings on this platform.
QString UserFile(const std::string& application) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/" +
           QString::fromStdString(application) + ".conf";
}

// The file's bytes; empty when there is none, nothing when it cannot be read whole.
std::optional<QByteArray> ReadAll(const QString& file) {
    QFile f(file);
    if (!f.exists()) return QByteArray();
    if (f.size() > QtSettingsStore::MaxFileBytes || !f.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) return std::nullopt;
    return bytes;
}

// Every byte reached the file, or false: a failed final flush is a failure too.
bool WriteAll(QFileDevice& f, const QByteArray& bytes) {
    return f.write(bytes) == bytes.size() && f.flush() && f.error() == QFileDevice::NoError;
}

bool WriteNew(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const bool ok = WriteAll(f, bytes);
    f.close();
    return ok && f.error() == QFileDevice::NoError && QFileInfo(file).size() == bytes.size();
}

using Values = std::map<QString, QVariant>;

Values AllValues(const QSettings& s) {
    Values out;
    for (const QString& key : s.allKeys()) out[key] = s.value(key);
    return out;
}

// Qt merges the new values into a draft of the current file and formats it; the draft is
// trusted only once a fresh reading of its bytes gives every value Qt meant to write.
std::optional<QByteArray> Merge(const QByteArray& current, const std::map<QString, QString>& pending) {
    QTemporaryDir scratch;
    const QString draft = scratch.filePath("draft.conf");
    if (!scratch.isValid() || !WriteNew(draft, current)) return std::nullopt;
    Values meant;
    {
        QSettings writer(draft, QSettings::IniFormat);
        for (const auto& [key, value] : pending) writer.setValue(key, value);
        writer.sync();
        if (writer.status() != QSettings::NoError) return std::nullopt;
        meant = AllValues(writer);
    }
    std::optional<QByteArray> merged = ReadAll(draft);
    // Read back under another name: Qt would answer from its memory for the same one.
    const QString check = scratch.filePath("check.conf");
    if (!merged || !WriteNew(check, *merged)) return std::nullopt;
    QSettings reader(check, QSettings::IniFormat);
    if (reader.status() != QSettings::NoError || AllValues(reader) != meant) return std::nullopt;
    return merged;
}

// Replaces the file only once the new contents are wholly on disk.
bool Replace(const QString& file, const QByteArray& bytes) {
    const bool existed = QFileInfo::exists(file);
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) return false;
    if (!WriteAll(out, bytes)) {
        out.cancelWriting();
        out.commit();
        return false;
    }
    if (!out.commit()) return false;
    if (!existed) QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}
} // namespace

QtSettingsStore::QtSettingsStore(const std::string& application) : path(UserFile(application)) {
    const QFileInfo info(path);
    tooLarge = info.exists() && info.size() > MaxFileBytes;
    if (!tooLarge) stored = std::make_unique<QSettings>(path, QSettings::IniFormat);
}

QtSettingsStore::~QtSettingsStore() = default;

std::string QtSettingsStore::EscapeSection(const std::string& section) {
    // "/" and "\" nest groups and "%" is the store's own escape; keep every name distinct.
    // Qt reads any "[general]" back as the top level, so such a name escapes its first letter
    // ("General" itself Qt escapes on its own, and earlier files hold it so).
    static const char* hex = "0123456789ABCDEF";
    const bool general = section != "General" && QString::fromStdString(section).compare(
                                                     "general", Qt::CaseInsensitive) == 0;
    std::string out;
    for (unsigned char c : section) {
        if (c == '/' || c == '\\' || c == '%' || c < 0x20 || c == 0x7F || (general && out.empty())) {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::optional<std::string> QtSettingsStore::Get(const std::string& section, const std::string& key) {
    const QString name = QString::fromStdString(EscapeSection(section) + "/" + key);
    if (const auto it = pending.find(name); it != pending.end()) return it->second.toStdString();
    if (!stored) return std::nullopt;
    const QVariant v = stored->value(name);
    if (!v.isValid()) return std::nullopt;
    return v.toString().toStdString();
}

void QtSettingsStore::Set(const std::string& section, const std::string& key, const std::string& value) {
    pending[QString::fromStdString(EscapeSection(section) + "/" + key)] = QString::fromStdString(value);
}

bool QtSettingsStore::SameAsStored() const {
    stored->sync(); // reads what others may have written since; writes nothing
    for (const auto& [key, value] : pending) {
        const QVariant v = stored->value(key);
        if (!v.isValid() || v.toString() != value) return false;
    }
    return true;
}

// A save that cannot be made whole leaves the file exactly as it was; the values stay pending
// for the next save.
void QtSettingsStore::Flush() {
    if (pending.empty() || tooLarge) return;
    if (SameAsStored()) {
        pending.clear();
        return;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return;
    QLockFile lock(path + ".lock");
    if (!lock.tryLock(LockWaitMs)) return;
    const std::optional<QByteArray> current = ReadAll(path);
    if (!current) return;
    const std::optional<QByteArray> merged = Merge(*current, pending);
    if (!merged || (*merged != *current && !Replace(path, *merged))) return;
    pending.clear();
    stored->sync();
}
