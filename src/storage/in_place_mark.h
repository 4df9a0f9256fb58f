#pragma once

#include <QByteArray>
#include <QString>

namespace td {

// A file written in place (it has several names, or its owner or group would
// not survive a replacement) is torn if the writer dies in the middle of the
// copy. Before the first byte changes, a hidden mark beside its lock file
// (".name.tmd.inplace") says which process writes and where the complete copy
// of the new contents is; it goes only once the file is synced. A mark that
// stays tells the next reader that the file may be torn and where the whole
// contents are.
struct InPlaceMark {
    enum class Writer {
        None,     // no mark: the file was not left half-written
        Running,  // a process on this computer writing the file right now
        Stopped,  // ended, killed or failed: the file may be torn
        Unknown,  // on another computer: still writing there, or stopped
    };
    Writer writer = Writer::None;
    qint64 processId = 0;
    QString hostName;
    // The complete copy, when the mark names one of this program's own files
    // beside the file that is there; empty otherwise.
    QString copyPath;

    bool exists() const { return writer != Writer::None; }

    // The mark that stands for filePath, beside the file its name leads to.
    static QString markPath(const QString& filePath);
    // What the mark beside filePath says. This process never writes while it
    // asks, so its own mark counts as stopped.
    static InPlaceMark find(const QString& filePath);
    // Marks filePath as being written now, its complete copy at copyPath;
    // the mark and its folder are on disk when this returns true.
    static bool set(const QString& filePath, const QString& copyPath, QString& error);
    // Keeps the mark, saying that its writer stopped: the write failed with
    // the file partly written.
    static void setStopped(const QString& filePath, const QString& copyPath);
    // Puts back the mark found before a write that failed without touching
    // the file (none, or one of an earlier interrupted write).
    static void restore(const QString& filePath, const InPlaceMark& earlier);
    // Removes the mark, durably.
    static void clear(const QString& filePath);

private:
    QByteArray m_text;  // as found
};

}  // namespace td
