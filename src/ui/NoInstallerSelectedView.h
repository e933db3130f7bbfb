#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <optional>

class AppState;
class QLabel;
class StyledButton;

// The pane shown while no installer is selected: a short explanation and buttons that add an
// installer application, install one from a package, or download one from Apple.
class NoInstallerSelectedView : public QWidget {
    Q_OBJECT

public:
    // What an open-file dialog is asked for: one existing file of `fileType` ("app" or "pkg";
    // application bundles count as files), starting in `startFolder`.
    struct FileRequest {
        QString title;
        QString message;
        QString startFolder;
        QString fileType;
    };
    // Nothing when the user cancels.
    using FileChooser = std::function<std::optional<QUrl>(const FileRequest &)>;

    explicit NoInstallerSelectedView(AppState &state, QWidget *parent = nullptr);

    // Replaces the modal dialog, e.g. with fixed answers in tests.
    void setFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }

    // The toolkit's modal open-file dialog, restricted as `request` says.
    static std::optional<QUrl> chooseWithDialog(const FileRequest &request, QWidget *parent);

    StyledButton *addApplicationButton() const { return m_addApplication; }
    StyledButton *addPackageButton() const { return m_addPackage; }
    StyledButton *downloadButton() const { return m_download; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void addAppInstaller();
    void addPkgInstaller();
    std::optional<QUrl> choose(const FileRequest &request);
    void applyColors();

    AppState &m_state;
    FileChooser m_chooser;
    QLabel *m_symbol = nullptr;
    QLabel *m_message = nullptr;
    StyledButton *m_addApplication = nullptr;
    StyledButton *m_addPackage = nullptr;
    StyledButton *m_download = nullptr;
};
