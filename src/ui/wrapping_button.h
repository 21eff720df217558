#pragma once

#include <QPushButton>

namespace lintora {

// A push button whose caption wraps onto a second line, and shrinks if it must, when the
// button is narrower than its caption (the window's layout has several such buttons).
class WrappingButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace lintora
