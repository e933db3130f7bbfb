#pragma once

#include "state/InstallerFilePicker.h"

class QWidget;

// The window's open dialog for an installer application or package.
class FileDialogPicker : public InstallerFilePicker {
public:
    explicit FileDialogPicker(QWidget *parent = nullptr) : m_parent(parent) {}

    std::optional<QUrl> pickInstallerOrPackage() override;

private:
    QWidget *m_parent;
};
