#include "settings/QtSettingsStore.h"
#include "host/Files.h"
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryFile>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <unistd.h>

namespace {
// More than our keys and Qt's reformatting of a file can add to it.
constexpr qint64 SpareBytes = 16384;

// What a failed call left in errno, in the player's terms.
SaveProblem FromErrno(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return SaveProblem::DiskFull;
    case EROFS:
        return SaveProblem::ReadOnly;
    case EACCES:
    case EPERM:
        return SaveProblem::NoPermission;
    case EISDIR:
        return SaveProblem::NotAFile;
    case ENOTDIR:
    case ENOENT:
        return SaveProblem::FolderNotMade;
    default:
        return SaveProblem::NotWritten;
    }
}

// The file's bytes; empty when there is none, nothing when it cannot be read whole.
std::optional<QByteArray> ReadAll(const QString& file) {
    QFile f(file);
    if (!f.exists()) return QByteArray();
    if (f.size() > QtSettingsStore::MaxFileBytes || !f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) return std::nullopt;
    return bytes;
}

// Every byte reached the file, or false: a failed final flush is a failure too.
bool WriteAll(QFileDevice& f, const QByteArray& bytes) {
    return f.write(bytes) == bytes.size() && f.flush() && f.error() == QFileDevice::NoError;
}

// A draft lies beside the file, so that it shares its disk and its rights, and goes when done.
// Its name is new each time: Qt keeps what it read of a file by name and may not look again.
bool WriteDraft(QTemporaryFile& draft, const QByteArray& bytes) {
    if (!draft.open() || !draft.resize(0)) return false;
    const bool ok = WriteAll(draft, bytes);
    draft.close();
    return ok && QFileInfo(draft.fileName()).size() == bytes.size();
}

using Variants = std::map<QString, QVariant>;

Variants AllVariants(const QSettings& s) {
    Variants out;
    for (const QString& key : s.allKeys())
        out[key] = s.value(key);
    return out;
}

// What Qt reads of these bytes, through a file of their own beside the settings file.
std::optional<Variants> Readable(const QString& file, const QByteArray& bytes) {
    QTemporaryFile copy(file + ".read-XXXXXX");
    if (!WriteDraft(copy, bytes)) return std::nullopt;
    return AllVariants(QSettings(copy.fileName(), QSettings::IniFormat));
}

struct Merged {
    SaveProblem problem = SaveProblem::None;
    QByteArray bytes;
    bool damaged = false;    // Qt could not read the current file whole
    bool unfaithful = false; // what Qt wrote does not read back as what it meant
};

Merged Failed(SaveProblem problem) {
    Merged out;
    out.problem = problem;
    return out;
}

// Qt merges the new values into a draft of the current file and formats it; the draft is
// trusted only once a fresh reading of its bytes gives every value Qt meant to write. Of a
// file Qt reads only in part, what it could read is kept.
Merged Merge(const QString& file, const QByteArray& current, const Variants& pending) {
    QTemporaryFile draft(file + ".draft-XXXXXX"), check(file + ".check-XXXXXX");
    Merged out;
    errno = 0;
    // Room for the merged file is taken first, where a full disk still says that it is.
    const QByteArray room(current.size() + SpareBytes, '\n');
    if (!WriteDraft(draft, room) || !WriteDraft(draft, current)) return Failed(FromErrno(errno));
    Variants meant;
    {
        QSettings writer(draft.fileName(), QSettings::IniFormat);
        for (const auto& [key, value] : pending)
            writer.setValue(key, value);
        errno = 0;
        writer.sync();
        out.damaged = writer.status() == QSettings::FormatError;
        if (writer.status() == QSettings::AccessError) return Failed(FromErrno(errno));
        meant = AllVariants(writer);
    }
    std::optional<QByteArray> merged = ReadAll(draft.fileName());
    // Read back under another name: Qt would answer from its memory for the same one.
    errno = 0;
    if (!merged || !WriteDraft(check, *merged)) return Failed(FromErrno(errno));
    QSettings reader(check.fileName(), QSettings::IniFormat);
    if (reader.status() != QSettings::NoError || AllVariants(reader) != meant) {
        out = Failed(SaveProblem::NotWritten);
        out.unfaithful = true;
        return out;
    }
    out.bytes = *merged;
    return out;
}

// Replaces the file only once the new contents are wholly on disk.
SaveProblem Replace(const QString& file, const QByteArray& bytes) {
    const bool existed = QFileInfo::exists(file);
    QSaveFile out(file);
    errno = 0;
    if (!out.open(QIODevice::WriteOnly)) return FromErrno(errno);
    if (!WriteAll(out, bytes)) {
        const int error = errno;
        out.cancelWriting();
        out.commit();
        return FromErrno(error);
    }
    if (!out.commit()) return FromErrno(errno);
    if (!existed) QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return SaveProblem::None;
}

// A file Qt cannot write back as it reads it is made anew from what Qt could read of it.
Merged MergeOrRemake(const QString& file, const QByteArray& current,
                     const std::map<QString, QString>& pending) {
    Variants values(pending.begin(), pending.end());
    Merged merged = Merge(file, current, values);
    if (!merged.unfaithful) return merged;
    errno = 0;
    std::optional<Variants> readable = Readable(file, current);
    if (!readable) return Failed(FromErrno(errno));
    for (const auto& [key, value] : values)
        (*readable)[key] = value;
    merged = Merge(file, QByteArray(), *readable);
    merged.damaged = true;
    return merged;
}

SaveProblem MakeFolder(const std::string& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return ec.value() == EEXIST ? SaveProblem::FolderNotMade : FromErrno(ec.value());
    return std::filesystem::is_directory(folder, ec) ? SaveProblem::None
                                                     : SaveProblem::FolderNotMade;
}
} // namespace

