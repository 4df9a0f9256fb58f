#include "platform/preferences.h"

#include <QSettings>

namespace td {

namespace {

constexpr auto kTaxYearStartMonth = "Preferences/taxYearStartMonth";
constexpr auto kTaxShare = "Preferences/taxShareHundredthsOfPercent";
constexpr auto kReminderDays = "Preferences/reminderDays";

int readInRange(const QSettings& settings, const char* key, int min, int max, int fallback)
{
    bool ok = false;
    const int value = settings.value(QLatin1String(key)).toInt(&ok);
    return ok && value >= min && value <= max ? value : fallback;
}

}  // namespace

Preferences loadPreferences()
{
    const QSettings settings;
    const Preferences defaults;
    Preferences p;
    p.taxYearStartMonth = readInRange(settings, kTaxYearStartMonth, Preferences::kMinTaxYearStartMonth,
                                      Preferences::kMaxTaxYearStartMonth, defaults.taxYearStartMonth);
    p.taxShareHundredthsOfPercent =
        readInRange(settings, kTaxShare, Preferences::kMinTaxShare, Preferences::kMaxTaxShare,
                    defaults.taxShareHundredthsOfPercent);
    p.reminderDays = readInRange(settings, kReminderDays, Preferences::kMinReminderDays,
                                 Preferences::kMaxReminderDays, defaults.reminderDays);
    return p;
}

bool savePreferences(const Preferences& preferences)
{
    QSettings settings;
    settings.setValue(QLatin1String(kTaxYearStartMonth), preferences.taxYearStartMonth);
    settings.setValue(QLatin1String(kTaxShare), preferences.taxShareHundredthsOfPercent);
    settings.setValue(QLatin1String(kReminderDays), preferences.reminderDays);
    settings.sync();
    // A file that could not be written keeps none of it, not even for this run.
    if (settings.status() != QSettings::NoError)
        return false;
    emit PreferencesNotifier::instance().changed(preferences);
    return true;
}

QString preferencesFileName() { return QSettings().fileName(); }

PreferencesNotifier& PreferencesNotifier::instance()
{
    static PreferencesNotifier notifier;
    return notifier;
}

}  // namespace td
