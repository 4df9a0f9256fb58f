#include "app/windows/frm_preferences.h"
#include "support/data_rows.h"
#include "support/main_window_world.h"
#include "support/test_settings.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

using namespace td;
using namespace td::test;

Q_DECLARE_METATYPE(td::Preferences)

namespace {

// Runs File > Preferences, the handler acting on the dialog.
void runPreferences(MainWindowWorld& world, const std::function<void(frmPreferences&)>& handler)
{
    world.fake.modal.handlers.push_back(
        [&](QDialog& dialog) { handler(static_cast<frmPreferences&>(dialog)); });
    world.w.actions().filePreferences->trigger();
}

void retype(QAbstractSpinBox* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

}  // namespace

class TestPreferences : public QObject {
    Q_OBJECT

private slots:
    void init() { startWithNoSettingsFile(); }

    // A box takes only what its range allows, keystroke by keystroke.
    void valuesOutsideTheirRangeCannotBeTyped_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        dataRow("share over 100", "share", "150", "15.00 %");
        dataRow("a third decimal", "share", "12.345", "12.34 %");
        dataRow("a minus is held to the least", "share", "-5", "0.00 %");
        dataRow("days over 365", "days", "400", "40 days");
        dataRow("days 0 is off", "days", "0", "Off");
    }
    void valuesOutsideTheirRangeCannotBeTyped()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        FakeMessageBoxes messages;
        frmPreferences d(messages);
        QAbstractSpinBox* spin = box == "share" ? static_cast<QAbstractSpinBox*>(d.spnTaxShare())
                                                : static_cast<QAbstractSpinBox*>(d.spnReminderDays());
        d.show();
        retype(spin, typed);
        spin->interpretText();
        QCOMPARE(spin->text(), shown);
        QCOMPARE(d.spnTaxShare()->maximum(), 100.0);
        QCOMPARE(d.spnReminderDays()->maximum(), 365);
    }

    // With no settings file the dialog shows the defaults; OK stores what the
    // boxes hold and tells the open windows; Cancel changes nothing.
    void okSavesAndCancelChangesNothing_data()
    {
        QTest::addColumn<bool>("ok");
        dataRow("OK", true);
        dataRow("Cancel", false);
    }
    void okSavesAndCancelChangesNothing()
    {
        QFETCH(bool, ok);
        MainWindowWorld world;
        QSignalSpy told(&PreferencesNotifier::instance(), &PreferencesNotifier::changed);
        runPreferences(world, [ok](frmPreferences& d) {
            QCOMPARE(QStringList({d.cboTaxYearStart()->currentText(), d.spnTaxShare()->text(),
                                  d.spnReminderDays()->text()}),
                     QStringList({"January", "0.00 %", "14 days"}));
            d.cboTaxYearStart()->setCurrentIndex(6);
            retype(d.spnTaxShare(), "10.5");
            retype(d.spnReminderDays(), "30");
            QTest::mouseClick(ok ? d.cmdOK() : d.cmdCancel(), Qt::LeftButton);
        });
        QCOMPARE(world.fake.modal.shown, QStringList{"frmPreferences"});
        Preferences expected;
        if (ok)
            expected = {7, 1050, 30};
        QCOMPARE(loadPreferences(), expected);
        QCOMPARE(told.size(), ok ? 1 : 0);
        if (ok)
            QCOMPARE(told.first().first().value<Preferences>(), expected);
        QVERIFY(world.fake.modal.leftOpen.isEmpty());
    }

    // A settings file that cannot be written is told, and nothing is taken as saved.
    void aFailedSaveIsToldAndKeepsTheDialog()
    {
        QVERIFY(QDir().mkpath(preferencesFileName()));  // a folder where the file would be
        MainWindowWorld world;
        QSignalSpy told(&PreferencesNotifier::instance(), &PreferencesNotifier::changed);
        bool stillOpen = false;
        runPreferences(world, [&](frmPreferences& d) {
            retype(d.spnReminderDays(), "3");
            QTest::mouseClick(d.cmdOK(), Qt::LeftButton);
            stillOpen = d.isVisible();
            d.reject();
        });
        QVERIFY(QDir(preferencesFileName()).removeRecursively());
        QVERIFY(stillOpen);
        QCOMPARE(told.size(), 0);
        QCOMPARE(world.fake.messages.asked.size(), 1);
        QVERIFY(world.fake.messages.asked[0].text.startsWith(
            "The preferences could not be saved; they stay as they were."));
        QCOMPARE(loadPreferences(), Preferences());
    }
};

QTEST_MAIN(TestPreferences)
#include "test_preferences.moc"
