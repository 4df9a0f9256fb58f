#include "support/preferences_scope.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace td::test {

void keepSettingsPrivate()
{
    static QTemporaryDir folder;
    static const bool pointed = [] {
        QStandardPaths::setTestModeEnabled(true);
        for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
            QSettings::setPath(format, QSettings::UserScope, folder.path());
            QSettings::setPath(format, QSettings::SystemScope, folder.path() + QStringLiteral("/system"));
        }
        return true;
    }();
    Q_UNUSED(pointed);
}

}  // namespace td::test
