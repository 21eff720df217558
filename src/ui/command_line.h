#pragma once

#include <QString>
#include <QStringList>

namespace lintora {

// lintora [--workdir DIR] [--no-limits] [FILE1 [FILE2]]
struct CommandLine {
    bool ok = true;
    QString error; // why the command line was refused
    bool showHelp = false;
    bool showVersion = false;
    QString workDir; // empty: the current directory
    bool noLimits = false;
    QStringList files; // up to two netlists, side 1 then side 2
};

// `arguments` without the program name.
CommandLine parseCommandLine(const QStringList& arguments);

QString commandLineUsage();

} // namespace lintora
