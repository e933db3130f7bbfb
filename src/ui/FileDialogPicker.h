#pragma once

#include "state/InstallerFilePicker.h"

class QWidget;

// The window's open dialog for an installer application or package. On macOS the native panel
// treats application bundles as files; elsewhere a bundle is a folder, so the dialog takes a
// folder ending in ".app" as a chosen file instead of opening it.
class FileDialogPicker : public InstallerFilePicker {
public:
    explicit FileDialogPicker(QWidget *parent = nullptr) : m_parent(parent) {}

    std::optional<QUrl> pickInstallerOrPackage() override;

private:
    QWidget *m_parent;
};
