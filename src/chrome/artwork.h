#pragma once

#include <QColor>
#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

class QPainter;

// All of the player's pictures, drawn in code: skins, button faces, icons and cursors.
// Everything here is pure drawing; no file is read.
namespace velmora::artwork {

enum class Skin {
    BuiltIn,   // compiled in; shown until the settings name a skin file
    Cloud,     // "cloud_skin.jpg", the default skin file
    Midnight,  // "midnight_skin.jpg"
    Brushed,   // "brushed_skin.jpg"
};

// The whole window face, face::kSkinWidth x face::kSkinHeight, opaque.
QImage drawSkin(Skin skin);

// Skin files the artwork tool writes into the "Skins" folder, in a stable order.
std::vector<std::pair<QString, Skin>> skinFiles();

// The program's icon at the sizes of the desktop's icon theme.
inline constexpr int kIconThemeSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
// Writes the icon as FOLDER/icons/hicolor/<n>x<n>/apps/velmora.png for each theme size;
// false, with the reason in `error`, when a file could not be written.
bool writeIconFiles(const QString& folder, QString* error);

// Writes every skin of skinFiles() as a JPEG into `folder`/Skins, creating the folder.
// Returns false and a message in *error when a folder or file cannot be written.
bool writeSkinFiles(const QString& folder, QString* error = nullptr);

// Display colours that belong to a skin, so widgets laid over it can match its display well.
struct SkinColours {
    QColor ledOn;     // lit LED segment
    QColor ledOff;    // unlit LED segment, a faint ghost
    QColor text;      // titles and captions on the display
    QColor caption;   // the small captions over the readout
    QColor barFill;   // filled part of the position bar
    QColor bodyText;  // text drawn on the body (volume caption)
    QColor frame{};   // outer frame; fills the window's column the 459-pixel skin leaves bare
};
SkinColours skinColours(Skin skin);
// The colours of the skin drawn into a file of that name (any folder, any letter case);
// a picture of the user's own gets the built-in skin's colours.
SkinColours skinColoursForFile(const QString& fileName);

enum class TransportButton { Play, Pause, Stop, Eject, ForwardTrack, BackTrack, FF, RR };
inline constexpr TransportButton kAllTransportButtons[] = {
    TransportButton::Play,         TransportButton::Pause,     TransportButton::Stop, TransportButton::Eject,
    TransportButton::ForwardTrack, TransportButton::BackTrack, TransportButton::FF,   TransportButton::RR,
};

inline constexpr int kTransportPictureWidth = 39;
inline constexpr int kTransportPictureHeight = 25;
// The rounded outline every transport button is cut to, in the button's own coordinates:
// the rectangle (3,3)-(40,28), right and bottom exclusive, with 15 x 15 corner ellipses.
inline constexpr QRect kTransportMask{3, 3, 37, 25};
inline constexpr int kTransportMaskCorner = 15;

// A key face of 39 x 25 pixels with the button's glyph in its middle. The face fills the
// picture; the button's rounded outline cuts its corners. Disabled faces are flat and grey.
QPixmap transportPicture(TransportButton button, bool enabled, bool pressed = false);
// The same key face without a glyph (what the glyph is drawn on).
QPixmap transportBlankFace(bool enabled, bool pressed = false);

// Chrome buttons at the top right of the face.
QPixmap aboutPicture();     // 16 x 16
QPixmap minimizePicture();  // 13 x 11
QPixmap exitPicture();      // 13 x 11

// Track list picker and editor buttons on the display, 16 x 14.
QPixmap trackPickerPicture();
QPixmap trackEditorPicture();

// Mute button images, 19 x 20, transparent around the speaker.
QPixmap muteImage();    // speaker sounding: a click mutes
QPixmap unmuteImage();  // speaker crossed out: a click unmutes

// The program's icon: a stylised disc, drawn for 16, 24, 32, 48 and 64 pixels.
QIcon trayIcon();
QPixmap trayIconPixmap(int size);

// 32 x 32 mouse pointers with their hot spots.
QCursor transportCursor();
QCursor setupCursor();
QPixmap transportCursorPixmap();
QPixmap setupCursorPixmap();
inline constexpr QPoint kTransportCursorHotSpot{10, 1};
inline constexpr QPoint kSetupCursorHotSpot{1, 1};

// One seven-segment digit filling `rect` (slanted a little). Segments that `digit` does not
// light are drawn in `off`, so the unlit figure shows faintly; a digit outside 0..9 lights
// nothing. Colours with alpha are honoured; the painter's state is left as it was.
void drawLedDigit(QPainter& painter, QRect rect, int digit, QColor on, QColor off);

// A row of small capital words on the display, like a CD player's indicators: word i is
// lit in `on` when bit i of `lit` is set, else a faint ghost in `off`. The words spread
// over `rect` from edge to edge.
void drawAnnunciator(QPainter& painter, QRect rect, const QStringList& words, unsigned lit, QColor on, QColor off);

// Which of the segments a, b, c, d, e, f, g (bits 0 to 6) a digit lights; 0 outside 0..9.
unsigned ledSegments(int digit);

}  // namespace velmora::artwork
