#include "chrome/popup_menu.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace velmora {

namespace {
QAction* item(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}
QAction* checkItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = item(menu, name, caption);
    action->setCheckable(true);
    return action;
}
QAction* separator(QMenu* menu, const char* name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QLatin1String(name));
    return action;
}
}  // namespace

PopupMenu::PopupMenu(QWidget* parent)
    : mnuPopUp(new QMenu(QStringLiteral("PopUp"), parent)),
      mnuAR(item(mnuPopUp, "mnuAR", QStringLiteral("Display Velmora"))),
      mnuSep4(separator(mnuPopUp, "mnuSep4")),
      mnuPlay(item(mnuPopUp, "mnuPlay", QStringLiteral("Play"))),
      mnuPause(item(mnuPopUp, "mnuPause", QStringLiteral("Pause"))),
      mnuPrev(item(mnuPopUp, "mnuPrev", QStringLiteral("Previous Track"))),
      mnuNext(item(mnuPopUp, "mnuNext", QStringLiteral("Next Track"))),
      mnuStop(item(mnuPopUp, "mnuStop", QStringLiteral("Stop"))),
      mnuEject(item(mnuPopUp, "mnuEject", QStringLiteral("Eject"))),
      mnuSep5(separator(mnuPopUp, "mnuSep5")),
      mnuRepeatTrack(checkItem(mnuPopUp, "mnuRepeatTrack", QStringLiteral("Repeat Track"))),
      mnuRepeatDisc(checkItem(mnuPopUp, "mnuRepeatDisc", QStringLiteral("Repeat Disc"))),
      mnuShuffle(checkItem(mnuPopUp, "mnuShuffle", QStringLiteral("Shuffle"))),
      mnuIntroScan(checkItem(mnuPopUp, "mnuIntroScan", QStringLiteral("Intro Scan"))),
      mnuSep3(separator(mnuPopUp, "mnuSep3")),
      mnuUAR(item(mnuPopUp, "mnuUAR", QStringLiteral("Unload Velmora"))) {
    mnuPopUp->setObjectName(QStringLiteral("mnuPopUp"));
}

}  // namespace velmora
