#pragma once

#include <QString>
#include <QStringView>

namespace velmora {

// A title that came from outside (a server, a disc, a file) as the player keeps and shows
// it: tabs and line breaks become a blank, every other control character (C0, DEL, C1) is
// dropped. Such characters would be saved in the disc database for good and reach the
// terminal as commands.
QString cleanExternalText(QStringView text);

}  // namespace velmora
