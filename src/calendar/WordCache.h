#pragma once

// WordCache: words measured and laid out once in the font and resolution they were drawn in. The
// same words (codes, names, rooms, weekdays) come back box after box and paint after paint, and
// measuring or drawing a word as a plain string shapes it anew each time.

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QString>

class QFontMetrics;
class QPainter;

class WordCache {
public:
    int width(const QPainter &canvas, const QFontMetrics &metrics, const QString &word);
    // The word laid out for drawing at its top left, upright or rotated as the canvas stands now.
    const QStaticText &text(const QPainter &canvas, const QString &word, bool rotated = false);

private:
    struct Word {
        int width = -1;
        QStaticText upright;
        QStaticText rotated;
    };
    // Emptied when the canvas's font or resolution is another than last time.
    Word &find(const QPainter &canvas, const QString &word);

    static constexpr qsizetype MaxWords = 20000;
    QFont font_;
    int dpi_ = 0;
    QHash<QString, Word> words_;
};
