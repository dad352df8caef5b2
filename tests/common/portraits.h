#pragma once

#include "testconfig.h"

#include <QFile>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QString>

// The labelled real portraits of tests/data/portraits (labels.tsv), in their own pixels.
struct Portrait
{
    QString name;
    QString path;
    QSize size;
    double hairTop = 0;
    double skullTop = 0;
    double chin = 0;
    QPointF firstEye, secondEye; // the one left on the photo first
    QString mouth, eyes, background;
    double yaw = 0;
    QImage image() const { return QImage(path); }
};

inline QList<Portrait> portraits()
{
    const QString folder = QStringLiteral(KALMORA_SOURCE_DIR "/tests/data/");
    QFile file(folder + "portraits/labels.tsv");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<Portrait> all;
    file.readLine(); // the column names
    while (!file.atEnd()) {
        const QStringList cells = QString::fromUtf8(file.readLine()).trimmed().split(u'\t');
        if (cells.size() < 15)
            continue;
        Portrait p;
        // The astronaut's row names the project's own copy.
        p.name = cells[0].startsWith(u'(') ? QStringLiteral("astronaut.jpg") : cells[0];
        p.path = folder + (p.name == "astronaut.jpg" ? p.name : "portraits/" + p.name);
        p.size = QSize(cells[3].toInt(), cells[4].toInt());
        p.hairTop = cells[5].toDouble();
        p.skullTop = cells[6].toDouble();
        p.chin = cells[7].toDouble();
        p.firstEye = QPointF(cells[8].toDouble(), cells[9].toDouble());
        p.secondEye = QPointF(cells[10].toDouble(), cells[11].toDouble());
        p.mouth = cells[12];
        p.eyes = cells[13];
        p.yaw = cells[14].toDouble();
        p.background = cells.value(15);
        all.append(p);
    }
    return all;
}
