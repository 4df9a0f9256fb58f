#pragma once

#include <QStringList>

namespace td {

// The deposit files last opened or saved, most recent first, kept in the
// user's settings (QSettings) for the next start. The list is read afresh
// each time, so a file that another running copy opened shows here too.
class RecentFiles {
public:
    static constexpr int kMaxFiles = 8;

    QStringList files() const;
    // To the top of the list, as an absolute path; a file listed already moves there.
    void add(const QString& path);
    void remove(const QString& path);
    void clear();
};

}  // namespace td
