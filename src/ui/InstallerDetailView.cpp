#include "ui/InstallerDetailView.h"

#include "state/AppState.h"
#include "ui/ButtonStyles.h"
#include "ui/DiskRow.h"
#include "ui/DiskSelectionView.h"
#include "ui/InstallerPicture.h"
#include "ui/KeyboardAccess.h"
#include "ui/LayoutMetrics.h"
#include "ui/NamedColors.h"
#include "ui/SignatureWarning.h"
#include "ui/TextFont.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The installer's icon as a plain button: no bezel, just the picture, dimmed while pressed, and
// the focus ring round the square when the keyboard brings it there.
class IconButton : public QAbstractButton {
public:
    explicit IconButton(QWidget *parent) : QAbstractButton(parent)
    {
        setFixedSize(100, 100);
        setIconSize(QSize(100, 100));
        setFocusPolicy(Qt::StrongFocus);
        KeyboardAccess::pressOnReturn(this);
        KeyboardAccess::showFocusRing(this, 12);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        if (isDown())
            painter.setOpacity(0.7);
        // Fits the picture in the square and keeps its proportions.
        icon().paint(&painter, rect(), Qt::AlignCenter);
    }
};

// A thin rule across the pane.
class Divider : public QWidget {
public:
    explicit Divider(QWidget *parent) : QWidget(parent) { setFixedHeight(1); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter(this).fillRect(
            rect(), NamedColors::withOpacity(NamedColors::primaryText(palette()), 0.12));
    }
};

QLabel *headlineLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setFont(textFont(13, QFont::Bold));
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    // Every line holds the bundle's own text, which is never taken as markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

InstallerDetailView::InstallerDetailView(AppState &state, QWidget *parent)
    : QWidget(parent), m_state(state)
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *scroll = new QScrollArea(this);
    // Tab goes to the controls inside, and the area scrolls to show the one reached.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->setWidgetResizable(true);
    scroll->setAutoFillBackground(false);
    scroll->viewport()->setAutoFillBackground(false);
    outer->addWidget(scroll);

    auto *content = new QWidget(scroll);
    content->setAutoFillBackground(false);
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // The particulars: icon, then name and versions, at the leading edge.
    m_particulars = new QWidget(content);
    m_particulars->setObjectName(QStringLiteral("installerParticulars"));
    auto *row = new QHBoxLayout(m_particulars);
    row->setContentsMargins(standardMargin, standardMargin, standardMargin, standardMargin);
    row->setSpacing(20);
    m_iconButton = new IconButton(m_particulars);
    m_iconButton->setObjectName(QStringLiteral("installerIcon"));
    m_iconButton->setToolTip(tr("Click to copy icon to clipboard"));
    m_iconButton->setAccessibleName(tr("Installer icon"));
    connect(m_iconButton, &QAbstractButton::clicked, this,
            &InstallerDetailView::copyIconToClipboard);
    row->addWidget(m_iconButton, 0, Qt::AlignVCenter);
    auto *lines = new QVBoxLayout;
    lines->setSpacing(8);
    m_name = new QLabel(m_particulars);
    m_name->setObjectName(QStringLiteral("installerName"));
    m_name->setFont(textFont(26, QFont::Bold));
    m_name->setWordWrap(true);
    m_name->setTextFormat(Qt::PlainText);
    lines->addWidget(m_name);
    m_macOSVersion = headlineLabel(m_particulars);
    m_macOSVersion->setObjectName(QStringLiteral("macOSVersion"));
    lines->addWidget(m_macOSVersion);
    m_installerVersion = headlineLabel(m_particulars);
    m_installerVersion->setObjectName(QStringLiteral("installerVersion"));
    lines->addWidget(m_installerVersion);
    m_installerSize = headlineLabel(m_particulars);
    m_installerSize->setObjectName(QStringLiteral("installerSize"));
    lines->addWidget(m_installerSize);
    m_location = headlineLabel(m_particulars);
    m_location->setObjectName(QStringLiteral("installerLocation"));
    m_location->setFont(textFont(11, QFont::Normal));
    m_location->setWordWrap(true);
    lines->addWidget(m_location);
    m_signature = headlineLabel(m_particulars);
    m_signature->setObjectName(QStringLiteral("installerSignature"));
    m_signature->setWordWrap(true);
    lines->addWidget(m_signature);
    row->addLayout(lines, 1);
    column->addWidget(m_particulars);

    column->addSpacing(10);
    column->addWidget(new Divider(content));
    column->addSpacing(10);

    m_disks = new DiskSelectionView(state, content);
    connect(m_disks, &DiskSelectionView::rowsChanged, this, &InstallerDetailView::controlsChanged);
    column->addWidget(m_disks);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(16, 12, 16, 12);
    buttons->setSpacing(buttonSpacing);
    buttons->addStretch();
    m_createISO = new StyledButton(tr("Create ISO"), AppButtonStyle{}, content);
    m_createISO->setObjectName(QStringLiteral("createISO"));
    m_createISO->setSymbol(QStringLiteral("opticaldisc"));
    connect(m_createISO, &QAbstractButton::clicked, this, [this] { m_state.createBootableDMG(); });
    buttons->addWidget(m_createISO);
    m_createUSB = new StyledButton(tr("Create Bootable USB"), AppButtonStyle{}, content);
    m_createUSB->setObjectName(QStringLiteral("createBootableUSB"));
    m_createUSB->setSymbol(QStringLiteral("externaldrive.badge.plus"));
    connect(m_createUSB, &QAbstractButton::clicked, this, [this] { m_state.createBootableUSB(); });
    buttons->addWidget(m_createUSB);
    buttons->addStretch();
    column->addLayout(buttons);
    m_verify = new QCheckBox(tr("Verify after writing"), content);
    m_verify->setObjectName(QStringLiteral("verifyAfterWriting"));
    m_verify->setToolTip(tr("Read the USB drive or ISO back once it is written and compare it "
                            "with the installer"));
    connect(m_verify, &QCheckBox::toggled, this,
            [this](bool checked) { m_state.verifiesMedia = checked; });
    column->addWidget(m_verify, 0, Qt::AlignHCenter);
    column->addStretch();

    scroll->setWidget(content);

    connect(&m_state, &AppState::changed, this, &InstallerDetailView::refresh);
    refresh();
}

