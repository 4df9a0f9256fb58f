#pragma once

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <optional>

class QFileDevice;
class QIODevice;

namespace td {

// Puts the new contents on the device; false when it cannot or the user
// cancelled, with the reason in `reason` (left empty, the device's own is taken).
using WriteStep = std::function<bool(QIODevice& device, QString& reason)>;
// Runs when the new contents are complete and synced in the temporary file,
// just before it takes the old file's place; false (with a reason) keeps the old file.
using BeforeReplaceStep = std::function<bool(QFileDevice& newFile, QString& reason)>;

// Writes a file whole or not at all. The contents go to a temporary file of
// this program's own beside path (where its symbolic links lead), which takes
// the place of path only when every byte is on disk; the folder is then synced
// so that the new name lasts. A failure or cancel anywhere removes the
// temporary file and leaves path as it was; `error` says why.
bool replaceFileSafely(const QString& path, const WriteStep& write, QString& error,
                       const BeforeReplaceStep& beforeReplace = {});

// Writes bytes whole: a device that takes only part of them is asked again for
// the rest, so that it tells why it stopped (a full disk, a size limit).
bool writeWhole(QIODevice& device, QByteArrayView bytes, QString& reason);

// A writer whose files go through replaceFileSafely; SaveGuard drives it,
// handing in the step before the replacement and reading the reason of a failure.
class SafeFileWriter {
public:
    using BeforeReplace = BeforeReplaceStep;
    void setBeforeReplace(BeforeReplace step) { m_beforeReplace = std::move(step); }

    QString errorString() const { return m_error; }
    bool cancelled() const { return m_cancelled; }
    // A hash of the bytes the last write wrote (see ContentHasher), where the
    // writer takes one as the bytes go by.
    std::optional<quint64> contentHash() const { return m_contentHash; }

protected:
    bool replaceFile(const QString& path, const WriteStep& write);
    bool fail(const QString& reason)
    {
        m_error = reason;
        return false;
    }

    QString m_error;
    bool m_cancelled = false;
    std::optional<quint64> m_contentHash;

private:
    BeforeReplace m_beforeReplace;
};

}  // namespace td
