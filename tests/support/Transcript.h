#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QString>

// A recorded run of a real tool, from the fixtures' transcripts: what it printed, piece by piece
// in arrival order, and its exit status.
struct Transcript {
    struct Piece {
        bool toError;
        QString text;
    };
    QList<Piece> pieces;
    int exitStatus = -1;

    // All the tool printed on one stream.
    QString streamText(bool error) const
    {
        QString text;
        for (const Piece &piece : pieces)
            if (piece.toError == error)
                text += piece.text;
        return text;
    }

    // `tool`/`name`.json, whichever of its forms it is written in; empty when unreadable.
    static Transcript read(const QString &tool, const QString &name)
    {
        QFile file(QStringLiteral(TESSALINE_FIXTURES "/transcripts/") + tool + u'/' + name +
                   QStringLiteral(".json"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QJsonObject run = QJsonDocument::fromJson(file.readAll()).object();
        Transcript transcript;
        transcript.exitStatus = run.value(QLatin1String("exit")).toInt(-1);
        if (run.contains(QLatin1String("chunks"))) {
            for (const QJsonValue &chunk : run.value(QLatin1String("chunks")).toArray()) {
                const QJsonArray pair = chunk.toArray();
                transcript.pieces.append(
                    {pair.at(0).toString() == QLatin1String("stderr"), pair.at(1).toString()});
            }
            return transcript;
        }
        for (const QJsonValue &chunk : run.value(QLatin1String("stdout_chunks")).toArray())
            transcript.pieces.append({false, chunk.toString()});
        if (const QString out = run.value(QLatin1String("stdout")).toString(); !out.isEmpty())
            transcript.pieces.append({false, out});
        if (const QString err = run.value(QLatin1String("stderr")).toString(); !err.isEmpty())
            transcript.pieces.append({true, err});
        return transcript;
    }
};
