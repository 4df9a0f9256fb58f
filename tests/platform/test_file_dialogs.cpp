// The real file dialog, typed into as a user does: an existing file chosen is
// the file returned, whatever its name ends in; the default suffix goes only
// on a new name typed for a save.
#include "platform/qt_platform.h"
#include "support/data_rows.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace td;
using td::test::dataRow;

class TestFileDialogs : public QObject {
    Q_OBJECT

    // Types the name into the dialog that opens next and accepts it.
    static void typeIntoNextDialog(const QString& name)
    {
        QTimer::singleShot(0, [name] {
            QFileDialog* dialog = nullptr;
            QTRY_VERIFY((dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())));
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(edit);
            edit->setText(name);
            QTest::keyClick(edit, Qt::Key_Return);
            if (dialog->isVisible())
                dialog->reject();  // the test fails on the answer below
        });
    }

private slots:
    void theChosenFileIsTheFileReturned_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        const QStringList alone{"registertmd"};
        const QStringList twins{"registertmd", "registertmd.tmd"};
        dataRow("open registertmd alone", false, alone, "registertmd", "registertmd");
        dataRow("open registertmd beside its twin", false, twins, "registertmd", "registertmd");
        dataRow("open registertmd.tmd beside its twin", false, twins, "registertmd.tmd", "registertmd.tmd");
        dataRow("open a name that is not there: as typed", false, QStringList{"register.tmd"}, "register",
                "register");
        dataRow("save over registertmd beside its twin", true, twins, "registertmd", "registertmd");
        dataRow("save a new name: the suffix added", true, alone, "newregister", "newregister.tmd");
        dataRow("save a new name with another extension", true, alone, "list.txt", "list.txt");
    }
    void theChosenFileIsTheFileReturned()
    {
        QFETCH(bool, save);
        QFETCH(QStringList, present);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        for (const QString& name : present) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const FileDialogSettings settings{QStringLiteral("tmd"), QStringLiteral("Term Deposit Files (*.tmd)"),
                                          QString()};
        QtFileDialogs dialogs;
        typeIntoNextDialog(dir.filePath(typed));
        const std::optional<QString> chosen =
            save ? dialogs.saveFileName(settings) : dialogs.openFileName(settings);
        QVERIFY(chosen);
        QCOMPARE(QDir::cleanPath(*chosen), QDir::cleanPath(dir.filePath(expected)));
    }
};

QTEST_MAIN(TestFileDialogs)
#include "test_file_dialogs.moc"
