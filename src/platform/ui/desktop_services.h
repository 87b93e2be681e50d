#pragma once

#include "platform/browser.h"

namespace velmora {

// The user's own browser, as the desktop opens links.
class DesktopBrowser final : public BrowserService {
public:
    bool openUrl(const QUrl& url) override;
};

// The desktop's file-open dialog, application-modal.
class DesktopFilePicker final : public FilePickerService {
public:
    void chooseFile(const QString& title, const QString& folder, const QString& filter,
                    std::function<void(const QString& path)> chosen) override;
};

}  // namespace velmora
