// The editor's screenshot mode, for scripts and the documentation.
#pragma once

#include <QString>

namespace nm {
class frmAlias;
}

// Loads `window` as the start does, saves its pictures beside `path` (a .png
// file) and ends the event loop: status 0 when every picture was saved.
void TakeScreenshots(nm::frmAlias& window, const QString& path);
