#pragma once

#include <QObject>
#include <QString>

namespace td {

// The user's choices that are no part of a register: kept in the user's
// configuration folder through QSettings. Without a settings file, or with a
// value out of its range, a value is its default.
struct Preferences {
    static constexpr int kMinTaxYearStartMonth = 1;
    static constexpr int kMaxTaxYearStartMonth = 12;
    static constexpr int kMinTaxShare = 0;
    static constexpr int kMaxTaxShare = 10000;
    static constexpr int kMinReminderDays = 0;
    static constexpr int kMaxReminderDays = 365;

    // The month a tax year starts in; 1 makes tax years calendar years.
    int taxYearStartMonth = 1;
    // The share of interest withheld as tax, in hundredths of a percent
    // (1050 is 10.5%); 0 shows no tax.
    int taxShareHundredthsOfPercent = 0;
    // Active deposits maturing within this many days are brought to the
    // user's notice when a register opens; 0 turns the reminder off.
    int reminderDays = 14;

    bool operator==(const Preferences&) const = default;
};

Preferences loadPreferences();
// Stores the preferences and tells every window that shows figures made with them.
// False when the settings file could not be written: then nothing is told,
// and the preferences stay as they were.
bool savePreferences(const Preferences& preferences);
// Where the preferences are kept.
QString preferencesFileName();

// Tells of stored preferences that changed, so that an open window shows
// its figures with the new ones at once.
class PreferencesNotifier : public QObject {
    Q_OBJECT

public:
    static PreferencesNotifier& instance();

signals:
    void changed(const td::Preferences& preferences);
};

}  // namespace td
