#include "ui/InstallerRow.h"

#include "ui/InstallerPicture.h"
#include "ui/NamedColors.h"
#include "ui/SignatureWarning.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr int iconSide = 32;

// Fills the square, cropping whatever of a non-square picture sticks out.
QPixmap filledIcon(const QIcon &icon, qreal devicePixelRatio)
{
    const int side = qRound(iconSide * devicePixelRatio);
    QPixmap result(side, side);
    result.fill(Qt::transparent);
    const QSize source = icon.actualSize(QSize(side, side));
    if (source.isEmpty())
        return result;
    const QPixmap picture = icon.pixmap(source).scaled(side, side, Qt::KeepAspectRatioByExpanding,
                                                       Qt::SmoothTransformation);
    QPainter painter(&result);
    painter.drawPixmap((side - picture.width()) / 2, (side - picture.height()) / 2, picture);
    painter.end();
    result.setDevicePixelRatio(devicePixelRatio);
    return result;
}

} // namespace

InstallerRow::InstallerRow(const InstallerApp &installer, bool showLocation, QWidget *parent)
    : QWidget(parent), m_installer(installer), m_icon(new QLabel(this)),
      m_name(new QLabel(installer.name, this)),
      //: The version line of an installer's row; %1 is the macOS version, such as "14.6".
      m_version(new QLabel(tr("macOS %1").arg(installer.shownMacOSVersion()), this)),
      m_warning(new QLabel(SignatureWarning::of(installer.signature).text, this)),
      m_location(new QLabel(installer.bundlePath(), this))
{
    m_icon->setFixedSize(iconSide, iconSide);
    m_icon->setPixmap(filledIcon(installerPicture(installer.icon), devicePixelRatioF()));

    QFont headline = font();
    headline.setPixelSize(13);
    headline.setWeight(QFont::DemiBold);
    m_name->setFont(headline);
    QFont caption = font();
    caption.setPixelSize(10);
    m_version->setFont(caption);
    m_warning->setFont(caption);
    m_location->setFont(caption);
    // Names, versions and paths are the bundle's own text, never markup.
    for (QLabel *label : {m_name, m_version, m_warning, m_location})
        label->setTextFormat(Qt::PlainText);
    m_warning->setVisible(!m_warning->text().isEmpty());
    m_warning->setToolTip(installer.signature.reason);
    m_location->setVisible(showLocation);

    auto *text = new QVBoxLayout;
    text->setContentsMargins(0, 0, 0, 0);
    text->setSpacing(1);
    text->addWidget(m_name);
    text->addWidget(m_version);
    text->addWidget(m_warning);
    text->addWidget(m_location);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 4, 0, 4);
    row->setSpacing(8);
    row->addWidget(m_icon, 0, Qt::AlignVCenter);
    row->addLayout(text, 1);
    row->setAlignment(text, Qt::AlignVCenter);

    applyColors();
}

QString InstallerRow::accessibleDescription() const
{
    QString description = m_version->text();
    for (const QLabel *line : {m_warning, m_location}) {
        if (!line->isVisibleTo(this))
            continue;
        //: Joins the lines of an installer's row as they are read out: what was read so far,
        //: then the next line.
        description = tr("%1, %2").arg(description, line->text());
    }
    return description;
}

void InstallerRow::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    applyColors();
}

void InstallerRow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        applyColors();
}

void InstallerRow::applyColors()
{
    const QPalette base = palette();
    const QColor primary =
        m_selected ? base.color(QPalette::HighlightedText) : NamedColors::primaryText(base);
    const QColor secondary =
        m_selected ? NamedColors::withOpacity(primary, 0.8) : NamedColors::secondaryText(base);
    // Set on the labels only, so this widget's own palette keeps following the theme.
    const QColor warning = m_selected ? primary : SignatureWarning::of(m_installer.signature).color;
    for (auto [label, color] : {std::pair{m_name, primary}, std::pair{m_version, secondary},
                                std::pair{m_warning, warning}, std::pair{m_location, secondary}}) {
        QPalette colors = label->palette();
        colors.setColor(QPalette::WindowText, color);
        label->setPalette(colors);
    }
}
