#pragma once

class QCoreApplication;

// Qt's own texts, such as a field's edit menu and the file dialogs, in Russian like the rest of
// the window, whatever the locale: Qt's translations as the system installs them
// (qt6-translations-l10n on Debian). Without them Qt's English stays.
void useRussianQtTexts(QCoreApplication &app);
