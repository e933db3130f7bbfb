#include "model/DesktopFileIcon.h"

#include "model/DeferredIconEngine.h"

#include <QAbstractFileIconProvider>
#include <QFileInfo>

namespace {

// The platform's file-icon service may only be used on the interface thread.
class DesktopFileIconEngine final : public DeferredIconEngine {
public:
    explicit DesktopFileIconEngine(QString path) : m_path(std::move(path)) {}

    QIconEngine *clone() const override { return new DesktopFileIconEngine(m_path); }
    QString key() const override { return QStringLiteral("DesktopFileIconEngine"); }

protected:
    QIcon makeIcon() const override { return QAbstractFileIconProvider().icon(QFileInfo(m_path)); }

private:
    QString m_path;
};

} // namespace

QIcon desktopIconForFile(const QString &path)
{
    return QIcon(new DesktopFileIconEngine(path));
}
