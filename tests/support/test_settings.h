#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace td::test {

// Settings of the tests' own, in Qt's test folders, never the user's;
// emptied, so that every test starts as with no settings file.
inline void startWithNoSettingsFile()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("termdeposit-tests"));
    QFile::remove(QSettings().fileName());
}

}  // namespace td::test
