#include "ui/command_line.h"

namespace lintora {

QString commandLineUsage() {
    return QStringLiteral(
        "Usage: lintora [--workdir DIR] [--no-limits] [FILE1 [FILE2]]\n"
        "Lintora's window: compares two netlists net by net, by their pins.\n"
        "\n"
        "  FILE1 FILE2     the netlists of side 1 and side 2, filled into the window\n"
        "  --workdir DIR   where scratch files and reports go (default: the current\n"
        "                  directory; it must exist)\n"
        "  --no-limits     lift every capacity (nets, pins per net, parts, swap pairs)\n"
        "  --version       show the version and exit\n"
        "  --help          show this text and exit\n");
}

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine line;
    const auto refuse = [&line](const QString& why) {
        line.ok = false;
        line.error = why;
        return line;
    };
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !argument.startsWith(QLatin1Char('-')) || argument == "-") {
            line.files.push_back(argument);
        } else if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            line.showHelp = true;
        } else if (argument == QLatin1String("--version")) {
            line.showVersion = true;
        } else if (argument == QLatin1String("--no-limits")) {
            line.noLimits = true;
        } else if (argument == QLatin1String("--workdir")) {
            if (i + 1 >= arguments.size())
                return refuse(QStringLiteral("--workdir needs a directory"));
            line.workDir = arguments[++i];
        } else if (argument.startsWith(QLatin1String("--workdir="))) {
            line.workDir = argument.mid(10);
        } else {
            return refuse(QStringLiteral("unknown option: ") + argument);
        }
    }
    if (line.files.size() > 2)
        return refuse(QStringLiteral("at most two files: side 1 and side 2"));
    if (!line.workDir.isNull() && line.workDir.isEmpty())
        return refuse(QStringLiteral("--workdir needs a directory"));
    return line;
}

} // namespace lintora
