#include "calendar/WordCache.h"

#include <QFontMetrics>
#include <QPainter>

int WordCache::width(const QPainter &canvas, const QFontMetrics &metrics, const QString &word)
{
    Word &cached = find(canvas, word);
    if (cached.width < 0)
        cached.width = metrics.horizontalAdvance(word);
    return cached.width;
}

const QStaticText &WordCache::text(const QPainter &canvas, const QString &word, bool rotated)
{
    Word &cached = find(canvas, word);
    QStaticText &text = rotated ? cached.rotated : cached.upright;
    if (text.text().isEmpty()) {
        text.setTextFormat(Qt::PlainText);
        text.setText(word);
        text.prepare(canvas.transform(), canvas.font());
    }
    return text;
}

WordCache::Word &WordCache::find(const QPainter &canvas, const QString &word)
{
    const int dpi = canvas.device() ? canvas.device()->logicalDpiY() : 0;
    if (canvas.font() != font_ || dpi != dpi_ || words_.size() >= MaxWords) {
        words_.clear();
        font_ = canvas.font();
        dpi_ = dpi;
    }
    return words_[word];
}
