#pragma once

#include "ui/window_services.h"

#include <QPrinter>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

namespace lintora::test {

// Stands in for every dialog and launch: records what the window asked for and answers
// from prepared queues, so no test ever waits on a modal window.
class FakeServices : public WindowServices {
public:
    void showMessage(QWidget*, const QString& text) override {
        messages.push_back(text);
        if (onMessage)
            onMessage(text);
    }
    bool askYesNo(QWidget*, const QString& text) override {
        questions.push_back(text);
        if (answers.empty())
            return false;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    std::optional<QString> chooseOpenFile(QWidget*, const QString& filters,
                                          const QString& startFile) override {
        fileFilters.push_back(filters);
        fileStarts.push_back(startFile);
        if (chosenFiles.empty())
            return std::nullopt;
        const QString chosen = chosenFiles.front();
        chosenFiles.pop_front();
        if (chosen.isEmpty())
            return std::nullopt;
        return chosen;
    }
    bool choosePrinter(QWidget*, QPrinter& printer) override {
        ++printerDialogs;
        if (pdfPath.isEmpty())
            return false; // cancelled
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        return true;
    }
    bool openInDesktop(const QString& path) override {
        opened.push_back(path);
        return false; // as on a machine without a desktop
    }
    void quitApplication() override { ++quits; }

    QStringList messages;
    std::function<void(const QString&)> onMessage;
    QStringList questions;
    std::deque<bool> answers;
    QStringList fileFilters;
    QStringList fileStarts;
    std::deque<QString> chosenFiles; // an empty one: the user cancels
    QString pdfPath;                 // empty: the printer dialog is cancelled
    int printerDialogs = 0;
    QStringList opened;
    int quits = 0;
};

} // namespace lintora::test
