#pragma once

#include <QCoreApplication>
#include <QString>

// The ways making a bootable USB volume can fail, each with the text the user reads.
struct USBCreatorError {
    Q_DECLARE_TR_FUNCTIONS(USBCreatorError)

public:
    enum class Kind {
        commandFailed,
        invalidInstaller,
        invalidTargetDisk,
        volumeNotFound,
        unknown,
        processTerminated,
        insufficientSpace,
        adminPrivilegesDenied,
        timeoutExceeded,
    };

    Kind kind;
    QString text;    // the payload of the kinds that carry a text
    qint32 status{}; // the payload of processTerminated

    QString description() const;
};
