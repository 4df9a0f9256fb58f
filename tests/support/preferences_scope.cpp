#include "support/preferences_scope.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace td::test {

void keepSettingsPrivate()
{
    static QTemporaryDir folder;
    static const bool pointed = [] {
        QStandardPaths::setTestModeEnabled(true);
        // Named as the program names itself, so QSettings() finds a file it can write.
        if (QCoreApplication::organizationName().isEmpty())
            QCoreApplication::setOrganizationName(QStringLiteral("termdeposit-tests"));
        if (QCoreApplication::applicationName().isEmpty())
            QCoreApplication::setApplicationName(QStringLiteral("termdeposit"));
        for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
            QSettings::setPath(format, QSettings::UserScope, folder.path());
            QSettings::setPath(format, QSettings::SystemScope, folder.path() + QStringLiteral("/system"));
        }
        return true;
    }();
    Q_UNUSED(pointed);
}

}  // namespace td::test
