#include "app/widgets/look.h"
#include "app/windows/frm_about.h"
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "support/data_rows.h"
#include "support/fake_platform.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace td;
using namespace td::test;

class TestAbout : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { applyApplicationLook(*qobject_cast<QApplication*>(QCoreApplication::instance())); }

    void window()
    {
        FakePlatform fake;
        fake.screen.size = QSize(1024, 768);
        frmAbout d(fake.platform());
        QCOMPARE(d.objectName(), QStringLiteral("frmAbout"));
        QCOMPARE(d.windowTitle(), QStringLiteral("About"));
        QCOMPARE(d.size(), QSize(4320 / 15, 5850 / 15));
        QCOMPARE(d.minimumSize(), d.maximumSize());
        QVERIFY(!(d.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(d.pos(), QPoint((1024 - 288) / 2, (768 - 390) / 2));

        auto* ok = d.findChild<QPushButton*>(QStringLiteral("cmdOK"));
        QVERIFY(ok);
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QVERIFY(ok->isDefault());
        QCOMPARE(d.findChild<QLabel*>(QStringLiteral("lblVersion"))->text(), QStringLiteral("Version 1.0"));
        QCOMPARE(d.findChild<QLabel*>(QStringLiteral("PicLogo"))->pixmap().size(), QSize(241, 65));
        QCOMPARE(d.findChild<QLabel*>(QStringLiteral("picIcon"))->pixmap().size(), QSize(32, 32));
        const QString contact = d.findChild<QLabel*>(QStringLiteral("lblDescription"))->text();
        QVERIFY(contact.contains(QStringLiteral("support@quendarith.example")));
        QVERIFY(contact.contains(QStringLiteral("www.quendarith.example")));
        QVERIFY(
            d.findChild<QLabel*>(QStringLiteral("lblTitle"))->text().contains(QStringLiteral("Quendarith")));
    }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<double>("points");  // 0: a picture or button
        dataRow("cmdOK", "cmdOK", QRect(2880, 5280, 1260, 345), 8.25);
        dataRow("lblDescription", "lblDescription", QRect(780, 2520, 3195, 1050), 9.75);
        dataRow("lblTitle", "lblTitle", QRect(780, 1440, 3225, 600), 9.75);
        dataRow("lblVersion", "lblVersion", QRect(780, 2160, 3225, 225), 9.75);
        dataRow("PicLogo", "PicLogo", QRect(300, 120, 3675, 1035), 0.0);
        dataRow("picIcon", "picIcon", QRect(120, 1440, 540, 540), 0.0);
        dataRow("lblDisclaimer", "lblDisclaimer", QRect(180, 3840, 2550, 1785), 8.25);
    }
    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QFETCH(double, points);
        FakePlatform fake;
        frmAbout d(fake.platform());
        auto* w = d.findChild<QWidget*>(name);
        QVERIFY(w);
        QCOMPARE(w->geometry(),
                 QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
        if (points == 0)
            return;
        QCOMPARE(w->font().pointSizeF(), points);
        // The whole text fits, wrapped at the control's width.
        QString text;
        int flags = Qt::AlignCenter;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            text = label->text();
            flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
        } else {
            text = qobject_cast<QPushButton*>(w)->text();
        }
        const QRect needed = QFontMetrics(w->font()).boundingRect(QRect(QPoint(), w->size()), flags, text);
        QVERIFY2(
            needed.width() <= w->width() && needed.height() <= w->height(),
            qPrintable(QStringLiteral("%1 needs %2x%3").arg(name).arg(needed.width()).arg(needed.height())));
    }

    void etchedLine()
    {
        FakePlatform fake;
        frmAbout d(fake.platform());
        const QImage image = d.grab().toImage();
        for (int x : {6, 100, 271}) {
            QCOMPARE(image.pixelColor(x, 243), QColor(128, 128, 128));
            QCOMPARE(image.pixelColor(x, 244), QColor(Qt::white));
            QCOMPARE(image.pixelColor(x, 245), QColor(Qt::white));
        }
        QVERIFY(image.pixelColor(5, 243) != QColor(128, 128, 128));
        QVERIFY(image.pixelColor(272, 243) != QColor(128, 128, 128));
    }

    void okEnterAndEscClose_data()
    {
        QTest::addColumn<int>("key");  // 0: click OK
        QTest::addColumn<bool>("closes");
        dataRow("OK", 0, true);
        dataRow("Enter", int(Qt::Key_Return), true);
        dataRow("keypad Enter", int(Qt::Key_Enter), true);
        dataRow("Esc", int(Qt::Key_Escape), true);
        dataRow("another key", int(Qt::Key_X), false);
    }
    void okEnterAndEscClose()
    {
        QFETCH(int, key);
        QFETCH(bool, closes);
        FakePlatform fake;
        frmTermDeposit w(fake.platform());
        w.startUp();
        w.flags().ModifiedFlag = true;
        fake.modal.handlers.push_back([key](QDialog& d) {
            QWidget* target = d.focusWidget() ? d.focusWidget() : &d;
            if (key == 0)
                QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
            else
                QTest::keyClick(target, Qt::Key(key));
        });
        w.actions().about->trigger();
        QCOMPARE(fake.modal.shown, QStringList{"frmAbout"});
        QCOMPARE(fake.modal.leftOpen.isEmpty(), closes);
        QVERIFY(w.flags().ModifiedFlag);
        QCOMPARE(w.Grid().rows(), 2);
    }
};

QTEST_MAIN(TestAbout)
#include "test_about.moc"
