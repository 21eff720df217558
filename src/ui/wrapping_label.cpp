#include "ui/wrapping_label.h"

#include <QPainter>

namespace lintora {

namespace {

constexpr QChar kIdeographicSpace(0x3000);

} // namespace

QStringList WrappingLabel::breakLines(const QString& text, const QFontMetrics& metrics, int width) {
    // Words: each runs up to and including an ideographic space.
    QStringList words;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == kIdeographicSpace) {
            words << text.mid(start, i + 1 - start);
            start = i + 1;
        }
    }
    if (start < text.size())
        words << text.mid(start);

    QStringList lines;
    QString line;
    for (const QString& word : words) {
        if (metrics.horizontalAdvance(line + word) <= width) {
            line += word;
            continue;
        }
        if (!line.isEmpty())
            lines << line;
        line.clear();
        for (const QChar c : word) { // a word wider than the box breaks where it must
            if (!line.isEmpty() && metrics.horizontalAdvance(line + c) > width) {
                lines << line;
                line.clear();
            }
            line += c;
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

void WrappingLabel::paintEvent(QPaintEvent*) {
    const QRect box = contentsRect();
    QFont font = this->font();
    QStringList lines;
    for (;;) {
        const QFontMetrics metrics(font);
        lines = breakLines(text(), metrics, box.width());
        if (lines.size() * metrics.height() <= box.height() || font.pointSizeF() <= 6.0)
            break;
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    QPainter painter(this);
    painter.setFont(font);
    painter.setPen(palette().color(QPalette::WindowText));
    const int lineHeight = QFontMetrics(font).height();
    int y = box.top() + (box.height() - lines.size() * lineHeight) / 2;
    for (const QString& line : lines) {
        painter.drawText(QRect(box.left(), y, box.width(), lineHeight),
                         int(alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter, line);
        y += lineHeight;
    }
}

} // namespace lintora