// Qt spells file names in UTF-8 only: a folder whose name is not is reached through a handle.
struct QtSettingsStore::Handle {
    int fd = -1;
    ~Handle() {
        if (fd >= 0) close(fd);
    }
};

QtSettingsStore::QtSettingsStore(const std::string& application)
    : folder(ConfigFolder()), file(folder + "/" + application + ".conf"),
      name(QString::fromStdString(application + ".conf")) {
    if (folder.empty()) file = "~/.config/" + application + ".conf";
    if (folder.empty() || !Reach()) return;
    const QFileInfo info(path);
    tooLarge = info.exists() && info.size() > MaxFileBytes;
    if (tooLarge) return;
    stored = std::make_unique<QSettings>(path, QSettings::IniFormat);
    for (const auto& [key, value] : AllVariants(*stored))
        loaded[key] = value.toString();
}

QtSettingsStore::~QtSettingsStore() = default;

bool QtSettingsStore::Reach() {
    if (!path.isEmpty()) return true;
    const QByteArray raw = QByteArray::fromStdString(folder);
    if (QFile::encodeName(QFile::decodeName(raw)) == raw) {
        path = QFile::decodeName(raw) + "/" + name;
        return true;
    }
    auto h = std::make_unique<Handle>();
    h->fd = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    const QString through = "/proc/self/fd/" + QString::number(h->fd);
    if (h->fd < 0 || !QFileInfo(through).isDir()) return false;
    handle = std::move(h);
    path = through + "/" + name;
    return true;
}

std::string QtSettingsStore::EscapeSection(const std::string& section) {
    // "/" and "\" nest groups and "%" is the store's own escape; keep every name distinct.
    // Qt reads any "[general]" back as the top level, so such a name escapes its first letter
    // ("General" itself Qt escapes on its own, and earlier files hold it so).
    static const char* hex = "0123456789ABCDEF";
    const bool general = section != "General" && QString::fromStdString(section).compare(
                                                     "general", Qt::CaseInsensitive) == 0;
    std::string out;
    for (unsigned char c : section) {
        if (c == '/' || c == '\\' || c == '%' || c < 0x20 || c == 0x7F ||
            (general && out.empty())) {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::optional<std::string> QtSettingsStore::Get(const std::string& section,
                                                const std::string& key) {
    const QString at = QString::fromStdString(EscapeSection(section) + "/" + key);
    if (const auto it = pending.find(at); it != pending.end()) return it->second.toStdString();
    if (!stored) return std::nullopt;
    const QVariant v = stored->value(at);
    if (!v.isValid()) return std::nullopt;
    return v.toString().toStdString();
}

// A value the file held when last read or written is no change; a key it lacked is one.
void QtSettingsStore::Set(const std::string& section, const std::string& key,
                          const std::string& value) {
    const QString at = QString::fromStdString(EscapeSection(section) + "/" + key);
    const QString v = QString::fromStdString(value);
    if (const auto it = loaded.find(at); it != loaded.end() && it->second == v)
        pending.erase(at);
    else
        pending[at] = v;
}

bool QtSettingsStore::SameAsStored() const {
    if (!stored) return false;
    stored->sync(); // reads what others may have written since; writes nothing
    for (const auto& [key, value] : pending) {
        const QVariant v = stored->value(key);
        if (!v.isValid() || v.toString() != value) return false;
    }
    return true;
}

SaveResult QtSettingsStore::Flush() {
    const SaveProblem problem = Save();
    return {problem, problem == SaveProblem::None ? std::string() : file};
}

// The folder is there and the file may be replaced.
SaveProblem QtSettingsStore::Ready() {
    if (const SaveProblem made = MakeFolder(folder); made != SaveProblem::None) return made;
    if (!Reach()) return SaveProblem::FolderNotMade;
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) return SaveProblem::NotAFile;
    if (info.exists() && !info.isWritable()) return SaveProblem::NoPermission;
    return SaveProblem::None;
}

// A save that cannot be made whole leaves the file exactly as it was; the values stay pending
// for the next save.
SaveProblem QtSettingsStore::Save() {
    if (pending.empty()) return SaveProblem::None;
    if (folder.empty()) return SaveProblem::NoHome;
    if (tooLarge) return SaveProblem::TooLarge;
    if (SameAsStored()) {
        pending.clear();
        return SaveProblem::None;
    }
    if (const SaveProblem ready = Ready(); ready != SaveProblem::None) return ready;
    QLockFile lock(path + ".lock");
    errno = 0;
    if (!lock.tryLock(LockWaitMs))
        return lock.error() == QLockFile::LockFailedError ? SaveProblem::Locked : FromErrno(errno);
    errno = 0;
    const std::optional<QByteArray> current = ReadAll(path);
    if (!current)
        return QFileInfo(path).size() > MaxFileBytes ? SaveProblem::TooLarge : FromErrno(errno);
    const Merged merged = MergeOrRemake(path, *current, pending);
    if (merged.problem != SaveProblem::None) return merged.problem;
    if (merged.damaged)
        if (const SaveProblem kept = Replace(path + DamagedSuffix, *current);
            kept != SaveProblem::None)
            return kept;
    if (merged.bytes != *current)
        if (const SaveProblem replaced = Replace(path, merged.bytes); replaced != SaveProblem::None)
            return replaced;
    for (const auto& [key, value] : pending)
        loaded[key] = value;
    pending.clear();
    if (!stored) stored = std::make_unique<QSettings>(path, QSettings::IniFormat);
    stored->sync();
    return SaveProblem::None;
}
