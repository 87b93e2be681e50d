#pragma once

#include "platform/message_box.h"

namespace velmora {

// Message boxes on the desktop.
class QtMessageBoxService final : public MessageBoxService {
public:
    int show(const QString& text, const QString& title, int style) override;
};

}  // namespace velmora
