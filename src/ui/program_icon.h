#pragma once

#include <QIcon>

// The window and task-bar icon: an amplifier and a loudspeaker on green in a red frame, at
// 16 × 16 and 32 × 32.
QIcon programIcon();
