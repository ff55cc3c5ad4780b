// The editor's services on this desktop: the system's registry, settings,
// host link and clock, and the Qt backends of the boxes, dialogs, printer and
// help viewer. The editor and its screenshot program start the window on them.
#pragma once

#include "host/FileSystem.h"
#include "ui/QtFileDialogs.h"
#include "ui/QtHelpViewer.h"
#include "ui/QtPrinterDevice.h"
#include "ui/QtPrompter.h"
#include "ui/frmAlias.h"

#include <functional>
#include <memory>

namespace nm {

class Clock;
class HostLink;
class RegistryBackend;
class SettingsStore;

class DesktopServices {
public:
    DesktopServices();
    ~DesktopServices();
    DesktopServices(const DesktopServices&) = delete;
    DesktopServices& operator=(const DesktopServices&) = delete;

    // The window's services; `exitProgram` ends the program.
    EditorServices ForWindow(std::function<void()> exitProgram);

private:
    SystemFileSystem files_;
    std::unique_ptr<RegistryBackend> registry_;
    std::unique_ptr<SettingsStore> settings_;
    std::unique_ptr<HostLink> host_;
    std::unique_ptr<Clock> clock_;
    QtPrompter prompter_;
    QtFileDialogs dialogs_;
    QtPrinterDevice printer_;
    QtHelpViewer help_;
};

} // namespace nm
