// What every box and dialog of the editor shares while it waits for the user:
// it opens over the window that asked, and the pointer is the arrow.
#pragma once

#include <QApplication>
#include <QWidget>

namespace nm {

// The window a box or dialog opens over, centred: the dialog that asked (the
// active modal window), else the active window, else `fallback`.
inline QWidget* ActiveParent(QWidget* fallback) {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return fallback;
}

// The arrow over any wait pointer while a box or dialog waits for the user;
// the pointer before comes back after, if the work goes on.
class ArrowWhileWaiting {
public:
    ArrowWhileWaiting() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowWhileWaiting() { QApplication::restoreOverrideCursor(); }
    ArrowWhileWaiting(const ArrowWhileWaiting&) = delete;
    ArrowWhileWaiting& operator=(const ArrowWhileWaiting&) = delete;
};

} // namespace nm
