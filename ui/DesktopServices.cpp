#include "ui/DesktopServices.h"

#include "host/Clock.h"
#include "host/HostLink.h"
#include "host/Locator.h"
#include "host/RegistryBackend.h"
#include "host/SettingsStore.h"

namespace nm {

DesktopServices::DesktopServices()
    : registry_(MakeSystemRegistry(files_)), settings_(MakeSystemSettingsStore(files_)),
      host_(MakeSystemHostLink()), clock_(MakeSystemClock()),
      prompter_(nullptr, QString::fromUtf8(ProgramTitle)), dialogs_(nullptr),
      printer_(dialogs_.Printer(), dialogs_, prompter_),
      help_(prompter_, files_, ProgramFolder() + "/help") {}

DesktopServices::~DesktopServices() = default;

EditorServices DesktopServices::ForWindow(std::function<void()> exitProgram) {
    return EditorServices{prompter_,
                          dialogs_,
                          *host_,
                          *clock_,
                          files_,
                          *settings_,
                          printer_,
                          help_,
                          SystemHostContext(prompter_, *registry_),
                          std::move(exitProgram)};
}

} // namespace nm
