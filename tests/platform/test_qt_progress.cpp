// The progress of a long load or save: nothing for a short task, a dialog with
// a working Cancel button once a task has run past half a second.
#include "platform/qt_platform.h"

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

using namespace td;

namespace {

QProgressDialog* shownProgress()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QProgressDialog*>(w); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

}  // namespace

class TestQtProgress : public QObject {
    Q_OBJECT

private slots:
    void longTaskShowsItsProgressAndCanBeCancelled()
    {
        QtProgressDisplay display;
        display.begin(QStringLiteral("Opening big.tmd"));
        QVERIFY(display.advance(10, 100));
        QCOMPARE(shownProgress(), nullptr);

        QTest::qWait(600);
        QVERIFY(display.advance(50, 100));
        QProgressDialog* dialog = shownProgress();
        QVERIFY(dialog);
        QCOMPARE(dialog->labelText(), QStringLiteral("Opening big.tmd"));
        QCOMPARE(dialog->value() * 2, dialog->maximum());

        QPushButton* cancel = dialog->findChild<QPushButton*>();
        QVERIFY(cancel);
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(!display.advance(60, 100));
        display.end();
        QCOMPARE(shownProgress(), nullptr);
    }
};

QTEST_MAIN(TestQtProgress)
#include "test_qt_progress.moc"
