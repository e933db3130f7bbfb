#pragma once

#include "model/CodeSignature.h"

#include <QColor>
#include <QCoreApplication>
#include <QString>

// How an installer's signature is called out in the list and the detail pane: a short warning
// and its colour; no text for a current Apple signature or one not checked yet.
struct SignatureWarning {
    QString text;
    QColor color;

    static SignatureWarning of(const CodeSignature &signature);

    Q_DECLARE_TR_FUNCTIONS(SignatureWarning)
};
