#pragma once

#include <QString>
#include <QUrl>

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

// Asks the user for a file to open; empty text when cancelled.
class FilePickerService {
public:
    virtual ~FilePickerService() = default;
    virtual QString chooseFile(const QString& title, const QString& folder, const QString& filter) = 0;
};

// Test double: answers with a scripted path and records the questions.
class ScriptedFilePicker final : public FilePickerService {
public:
    QString chooseFile(const QString& title, const QString& folder, const QString& filter) override {
        asked.push_back({title, folder, filter});
        return answer;
    }
    struct Question {
        QString title, folder, filter;
    };
    std::vector<Question> asked;
    QString answer;
};

}  // namespace velmora
