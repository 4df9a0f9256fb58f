#pragma once

#include "commands/interest_by_year.h"
#include "platform/platform.h"
#include "platform/preferences.h"

#include <QAbstractTableModel>

namespace td {

class Register;

// The rows of the interest by year window: a row a year, the figures of the
// active deposits or of all. It counts the whole register in one pass, for
// both at once, and counts again after every change of the register (once
// for all the changes of one command) and when the month tax years start in
// changes; a count that takes long shows its progress and can be cancelled.
class InterestByYearModel : public QAbstractTableModel {
    Q_OBJECT

public:
    InterestByYearModel(const Register& reg, Platform& platform, const Preferences& preferences,
                        QObject* parent = nullptr);

    // Counts every deposit and follows the register and the preferences from
    // then on. False when the user cancelled: nothing counted or followed.
    bool countAll();
    // True after the user cancelled a count that followed a change: the
    // figures are those from before the change.
    bool outOfDate() const { return m_outOfDate; }

    bool includeInactive() const { return m_includeInactive; }
    void setIncludeInactive(bool include);
    const Preferences& preferences() const { return m_preferences; }
    void setPreferences(const Preferences& preferences);

    const interest_by_year::YearTable& table() const
    {
        return m_includeInactive ? m_tables.all : m_tables.active;
    }
    interest_by_year::Column columnAt(int column) const { return m_columns.at(column); }
    // The month the shown years start in: the preferences' once they are counted.
    int countedStartMonth() const { return m_countedStartMonth; }
    // The rows as shown, the header row first.
    QList<QStringList> shownRows() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    // The rows or the sentence about them changed.
    void countChanged();

private:
    bool count(bool afterChange);
    void recountSoon();
    void recount();
    void showAgain();

    const Register& m_register;
    Platform& m_platform;
    Preferences m_preferences;
    interest_by_year::Tables m_tables;
    QList<interest_by_year::Column> m_columns;
    int m_countedStartMonth = 1;
    bool m_includeInactive = false;
    bool m_outOfDate = false;
    bool m_following = false;
    bool m_recountQueued = false;
    bool m_counting = false;  // a count runs the event loop to show its progress
};

}  // namespace td
