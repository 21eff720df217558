#pragma once

#include <QString>

class QFont;
class QPrinter;

namespace lintora {

// Prints plain text on `printer`: each line in `font`, wrapped at the printable width
// (between words where it can, anywhere in a long pin list), on as many pages as it takes.
// False when the printer could not be started.
bool printPlainText(QPrinter& printer, const QString& text, const QFont& font);

} // namespace lintora
