// Desktop notifications through Qt D-Bus, against a notification service of
// the test's own on a session bus that the test starts.
#include "platform/qt_notifications.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace td;

namespace {

const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

// Records each Notify and answers with the id it gives the notification.
class NotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Call {
        uint replaces;
        QString summary;
        QString body;
        QStringList actions;
    };
    QList<Call> calls;

public slots:
    uint Notify(const QString&, uint replaces, const QString&, const QString& summary, const QString& body,
                const QStringList& actions, const QVariantMap&, int)
    {
        calls.append({replaces, summary, body, actions});
        return 40 + uint(calls.size());
    }
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }
};

}  // namespace

class TestQtNotifications : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            QSKIP("dbus-daemon is not installed");
        m_daemon.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                QStringLiteral("--print-address")});
        QVERIFY(m_daemon.waitForStarted());
        QTRY_VERIFY(m_daemon.canReadLine());
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        QDBusConnection service = QDBusConnection::connectToBus(m_address, QStringLiteral("service"));
        QVERIFY(service.isConnected());
        QVERIFY(service.registerObject(kPath, &m_service, QDBusConnection::ExportAllSlots));
    }
    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("service"));
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }

    // Posted without a wait; the action, chosen on the desktop, runs once
    // and only for its own notification; a later one takes its place.
    void postsAndHearsItsAction()
    {
        QDBusConnection service(QStringLiteral("service"));
        QVERIFY(service.registerService(kInterface));
        QtNotifications notifications(m_address);
        int opened = 0;
        notifications.post({QStringLiteral("Due"), QStringLiteral("A1 matures"), QStringLiteral("Show")},
                           [&opened] { ++opened; });
        QVERIFY(m_service.calls.isEmpty());  // nothing waited for
        QTRY_COMPARE(m_service.calls.size(), 1);
        const NotificationService::Call call = m_service.calls.constLast();
        QCOMPARE(call.summary, QStringLiteral("Due"));
        QCOMPARE(call.body, QStringLiteral("A1 matures"));
        QCOMPARE(call.actions, (QStringList{"default", "Show", "open", "Show"}));
        const uint id = 40 + uint(m_service.calls.size());

        auto invoke = [&](uint which, const QString& action) {
            QDBusMessage signal =
                QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("ActionInvoked"));
            signal << which << action;
            QVERIFY(service.send(signal));
        };
        invoke(id + 100, QStringLiteral("open"));  // another program's
        invoke(id, QStringLiteral("open"));
        QTRY_COMPARE(opened, 1);

        notifications.post({QStringLiteral("Due"), QStringLiteral("again"), QString()}, {});
        QTRY_COMPARE(m_service.calls.size(), 2);
        QCOMPARE(m_service.calls.constLast().replaces, id);
        QCOMPARE(m_service.calls.constLast().actions, QStringList());
        QVERIFY(service.unregisterService(kInterface));
    }

    // No service on the bus, or no bus at all: nothing shown, nothing fails.
    void withoutAServiceNothingHappens()
    {
        const qsizetype before = m_service.calls.size();
        for (const QString& address : {m_address, QStringLiteral("unix:path=/nonexistent/bus")}) {
            QtNotifications notifications(address);
            bool opened = false;
            notifications.post({QStringLiteral("Due"), QStringLiteral("body"), QStringLiteral("Show")},
                               [&opened] { opened = true; });
            QTest::qWait(200);
            QVERIFY(!opened);
        }
        QCOMPARE(m_service.calls.size(), before);
    }

private:
    QProcess m_daemon;
    QString m_address;
    NotificationService m_service;
};

QTEST_GUILESS_MAIN(TestQtNotifications)
#include "test_qt_notifications.moc"
