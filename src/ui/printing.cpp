#include "ui/printing.h"

#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>
#include <QTextOption>

namespace lintora {

bool printPlainText(QPrinter& printer, const QString& text, const QFont& font) {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // Point sizes resolve against the printer's resolution, so the text has its size on
    // paper whatever the printer's dots per inch.
    const QFont printFont(font, &printer);
    painter.setFont(printFont);
    painter.setPen(Qt::black);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const qreal width = page.width();
    const qreal height = page.height();

    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(QFontMetricsF(printFont).horizontalAdvance(QLatin1Char(' ')) * 8);

    QStringList lines = QString(text)
                            .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                            .replace('\r', '\n')
                            .split('\n');
    if (lines.size() > 1 && lines.back().isEmpty())
        lines.removeLast(); // the line end after the last line starts no line of its own

    qreal y = 0; // top of the next row on the current page
    for (const QString& line : lines) {
        QTextLayout layout(line, printFont, &printer);
        layout.setTextOption(option);
        layout.beginLayout();
        qreal rowTop = 0;
        for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine()) {
            row.setLineWidth(width);
            row.setPosition(QPointF(0, rowTop));
            rowTop += row.height();
        }
        layout.endLayout();
        // The rows of one long line may stand on two pages.
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine row = layout.lineAt(i);
            if (y > 0 && y + row.height() > height) {
                if (!printer.newPage())
                    return false;
                y = 0;
            }
            row.draw(&painter, QPointF(0, y - row.y()));
            y += row.height();
        }
    }
    return painter.end();
}

} // namespace lintora
