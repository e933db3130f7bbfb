#pragma once

#include <QGuiApplication>
#include <QIcon>
#include <QIconEngine>
#include <QPainter>

// An icon whose pixmaps are made only when it is first drawn. Installer records are read on
// background threads, while pixmaps and the platform's icon services belong to the interface
// thread; a subclass says how to make the icon there.
class DeferredIconEngine : public QIconEngine {
public:
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }

protected:
    // Called on the interface thread only.
    virtual QIcon makeIcon() const = 0;

private:
    const QIcon &icon()
    {
        if (!m_made && qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
            m_icon = makeIcon();
            m_made = true;
        }
        return m_icon;
    }

    QIcon m_icon;
    bool m_made = false;
};
