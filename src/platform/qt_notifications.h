#pragma once

#include "platform.h"

#include <QDBusConnection>
#include <QObject>
#include <map>
#include <optional>

namespace td {

// Desktop notifications through the freedesktop notification service
// (org.freedesktop.Notifications) on the session bus. Every call is sent
// without waiting for an answer; where no bus or no service is there, the
// call fails quietly and nothing is shown. A later notification takes the
// place of the last one still on the screen.
class QtNotifications final : public QObject, public Notifications {
    Q_OBJECT

public:
    // The session bus, or the bus at `busAddress` (a test runs one of its own).
    explicit QtNotifications(QString busAddress = {});
    ~QtNotifications() override;

    void post(const Notification& notification, std::function<void()> onAction) override;

private slots:
    void actionInvoked(uint id, const QString& action);
    void notificationClosed(uint id, uint reason);

private:
    // Connected when first needed: a start that posts nothing does not wait for the bus.
    QDBusConnection& bus();

    QString m_address;
    std::optional<QDBusConnection> m_bus;
    bool m_listening = false;
    uint m_shown = 0;  // the id of the last notification still on the screen; 0 for none
    std::map<uint, std::function<void()>> m_actions;
};

}  // namespace td
