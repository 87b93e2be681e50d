#pragma once

#include <QString>
#include <QUrl>

#include <functional>
#include <vector>

namespace velmora {

// Opens a web page in the user's browser.
class BrowserService {
public:
    virtual ~BrowserService() = default;
    // False when no browser could be started for it.
    virtual bool openUrl(const QUrl& url) = 0;
};

// Test double: records every address and opens nothing.
class RecordingBrowser final : public BrowserService {
public:
    bool openUrl(const QUrl& url) override {
        opened.push_back(url);
        return true;
    }
    std::vector<QUrl> opened;
};

// Asks the user for a file to open without waiting for the answer: `chosen` gets the path
// once the user has picked one, and is never called when the user cancels.
class FilePickerService {
public:
    virtual ~FilePickerService() = default;
    virtual void chooseFile(const QString& title, const QString& folder, const QString& filter,
                            std::function<void(const QString& path)> chosen) = 0;
};

// Test double: answers at once with a scripted path (empty: cancelled) and records the questions.
class ScriptedFilePicker final : public FilePickerService {
public:
    void chooseFile(const QString& title, const QString& folder, const QString& filter,
                    std::function<void(const QString& path)> chosen) override {
        asked.push_back({title, folder, filter});
        if (!answer.isEmpty() && chosen) chosen(answer);
    }
    struct Question {
        QString title, folder, filter;
    };
    std::vector<Question> asked;
    QString answer;
};

}  // namespace velmora
