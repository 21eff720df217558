// lintora: the desktop window.
//
//   lintora [--workdir DIR] [--no-limits] [FILE1 [FILE2]]

#include "ui/command_line.h"
#include "ui/main_window.h"
#include "ui/window_services.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QIcon>

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

void print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// The window's face: a Japanese sans-serif where installed, so that the labels do not mix
// a Latin face with a fallback for every kana.
void useJapaneseFont(QApplication& app) {
    const QString face = QStringLiteral("Noto Sans CJK JP");
    if (!QFontDatabase::families().contains(face))
        return;
    QFont font(face);
    font.setPointSize(9);
    app.setFont(font);
}

} // namespace

int main(int argc, char** argv) {
    // A file-size limit must show up as a failed write, not kill the process.
    std::signal(SIGXFSZ, SIG_IGN);

    // Answered before the window system is needed, so they work without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("lintora %d.%d.%d\n", LINTORA_VERSION_MAJOR, LINTORA_VERSION_MINOR,
                        LINTORA_VERSION_PATCH);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            print(stdout, lintora::commandLineUsage());
            return 0;
        }
        const bool workDirNext = std::strcmp(argv[i], "--workdir") == 0 && i + 1 < argc;
        const char* workDir = workDirNext                                    ? argv[i + 1]
                              : std::strncmp(argv[i], "--workdir=", 10) == 0 ? argv[i] + 10
                                                                             : nullptr;
        if (workDir != nullptr && *workDir != '\0' &&
            !QFileInfo(QFile::decodeName(workDir)).isDir()) {
            std::fprintf(stderr, "lintora: --workdir: no such directory: %s\n", workDir);
            return 2;
        }
        if (std::strcmp(argv[i], "--") == 0)
            break;
    }

    QApplication app(argc, argv); // takes Qt's own options (-platform, -style) out
    QApplication::setApplicationName(QStringLiteral("lintora"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(LINTORA_VERSION_MAJOR)
                                            .arg(LINTORA_VERSION_MINOR)
                                            .arg(LINTORA_VERSION_PATCH));
    QGuiApplication::setDesktopFileName(QStringLiteral("lintora"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/lintora.png")));
    useJapaneseFont(app);

    const lintora::CommandLine line = lintora::parseCommandLine(app.arguments().mid(1));
    if (!line.ok) {
        print(stderr,
              QStringLiteral("lintora: ") + line.error + '\n' + lintora::commandLineUsage());
        return 2;
    }
    QStringList files = line.files;
    if (!line.workDir.isEmpty()) {
        const QFileInfo dir(line.workDir);
        if (!dir.isDir()) {
            print(stderr,
                  QStringLiteral("lintora: --workdir: no such directory: ") + line.workDir + '\n');
            return 2;
        }
        // Files named on the command line are where the shell saw them; boxes filled later
        // are taken from the working directory, which the status bar shows.
        for (QString& file : files)
            file = QFileInfo(file).absoluteFilePath();
        QDir::setCurrent(dir.absoluteFilePath());
    }

    lintora::WindowSetup setup;
    setup.workDir = toPath(QDir::currentPath());
    if (line.noLimits)
        setup.limits = lintora::Limits::unlimited();

    lintora::DesktopServices services;
    lintora::MainWindow window(services, setup);
    window.setPaths(files.value(0), files.value(1));
    window.show();
    return app.exec();
}
