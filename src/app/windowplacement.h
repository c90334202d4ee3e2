#pragma once

#include <QRect>
#include <Qt>

class SettingsStore;

// Where the main window was left: kept below "Position" in the settings store, with the
// tip-of-the-day setting "TipDay" on the program's key itself.
struct TWindowPlacement
{
    bool normal = false;  // false: maximized
    QRect bounds;         // left, top, width and height of a normal window
    int paneWidth = 0;
};

inline constexpr int kMinPaneWidth = 250;
inline constexpr int kMaxPaneWidth = 500;

// Only the exact text "Normal" restores a normal window; anything else, a missing value
// included, maximizes it. Missing or non-numeric values keep the current ones.
TWindowPlacement ReadWindowPlacement(const SettingsStore &store, const QRect &currentBounds, int currentPaneWidth);

// A normal window stores its state and bounds, a maximized one only its state, a minimized one
// neither; the pane width is always stored.
void WriteWindowPlacement(SettingsStore &store, Qt::WindowStates state, const QRect &bounds, int paneWidth);

// The show-tips setting: 1 unless "TipDay" says otherwise.
int ReadShowTips(const SettingsStore &store);
