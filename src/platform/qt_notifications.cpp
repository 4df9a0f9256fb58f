#include "platform/qt_notifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace td {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kPrivateBus = QStringLiteral("termdeposit-notifications");
// The notification's one action; "default" is what a click on the notification itself invokes.
const QString kOpenAction = QStringLiteral("open");
const QString kDefaultAction = QStringLiteral("default");

}  // namespace

QtNotifications::QtNotifications(QString busAddress) : m_address(std::move(busAddress)) {}

QtNotifications::~QtNotifications()
{
    if (m_bus && !m_address.isEmpty())
        QDBusConnection::disconnectFromBus(kPrivateBus);
}

QDBusConnection& QtNotifications::bus()
{
    if (!m_bus)
        m_bus = m_address.isEmpty() ? QDBusConnection::sessionBus()
                                    : QDBusConnection::connectToBus(m_address, kPrivateBus);
    return *m_bus;
}

void QtNotifications::post(const Notification& notification, std::function<void()> onAction)
{
    QDBusConnection& connection = bus();
    if (!connection.isConnected())
        return;
    if (!m_listening) {
        connection.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                           SLOT(actionInvoked(uint, QString)));
        connection.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                           SLOT(notificationClosed(uint, uint)));
        m_listening = true;
    }
    QStringList actions;
    if (!notification.actionLabel.isEmpty())
        actions << kDefaultAction << notification.actionLabel << kOpenAction << notification.actionLabel;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    call << programTitle() << m_shown << QStringLiteral("termdeposit") << notification.summary
         << notification.body << actions
         << QVariantMap{{QStringLiteral("desktop-entry"), QStringLiteral("termdeposit")}} << -1;
    auto* watcher = new QDBusPendingCallWatcher(connection.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, onAction = std::move(onAction)](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                const QDBusPendingReply<uint> reply = *finished;
                if (reply.isError())
                    return;
                m_actions.erase(m_shown);
                m_shown = reply.value();
                if (onAction)
                    m_actions[m_shown] = onAction;
            });
}

void QtNotifications::actionInvoked(uint id, const QString& action)
{
    if (action != kOpenAction && action != kDefaultAction)
        return;
    const auto found = m_actions.find(id);
    if (found != m_actions.end()) {
        // The callback may post again, which changes the map.
        const std::function<void()> onAction = found->second;
        onAction();
    }
}

void QtNotifications::notificationClosed(uint id, uint)
{
    m_actions.erase(id);
    if (id == m_shown)
        m_shown = 0;
}

}  // namespace td
