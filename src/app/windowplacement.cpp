#include "windowplacement.h"

#include "platform/settingsstore.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
const QString kPosition = u"Position"_s;
}

TWindowPlacement ReadWindowPlacement(const SettingsStore &store, const QRect &currentBounds, int currentPaneWidth)
{
    TWindowPlacement placement;
    placement.bounds = currentBounds;
    placement.normal = store.readString(kPosition, u"WindowState"_s) == u"Normal";
    if (placement.normal) {
        placement.bounds.moveTop(store.readInteger(kPosition, u"Top"_s, currentBounds.top()));
        placement.bounds.moveLeft(store.readInteger(kPosition, u"Left"_s, currentBounds.left()));
        placement.bounds.setHeight(store.readInteger(kPosition, u"Height"_s, currentBounds.height()));
        placement.bounds.setWidth(store.readInteger(kPosition, u"Width"_s, currentBounds.width()));
    }
    placement.paneWidth =
        std::clamp(store.readInteger(kPosition, u"PaneWidth"_s, currentPaneWidth), kMinPaneWidth, kMaxPaneWidth);
    return placement;
}

void WriteWindowPlacement(SettingsStore &store, Qt::WindowStates state, const QRect &bounds, int paneWidth)
{
    if (state & Qt::WindowMinimized) {
        // A minimized window keeps the placement it had before.
    } else if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        store.writeString(kPosition, u"WindowState"_s, u"Maximized"_s);
    } else {
        store.writeString(kPosition, u"WindowState"_s, u"Normal"_s);
        store.writeInteger(kPosition, u"Top"_s, bounds.top());
        store.writeInteger(kPosition, u"Left"_s, bounds.left());
        store.writeInteger(kPosition, u"Height"_s, bounds.height());
        store.writeInteger(kPosition, u"Width"_s, bounds.width());
    }
    store.writeInteger(kPosition, u"PaneWidth"_s, paneWidth);
}

int ReadShowTips(const SettingsStore &store)
{
    return store.readInteger({}, u"TipDay"_s, 1);
}
