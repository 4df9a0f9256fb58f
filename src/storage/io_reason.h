#pragma once

#include <QCoreApplication>
#include <QFileDevice>
#include <QIODevice>
#include <QString>
#include <cstring>

namespace td {

// The device's own account of its last failure. A file says by its error code
// whether it failed at all; one that did not (a write the disk took only in
// part) gets a plain reason. Any other device has only its text, which Qt
// fills in (translated) when the device gave none.
inline QString ioReason(const QIODevice& device)
{
    const auto* file = qobject_cast<const QFileDevice*>(&device);
    if (file && file->error() == QFileDevice::NoError)
        return QCoreApplication::translate("DepositFile", "The device reported an error without a reason.");
    return device.errorString();
}

// The system's text for an error number kept at the call that failed.
inline QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

}  // namespace td
