#include "ui/wrapping_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace lintora {

void WrappingButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    const QRect box = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    constexpr int flags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    QFont font = this->font();
    while (font.pointSizeF() > 6.0) {
        const QRect needed = QFontMetrics(font).boundingRect(box, flags, caption);
        if (needed.width() <= box.width() && needed.height() <= box.height() + 2)
            break;
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    painter.setFont(font);
    painter.drawItemText(box, flags, palette(), isEnabled(), caption, QPalette::ButtonText);
}

} // namespace lintora
