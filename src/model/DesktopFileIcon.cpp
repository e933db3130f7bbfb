#include "model/DesktopFileIcon.h"

#include <QAbstractFileIconProvider>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>

namespace {

// The platform's file-icon service may only be used on the interface thread, while installer
// records are read on background threads; this engine defers the question to drawing time.
class DesktopFileIconEngine final : public QIconEngine {
public:
    explicit DesktopFileIconEngine(QString path) : m_path(std::move(path)) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        desktopIcon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return desktopIcon().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return desktopIcon().actualSize(size, mode, state);
    }
    QIconEngine *clone() const override { return new DesktopFileIconEngine(m_path); }
    QString key() const override { return QStringLiteral("DesktopFileIconEngine"); }

private:
    const QIcon &desktopIcon()
    {
        if (!m_resolved && qGuiApp) {
            m_icon = QAbstractFileIconProvider().icon(QFileInfo(m_path));
            m_resolved = true;
        }
        return m_icon;
    }

    QString m_path;
    QIcon m_icon;
    bool m_resolved = false;
};

} // namespace

QIcon desktopIconForFile(const QString &path)
{
    return QIcon(new DesktopFileIconEngine(path));
}
