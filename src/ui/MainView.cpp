#include "ui/MainView.h"

#include "ui/InstallerDetailView.h"

#include <QVBoxLayout>

MainView::MainView(AppState &state, QWidget *parent)
    : QWidget(parent), m_detail(new InstallerDetailView(state, this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_detail);
}
