#pragma once

#include "state/InstallerFilePicker.h"

#include <QCoreApplication>

class QWidget;

// The window's open dialog for an installer application or package.
class FileDialogPicker : public InstallerFilePicker {
    Q_DECLARE_TR_FUNCTIONS(FileDialogPicker)

public:
    explicit FileDialogPicker(QWidget *parent = nullptr) : m_parent(parent) {}

    std::optional<QUrl> pickInstallerOrPackage() override;

private:
    QWidget *m_parent;
};
