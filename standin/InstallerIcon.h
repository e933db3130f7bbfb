#pragma once

#include <QColor>
#include <QImage>
#include <QString>

// The pictures the stand-in's installers show as their icons: a landscape in a round badge with a
// download arrow, different enough per installer to tell them apart at a glance.
struct InstallerIconLook {
    enum class Landscape { Hills, Cliff, Dunes };
    QColor skyTop;
    QColor skyBottom;
    QColor land;
    Landscape landscape = Landscape::Hills;
};

QImage drawInstallerIcon(const InstallerIconLook &look, int size = 256);
// Writes `image` as an .icns file through Qt's icns plugin.
bool writeIcns(const QImage &image, const QString &path, QString *error);
