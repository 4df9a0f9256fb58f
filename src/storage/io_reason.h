#pragma once

#include <QCoreApplication>
#include <QIODevice>
#include <QString>

namespace td {

// The device's own account of its last failure, or a plain one when it gave none.
inline QString ioReason(const QIODevice& device)
{
    const QString reason = device.errorString();
    if (reason.isEmpty() || reason == QLatin1String("Unknown error"))
        return QCoreApplication::translate("DepositFile", "The device reported an error without a reason.");
    return reason;
}

}  // namespace td
