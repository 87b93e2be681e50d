#pragma once

#include "platform/browser.h"

namespace velmora {

// The user's own browser, as the desktop opens links.
class DesktopBrowser final : public BrowserService {
public:
    bool openUrl(const QUrl& url) override;
};

// The desktop's file-open dialog.
class DesktopFilePicker final : public FilePickerService {
public:
    QString chooseFile(const QString& title, const QString& folder, const QString& filter) override;
};

}  // namespace velmora
