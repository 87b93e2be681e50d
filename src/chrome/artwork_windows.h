#pragma once

#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <QString>

#include <utility>
#include <vector>

// Pictures of the player's other windows: the track list editor, the lookup window and the
// settings, tip and about windows. Pure drawing in the main window's palette, like artwork.h.
// Backgrounds leave dark, calm areas where yellow labels and text boxes lie on them.
namespace velmora::artwork {

// Track list editor. The background is a dark disc filling the window's ellipse
// (5,0)-(468,468), transparent outside it; the two keys are rounded, their corners clear.
QPixmap editorBackground();                         // 477 x 467
QPixmap editorLocatePicture(bool pressed = false);  // 57 x 41, globe and magnifier, "Locate"
QPixmap editorExitPicture(bool pressed = false);    // 57 x 41, way-out arrow, "Exit"

// Lookup window. The background fills the window's rounded outline (0,8)-(500,250)
// with 35-pixel corners: a dark panel for the labels over a body strip for the buttons.
QPixmap lookupBackground();                                      // 500 x 275
QPixmap lookupMergePicture(bool enabled, bool pressed = false);  // 138 x 23, "Merge Titles"
// 138 x 23, "Cancel". Its button is only 111 pixels wide and shows the picture's middle,
// so the key is the middle 108 pixels and the ends are clear.
QPixmap lookupCancelPicture(bool pressed = false);

// Our own disc database emblem: a disc, a database drum and the letters CDDB, on a badge.
QPixmap cddbLogoSmall();  // 58 x 40, the lookup window's
QPixmap cddbLogo();       // 64 x 47, the settings and about windows'

// 32 x 32 pointer over the web links: the pointing hand with a globe.
QCursor linkCursor();
QPixmap linkCursorPixmap();
inline constexpr QPoint kLinkCursorHotSpot{10, 1};

// Settings window: the exit key and what the skin preview shows before a skin is loaded
// (a ghost of the player's face and "No skin preview"), at any size.
QPixmap settingsExitPicture(bool pressed = false);  // 125 x 25, "Save & Exit"
// `size` (in device-independent pixels, drawn at `pixelRatio`), opaque; empty for an empty size.
QPixmap skinPreviewPlaceholder(QSize size, qreal pixelRatio = 1);

// Tip window: a light bulb for the top left of the white panel, transparent around it.
QPixmap tipIcon();  // 32 x 32

// About window. The background is opaque and light where the notices lie; its area
// (20,20)-(221,196) holds a dark card that invites a click to the home page.
QPixmap aboutBackground();                       // 605 x 313
QPixmap aboutExitPicture(bool pressed = false);  // 125 x 25, "Close"

// Every picture above under a file name ("editor_background.png", ...), in a stable order.
std::vector<std::pair<QString, QImage>> windowPictures();

// Writes windowPictures() as PNG files into `folder`, creating it. Returns false and a
// message in *error when the folder or a file cannot be written.
bool writeWindowPictures(const QString& folder, QString* error = nullptr);

}  // namespace velmora::artwork