void InstallerDetailView::refresh()
{
    showInstaller();

    const bool busy = m_state.isBusy();
    const bool noInstaller = !m_state.selectedInstaller() || busy;
    const bool noDisk = !m_state.selectedDisk();
    // The look and the button itself are disabled together, so a gray button never reacts.
    const AppButtonStyle isoStyle{false, noInstaller, NamedColors::blue(), buttonWidth};
    const AppButtonStyle usbStyle{true, noInstaller || noDisk, NamedColors::accent(palette()),
                                  usbButtonWidth};
    const auto restyle = [](StyledButton *button, const AppButtonStyle &style) {
        const auto *current = std::get_if<AppButtonStyle>(&button->buttonStyle());
        if (!current || current->isDisabled != style.isDisabled ||
            current->backgroundColor != style.backgroundColor || current->width != style.width)
            button->setStyle(style);
        button->setEnabled(!style.isDisabled);
    };
    m_verify->setChecked(m_state.verifiesMedia());
    // The choice holds for the next job; the running one has made it already.
    m_verify->setEnabled(!busy);
    restyle(m_createISO, isoStyle);
    restyle(m_createUSB, usbStyle);
    const QString why = busy ? AppState::busyReason() : QString();
    m_createISO->setToolTip(why);
    m_createUSB->setToolTip(why);
}

void InstallerDetailView::showInstaller()
{
    const std::optional<InstallerApp> &installer = m_state.selectedInstaller();
    m_particulars->setVisible(installer.has_value());
    if (!installer)
        return;
    // The state announces every change, progress included; the icon is only set when it is new.
    if (m_shownIconKey != installer->icon.cacheKey()) {
        m_shownIconKey = installer->icon.cacheKey();
        m_iconButton->setIcon(installerPicture(installer->icon));
    }
    m_name->setText(installer->name);
    m_macOSVersion->setText(
        tr("macOS Version: %1 (%2)")
            .arg(installer->shownMacOSVersion(), installer->shownBuildNumber()));
    m_installerVersion->setText(tr("Installer Version: %1").arg(installer->version));
    m_installerSize->setText(tr("Installer Size: %1").arg(installer->formattedSize()));
    m_location->setText(installer->bundlePath());
    const SignatureWarning warning = SignatureWarning::of(installer->signature);
    m_signature->setVisible(!warning.text.isEmpty());
    //: %1 is the warning about the signature, %2 what the codesign tool said.
    m_signature->setText(
        installer->signature.reason.isEmpty()
            ? warning.text
            : tr("%1 (codesign: %2)").arg(warning.text, installer->signature.reason));
    QPalette colors = m_signature->palette();
    colors.setColor(QPalette::WindowText, warning.color);
    m_signature->setPalette(colors);
}

QList<QWidget *> InstallerDetailView::controlsInOrder() const
{
    QList<QWidget *> controls{m_iconButton};
    for (DiskRow *row : m_disks->rows())
        controls << row << row->ejectButton();
    controls << m_createISO << m_createUSB << m_verify;
    return controls;
}

void InstallerDetailView::copyIconToClipboard()
{
    const std::optional<InstallerApp> &installer = m_state.selectedInstaller();
    if (!installer)
        return;
    // The largest picture the icon has, so a paste elsewhere is sharp.
    QSize largest(512, 512);
    const QList<QSize> sizes = installer->icon.availableSizes();
    if (!sizes.isEmpty())
        largest = *std::max_element(sizes.begin(), sizes.end(), [](QSize a, QSize b) {
            return a.width() * a.height() < b.width() * b.height();
        });
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(installer->icon.pixmap(largest).toImage());
}

void InstallerDetailView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The accent colour of the USB button comes from the palette.
    if (event->type() == QEvent::PaletteChange)
        refresh();
}
