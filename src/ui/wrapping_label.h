#pragma once

#include <QLabel>

namespace lintora {

// A caption in a box too narrow for one line: broken after its ideographic spaces where it
// can (Japanese captions use them between words), anywhere else only where it must, and
// drawn smaller if the lines would not fit the box.
class WrappingLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // The lines `text` takes in `width` with `metrics`.
    static QStringList breakLines(const QString& text, const QFontMetrics& metrics, int width);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace lintora
