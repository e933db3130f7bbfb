#pragma once

#include <QWidget>

class AppState;
class InstallerDetailView;

// The detail column while an installer is selected. The installer pane brings its particulars,
// the disk table and the two media buttons in one scrolling column; this is its place in the
// split view.
class MainView : public QWidget {
    Q_OBJECT

public:
    explicit MainView(AppState &state, QWidget *parent = nullptr);

    InstallerDetailView *detail() const { return m_detail; }

private:
    InstallerDetailView *m_detail;
};
