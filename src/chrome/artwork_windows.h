#pragma once

#include <QPixmap>

namespace velmora::artwork {

QPixmap editorBackground();                          // 477 x 467
QPixmap editorLocatePicture(bool pressed = false);   // 57 x 41
QPixmap editorExitPicture(bool pressed = false);     // 57 x 41

}  // namespace velmora::artwork
